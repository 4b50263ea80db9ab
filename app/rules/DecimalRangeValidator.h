#ifndef DECIMALRANGEVALIDATOR_H
#define DECIMALRANGEVALIDATOR_H

#include <QValidator>

#include <cstdint>

// Refuses a decimal number above its maximum outright, where an integer
// validator would only hold it as intermediate. Text with "," or "+" passes
// as intermediate: the edit's own clean-up removes them.
class DecimalRangeValidator : public QValidator
{
    Q_OBJECT

public:
    DecimalRangeValidator(uint32_t maximum, QObject *parent);

    State validate(QString &input, int &position) const override;

private:
    uint32_t m_maximum;
};

#endif // DECIMALRANGEVALIDATOR_H
