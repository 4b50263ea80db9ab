// A tool tip's lines: each within the width with its blanks, none empty, none
// of blanks alone unless the blanks end the text or would not fit in a line with
// the character after them, a word cut as long as fits, nothing lost or doubled;
// and the exact lines of texts that break alike in any usual font.

#include "ToolTipLines.h"

#include <QFontMetricsF>
#include <QtTest>

namespace {

const QChar Blank(QLatin1Char(' '));
const QString Emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // outside the basic plane: two UTF-16 units

qreal widthOf(const QString &text)
{
    return QFontMetricsF(QFont()).horizontalAdvance(text);
}

// The character at position in text, both units of a surrogate pair.
QString characterAt(const QString &text, qsizetype position)
{
    return text.mid(position, text.at(position).isHighSurrogate() ? 2 : 1);
}

} // namespace

class TestToolTipLines : public QObject
{
    Q_OBJECT

private slots:
    void linesFitAndKeepTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<bool>("blankStarts"); // a run of blanks too wide for a line may start one
        const qreal twoWords = widthOf(QStringLiteral("abc abc"));
        const QString wideRun(qCeil(2 * twoWords / widthOf(Blank)), Blank);
        QTest::newRow("fits on one line") << "abc abc" << twoWords << false;
        QTest::newRow("a word cut anywhere") << "abcabcabcab" << widthOf(QStringLiteral("abc")) << false;
        QTest::newRow("a wrap whose blank alone overflows") << "abc abc abc" << twoWords << false;
        QTest::newRow("numbers apart by blanks") << "12 12 12" << widthOf(QStringLiteral("12 12")) << false;
        QTest::newRow("a run of blanks wider than the width") << "abc" + wideRun + "abc" << twoWords << true;
        QTest::newRow("a character wider than the width") << "W" << widthOf(QStringLiteral("W")) / 2 << false;
        QTest::newRow("no width") << "ab cd" << 0.0 << true;
        QTest::newRow("a pixel's width") << "ab cd" << 1.0 << true;
        QTest::newRow("a negative width") << "ab cd" << -1.0 << true;
        QTest::newRow("characters outside the basic plane, wider than the width")
            << Emoji + Emoji << widthOf(Emoji) / 2 << false;
        QTest::newRow("a word cut before a blank")
            << "abc def" << widthOf(QStringLiteral("abc")) << true;
        QTest::newRow("leading blanks before a word that fills the width")
            << "   abcdef" << widthOf(QStringLiteral("abcdef")) << true;
    }

    void linesFitAndKeepTheText()
    {
        QFETCH(QString, text);
        QFETCH(qreal, width);
        QFETCH(bool, blankStarts);
        const QFontMetricsF metrics{QFont()};
        const QStringList lines = ToolTipLines::linesOf(text, QFont(), width);
        QCOMPARE(lines.join(QString()), text);
        if (metrics.horizontalAdvance(text) <= width)
            QCOMPARE(lines.size(), 1);
        qsizetype end = 0;
        for (const QString &line : lines) {
            end += line.size();
            const QByteArray shown = '"' + line.toUtf8() + '"';
            QVERIFY2(!line.isEmpty() && !line.back().isHighSurrogate(), shown);
            QVERIFY2(blankStarts || !line.front().isSpace(), shown);
            // One character is a line however wide; else the line fits, and if
            // it is cut inside a word or is blanks alone, the next character
            // would not.
            if (line.toUcs4().size() > 1)
                QVERIFY2(metrics.horizontalAdvance(line) <= width, shown);
            if (end < text.size() && (line.trimmed().isEmpty() || !line.back().isSpace()))
                QVERIFY2(metrics.horizontalAdvance(line + characterAt(text, end)) > width, shown);
        }
    }

    void linesAre_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("no text") << QString() << widthOf(QStringLiteral("abc")) << QStringList();
        QTest::newRow("a wrap after a blank")
            << "abc def" << widthOf(QStringLiteral("abc d")) << QStringList{"abc ", "def"};
        QTest::newRow("a wrap after a hyphen")
            << "abc-def-ghi" << widthOf(QStringLiteral("abc-def")) << QStringList{"abc-", "def-ghi"};
        QTest::newRow("a word cut before a blank")
            << "aaa aaa" << widthOf(QStringLiteral("aaa")) << QStringList{"aaa", " aa", "a"};
        QTest::newRow("a leading blank before a word as wide as the width")
            << " aaa" << widthOf(QStringLiteral("aaa")) << QStringList{" aa", "a"};
    }

    void linesAre()
    {
        QFETCH(QString, text);
        QFETCH(qreal, width);
        QFETCH(QStringList, lines);
        QCOMPARE(ToolTipLines::linesOf(text, QFont(), width), lines);
    }
};

QTEST_MAIN(TestToolTipLines)
#include "tst_tooltiplines.moc"
