#include "Console.h"

#include <QTextBlock>
#include <QtTest>

namespace {

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

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void keepsNewestLines();
    void linesByType_data();
    void linesByType();
    void haltedConsoleUnchanged();
    void keysAndClicksIgnored();
    void junkBytesShownWithoutHarm();
};

void TestConsole::keepsNewestLines()
{
    Console console;
    for (int i = 0; i < 100; ++i)
        console.displayData("line " + QByteArray::number(i) + "\r\n", Console::DataLine, false);
    QCOMPARE(console.document()->blockCount(), Console::MaximumBlockCount);
    QCOMPARE(console.document()->firstBlock().text(), QStringLiteral("line 37"));
    QCOMPARE(console.document()->lastBlock().previous().text(), QStringLiteral("line 99"));
}

void TestConsole::linesByType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("detecting");
    QTest::addColumn<QColor>("colour");

    const QColor none;
    QTest::newRow("error red") << int(Console::ErrorLine) << false << QColor(Qt::red);
    QTest::newRow("answer green") << int(Console::AnswerLine) << false << QColor(Qt::green);
    QTest::newRow("data in the text colour") << int(Console::DataLine) << false << QColor(Qt::yellow);
    QTest::newRow("error hidden while detecting") << int(Console::ErrorLine) << true << none;
    QTest::newRow("answer shown while detecting") << int(Console::AnswerLine) << true << QColor(Qt::green);
    QTest::newRow("unknown type 3") << 3 << false << none;
    QTest::newRow("unknown type -1") << -1 << false << none;
    QTest::newRow("unknown type 1000000") << 1000000 << false << none;
}

// Each line is shown in its type's colour, and the text colour returns after it.
void TestConsole::linesByType()
{
    QFETCH(int, type);
    QFETCH(bool, detecting);
    QFETCH(QColor, colour);

    Console console;
    console.displayData("$ANS#1\r\n", type, detecting);
    console.displayData("1,2,3\r\n", Console::DataLine, false);
    const QList<QColor> expected = colour.isValid() ? QList<QColor>{colour, Qt::yellow} : QList<QColor>{Qt::yellow};
    QCOMPARE(runColours(console), expected);
    QCOMPARE(console.toPlainText(), (colour.isValid() ? QStringLiteral("$ANS#1\n") : QString()) + "1,2,3\n");
}

void TestConsole::haltedConsoleUnchanged()
{
    Console console;
    console.displayData("kept\r\n", Console::DataLine, false);
    console.halt = true;
    for (int type = Console::ErrorLine; type <= Console::DataLine; ++type)
        console.displayData("dropped\r\n", type, false);
    QCOMPARE(console.toPlainText(), QStringLiteral("kept\n"));

    console.halt = false;
    console.displayData("shown\r\n", Console::DataLine, false);
    QCOMPARE(console.toPlainText(), QStringLiteral("kept\nshown\n"));
}

void TestConsole::keysAndClicksIgnored()
{
    Console console;
    console.resize(300, 120);
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));
    console.displayData("alpha beta\r\ngamma\r\n", Console::DataLine, false);
    const QString before = console.toPlainText();
    const int position = console.textCursor().position();

    QTest::keyClicks(&console, QStringLiteral("typed"));
    for (const int key : {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Home})
        QTest::keyClick(&console, Qt::Key(key));
    QTest::keyClick(&console, Qt::Key_A, Qt::ControlModifier);
    QWidget *viewport = console.viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(2, 5));
    QTest::mouseMove(viewport, QPoint(60, 30));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(60, 30));

    QCOMPARE(console.toPlainText(), before);
    QCOMPARE(console.textCursor().position(), position);
    QVERIFY(!console.textCursor().hasSelection());
}

// Whatever bytes the link delivers, the pane shows them without harm.
void TestConsole::junkBytesShownWithoutHarm()
{
    Console console;
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 37 + 11) & 0xFF));
    for (int type = Console::ErrorLine; type <= Console::DataLine; ++type) {
        console.displayData(junk, type, false);
        console.displayData(QByteArray(), type, false);
        console.displayData(QByteArray("\xff\xfe\x00\xc3", 4), type, false);
    }
    QVERIFY(console.document()->blockCount() <= Console::MaximumBlockCount);
}

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
