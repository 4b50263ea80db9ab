#ifndef ENGINELOGGING_H
#define ENGINELOGGING_H

#include <QLoggingCategory>

// Trace output of the device link engine, at debug level: off unless a logging rule switches it on.
Q_DECLARE_LOGGING_CATEGORY(lcEngine)

#endif // ENGINELOGGING_H
