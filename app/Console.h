#ifndef CONSOLE_H
#define CONSOLE_H

#include <QColor>
#include <QList>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTimer>

class QScrollBar;

// Read-only terminal pane: shows the serial traffic line by line, coloured by
// kind, keeps only the newest lines and can be halted. The user can neither
// type, select nor open a menu in it.
//
// Received lines are gathered and inserted together in one edit, with one
// scroll to the end: data lines once per display tick of the worker, answers
// and errors on the next pass of the event loop.
class Console : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr int MaximumBlockCount = 64;

    explicit Console(QWidget *parent = nullptr);

    // Appends one received line of a SerialFraming::LineClass; error lines are
    // left out while auto-detection runs.
    void displayData(const QByteArray &data, int type, bool autoDetecting);
    // Appends text (a frame's hexadecimal dump) in the current format.
    void displayText(const QByteArray &text);

    // Inserts the gathered lines now, or drops them.
    void showGathered();
    void dropGathered();

    // While set, received lines are dropped.
    bool halt = false;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // A line to insert; an invalid colour keeps the current format.
    struct Line
    {
        QString text;
        QColor colour;
    };

    void gather(const QByteArray &data, const QColor &colour, int delayMs);
    void dropOldestLines();

    QPalette m_palette;
    QScrollBar *m_scrollBar = nullptr;
    QList<Line> m_gathered;
    bool m_scrollDue = false;
    QTimer m_gatherTimer;
};

#endif // CONSOLE_H
