#include "FileOpsLogging.h"

Q_LOGGING_CATEGORY(lcFileOps, "dp.fileops")
