#include "XLogging.h"

Q_LOGGING_CATEGORY(lcStartTime, "XStartTimeLog")
Q_LOGGING_CATEGORY(lcLoadApp, "XLoadAppLog")
Q_LOGGING_CATEGORY(lcTrace, "mirelle.trace")
