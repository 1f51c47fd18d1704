#include "CRefreshSimialSlotThread.h"

#include "COperateTaskQueue.h"
#include "IScanEngine.h"
#include "ManagerLogging.h"

namespace {

constexpr int kSettleMs = 2000;
constexpr int kPollMs = 200;

} // namespace

int CRefreshSimialSlotThread::doRun()
{
    if (!m_job.pEngine)
        return 0;
    // Intake still queued from an earlier scan or regroup must land before the reset wipes it.
    while (!m_job.pQueue->waitDrained(kPollMs / 4)) {
    }
    Q_EMIT sigResetResults();
    m_job.extras.applyTo(m_job.pExtras);
    const int iResult = m_job.pEngine->Regroup(m_job.pSink, m_job.iSimilarity);

    // Late callbacks from the engine's threads may still be on their way to the queue.
    for (int waited = 0; waited < kSettleMs && !isCancelled(); waited += kPollMs)
        QThread::msleep(kPollMs);
    while (!isCancelled() && !m_job.pQueue->waitDrained(kPollMs)) {
    }

    Q_EMIT sigRegrouped();
    qCDebug(lcManager) << "************************************************************* refresh finished....";
    return iResult;
}
