#ifndef VIEWSLOGGING_H
#define VIEWSLOGGING_H

#include <QLoggingCategory>

// Trace output of the chart and instrument windows, at debug level: off unless a logging rule switches it on.
Q_DECLARE_LOGGING_CATEGORY(lcViews)

#endif // VIEWSLOGGING_H
