// Minimum widths that follow what the widgets show, on widgets of the test's own.

#include "ContentWidths.h"

#include <QtTest>
#include <QtWidgets>

class TestContentWidths : public QObject
{
    Q_OBJECT

private slots:
    // Which widgets are widened, and how far.
    void widensWhatHasAMinimumOfItsOwn()
    {
        QWidget root;
        root.setMinimumWidth(10);
        auto *layout = new QVBoxLayout(&root);
        auto *box = new QGroupBox(QStringLiteral("Box"));
        box->setMinimumWidth(20);
        auto *inner = new QVBoxLayout(box);
        auto *checkBox = new QCheckBox(QStringLiteral("a check box with a long text"));
        checkBox->setMinimumWidth(30);
        auto *ownLabel = new QLabel(QStringLiteral("a label with a minimum of its own"));
        ownLabel->setMinimumWidth(30);
        auto *freeLabel = new QLabel(QStringLiteral("a label that follows its text"));
        auto *cappedLabel = new QLabel(QStringLiteral("a label kept narrower than its text"));
        cappedLabel->setMinimumWidth(1);
        cappedLabel->setMaximumWidth(40);
        auto *elidingLabel = new QLabel(QStringLiteral("a label that ignores its size hint"));
        elidingLabel->setMinimumWidth(30);
        elidingLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        for (QWidget *widget : std::initializer_list<QWidget *>{checkBox, ownLabel, freeLabel, cappedLabel, elidingLabel})
            inner->addWidget(widget);
        layout->addWidget(box);

        ContentWidths::widenToContent(&root);
        QCOMPARE(checkBox->minimumWidth(), checkBox->sizeHint().width());
        QCOMPARE(ownLabel->minimumWidth(), ownLabel->sizeHint().width());
        QCOMPARE(freeLabel->minimumWidth(), 0);
        QCOMPARE(cappedLabel->minimumWidth(), 40);
        QCOMPARE(elidingLabel->minimumWidth(), 30);
        QVERIFY(box->minimumWidth() >= ownLabel->sizeHint().width());
        QCOMPARE(box->minimumWidth(), box->minimumSizeHint().width());
        QCOMPARE(root.minimumWidth(), root.minimumSizeHint().width());
    }
};

QTEST_MAIN(TestContentWidths)
#include "tst_contentwidths.moc"
