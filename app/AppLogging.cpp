#include "AppLogging.h"

Q_LOGGING_CATEGORY(lcApp, "orvanta.app", QtInfoMsg)
