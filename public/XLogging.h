#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcStartTime)  // "XStartTimeLog"
Q_DECLARE_LOGGING_CATEGORY(lcLoadApp)    // "XLoadAppLog"
Q_DECLARE_LOGGING_CATEGORY(lcTrace)      // "mirelle.trace"

// The trace line written when a model or manager operation gets an invalid key or index.
#define DP_ERROR_TRACE() \
    qCDebug(lcTrace, "error! file:%s func:%s line:%d", __FILE__, Q_FUNC_INFO, __LINE__)
