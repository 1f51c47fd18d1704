#include "XLogging.h"

Q_LOGGING_CATEGORY(lcStartTime, "XStartTimeLog")
Q_LOGGING_CATEGORY(lcLoadApp, "XLoadAppLog")
