#ifndef MODALANSWERS_H
#define MODALANSWERS_H

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

// Answers the modal windows the code under test opens. Each window goes to the
// next step a test queued, else to the standing handler, else, for a message
// box, to a living BoxCloser. A window none of them takes was not expected: it
// is closed and the running test fails at once with its title and text, where
// it would otherwise wait for an answer until the test runner's time-out.
class ModalAnswers : public QObject
{
    Q_OBJECT

public:
    using Step = std::function<void(QWidget *)>;
    // Returns whether it took the window.
    using Handler = std::function<bool(QWidget *)>;

    ModalAnswers();

    // Answers the next modal window, once.
    void then(Step step);
    bool allAnswered() const { return m_steps.isEmpty(); }

    // Offered every window no step is left for; an empty handler offers none.
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // "title: text" of a message box; the title and the class name of any other window.
    static QString describe(const QWidget *modal);

    // The windows nobody expected, as described.
    QStringList unexpected;

private:
    friend class BoxCloser;

    void answer();
    void refuse(QWidget *modal);

    QTimer m_timer;
    QList<Step> m_steps;
    Handler m_handler;
    QStringList *m_boxLog = nullptr;
};

// While it lives, every message box that no step or handler takes is accepted
// and noted, as described, instead of failing the test.
class BoxCloser
{
public:
    explicit BoxCloser(ModalAnswers &answers);
    ~BoxCloser();
    BoxCloser(const BoxCloser &) = delete;
    BoxCloser &operator=(const BoxCloser &) = delete;

    QStringList boxes;

private:
    ModalAnswers &m_answers;
};

// What a message box showed before a step closed it.
struct BoxSeen
{
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QPoint position;
    QImage picture;
};

// A step that notes the message box in seen and closes it with button.
ModalAnswers::Step closeBox(BoxSeen *seen, QMessageBox::StandardButton button = QMessageBox::Ok);

// A step that clicks the message box's button of this text (without its "&").
ModalAnswers::Step clickBoxButton(const QString &text);

#endif // MODALANSWERS_H
