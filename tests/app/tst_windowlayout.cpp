// The status strip with status texts longer than their room.

#include "ApplicationStartup.h"
#include "ElidingLabel.h"
#include "MainWindowFixture.h"
#include "Worker.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QSize FormSize(890, 550);
const QString LongLogName = QStringLiteral("harbour-trial-2026-12-07-port-side-mast-sensor.txt");
const QString ConnectedText = QStringLiteral("Connected to ttyUSB0 : 115200, 8, None, 1");

QString plainText(const QString &richText)
{
    QTextDocument document;
    document.setHtml(richText);
    return document.toPlainText();
}

} // namespace

class TestWindowLayout : public QObject, public MainWindowFixture
{
    Q_OBJECT

    // The strip's widgets, left to right.
    QList<QWidget *> strip() const
    {
        QList<QWidget *> widgets;
        for (const char *name : {"labelSerialPort", "label_SerialLed", "labelSerialPortStatus", "line",
                                 "labelEthernet", "label_EthernetLed", "labelEthernetStatus"})
            widgets << child(name);
        return widgets;
    }

    void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }

    void resizeTo(const QString &size)
    {
        m_window->resize(size == QStringLiteral("smallest") ? m_window->minimumSize() : FormSize.expandedTo(m_window->sizeHint()));
        settle();
    }

private slots:
    // The program's own fonts, which its sizes follow.
    void initTestCase() { loadApplicationFonts(); }

    void init()
    {
        openWindow();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanupTestCase() { closeWindow(); }

    void longStatusTextsLeaveTheStripInPlace_data()
    {
        QTest::addColumn<QString>("size");
        QTest::newRow("opening size") << "opening";
        QTest::newRow("smallest size") << "smallest";
    }

    // While logging with a long file name: the captions, the LEDs and the
    // separator keep their size and place; the status text too long for its
    // room is cut with an ellipsis and shown whole in its tool tip.
    void longStatusTextsLeaveTheStripInPlace()
    {
        QFETCH(QString, size);
        resizeTo(size);
        MainWindowProbe::setConnectionMode(*m_window, Worker::SerialMode);
        m_window->showStatusMessage(ConnectedText);
        settle();
        auto *serialStatus = child<ElidingLabel>("labelSerialPortStatus");
        auto *ethernetStatus = child<ElidingLabel>("labelEthernetStatus");
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), ethernetStatus->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(ethernetStatus, &help);
        QCOMPARE(QToolTip::text(), QString()); // "Disconnected" fits: no tool tip
        QList<QRect> before;
        for (QWidget *widget : strip())
            before << widget->geometry();

        MainWindowProbe::chooseLogFile(*m_window, m_storeDir->filePath(LongLogName));
        m_window->dataCapturingStatus(true);
        settle();
        QVERIFY(serialStatus->text().contains(LongLogName));
        const QList<QWidget *> widgets = strip();
        for (int i = 0; i < widgets.size(); ++i)
            QCOMPARE(widgets.at(i)->geometry(), before.at(i));
        for (const char *caption : {"labelSerialPort", "labelEthernet"})
            QVERIFY2(child(caption)->width() >= child(caption)->sizeHint().width(), caption);
        const QRect box = child("groupBox_Status")->contentsRect();
        for (int i = 0; i < widgets.size(); ++i) {
            QVERIFY2(box.contains(widgets.at(i)->geometry()), qPrintable(widgets.at(i)->objectName()));
            QVERIFY(widgets.at(i)->width() > 0);
            if (i > 0)
                QVERIFY2(widgets.at(i - 1)->geometry().right() < widgets.at(i)->x(), qPrintable(widgets.at(i)->objectName()));
        }

        QVERIFY(serialStatus->elided());
        QVERIFY(!ethernetStatus->elided());
        const QPoint inside(serialStatus->width() / 2, serialStatus->height() / 2);
        QHelpEvent longHelp(QEvent::ToolTip, inside, serialStatus->mapToGlobal(inside));
        QCoreApplication::sendEvent(serialStatus, &longHelp);
        QCOMPARE(QToolTip::text(), plainText(serialStatus->text()));
        QVERIFY(QToolTip::text().startsWith(ConnectedText) && QToolTip::text().endsWith(LongLogName));
    }
};

QTEST_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
