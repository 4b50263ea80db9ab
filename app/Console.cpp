#include "Console.h"

#include "SerialFraming.h"

#include <QScrollBar>
#include <QTextCharFormat>

namespace {

const QColor TextColour = Qt::yellow;

QFont consoleFont()
{
    // Monaco where the host has it, else another monospaced face.
    QFont font;
    font.setFamilies({QStringLiteral("Monaco"), QStringLiteral("Source Code Pro")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(12);
    font.setWeight(QFont::Medium);
    return font;
}

} // namespace

Console::Console(QWidget *parent)
    : QPlainTextEdit(parent)
    , m_scrollBar(verticalScrollBar())
{
    document()->setMaximumBlockCount(MaximumBlockCount);
    m_palette.setColor(QPalette::Base, Qt::black);
    m_palette.setColor(QPalette::Text, TextColour);
    setFont(consoleFont());
    setReadOnly(true);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setMouseTracking(false);
    setPalette(m_palette);
}

void Console::displayData(const QByteArray &data, int type, bool autoDetecting)
{
    if (halt)
        return;
    switch (type) {
    case SerialFraming::ErrorLine:
        if (!autoDetecting)
            insertColoured(data, Qt::red);
        break;
    case SerialFraming::AnswerLine:
        insertColoured(data, Qt::green);
        break;
    case SerialFraming::DataLine:
        insertPlainText(QString::fromUtf8(data));
        break;
    default:
        break;
    }
    m_scrollBar->setValue(m_scrollBar->maximum());
}

void Console::insertColoured(const QByteArray &data, const QColor &colour)
{
    QTextCharFormat format = currentCharFormat();
    format.setForeground(colour);
    setCurrentCharFormat(format);
    insertPlainText(QString::fromUtf8(data));
    format.setForeground(TextColour);
    setCurrentCharFormat(format);
}

void Console::mousePressEvent(QMouseEvent *)
{
    // A click only focuses the pane: no cursor move, no selection.
    setFocus(Qt::OtherFocusReason);
}

void Console::mouseDoubleClickEvent(QMouseEvent *)
{
    // No word selection.
}

void Console::keyPressEvent(QKeyEvent *)
{
    // No typing and no key navigation.
}

void Console::contextMenuEvent(QContextMenuEvent *)
{
    // No context menu.
}
