#include "Console.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

namespace {

struct Run
{
    QString text;
    QColor colour;
};

// Every text run of the pane with the colour it is drawn in.
QList<Run> runs(const Console &console)
{
    QList<Run> result;
    for (QTextBlock block = console.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QBrush brush = fragment.charFormat().foreground();
            const QColor colour = brush.style() == Qt::NoBrush
                                      ? console.palette().color(QPalette::Text)
                                      : brush.color();
            result.append({fragment.text(), colour});
        }
    }
    return result;
}

QByteArray line(int n)
{
    return QByteArrayLiteral("line ") + QByteArray::number(n) + QByteArrayLiteral("\r\n");
}

// Fills the pane until it scrolls, then scrolls back to the top.
void fillPastView(Console &console)
{
    for (int i = 0; i < 40; ++i)
        console.displayData(line(i), Console::DataLine, false);
    QVERIFY(console.verticalScrollBar()->maximum() > 0);
    console.verticalScrollBar()->setValue(0);
}

} // namespace

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void construction();
    void keepsNewestLines();
    void coloursByType_data();
    void coloursByType();
    void colourReturnsToTextAfterColouredLine();
    void errorLineHiddenWhileDetecting();
    void unknownTypeInsertsNothing_data();
    void unknownTypeInsertsNothing();
    void haltedConsoleUnchanged();
    void keysIgnored();
    void clicksIgnored();
    void noContextMenu();
    void badBytesShownWithoutHarm();
};

void TestConsole::construction()
{
    Console console;
    QCOMPARE(console.document()->maximumBlockCount(), 64);
    QVERIFY(console.isReadOnly());
    QCOMPARE(console.textInteractionFlags(), Qt::NoTextInteraction);
    QVERIFY(!console.hasMouseTracking());
    QVERIFY(!console.halt);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        QCOMPARE(console.palette().color(group, QPalette::Base), QColor(Qt::black));
        QCOMPARE(console.palette().color(group, QPalette::Text), QColor(Qt::yellow));
    }
    QCOMPARE(console.font().pointSize(), 12);
    QVERIFY(QFontInfo(console.font()).fixedPitch());
}

void TestConsole::keepsNewestLines()
{
    Console console;
    for (int i = 0; i < 100; ++i)
        console.displayData(line(i), Console::DataLine, false);

    QTextDocument *document = console.document();
    QCOMPARE(document->blockCount(), 64);
    // The last block is the empty one after the newest line's end.
    QCOMPARE(document->lastBlock().text(), QString());
    QCOMPARE(document->lastBlock().previous().text(), QStringLiteral("line 99"));
    QCOMPARE(document->firstBlock().text(), QStringLiteral("line 37"));
}

void TestConsole::coloursByType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("error") << int(Console::ErrorLine) << QColor(Qt::red);
    QTest::newRow("answer") << int(Console::AnswerLine) << QColor(Qt::green);
    QTest::newRow("data") << int(Console::DataLine) << QColor(Qt::yellow);
}

void TestConsole::coloursByType()
{
    QFETCH(int, type);
    QFETCH(QColor, colour);
    Console console;
    console.displayData("$ANS#1\r\n", type, false);

    const QList<Run> shown = runs(console);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).text, QStringLiteral("$ANS#1"));
    QCOMPARE(shown.at(0).colour, colour);
}

void TestConsole::colourReturnsToTextAfterColouredLine()
{
    Console console;
    console.displayData("bad\r\n", Console::ErrorLine, false);
    console.displayData("ok\r\n", Console::AnswerLine, false);
    console.displayData("1,2,3\r\n", Console::DataLine, false);

    const QList<Run> shown = runs(console);
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown.at(0).colour, QColor(Qt::red));
    QCOMPARE(shown.at(1).colour, QColor(Qt::green));
    QCOMPARE(shown.at(2).text, QStringLiteral("1,2,3"));
    QCOMPARE(shown.at(2).colour, QColor(Qt::yellow));
}

