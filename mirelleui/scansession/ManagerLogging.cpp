#include "ManagerLogging.h"

// Debug lines trace the scan and the queue; QT_LOGGING_RULES="mirelle.manager.debug=true" shows them.
Q_LOGGING_CATEGORY(lcManager, "mirelle.manager", QtInfoMsg)
