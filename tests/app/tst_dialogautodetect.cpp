#include "DialogAutoDetect.h"

#include <QtTest>

class TestDialogAutoDetect : public QObject
{
    Q_OBJECT

private slots:
    void everyFillListsRowsWithoutSelection();
    void doubleClickPicksRowAndHides();
};

// The result lists come in pairs; a pair of unequal lists must still not be read past either end.
void TestDialogAutoDetect::everyFillListsRowsWithoutSelection()
{
    DialogAutoDetect dialog;
    QNetworkAddressEntry entry;
    entry.setIp(QHostAddress(QStringLiteral("127.0.0.1")));
    const auto fill = [&dialog](int rows, const auto &...lists) {
        dialog.selectedRow = 1;
        dialog.SetupListWidgetItems(lists...);
        QCOMPARE(dialog.listWidgetComPorts->count(), rows);
        QCOMPARE(dialog.selectedRow, -1);
    };
    fill(2, QList<QString>{"ttyUSB0", "ttyACM1"}, QList<int>{38400, 115200}, 17u);
    fill(1, QList<QString>{"ttyUSB0", "ttyUSB1", "ttyUSB2"}, QList<int>{9600}, 0u);
    fill(0, QList<QString>{}, QList<int>{9600, 4800}, 0u);
    fill(1, QList<QNetworkAddressEntry>{entry});
    fill(0, QList<QNetworkAddressEntry>{});
}

void TestDialogAutoDetect::doubleClickPicksRowAndHides()
{
    DialogAutoDetect dialog;
    dialog.SetupListWidgetItems({"ttyUSB0", "ttyUSB1"}, {4800, 230400}, 9);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // A double-click arrives as a click followed by the double-click event.
    QListWidget *list = dialog.listWidgetComPorts;
    const QPoint second = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
    QCOMPARE(dialog.selectedRow, 1);
    QVERIFY(dialog.isHidden());
}

QTEST_MAIN(TestDialogAutoDetect)
#include "tst_dialogautodetect.moc"
