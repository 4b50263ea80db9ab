#include "SharedTables.h"

#include "DeviceTypes.h"

#include <QComboBox>
#include <QStringList>

namespace {
constexpr int VersionMajor = 6;
const QStringList MonthNames{QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"),
                             QStringLiteral("Apr"), QStringLiteral("May"), QStringLiteral("Jun"),
                             QStringLiteral("Jul"), QStringLiteral("Aug"), QStringLiteral("Sep"),
                             QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
} // namespace

const QHash<QString, int> tabNameMap{
    {QStringLiteral("InterfaceTab"), 0},
    {QStringLiteral("OutputSettingsTab"), 1},
    {QStringLiteral("OutputProtocolTab"), 2},
    {QStringLiteral("eCompassTab"), 3},
};

QString monthDayFromCompilerDate(const QString &compilerDate)
{
    const int month = MonthNames.indexOf(compilerDate.left(3)) + 1;
    const QString monthText = QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'));
    // The compiler pads days 1 to 9 with a blank in the tens place.
    const QString dayText = compilerDate.mid(4, 2).replace(QLatin1Char(' '), QLatin1Char('0'))
                                .rightJustified(2, QLatin1Char('0'), true);
    return QStringLiteral("%1%2.%3%4").arg(monthText.at(0), monthText.at(1), dayText.at(0), dayText.at(1));
}

const QString buildMonthDay = monthDayFromCompilerDate(QStringLiteral(__DATE__));
const QString versionString = QStringLiteral("%1.%2").arg(VersionMajor).arg(buildMonthDay);

void populateBaudRateComboBox(QComboBox *box)
{
    for (int32_t rate : BaudRateTable)
        box->addItem(QString::number(rate), QVariant::fromValue(uint(rate)));
    box->addItem(QStringLiteral("unknown"));
    box->setCurrentIndex(box->count() - 1);
}
