// Minimum widths that follow what the widgets show, on widgets of the test's own.

#include "ContentWidths.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

class TestContentWidths : public QObject
{
    Q_OBJECT

private slots:
    void showsText_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("shows");
        for (const char *kind : {"label", "push button", "check box", "radio button", "combo box", "spin box",
                                 "double spin box"})
            QTest::newRow(kind) << kind << true;
        for (const char *kind : {"line edit", "group box", "frame", "plain widget"})
            QTest::newRow(kind) << kind << false;
    }

    // Which widgets show a text of their own: their text is what their width must hold.
    void showsText()
    {
        QFETCH(QString, kind);
        const QHash<QString, std::function<QWidget *()>> make{
            {"label", [] { return new QLabel(QStringLiteral("text")); }},
            {"push button", [] { return new QPushButton(QStringLiteral("text")); }},
            {"check box", [] { return new QCheckBox(QStringLiteral("text")); }},
            {"radio button", [] { return new QRadioButton(QStringLiteral("text")); }},
            {"combo box", [] { return new QComboBox; }},
            {"spin box", [] { return new QSpinBox; }},
            {"double spin box", [] { return new QDoubleSpinBox; }},
            {"line edit", [] { return new QLineEdit(QStringLiteral("text")); }},
            {"group box", [] { return new QGroupBox(QStringLiteral("text")); }},
            {"frame", [] { return new QFrame; }},
            {"plain widget", [] { return new QWidget; }},
        };
        const std::unique_ptr<QWidget> widget(make.value(kind)());
        QTEST(ContentWidths::showsText(widget.get()), "shows");
    }

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
