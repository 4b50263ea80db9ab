#ifndef TABLAYOUTGUARD_H
#define TABLAYOUTGUARD_H

#include <QObject>
#include <QSize>

class QTabWidget;

// Lets a layout request through to a tab widget only when what the tab widget
// lays out asks for another size. A tab widget repaints itself, pages and all,
// on every layout request it gets, and a label on a page sends one up through
// the page each time it takes a new text: a read-out changing twenty times a
// second would repaint the whole tab widget as often.
class TabLayoutGuard : public QObject
{
    Q_OBJECT

public:
    // Watches the tab widget, and is deleted with it.
    explicit TabLayoutGuard(QTabWidget *tabWidget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What the tab widget's own layout and its place in its parent's depend on.
    struct Hints
    {
        QSize size, sizeHint, minimumSizeHint, tabBarSizeHint;

        bool operator==(const Hints &other) const
        {
            return size == other.size && sizeHint == other.sizeHint && minimumSizeHint == other.minimumSizeHint
                && tabBarSizeHint == other.tabBarSizeHint;
        }
    };

    Hints hints() const;

    QTabWidget *m_tabWidget;
    Hints m_laidOut;
};

#endif // TABLAYOUTGUARD_H
