// Validator of the port and address-octet edits.

#include "DecimalRangeValidator.h"

#include "EditTexts.h"

DecimalRangeValidator::DecimalRangeValidator(uint32_t maximum, QObject *parent)
    : QValidator(parent)
    , m_maximum(maximum)
{
}

QValidator::State DecimalRangeValidator::validate(QString &input, int &) const
{
    switch (EditTexts::checkEditText(input, m_maximum)) {
    case EditTexts::EditVerdict::Acceptable:
        return Acceptable;
    case EditTexts::EditVerdict::Intermediate:
        return Intermediate;
    case EditTexts::EditVerdict::Invalid:
        break;
    }
    return Invalid;
}
