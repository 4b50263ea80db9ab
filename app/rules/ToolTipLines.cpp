#include "ToolTipLines.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>

namespace ToolTipLines {

namespace {

bool splitsSurrogatePair(const QString &text, qsizetype position)
{
    return position > 0 && position < text.size() && text.at(position - 1).isHighSurrogate()
        && text.at(position).isLowSurrogate();
}

// The number of leading UTF-16 units of text that fit in width. It takes a
// text that does not fit whole (the caller measures it first), and returns at
// least one character however narrow the width. It counts UTF-16 units but
// never ends between the two halves of a surrogate pair (a character outside
// the basic plane, such as an emoji); it may still part a letter from a
// combining mark that follows it.
qsizetype fittingHead(const QString &text, const QFontMetricsF &metrics, qreal width)
{
    qsizetype fitting = 1;
    qsizetype tooLong = text.size();
    while (tooLong - fitting > 1) {
        const qsizetype middle = (fitting + tooLong) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) <= width)
            fitting = middle;
        else
            tooLong = middle;
    }
    if (splitsSurrogatePair(text, fitting))
        return fitting > 1 ? fitting - 1 : fitting + 1;
    return fitting;
}

// Whether a line may end before position: after a run of blanks (also where
// the text's breaking rules would keep the words together, as between two
// numbers), or where those rules allow a break otherwise, such as after a hyphen.
bool isWrapPoint(const QString &plain, qsizetype position, QTextBoundaryFinder &breaks)
{
    breaks.setPosition(position);
    return breaks.isAtBoundary() || (plain.at(position - 1).isSpace() && !plain.at(position).isSpace());
}

// The last wrap point after start and at most at end; start where there is none.
qsizetype lastWrapPoint(const QString &plain, qsizetype start, qsizetype end, QTextBoundaryFinder &breaks)
{
    while (end > start && !isWrapPoint(plain, end, breaks))
        --end;
    return end;
}

// Whether text is empty or holds blanks alone.
bool isBlank(QStringView text)
{
    return text.trimmed().isEmpty();
}

// The length of the line that starts at start. A line that ends at a wrap
// point ends in the blanks there, which the tip draws: it must fit with them,
// so the wrap moves to the last point at which the line does. Where no wrap
// point does (a word, or a word with the blanks after it, wider than a line),
// or where the one that does would leave the line blanks alone, the line is
// cut anywhere, as long as it fits: blanks that start a line share it with
// what follows them. So a line is of blanks alone only where its blanks end
// the text or would not fit with the character after them, as the pieces of a
// run of blanks wider than a line; what is left of such a run starts the next
// line.
qsizetype lineLength(const QString &plain, qsizetype start, QTextBoundaryFinder &breaks,
                     const QFontMetricsF &metrics, qreal width)
{
    const QString rest = plain.mid(start);
    if (metrics.horizontalAdvance(rest) <= width)
        return rest.size();
    const qsizetype head = fittingHead(rest, metrics, width);
    const qsizetype wrap = lastWrapPoint(plain, start, start + head, breaks);
    return isBlank(QStringView(plain).sliced(start, wrap - start)) ? head : wrap - start;
}

} // namespace

QStringList linesOf(const QString &plain, const QFont &font, qreal width)
{
    const QFontMetricsF metrics(font);
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, plain);
    QStringList lines;
    for (qsizetype start = 0; start < plain.size();) {
        const qsizetype length = lineLength(plain, start, breaks, metrics, width);
        lines << plain.mid(start, length);
        start += length;
    }
    return lines;
}

} // namespace ToolTipLines
