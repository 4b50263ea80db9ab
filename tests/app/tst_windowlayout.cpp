// What the window shows at its smallest size, and the status strip with status
// texts longer than their room.

#include "ApplicationStartup.h"
#include "ContentWidths.h"
#include "ElidingLabel.h"
#include "MainWindowFixture.h"
#include "PtyDevice.h"
#include "Worker.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QSize FormMinimum(800, 550);
const QSize FormSize(890, 550);
const QString LongLogName = QStringLiteral("harbour-trial-2026-12-07-port-side-mast-sensor.txt");
const QString ConnectedText = QStringLiteral("Connected to ttyUSB0 : 115200, 8, None, 1");

// Whether the edit shows text whole: an edit too narrow for its text scrolls it
// to keep the cursor in view, so the cursor's places at the start and at the
// end of the text are then less than the text's width apart.
bool showsWhole(QLineEdit *edit, const QString &text)
{
    edit->setText(text);
    const auto cursorAt = [edit](int position) {
        edit->setCursorPosition(position);
        edit->grab(); // a paint places the text
        return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    };
    const int start = cursorAt(0);
    const int end = cursorAt(int(text.size()));
    return start >= 0 && end < edit->width() && end - start >= edit->fontMetrics().horizontalAdvance(text) - 1;
}

// The widest texts the read-outs show for a unit's ranges, on the Ethernet link.
OutputDataType widestSample()
{
    OutputDataType sample;
    for (int field : {OutputDataType::Roll, OutputDataType::Pitch, OutputDataType::RollRate,
                      OutputDataType::PitchRate, OutputDataType::YawRate})
        sample.field[size_t(field)] = QStringLiteral("-179.99");
    sample.field[OutputDataType::Yaw] = QStringLiteral("-359.9");
    sample.field[OutputDataType::Heave] = QStringLiteral("-9.999");
    for (int field : {OutputDataType::Ax, OutputDataType::Ay, OutputDataType::Az})
        sample.field[size_t(field)] = QStringLiteral("-19.6133");
    return sample;
}

QString plainText(const QString &richText)
{
    QTextDocument document;
    document.setHtml(richText);
    return document.toPlainText();
}

// The tool tip shown, read as a tool tip reads its text: as markup when it looks like markup.
QString tipShows()
{
    const QString tip = QToolTip::text();
    return Qt::mightBeRichText(tip) ? plainText(tip) : tip;
}

// The label that shows the tool tip.
const QLabel *shownTip()
{
    for (QWidget *widget : QApplication::allWidgets()) {
        if (widget->inherits("QTipLabel") && widget->isVisible())
            return qobject_cast<const QLabel *>(widget);
    }
    return nullptr;
}

