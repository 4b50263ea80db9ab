// Clean-up and verdict of the port and address-octet edits.

#include "EditTexts.h"

#include "SettingsValues.h"

#include <optional>

namespace EditTexts {

QString cleanedEditText(const QString &text)
{
    if (text.contains(QLatin1Char(',')))
        return QString(text).remove(QLatin1Char(','));
    if (text.contains(QLatin1Char('+')))
        return QString();
    return text;
}

EditVerdict checkEditText(QStringView text, uint32_t maximum)
{
    if (text.contains(QLatin1Char('+')))
        return EditVerdict::Intermediate; // the clean-up empties the edit
    const QString digits = text.toString().remove(QLatin1Char(','));
    if (digits.isEmpty())
        return EditVerdict::Intermediate;
    const std::optional<uint32_t> value = SettingsValues::decimalField(digits);
    return value && *value <= maximum ? EditVerdict::Acceptable : EditVerdict::Invalid;
}

} // namespace EditTexts
