#include "Console.h"
#include "DialogAutoDetect.h"
#include "SerialFraming.h"
#include "WorkerTick.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

namespace {

// The pane as a line arrives: showing lines, while auto-detection runs, or halted.
enum State { Shown, Detecting, Halted };

// The colour of every text run in the pane.
QList<QColor> runColours(const Console &console)
{
    QList<QColor> colours;
    for (QTextBlock block = console.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QBrush brush = it.fragment().charFormat().foreground();
            colours.append(brush.style() == Qt::NoBrush ? console.palette().color(QPalette::Text) : brush.color());
        }
    }
    return colours;
}

} // namespace

// The console pane, and the choice list of detected ports or network addresses.
class TestConsoleList : public QObject
{
    Q_OBJECT

private slots:
    // Whatever bytes the link delivered before, only the newest lines stay.
    void keepsNewestLinesWhateverTheBytes()
    {
        Console console;
        QByteArray junk(4096, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = char(i * 37 + 11);
        for (int type = SerialFraming::ErrorLine; type <= SerialFraming::DataLine; ++type) {
            for (const QByteArray &bytes : {junk, QByteArray(), QByteArray("\xff\xfe\x00\xc3", 4)})
                console.displayData(bytes, type, false);
        }
        for (int i = 0; i < 100; ++i)
            console.displayData("line " + QByteArray::number(i) + "\r\n", SerialFraming::DataLine, false);
        QTRY_COMPARE(console.document()->lastBlock().previous().text(), QStringLiteral("line 99"));
        QCOMPARE(console.document()->blockCount(), Console::MaximumBlockCount);
        QCOMPARE(console.document()->firstBlock().text(), QStringLiteral("line 37"));
    }

    void linesByType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("state");
        QTest::addColumn<QColor>("colour");
        const QColor none, red(Qt::red), green(Qt::green);
        QTest::newRow("error red") << int(SerialFraming::ErrorLine) << int(Shown) << red;
        QTest::newRow("answer green") << int(SerialFraming::AnswerLine) << int(Shown) << green;
        QTest::newRow("data in the text colour") << int(SerialFraming::DataLine) << int(Shown) << QColor(Qt::yellow);
        QTest::newRow("error hidden while detecting") << int(SerialFraming::ErrorLine) << int(Detecting) << none;
        QTest::newRow("answer shown while detecting") << int(SerialFraming::AnswerLine) << int(Detecting) << green;
        for (int type : {3, -1, 1000000})
            QTest::addRow("unknown type %d", type) << type << int(Shown) << none;
        for (int type = SerialFraming::ErrorLine; type <= SerialFraming::DataLine; ++type)
            QTest::addRow("type %d while halted", type) << type << int(Halted) << none;
    }

    // Each line is shown in its type's colour, and the text colour returns after it; a halt drops lines.
    void linesByType()
    {
        QFETCH(int, type);
        QFETCH(int, state);
        QFETCH(QColor, colour);
        Console console;
        console.halt = state == Halted;
        console.displayData("$ANS#1\r\n", type, state == Detecting);
        console.halt = false;
        console.displayData("1,2,3\r\n", SerialFraming::DataLine, false);
        QTRY_COMPARE(console.toPlainText(), (colour.isValid() ? QStringLiteral("$ANS#1\n") : QString()) + "1,2,3\n");
        const QList<QColor> expected = colour.isValid() ? QList<QColor>{colour, Qt::yellow} : QList<QColor>{Qt::yellow};
        QCOMPARE(runColours(console), expected);
    }

    // Lines are gathered and go in with one edit once the event loop runs,
    // each in its own colour and in order.
    void gathersLinesIntoOneEdit()
    {
        Console console;
        int edits = 0;
        connect(console.document(), &QTextDocument::contentsChanged, &console, [&edits] { ++edits; });
        console.displayData("1,2,3\r\n", SerialFraming::DataLine, false);
        console.displayData("$ANS#1\r\n", SerialFraming::AnswerLine, false);
        console.displayData("gyro error\r\n", SerialFraming::ErrorLine, false);
        console.displayText("FA FF\r\n");
        console.displayData("4,5,6\r\n", SerialFraming::DataLine, false);
        QCOMPARE(console.toPlainText(), QString());
        QTRY_COMPARE(console.toPlainText(), QStringLiteral("1,2,3\n$ANS#1\ngyro error\nFA FF\n4,5,6\n"));
        QCOMPARE(edits, 1);
        QCOMPARE(runColours(console), (QList<QColor>{Qt::yellow, Qt::green, Qt::red, Qt::yellow, Qt::yellow}));
        QCOMPARE(console.verticalScrollBar()->value(), console.verticalScrollBar()->maximum());
    }

