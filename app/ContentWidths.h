#ifndef CONTENTWIDTHS_H
#define CONTENTWIDTHS_H

class QWidget;

// Minimum widths that follow what the widgets show. The form's minimum widths
// suit a screen where a point is a pixel; where points are larger they would
// let a layout squeeze a text below its own width and cut it.
namespace ContentWidths {

// Whether the widget shows a text of its own that must not be cut: labels,
// buttons, check boxes, combo and spin boxes.
bool showsText(const QWidget *widget);

// Raises the minimum width of root and of every widget under it to what its
// text or its content needs, within the widget's maximum width: labels with a
// minimum width of their own, buttons, check boxes, combo and spin boxes get
// their size hint, other widgets with a minimum width of their own (group boxes,
// pages, the tab widget) the minimum their content asks for. Widgets that
// already follow their content, and those that ignore their size hint, are left
// as they are. Called before the widgets are first laid out, while a minimum
// width of 0 still means none was set.
void widenToContent(QWidget *root);

} // namespace ContentWidths

#endif // CONTENTWIDTHS_H
