#ifndef EDITTEXTS_H
#define EDITTEXTS_H

// What the port and address-octet edits of the settings panel let through:
// the clean-up of typed text and the verdict of their validator.

#include <QString>
#include <QStringView>

#include <cstdint>

namespace EditTexts {

// Input clean-up of the port and octet edits: "," removed; any "+" empties the text.
QString cleanedEditText(const QString &text);

// Validator verdict for an edit that takes 0 to maximum.
enum class EditVerdict { Acceptable, Intermediate, Invalid };
EditVerdict checkEditText(QStringView text, uint32_t maximum);

} // namespace EditTexts

#endif // EDITTEXTS_H
