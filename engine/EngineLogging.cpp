#include "EngineLogging.h"

Q_LOGGING_CATEGORY(lcEngine, "orvanta.engine", QtInfoMsg)
