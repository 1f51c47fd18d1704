// Marks, checked totals and regrouping of the scan manager.
#include "CDupPicsMgr.h"

#include "COperateTaskQueue.h"
#include "CFileDelImplement.h"
#include "CRefreshSimialSlotThread.h"

void CDupPicsMgr::doMark(QVariant groupKey)
{
    m_pTaskQueue->pushMarkGroup(groupKey.toULongLong());
}

void CDupPicsMgr::doAllMark()
{
    m_pTaskQueue->pushMarkAll();
}

void CDupPicsMgr::clearAllMark()
{
    m_pTaskQueue->pushClearAllMarks();
}

void CDupPicsMgr::onTaskMarkGroup(quint64 pGroup, bool bSignal)
{
    CResultStore::CMarkChanges changes;
    if (!m_store.markGroup(pGroup, changes))
        return;
    notifyPhotoModelMarks(changes);
    if (bSignal) {
        recomputeCheckedTotals();
        Q_EMIT sigCheckedItemCountChanged();
    }
}

void CDupPicsMgr::onTaskMarkAll()
{
    // The photo models hear of all changes in one go.
    notifyPhotoModelMarks(m_store.markAll());
    recomputeCheckedTotals();
    Q_EMIT sigCheckedItemCountChanged();
}

void CDupPicsMgr::onTaskClearAllMarks()
{
    const QMap<quint64, QStringList> cleared = m_store.clearAllMarks();
    recomputeCheckedTotals();
    Q_EMIT sigCheckedItemCountChanged();
    for (auto it = cleared.constBegin(); it != cleared.constEnd(); ++it)
        notifyPhotoModelMarks(it.key(), it.value(), false);
}

void CDupPicsMgr::onTaskClearGroupMarks(quint64 pGroup)
{
    QStringList cleared;
    if (!m_store.clearGroupMarks(pGroup, &cleared))
        return;
    if (!cleared.isEmpty())
        notifyPhotoModelMarks(pGroup, cleared, false);
    recomputeCheckedTotals();
    Q_EMIT sigCheckedItemCountChanged();
}

void CDupPicsMgr::onTaskSetPhotoMark(const CPhotoMarkTaskPayload &payload)
{
    if (payload.pGroup == 0 || payload.strPath.isEmpty())
        return;
    if (!m_store.groupSummary(payload.pGroup, nullptr))
        return;
    if (m_store.setPhotoMark(payload.pGroup, payload.strPath, payload.bState))
        notifyPhotoModelMarks(payload.pGroup, {payload.strPath}, payload.bState);
    // A burst of clicks queues one request per photo; the last of the burst recounts the
    // totals, each of which reads the size of every marked file.
    if (m_pTaskQueue->frontType() == TaskSetPhotoMark)
        return;
    recomputeCheckedTotals();
    Q_EMIT sigCheckedItemCountChanged();
}

void CDupPicsMgr::recomputeCheckedTotals()
{
    const CResultStore::CCheckedTotals totals = m_store.recomputeCheckedTotals();
    m_pFileDel->driveCheck().setCheckedInfo(totals.i64Size, totals.mapDriveSizes, totals.listPaths);
}

void CDupPicsMgr::slotRefreshMarkInfo()
{
    recomputeCheckedTotals();
    Q_EMIT sigCheckedItemCountChanged();
}

void CDupPicsMgr::slotSetDelFlat(void *gropPtr, QString strFilePath, int propFlag)
{
    Q_UNUSED(gropPtr)
    quint64 iFileId = 0;
    if (!m_store.fileIdOfPath(strFilePath, &iFileId))
        return;
    if (m_pEngine)
        m_pEngine->SetFileState(iFileId, static_cast<uint8_t>(propFlag & 0xFF));
}

void CDupPicsMgr::refreshSimilarSlot()
{
    // A scan or a running regroup owns the result tables; a second one would interleave.
    if (isScanning() || isRegrouping())
        return;
    if (m_pExtras)
        decisionStore();
    CRegroupJob job;
    job.pEngine = m_pFilter ? m_pEngine : nullptr;
    job.pExtras = m_pExtras;
    job.pSink = this;
    job.pQueue = m_pTaskQueue;
    job.extras = engineExtrasSettings();
    job.iSimilarity = static_cast<quint8>(getSimilarSlot());
    auto *pWorker = new CRefreshSimialSlotThread(std::move(job));
    m_pRegroupWorker = pWorker;
    connect(this, &CDupPicsMgr::sigCanclelRefresh, pWorker, &CBaseThread::onCancel, Qt::DirectConnection);
    // Direct: both steps must be done before the worker goes on.
    connect(pWorker, &CRefreshSimialSlotThread::sigResetResults, this, [this] {
        suspendThumbResults();
        resetResults();
        StartThumbRefresh();
        resumeThumbResults();
        Q_EMIT sigProcProgress(4, 0);
    }, Qt::DirectConnection);
    connect(pWorker, &CRefreshSimialSlotThread::sigRegrouped, this, [this] {
        for (quint64 key : m_store.hideLoneGroups())
            Q_EMIT sigRefreshGroupInfo(QVariant::fromValue(key));
        recountTotals();
        Q_EMIT sigProcProgress(4, 100);
        Q_EMIT sigRefreshTotalInfo();
        m_iRegrouping = 0;
    }, Qt::DirectConnection);
    connect(pWorker, &CBaseThread::sigFinished, this, [this](int iResult) {
        if (iResult == 0)
            Q_EMIT sigRefreshComplete(0);
    });
    m_iRegrouping = 1;
    pWorker->start(QThread::InheritPriority);
}

void CDupPicsMgr::cancelRefresh()
{
    if (m_pEngine) {
        m_pEngine->StopRegroup();
        if (CRefreshSimialSlotThread *pWorker = m_pRegroupWorker.data()) {
            pWorker->onCancel();
            pWorker->wait();
        }
        // Results of the stopped regroup that are still queued would mix into the next one.
        m_pTaskQueue->clear();
    }
    m_iRegrouping = 0;
    Q_EMIT sigCanclelRefresh();
}
