#ifndef SHAREDTABLES_H
#define SHAREDTABLES_H

// Constants shared by the units of the user interface: the tab-name table,
// the version texts and the baud-rate list filler.

#include <QHash>
#include <QString>

class QComboBox;

// Configuration tab name -> tab number, the `tab` argument of the settings signals.
extern const QHash<QString, int> tabNameMap;

// "MM.DD" of the build date, and the version text "6.MM.DD".
extern const QString buildMonthDay;
extern const QString versionString;

// Month and day of a compiler date text such as "Sep  3 2026": "09.03".
// An unknown month name gives month digits "00".
QString monthDayFromCompilerDate(const QString &compilerDate);

// Appends the rates of the baud-rate table and "unknown", and selects the last item.
void populateBaudRateComboBox(QComboBox *box);

#endif // SHAREDTABLES_H
