#ifndef CONSOLE_H
#define CONSOLE_H

#include <QPalette>
#include <QPlainTextEdit>

class QScrollBar;

// Read-only terminal pane: shows the serial traffic line by line, coloured by
// kind, keeps only the newest lines and can be halted. The user can neither
// type, select nor open a menu in it.
class Console : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr int MaximumBlockCount = 64;

    explicit Console(QWidget *parent = nullptr);

    // Appends one received line of a SerialFraming::LineClass; error lines are
    // left out while auto-detection runs.
    void displayData(const QByteArray &data, int type, bool autoDetecting);

    // While set, received lines are dropped.
    bool halt = false;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void insertColoured(const QByteArray &data, const QColor &colour);

    QPalette m_palette;
    QScrollBar *m_scrollBar = nullptr;
};

#endif // CONSOLE_H
