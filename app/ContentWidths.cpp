#include "ContentWidths.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>

#include <algorithm>

namespace {

// What the widget's text or content needs; 0 where it already follows them by
// itself: a widget that ignores its size hint, a label or a widget laid out by
// its content with no minimum width of its own.
int neededWidth(QWidget *widget)
{
    if (widget->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored)
        return 0;
    const bool ownMinimum = widget->minimumWidth() > 0;
    if (qobject_cast<QLabel *>(widget))
        return ownMinimum ? widget->sizeHint().width() : 0;
    if (ContentWidths::showsText(widget))
        return widget->sizeHint().width();
    if (!ownMinimum)
        return 0;
    if (QLayout *layout = widget->layout())
        layout->invalidate(); // its items' minimums may have grown just now
    return widget->minimumSizeHint().width();
}

void raiseMinimumWidth(QWidget *widget, int width)
{
    if (width > widget->minimumWidth())
        widget->setMinimumWidth(qMin(width, widget->maximumWidth()));
}

} // namespace

namespace ContentWidths {

bool showsText(const QWidget *widget)
{
    return qobject_cast<const QLabel *>(widget) || qobject_cast<const QAbstractButton *>(widget)
           || qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget);
}

void widenToContent(QWidget *root)
{
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    // Each widget comes before the widgets under it: backwards, a layout's
    // items are widened before the layout's minimum is read.
    std::for_each(widgets.crbegin(), widgets.crend(),
                  [](QWidget *widget) { raiseMinimumWidth(widget, neededWidth(widget)); });
}

} // namespace ContentWidths
