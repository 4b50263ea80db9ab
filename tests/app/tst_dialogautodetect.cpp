#include "DialogAutoDetect.h"

#include <QtTest>

class TestDialogAutoDetect : public QObject
{
    Q_OBJECT

private slots:
    void form();
    void serialRows();
    void serialRowsOfUnequalLists();
    void networkRows();
    void everyFillResetsSelection();
    void doubleClickPicksRowAndHides();
    void closingWithoutPickKeepsNoSelection();
};

void TestDialogAutoDetect::form()
{
    DialogAutoDetect dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("DialogAutoDetectSerialPort"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Dialog"));
    QCOMPARE(dialog.size(), QSize(350, 150));
    QCOMPARE(dialog.selectedRow, 0);
    QCOMPARE(dialog.labelDetectStatus->text(),
             QStringLiteral(" The IMU is detected on the following Ports, Double click to connect."));
    QCOMPARE(dialog.gridLayout->itemAtPosition(0, 0)->widget(), dialog.labelDetectStatus);
    QCOMPARE(dialog.gridLayout->itemAtPosition(1, 0)->widget(), dialog.listWidgetComPorts);
}

void TestDialogAutoDetect::serialRows()
{
    DialogAutoDetect dialog;
    dialog.SetupListWidgetItems({"ttyUSB0", "ttyACM1"}, {38400, 115200}, 17);

    QCOMPARE(dialog.listWidgetComPorts->count(), 2);
    QCOMPARE(dialog.listWidgetComPorts->item(0)->text(), QStringLiteral("Port: ttyUSB0 , Baud Rate: 38400"));
    QCOMPARE(dialog.listWidgetComPorts->item(1)->text(), QStringLiteral("Port: ttyACM1 , Baud Rate: 115200"));
    QCOMPARE(dialog.labelDetectStatus->text(),
             QStringLiteral(" The IMU is detected on the following Ports, Double click to connect. "
                            "Time elapsed : 17 Sec"));
    QCOMPARE(dialog.selectedRow, -1);
}

// The result lists always come in pairs; a pair of unequal lists must still not read past either.
void TestDialogAutoDetect::serialRowsOfUnequalLists()
{
    DialogAutoDetect dialog;
    dialog.SetupListWidgetItems({"ttyUSB0", "ttyUSB1", "ttyUSB2"}, {9600}, 0);
    QCOMPARE(dialog.listWidgetComPorts->count(), 1);
    QCOMPARE(dialog.listWidgetComPorts->item(0)->text(), QStringLiteral("Port: ttyUSB0 , Baud Rate: 9600"));

    dialog.SetupListWidgetItems({}, {9600, 4800}, 0);
    QCOMPARE(dialog.listWidgetComPorts->count(), 0);
}

void TestDialogAutoDetect::networkRows()
{
    QNetworkAddressEntry first;
    first.setIp(QHostAddress("192.168.1.10"));
    first.setBroadcast(QHostAddress("192.168.1.255"));
    QNetworkAddressEntry second;
    second.setIp(QHostAddress("10.0.0.2"));
    second.setBroadcast(QHostAddress("10.255.255.255"));

    DialogAutoDetect dialog;
    dialog.SetupListWidgetItems(QList<QNetworkAddressEntry>{first, second});

    QCOMPARE(dialog.listWidgetComPorts->count(), 2);
    QCOMPARE(dialog.listWidgetComPorts->item(0)->text(),
             QStringLiteral("Host Address Entry IP:192.168.1.10 -> Broadcast IP:192.168.1.255"));
    QCOMPARE(dialog.listWidgetComPorts->item(1)->text(),
             QStringLiteral("Host Address Entry IP:10.0.0.2 -> Broadcast IP:10.255.255.255"));
    QCOMPARE(dialog.labelDetectStatus->text(),
             QStringLiteral(" Multiple active network interfaces detected, please double click to select Host Address."));
    QCOMPARE(dialog.selectedRow, -1);
}

void TestDialogAutoDetect::everyFillResetsSelection()
{
    DialogAutoDetect dialog;
    dialog.SetupListWidgetItems({"ttyUSB0", "ttyUSB1"}, {4800, 9600}, 3);
    dialog.selectedRow = 1;
    dialog.SetupListWidgetItems({"ttyUSB2"}, {19200}, 4);
    QCOMPARE(dialog.selectedRow, -1);
    QCOMPARE(dialog.listWidgetComPorts->count(), 1);

    dialog.selectedRow = 0;
    dialog.SetupListWidgetItems(QList<QNetworkAddressEntry>{});
    QCOMPARE(dialog.selectedRow, -1);
    QCOMPARE(dialog.listWidgetComPorts->count(), 0);
}

void TestDialogAutoDetect::doubleClickPicksRowAndHides()
{
    DialogAutoDetect dialog;
    dialog.SetupListWidgetItems({"ttyUSB0", "ttyUSB1"}, {4800, 230400}, 9);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QListWidget *list = dialog.listWidgetComPorts;
    const QRect second = list->visualItemRect(list->item(1));
    // A double-click arrives as a click followed by the double-click event.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());

    QCOMPARE(dialog.selectedRow, 1);
    QVERIFY(dialog.isHidden());
}

void TestDialogAutoDetect::closingWithoutPickKeepsNoSelection()
{
    DialogAutoDetect dialog;
    dialog.SetupListWidgetItems({"ttyUSB0", "ttyUSB1"}, {4800, 9600}, 1);
    dialog.show();
    dialog.close();
    QCOMPARE(dialog.selectedRow, -1);
}

QTEST_MAIN(TestDialogAutoDetect)
#include "tst_dialogautodetect.moc"
