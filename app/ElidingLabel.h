#ifndef ELIDINGLABEL_H
#define ELIDINGLABEL_H

#include <QLabel>

class QTextDocument;

// A label that takes the room its layout gives it whatever its text holds, so
// that the widgets beside it keep their size and place; or, told not to take
// the room, one as wide as its text needs, never narrower than its minimum
// width. A text too long for the room is shown cut at the end with an ellipsis,
// its format kept; the label's tool tip then shows the whole text as the label
// shows it, as plain text, on one line where that fits the screen and wrapped
// where not. text() stays the whole text.
class ElidingLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidingLabel(QWidget *parent = nullptr);

    // Whether the label takes the room its layout gives it (the default), or
    // only the width its text needs, at least its minimum width.
    void setTakesRoom(bool takesRoom);

    // Whether the text is shown cut at its present width.
    bool elided() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The widest text a tool tip shown at position can hold on its screen.
    int tipTextRoom(QPoint position) const;
    // The room inside the frame and the margin.
    QRect textRoom() const;
    // The text as a document in the label's font: rich or plain, as the label shows it.
    void fillDocument(QTextDocument &document) const;
    // The text cut so that it fits in width with an ellipsis.
    void fillElided(QTextDocument &document, int width) const;
};

#endif // ELIDINGLABEL_H
