#ifndef TOOLTIPLINES_H
#define TOOLTIPLINES_H

#include <QStringList>

class QFont;

// A plain text cut into the lines of a tool tip that draws every blank as
// written, so that no line is wider than the tip's room.
namespace ToolTipLines {

// The plain text in lines that each fit in width in font, blanks kept as
// written: the text whole where it fits, else cut after a blank (or wherever
// else a line may break, such as after a hyphen) where it can, anywhere where
// it must. However narrow the width, even none or less, a line holds at least
// one character: one wider than the width is a line of its own. A line is of
// blanks alone only where its blanks end the text or would not fit in a line
// with the character after them, as the pieces of a run of blanks wider than a
// line. Joined, the lines give back the text; none is empty.
QStringList linesOf(const QString &plain, const QFont &font, qreal width);

} // namespace ToolTipLines

#endif // TOOLTIPLINES_H