    // A gathered batch longer than the pane keeps only the newest lines too,
    // each still in its colour.
    void gatheredBatchKeepsNewestLines()
    {
        Console console;
        for (int i = 0; i < 100; ++i) {
            const int type = i % 10 == 9 ? SerialFraming::AnswerLine : SerialFraming::DataLine;
            console.displayData("line " + QByteArray::number(i) + "\r\n", type, false);
        }
        QTRY_COMPARE(console.document()->lastBlock().previous().text(), QStringLiteral("line 99"));
        QCOMPARE(console.document()->blockCount(), Console::MaximumBlockCount);
        QCOMPARE(console.document()->firstBlock().text(), QStringLiteral("line 37"));
        const QList<QColor> colours = runColours(console);
        QCOMPARE(colours.at(2), QColor(Qt::green)); // line 39
        QCOMPARE(colours.at(3), QColor(Qt::yellow));
    }

    // Data lines closer together than the display tick, for several ticks:
    // they are shown while the stream still runs, not only once it pauses.
    void steadyStreamShownWhileItRuns()
    {
        constexpr int LinesPerTick = 5;
        constexpr int Lines = 10 * LinesPerTick;
        Console console;
        QTimer stream;
        stream.setTimerType(Qt::PreciseTimer);
        int sent = 0;
        QString shownAtTheLastLine;
        connect(&stream, &QTimer::timeout, &console, [&] {
            console.displayData("line " + QByteArray::number(sent) + "\r\n", SerialFraming::DataLine, false);
            if (++sent < Lines)
                return;
            stream.stop();
            shownAtTheLastLine = console.toPlainText();
        });
        stream.start(WorkerTick::IntervalMs / LinesPerTick);
        QTRY_COMPARE(sent, Lines);
        QVERIFY2(shownAtTheLastLine.startsWith(QStringLiteral("line 0\nline 1\n")), qPrintable(shownAtTheLastLine));
        QTRY_VERIFY(console.toPlainText().endsWith(QStringLiteral("line %1\n").arg(Lines - 1)));
    }

    void keysAndClicksIgnored()
    {
        Console console;
        console.show();
        QVERIFY(QTest::qWaitForWindowExposed(&console));
        console.displayData("alpha beta\r\ngamma\r\n", SerialFraming::DataLine, false);
        QTRY_COMPARE(console.toPlainText(), QStringLiteral("alpha beta\ngamma\n"));
        const QString before = console.toPlainText();
        const int position = console.textCursor().position();

        QTest::keyClicks(&console, QStringLiteral("typed"));
        for (const int key : {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Home})
            QTest::keyClick(&console, Qt::Key(key));
        QTest::keyClick(&console, Qt::Key_A, Qt::ControlModifier);
        QTest::mouseDClick(console.viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QCOMPARE(console.toPlainText(), before);
        QCOMPARE(console.textCursor().position(), position);
        QVERIFY(!console.textCursor().hasSelection());
    }

    // Every fill clears the choice; the result lists come in pairs, and a pair of unequal lists must still not
    // be read past either end. A double-click picks its row and hides the list.
    void choiceList()
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
        fill(1, QList<QNetworkAddressEntry>{entry});
        fill(0, QList<QNetworkAddressEntry>{});
        fill(1, QList<QString>{"ttyUSB0", "ttyUSB1", "ttyUSB2"}, QList<int>{9600}, 0u);
        fill(0, QList<QString>{}, QList<int>{9600, 4800}, 0u);
        fill(2, QList<QString>{"ttyUSB0", "ttyACM1"}, QList<int>{38400, 115200}, 17u);

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
};

QTEST_MAIN(TestConsoleList)
#include "tst_consolelist.moc"