QString describe(const QWidget *widget)
{
    return QStringLiteral("%1: width %2, hint %3")
        .arg(widget->objectName())
        .arg(widget->width())
        .arg(widget->sizeHint().width());
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

    // The window opens at the size its content asks for and cannot be made
    // smaller than the form's minimum nor than its content needs: at its
    // smallest, every text of every tab shows whole.
    void nothingCutAtTheSmallestSize()
    {
        QCOMPARE(m_window->size(), FormSize.expandedTo(m_window->sizeHint()));
        const QSize smallest = m_window->minimumSize();
        QCOMPARE(smallest, FormMinimum.expandedTo(m_window->minimumSizeHint()));
        MainWindowProbe::setConnectionMode(*m_window, Worker::EthernetMode); // every read-out shown
        m_window->dispalyOutputData(widestSample(), OutputProtocolType());
        m_window->resize(smallest);
        settle();
        QCOMPARE(m_window->size(), smallest);

        auto *tabs = child<QTabWidget>("tabWidget");
        for (int index = 0; index < tabs->count(); ++index) {
            tabs->setCurrentIndex(index);
            settle();
            int texts = 0;
            for (QWidget *widget : tabs->widget(index)->findChildren<QWidget *>()) {
                if (!widget->isVisible())
                    continue;
                // The address separators: pixel-wide slices of a dash, by design.
                if (ContentWidths::showsText(widget) && widget->maximumWidth() >= widget->sizeHint().width()) {
                    QVERIFY2(widget->width() >= widget->sizeHint().width(), qPrintable(describe(widget)));
                    ++texts;
                }
                auto *edit = qobject_cast<QLineEdit *>(widget);
                if (!edit || ContentWidths::showsText(edit->parentWidget()))
                    continue; // the edits of combo and spin boxes come with their boxes
                for (char digit = '0'; digit <= '9'; ++digit) // the edits hold numbers
                    QVERIFY2(showsWhole(edit, QString(edit->maxLength(), QLatin1Char(digit))), qPrintable(describe(edit)));
                ++texts;
            }
            QVERIFY(texts >= 9);
        }
    }

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
        QCOMPARE(tipShows(), plainText(serialStatus->text()));
        QVERIFY(tipShows().startsWith(ConnectedText) && tipShows().endsWith(LongLogName));
    }

    void cutStatusTipShowsTheTextAsWritten_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("wrapped"); // the tip is wider than the screen on one line
        QTest::newRow("markup in the name") << "tide<b>1&amp;2<3-" + LongLogName << false;
        QTest::newRow("a run of blanks in the name") << "two  blanks-" + LongLogName << false;
        QTest::newRow("a name wider than the screen")
            << "wide  " + LongLogName.repeated(3) << true;
        QTest::newRow("a name with neither blanks nor hyphens, wider than the screen")
            << QString(LongLogName).remove(QLatin1Char('-')).repeated(4) << true;
        QTest::newRow("a name ending in a run of blanks wider than the screen")
            << LongLogName + QString(400, QLatin1Char(' ')) << true;
    }

    // The serial link connected through its action, logging to a file whose
    // name holds markup characters or a run of blanks, on a window too narrow
    // for the status: the label and its tool tip both show the name as written,
    // the tip within the screen, on one line where that fits.
    void cutStatusTipShowsTheTextAsWritten()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, wrapped);
        resizeTo(QStringLiteral("smallest"));
        auto *status = child<ElidingLabel>("labelSerialPortStatus");
        PtyDevice port;
        MainWindowProbe::choosePort(*m_window, port.portName());
        child<QAction>("actionConnect")->trigger();
        QTRY_VERIFY(status->text().startsWith(QStringLiteral("Connected to ")));
        const QString connected = status->text();
        MainWindowProbe::chooseLogFile(*m_window, m_storeDir->filePath(fileName));
        m_window->dataCapturingStatus(true);
        settle();
        QVERIFY(status->elided());

        const QString whole = connected + QStringLiteral(" , ") + fileName;
        QCOMPARE(labelShows(status), whole);
        const QPoint inside(status->width() / 2, status->height() / 2);
        QHelpEvent help(QEvent::ToolTip, inside, status->mapToGlobal(inside));
        QCoreApplication::sendEvent(status, &help);
        QCOMPARE(tipShows().remove(QLatin1Char('\n')), whole);
        const QLabel *tip = shownTip();
        QVERIFY(tip);
        // Qt places a tip as wide as the screen or narrower within the screen.
        // The offscreen platform frames every window it shows, tips too, which
        // no desktop does: the tip's own width is what is held to the screen's.
        QVERIFY2(tip->width() <= status->screen()->availableGeometry().width(), qPrintable(describe(tip)));
        QCOMPARE(tip->height() >= 2 * tip->fontMetrics().lineSpacing(), wrapped);
    }

    void statusRoomGoesToTheLinkInUse_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<uint>("link");
        QTest::addColumn<bool>("connected"); // through the Connect action, or the mode set by hand
        const uint serial = Worker::SerialMode, ethernet = Worker::EthernetMode;
        QTest::newRow("serial, opening size") << "opening" << serial << false;
        QTest::newRow("serial, smallest size") << "smallest" << serial << false;
        QTest::newRow("serial, 1500 px") << "1500" << serial << false;
        QTest::newRow("Ethernet, opening size") << "opening" << ethernet << false;
        QTest::newRow("serial connected, 1500 px") << "1500" << serial << true;
    }

    // The idle link's status keeps the width its text needs and the link in
    // use takes the rest: its whole status shows even at the smallest size, and
    // while logging the log file's first letters show at the opening size, the
    // whole name on a wide window.
    void statusRoomGoesToTheLinkInUse()
    {
        QFETCH(QString, size);
        QFETCH(uint, link);
        QFETCH(bool, connected);
        if (size == QStringLiteral("1500"))
            m_window->resize(1500, m_window->height());
        else
            resizeTo(size);
        const bool serial = link == Worker::SerialMode;
        auto *inUse = child<ElidingLabel>(serial ? "labelSerialPortStatus" : "labelEthernetStatus");
        auto *idle = child<ElidingLabel>(serial ? "labelEthernetStatus" : "labelSerialPortStatus");
        PtyDevice port;
        if (connected) {
            MainWindowProbe::choosePort(*m_window, port.portName());
            child<QAction>("actionConnect")->trigger();
            QTRY_VERIFY(inUse->text().startsWith(QStringLiteral("Connected to ")));
        } else {
            MainWindowProbe::setConnectionMode(*m_window, link);
            if (serial)
                m_window->showStatusMessage(ConnectedText);
            else
                m_window->showEthernetStatusMessage(QStringLiteral("Connected"));
        }
        const QString text = inUse->text();
        settle();
        QVERIFY(!inUse->elided());
        QCOMPARE(idle->width(), qMax(idle->minimumWidth(), idle->sizeHint().width()));

        MainWindowProbe::chooseLogFile(*m_window, m_storeDir->filePath(LongLogName));
        m_window->dataCapturingStatus(true);
        settle();
        QCOMPARE(idle->width(), qMax(idle->minimumWidth(), idle->sizeHint().width()));
        const QFontMetrics metrics(inUse->font());
        const int room = inUse->contentsRect().width() - 2 * inUse->margin();
        const QString firstLetters = text + QStringLiteral(" , ") + LongLogName.left(4) + QChar(0x2026);
        QVERIFY2(metrics.horizontalAdvance(firstLetters) <= room, qPrintable(describe(inUse)));
        if (size == QStringLiteral("1500"))
            QVERIFY(!inUse->elided());
    }

    // With no link, both status texts take a share of the room beyond their
    // text's width and their minimum, also once a link has been left.
    void statusRoomSharedWithoutALink()
    {
        resizeTo(QStringLiteral("opening"));
        PtyDevice port;
        MainWindowProbe::choosePort(*m_window, port.portName());
        auto *connect = child<QAction>("actionConnect");
        connect->trigger();
        QTRY_VERIFY(child<QLabel>("labelSerialPortStatus")->text().startsWith(QStringLiteral("Connected to ")));
        connect->trigger();
        settle();
        for (const char *name : {"labelSerialPortStatus", "labelEthernetStatus"}) {
            auto *status = child<ElidingLabel>(name);
            QVERIFY2(status->width() > qMax(status->minimumWidth(), status->sizeHint().width()), qPrintable(describe(status)));
        }
    }

    void ellipsisInTheFormatBeforeTheCut_data()
    {
        QTest::addColumn<QString>("shown"); // what fits beside the ellipsis
        QTest::newRow("cut in the plain part") << "Connected to tty";
        QTest::newRow("cut at the colour change") << "Connected to ttyUSB0";
    }

    // The ellipsis of a cut text takes the format of the text before the cut,
    // not that of the text's end nor of the character after the cut.
    void ellipsisInTheFormatBeforeTheCut()
    {
        QFETCH(QString, shown);
        ElidingLabel label;
        label.setFont(m_window->font());
        label.setText(QStringLiteral("Connected to ttyUSB0<font color=#00ff00> , ") + LongLogName + "</font>");
        QTextDocument fitting;
        fitting.setDefaultFont(label.font());
        fitting.setDocumentMargin(0);
        fitting.setPlainText(shown + QChar(0x2026));
        label.resize(qCeil(fitting.idealWidth()), 30);
        QVERIFY(label.elided());
        const QImage image = label.grab().toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                QVERIFY2(pixel.green() - pixel.red() < 64, qPrintable(QStringLiteral("green at %1,%2").arg(x).arg(y)));
            }
        }
    }
};

QTEST_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
