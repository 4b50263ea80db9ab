#ifndef VIEWSLOGGING_H
#define VIEWSLOGGING_H

#include <QLoggingCategory>

// Trace output of the chart and instrument windows.
Q_DECLARE_LOGGING_CATEGORY(lcViews)

#endif // VIEWSLOGGING_H
