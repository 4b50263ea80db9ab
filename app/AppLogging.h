#ifndef APPLOGGING_H
#define APPLOGGING_H

#include <QLoggingCategory>

// Trace output of the application shell.
Q_DECLARE_LOGGING_CATEGORY(lcApp)

#endif // APPLOGGING_H
