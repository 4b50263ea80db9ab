#include "ElidingLabel.h"

#include "ToolTipLines.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>

namespace {

const QString Ellipsis(QChar(0x2026));
// Mirrors Qt's own tool tip label, which indents its text by a pixel and makes
// itself a pixel wider than its size hint; one more for the text's width,
// which the label rounds up.
constexpr int TipIndentAndRounding = 3;

// Replaces everything from position on with an ellipsis in the format of the
// character before it.
void cutAt(QTextDocument &document, int position)
{
    QTextCursor cut(&document);
    cut.setPosition(position);
    const QTextCharFormat format = cut.charFormat();
    cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cut.insertText(Ellipsis, format);
}

// Plain text as a tool tip shows it as written: a tool tip reads anything that
// looks like markup as markup, and folds runs of blanks. It stays on one line
// while that is no wider than width, and is cut into lines that are where not.
QString toolTipOf(const QString &plain, int width)
{
    QStringList lines = ToolTipLines::linesOf(plain, QToolTip::font(), width);
    for (QString &line : lines)
        line = line.toHtmlEscaped();
    return QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(lines.join(QStringLiteral("<br>")));
}

} // namespace

ElidingLabel::ElidingLabel(QWidget *parent)
    : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
}

// A label that keeps to its text's width may still be given less, down to its
// minimum, and is then cut like any other.
void ElidingLabel::setTakesRoom(bool takesRoom)
{
    setSizePolicy(takesRoom ? QSizePolicy::Ignored : QSizePolicy::Maximum, sizePolicy().verticalPolicy());
}

bool ElidingLabel::elided() const
{
    return QLabel::sizeHint().width() > width();
}

// The tip shows the text as the label shows it.
bool ElidingLabel::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip || !elided())
        return QLabel::event(event);
    QTextDocument document;
    fillDocument(document);
    const QPoint position = static_cast<QHelpEvent *>(event)->globalPos();
    QToolTip::showText(position, toolTipOf(document.toPlainText(), tipTextRoom(position)), this);
    return true;
}

void ElidingLabel::paintEvent(QPaintEvent *event)
{
    if (!elided()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = textRoom();
    QTextDocument document;
    fillElided(document, room.width());

    painter.setClipRect(room);
    painter.translate(room.left(), room.top() + (room.height() - document.size().height()) / 2);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.palette.setColor(QPalette::Text, palette().color(foregroundRole()));
    document.documentLayout()->draw(&painter, context);
}

// The longest head of the text that fits in width beside the ellipsis, found by halving.
void ElidingLabel::fillElided(QTextDocument &document, int width) const
{
    fillDocument(document);
    int fitting = 0;
    int tooLong = document.characterCount() - 1; // less the closing paragraph separator
    while (tooLong - fitting > 1) {
        const int middle = (fitting + tooLong) / 2;
        fillDocument(document);
        cutAt(document, middle);
        if (document.idealWidth() <= width)
            fitting = middle;
        else
            tooLong = middle;
    }
    fillDocument(document);
    cutAt(document, fitting);
}

// The screen's available width at position, less what the tip's label puts
// around its text: on each side a margin one pixel wider than the style's tip
// frame, and its indent.
int ElidingLabel::tipTextRoom(QPoint position) const
{
    const QScreen *at = QGuiApplication::screenAt(position);
    const int margin = 1 + style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, this);
    return (at ? at : screen())->availableGeometry().width() - 2 * margin - TipIndentAndRounding;
}

QRect ElidingLabel::textRoom() const
{
    return contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
}

void ElidingLabel::fillDocument(QTextDocument &document) const
{
    document.setDefaultFont(font());
    document.setDocumentMargin(0);
    const bool rich = textFormat() == Qt::RichText || (textFormat() == Qt::AutoText && Qt::mightBeRichText(text()));
    if (rich)
        document.setHtml(text());
    else
        document.setPlainText(text());
}
