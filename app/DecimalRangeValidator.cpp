// Validator of the port and address-octet edits.

#include "DecimalRangeValidator.h"

#include "SettingsValues.h"

DecimalRangeValidator::DecimalRangeValidator(uint32_t maximum, QObject *parent)
    : QValidator(parent)
    , m_maximum(maximum)
{
}

QValidator::State DecimalRangeValidator::validate(QString &input, int &) const
{
    switch (SettingsValues::checkEditText(input, m_maximum)) {
    case SettingsValues::EditVerdict::Acceptable:
        return Acceptable;
    case SettingsValues::EditVerdict::Intermediate:
        return Intermediate;
    case SettingsValues::EditVerdict::Invalid:
        break;
    }
    return Invalid;
}
