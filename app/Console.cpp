#include "Console.h"

#include "SerialFraming.h"
#include "WorkerTick.h"

#include <QScrollBar>
#include <QTextBlock>
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
    m_gatherTimer.setSingleShot(true);
    connect(&m_gatherTimer, &QTimer::timeout, this, &Console::showGathered);
}

void Console::displayData(const QByteArray &data, int type, bool autoDetecting)
{
    if (halt)
        return;
    switch (type) {
    case SerialFraming::ErrorLine:
        gather(autoDetecting ? QByteArray() : data, Qt::red, 0);
        break;
    case SerialFraming::AnswerLine:
        gather(data, Qt::green, 0);
        break;
    case SerialFraming::DataLine:
        gather(data, QColor(), WorkerTick::IntervalMs);
        break;
    default:
        gather(QByteArray(), QColor(), 0);
        break;
    }
}

void Console::displayText(const QByteArray &text)
{
    gather(text, QColor(), WorkerTick::IntervalMs);
}

void Console::gather(const QByteArray &data, const QColor &colour, int delayMs)
{
    if (!data.isEmpty())
        m_gathered.append({QString::fromUtf8(data), colour});
    m_scrollDue = true;
    if (!m_gatherTimer.isActive() || m_gatherTimer.remainingTime() > delayMs)
        m_gatherTimer.start(delayMs);
}

void Console::showGathered()
{
    m_gatherTimer.stop();
    if (!m_scrollDue)
        return;
    if (!m_gathered.isEmpty()) {
        // The format each line would get inserted on its own: coloured lines
        // leave the text colour behind them.
        QTextCharFormat format = currentCharFormat();
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock();
        for (const Line &line : std::as_const(m_gathered)) {
            if (line.colour.isValid()) {
                format.setForeground(line.colour);
                cursor.insertText(line.text, format);
                format.setForeground(TextColour);
            } else {
                cursor.insertText(line.text, format);
            }
        }
        dropOldestLines();
        cursor.endEditBlock();
        setCurrentCharFormat(format);
        m_gathered.clear();
    }
    m_scrollDue = false;
    m_scrollBar->setValue(m_scrollBar->maximum());
}

void Console::dropOldestLines()
{
    // The document would drop them itself, but it lays out each line it drops
    // first: most of them were never in view.
    const int excess = document()->blockCount() - MaximumBlockCount;
    if (excess <= 0)
        return;
    const QTextBlock newFirst = document()->findBlockByNumber(excess);
    const QTextCharFormat newFirstFormat = newFirst.charFormat();
    QTextCursor cursor(document());
    cursor.setPosition(newFirst.position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.setBlockCharFormat(newFirstFormat);
}

void Console::dropGathered()
{
    m_gatherTimer.stop();
    m_gathered.clear();
    m_scrollDue = false;
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
