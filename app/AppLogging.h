#ifndef APPLOGGING_H
#define APPLOGGING_H

#include <QLoggingCategory>

// Trace output of the application shell, at debug level: off unless a logging rule switches it on.
Q_DECLARE_LOGGING_CATEGORY(lcApp)

#endif // APPLOGGING_H
