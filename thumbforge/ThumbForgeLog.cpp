#include "ThumbForgeLog.h"

Q_LOGGING_CATEGORY(lcThumb, "dp.thumbforge", QtInfoMsg)