void TestConsole::errorLineHiddenWhileDetecting()
{
    Console console;
    console.resize(300, 120);
    fillPastView(console);
    const QString before = console.toPlainText();

    console.displayData("noise\r\n", Console::ErrorLine, true);
    QCOMPARE(console.toPlainText(), before);
    QCOMPARE(console.verticalScrollBar()->value(), console.verticalScrollBar()->maximum());

    // Answers are still shown while detecting.
    console.displayData("$ANS#\r\n", Console::AnswerLine, true);
    QVERIFY(console.toPlainText().endsWith(QStringLiteral("$ANS#\n")));
}

void TestConsole::unknownTypeInsertsNothing_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("3") << 3;
    QTest::newRow("-1") << -1;
    QTest::newRow("large") << 1000000;
}

void TestConsole::unknownTypeInsertsNothing()
{
    QFETCH(int, type);
    Console console;
    console.resize(300, 120);
    fillPastView(console);
    const QString before = console.toPlainText();

    console.displayData("ignored\r\n", type, false);
    QCOMPARE(console.toPlainText(), before);
    QCOMPARE(console.verticalScrollBar()->value(), console.verticalScrollBar()->maximum());
}

void TestConsole::haltedConsoleUnchanged()
{
    Console console;
    console.resize(300, 120);
    fillPastView(console);
    const QString before = console.toPlainText();

    console.halt = true;
    for (int type = Console::ErrorLine; type <= Console::DataLine; ++type)
        console.displayData("dropped\r\n", type, false);
    QCOMPARE(console.toPlainText(), before);
    QCOMPARE(console.verticalScrollBar()->value(), 0);

    console.halt = false;
    console.displayData("shown\r\n", Console::DataLine, false);
    QVERIFY(console.toPlainText().endsWith(QStringLiteral("shown\n")));
}

void TestConsole::keysIgnored()
{
    Console console;
    console.displayData("first\r\nsecond\r\n", Console::DataLine, false);
    const QString before = console.toPlainText();
    const int position = console.textCursor().position();

    QTest::keyClicks(&console, QStringLiteral("typed"));
    QTest::keyClick(&console, Qt::Key_Backspace);
    QTest::keyClick(&console, Qt::Key_Return);
    QTest::keyClick(&console, Qt::Key_Home);
    QTest::keyClick(&console, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&console, Qt::Key_Left, Qt::ShiftModifier);

    QCOMPARE(console.toPlainText(), before);
    QCOMPARE(console.textCursor().position(), position);
    QVERIFY(!console.textCursor().hasSelection());
}

void TestConsole::clicksIgnored()
{
    Console console;
    console.resize(300, 120);
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));
    console.displayData("alpha beta\r\ngamma\r\n", Console::DataLine, false);
    const QString before = console.toPlainText();
    const int position = console.textCursor().position();
    QWidget *viewport = console.viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(2, 5));
    QTest::mouseMove(viewport, QPoint(60, 30));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(60, 30));

    QCOMPARE(console.toPlainText(), before);
    QCOMPARE(console.textCursor().position(), position);
    QVERIFY(!console.textCursor().hasSelection());
    QVERIFY(console.hasFocus());
}

void TestConsole::noContextMenu()
{
    Console console;
    console.resize(300, 120);
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));

    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), console.viewport()->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(console.viewport(), &event);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

// Whatever bytes the link delivers, the pane shows them without harm.
void TestConsole::badBytesShownWithoutHarm()
{
    Console console;
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 37 + 11) & 0xFF));
    console.displayData(junk, Console::ErrorLine, false);
    console.displayData(QByteArray(), Console::AnswerLine, false);
    console.displayData(QByteArray("\xff\xfe\x00\xc3", 4), Console::DataLine, false);
    QVERIFY(console.document()->blockCount() <= Console::MaximumBlockCount);
}

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
