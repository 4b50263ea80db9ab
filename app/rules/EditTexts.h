#ifndef EDITTEXTS_H
#define EDITTEXTS_H

// What the port and address-octet edits of the settings panel let through:
// the clean-up of typed text and the verdict of their validator.

#include <QString>
#include <QStringView>

#include <cstdint>

namespace EditTexts {

// The port edits take every number with as many digits as the highest port, so
// that one above it stays in the edit for the check at the end of editing.
constexpr uint32_t MaxPortEditNumber = 99999;

// Input clean-up of the port and octet edits: "," removed; any "+" empties the text.
QString cleanedEditText(const QString &text);

// Validator verdict for an edit that takes 0 to maximum.
enum class EditVerdict { Acceptable, Intermediate, Invalid };
EditVerdict checkEditText(QStringView text, uint32_t maximum);

} // namespace EditTexts

#endif // EDITTEXTS_H
