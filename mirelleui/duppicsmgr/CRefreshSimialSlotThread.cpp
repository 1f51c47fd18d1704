#include "CRefreshSimialSlotThread.h"

#include "CCollectionThread.h"
#include "CDupPicsMgr.h"
#include "COperateTaskQueue.h"

#include <QDebug>

namespace {

constexpr int kSettleMs = 2000;
constexpr int kPollMs = 200;

} // namespace

int CRefreshSimialSlotThread::doRun()
{
    if (!m_pMgr->m_pEngine || !m_pMgr->m_pFilter)
        return 0;
    m_pMgr->m_iRegrouping = 1;
    // Intake still queued from an earlier scan or regroup must land before the reset wipes it.
    while (!(COperateTaskQueue::instance()->isEmpty() && !m_pMgr->isOperateWorkerBusy()))
        QThread::msleep(kPollMs / 4);
    m_pMgr->suspendThumbResults();
    m_pMgr->resetResults();
    m_pMgr->StartThumbRefresh();
    m_pMgr->resumeThumbResults();
    Q_EMIT m_pMgr->sigProcProgress(4, 0);
    m_pMgr->applyEngineExtras();
    const int iResult = m_pMgr->m_pEngine->Regroup(m_pMgr, static_cast<uint8_t>(m_pMgr->getSimilarSlot()));

    // Late callbacks from the engine's threads may still be on their way to the queue.
    for (int waited = 0; waited < kSettleMs && !isCancelled(); waited += kPollMs)
        QThread::msleep(kPollMs);
    while (!isCancelled() && !(COperateTaskQueue::instance()->isEmpty() && !m_pMgr->isOperateWorkerBusy()))
        QThread::msleep(kPollMs);

    CCalcTotalDupImgInfoThread::recount(m_pMgr);
    Q_EMIT m_pMgr->sigProcProgress(4, 100);
    Q_EMIT m_pMgr->sigRefreshTotalInfo();
    qDebug() << "************************************************************* refresh finished....\n";
    m_pMgr->m_iRegrouping = 0;
    return iResult;
}
