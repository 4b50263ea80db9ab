#include "ModalAnswers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QtTest>

namespace {

constexpr int LookEveryMs = 10;

} // namespace

ModalAnswers::ModalAnswers()
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswers::answer);
    m_timer.start(LookEveryMs);
}

void ModalAnswers::then(Step step)
{
    m_steps.append(std::move(step));
}

QString ModalAnswers::describe(const QWidget *modal)
{
    if (const auto *box = qobject_cast<const QMessageBox *>(modal))
        return box->windowTitle() + QStringLiteral(": ") + box->text();
    return modal->windowTitle() + QStringLiteral(" (") + QLatin1String(modal->metaObject()->className())
           + QLatin1Char(')');
}

void ModalAnswers::answer()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (!m_steps.isEmpty())
        return m_steps.takeFirst()(modal);
    if (m_handler && m_handler(modal))
        return;
    auto *box = qobject_cast<QMessageBox *>(modal);
    if (box && m_boxLog) {
        *m_boxLog << describe(box);
        box->accept();
        return;
    }
    refuse(modal);
}

// Closes the window, so the test goes on to its end instead of waiting, and fails it.
void ModalAnswers::refuse(QWidget *modal)
{
    const QString description = describe(modal);
    unexpected << description;
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
    QTest::qFail(qPrintable(QStringLiteral("Unexpected modal window: ") + description), __FILE__, __LINE__);
}

BoxCloser::BoxCloser(ModalAnswers &answers) : m_answers(answers)
{
    m_answers.m_boxLog = &boxes;
}

BoxCloser::~BoxCloser()
{
    m_answers.m_boxLog = nullptr;
}

ModalAnswers::Step closeBox(BoxSeen *seen, QMessageBox::StandardButton button)
{
    return [seen, button](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY2(box, qPrintable(modal->metaObject()->className()));
        *seen = {box->windowTitle(), box->text(), box->icon(), box->pos(), box->iconPixmap().toImage()};
        box->button(button)->click();
    };
}

ModalAnswers::Step clickBoxButton(const QString &text)
{
    return [text](QWidget *modal) {
        for (QAbstractButton *button : qobject_cast<QMessageBox *>(modal)->buttons()) {
            if (button->text().remove('&') == text)
                return button->click();
        }
        QFAIL(qPrintable("no button " + text));
    };
}
