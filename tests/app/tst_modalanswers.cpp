// The window tests' modal answers: a window nobody expected fails the running
// case at once, named by its title and text, instead of waiting for an answer.

#include "ModalAnswers.h"

#include <QtTest>
#include <QtWidgets>

class TestModalAnswers : public QObject
{
    Q_OBJECT

private slots:
    void describedByTitleAndText()
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), QStringLiteral("Wrong Port Number!"));
        QCOMPARE(ModalAnswers::describe(&box), QStringLiteral("Error: Wrong Port Number!"));
        QDialog dialog;
        dialog.setWindowTitle(QStringLiteral("Settings"));
        QCOMPARE(ModalAnswers::describe(&dialog), QStringLiteral("Settings (QDialog)"));
    }

    // The box would wait for an answer for ever; it is closed and the case fails, naming it.
    void unexpectedBoxFailsAtOnce()
    {
        ModalAnswers answers;
        QEXPECT_FAIL("", "the box is reported as unexpected", Continue);
        QMessageBox::warning(nullptr, QStringLiteral("Surprise"), QStringLiteral("Nobody asked"));
        QCOMPARE(answers.unexpected, QStringList{"Surprise: Nobody asked"});
    }

    // Steps answer in order; then the standing handler; then a living box closer.
    void expectedWindowsAreAnswered()
    {
        ModalAnswers answers;
        BoxSeen first;
        answers.then(closeBox(&first));
        QMessageBox::information(nullptr, QStringLiteral("One"), QStringLiteral("first"));
        QCOMPARE(first.text, QStringLiteral("first"));
        QVERIFY(answers.allAnswered());

        QStringList handled;
        answers.setHandler([&handled](QWidget *modal) {
            handled << modal->windowTitle();
            qobject_cast<QDialog *>(modal)->accept();
            return true;
        });
        QMessageBox::information(nullptr, QStringLiteral("Two"), QStringLiteral("second"));
        QCOMPARE(handled, QStringList{"Two"});
        answers.setHandler({});

        BoxCloser closer(answers);
        QMessageBox::information(nullptr, QStringLiteral("Three"), QStringLiteral("third"));
        QCOMPARE(closer.boxes, QStringList{"Three: third"});
        QVERIFY(answers.unexpected.isEmpty());
    }
};

QTEST_MAIN(TestModalAnswers)
#include "tst_modalanswers.moc"
