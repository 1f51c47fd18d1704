#include "ImageInputLog.h"

Q_LOGGING_CATEGORY(lcImageInput, "mirelle.imageinput", QtInfoMsg)
