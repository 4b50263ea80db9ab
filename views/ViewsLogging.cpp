#include "ViewsLogging.h"

Q_LOGGING_CATEGORY(lcViews, "orvanta.views", QtInfoMsg)
