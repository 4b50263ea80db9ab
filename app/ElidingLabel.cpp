#include "ElidingLabel.h"

#include <QAbstractTextDocumentLayout>
#include <QHelpEvent>
#include <QPainter>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>

namespace {

const QString Ellipsis(QChar(0x2026));

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

// Plain text as a tool tip shows it as written, on one line: a tool tip reads
// anything that looks like markup as markup, and folds runs of blanks.
QString toolTipOf(const QString &plain)
{
    return QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(plain.toHtmlEscaped());
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
    QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), toolTipOf(document.toPlainText()), this);
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
