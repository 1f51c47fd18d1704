// The scan run and the intake of the engine's results.
#include "CDupPicsMgr.h"

#include "CCollectionThread.h"
#include "CRemovalCoordinator.h"
#include "COperateTaskQueue.h"
#include "ManagerLogging.h"
#include "XLogging.h"

#include <QThread>

#include <algorithm>

namespace {

constexpr int kPrefetchGroups = 6;
constexpr int kPrefetchPathsPerGroup = 15;
constexpr int kPrefetchTaskLimit = 100;

} // namespace

void CDupPicsMgr::collectDupFiles()
{
    qCDebug(lcManager) << "Start New Scan........................................................";
    // Opened here, on the GUI thread, so that the scan worker finds the pairs loaded.
    if (m_pExtras)
        decisionStore();
    m_pTaskQueue->pushCommand(TaskStartScan);
}

void CDupPicsMgr::cancel()
{
    qCDebug(lcManager) << "cancel........................................................";
    m_pTaskQueue->pushCommand(TaskCancelScan);
}

void CDupPicsMgr::onTaskStartScan()
{
    if (m_iScanning.load() == 1)
        return;
    m_scanClock.restart();
    CScanJob job;
    job.pEngine = m_pEngine;
    job.pFilter = m_pFilter;
    job.pExtras = m_pExtras;
    job.pSink = this;
    job.pQueue = m_pTaskQueue;
    job.listSources = m_listSources;
    m_pRemoval->setScannedFolders(m_listSources);
    job.mapVolumes = m_mapVolumes;
    job.mapOptions = m_mapOptions;
    job.extras = engineExtrasSettings();
    job.iSimilarity = static_cast<quint8>(getSimilarSlot());
    job.iMinimumMs = m_iMinimumScanMs;
    m_progress.startScan();
    m_iGroupedFiles = 0;
    m_pCountsNotice->request();
    if (m_pEngine && m_pFilter)
        StartThumbRefresh();
    auto *pWorker = new CCollectionThread(std::move(job));
    // The worker is created on the operation thread but must be driven from the GUI thread's
    // event loop for its self-deletion.
    pWorker->moveToThread(thread());
    {
        QMutexLocker locker(&m_scanStopLock);
        m_pScanStop = pWorker->stopHandle();
    }
    connect(pWorker, &CCollectionThread::sigStarted, this, &CDupPicsMgr::signalNextPage);
    connect(pWorker, &CCollectionThread::sigSourcesPruned, this, [this](const QStringList &listSources) {
        m_listSources = listSources;
    });
    // Direct: the totals recount must be under way before the worker's run ends.
    connect(pWorker, &CCollectionThread::sigIntakeDone, this, [this] {
        for (quint64 key : m_store.hideLoneGroups())
            Q_EMIT sigRefreshGroupInfo(QVariant::fromValue(key));
        startTotalsWorker();
        Q_EMIT sigProcProgress(3, 100);
    }, Qt::DirectConnection);
    connect(pWorker, &CCollectionThread::sigScanEnded, this, [this] { m_iScanning = 0; }, Qt::DirectConnection);
    // Queued as the end of the run is, and so taken in before it.
    connect(pWorker, &CCollectionThread::sigSourcesVanished, this, [this](const QStringList &listVanished, bool bEvery) {
        m_listScanVanished = listVanished;
        m_bScanVanishedAll = bEvery;
    }, Qt::QueuedConnection);
    connect(pWorker, &CBaseThread::sigFinished, this, &CDupPicsMgr::onScanFinished, Qt::QueuedConnection);
    // Set before start so a second start task queued behind this one is ignored.
    m_iScanning = 1;
    pWorker->start(QThread::InheritPriority);
}

void CDupPicsMgr::onScanFinished(int iResult)
{
    if (iResult != 0)
        return;
    if (m_pExtras) {
        const CScanSkipped skipped = CScanIntake::skipped(m_pExtras);
        m_listScanSkipped = skipped.listCounts;
        m_listScanSkippedMounts = skipped.listMounts;
    }
    Q_EMIT sigScanSkippedChanged();
    // Without the photos of a folder that went away, "no similar photos" would be a false
    // answer, and groups of gone folders only show what is no longer there.
    bool bOthers = false;
    if (!m_listScanVanished.isEmpty() && !m_bScanVanishedAll) {
        const auto isGone = [this](const QString &strPath) {
            return std::any_of(m_listScanVanished.cbegin(), m_listScanVanished.cend(), [&](const QString &folder) {
                return strPath.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
            });
        };
        m_store.readTables([&](const CResultStore::CTables &tables) {
            for (const GroupSummary &summary : tables.mapGroups) {
                for (const CPhotoRecordCopy &file : summary.files)
                    bOthers = bOthers || (summary.shown && !file.isHidden() && !isGone(file.path()));
            }
        });
    }
    const bool bFailed = !m_listScanVanished.isEmpty() && !bOthers;
    if (bFailed) {
        qCWarning(lcManager) << "scanned folders went away during the scan:" << m_listScanVanished;
        resetResults();
    }
    m_pTotalsNotice->flush();
    m_pTotalInfoNotice->flush();
    m_pCountsNotice->flush();
    sendUsageEvent(QStringLiteral("ScanPhotos"), QStringLiteral("Result_Scan"), scanUsagePairs());
    Q_EMIT sigScanComplete(bFailed ? ScanResult_SourcesVanished : ScanResult_Done);
}

QList<QPair<QString, QString>> CDupPicsMgr::scanUsagePairs() const
{
    const qint64 iGroups = m_store.groupOrder().size();
    const qint64 iFiles = m_store.fileCount();
    return {{QStringLiteral("scaned_images"), QString::number(m_progress.scannedImages())},
            {QStringLiteral("scaned_image_size"), QString::number(m_progress.scannedBytes())},
            {QStringLiteral("similar_image_groups"), QString::number(iGroups)},
            {QStringLiteral("similar_image_amount"), QString::number(iFiles)},
            {QStringLiteral("time_used"), QStringLiteral("%1 ms").arg(m_scanClock.elapsed())}};
}

void CDupPicsMgr::onTaskCancelScan()
{
    if (m_iCancelling.load() == 1)
        return;
    m_iCancelling = 1;
    stopScanAndWait();
    m_pTaskQueue->clear();
    sendUsageEvent(QStringLiteral("ScanPhotos"), QStringLiteral("Click_StopScan"), scanUsagePairs());
    m_iCancelling = 0;
    Q_EMIT sigNotifyCanceled();
}

void CDupPicsMgr::stopScanAndWait()
{
    std::shared_ptr<CScanStop> pStop;
    {
        QMutexLocker locker(&m_scanStopLock);
        pStop = m_pScanStop;
    }
    if (!pStop || pStop->hasEnded())
        return;
    pStop->request();
    if (m_pEngine)
        m_pEngine->Stop();
    pStop->waitEnded();
}

bool CDupPicsMgr::DuplicatingSink(int32_t iStep, uint64_t i64Done, uint64_t i64Bytes)
{
    const int iPercent = m_progress.onDone(iStep, i64Done, i64Bytes, m_pExtras);
    if (iStep == 1)
        m_pCountsNotice->request();
    if (iPercent >= 0)
        Q_EMIT sigProcProgress(iStep, iPercent);
    return true;
}


bool CDupPicsMgr::StepFinished(int32_t iStep, uint64_t i64NextItems)
{
    Q_EMIT sigProcProgress(iStep, 99);
    m_progress.onStepFinished(iStep, i64NextItems);
    return true;
}

bool CDupPicsMgr::queueIntake(const PhotoRecord *pRecord, uint64_t iKey, int iType)
{
    if (!pRecord || !pRecord->pszPath)
        return false;
    QMutexLocker locker(&m_callbackLock);
    auto pPayload = std::make_shared<CPhotoTaskPayload>();
    if (!CScanIntake::copyRecord(pRecord, &pPayload->record))
        return false;
    pPayload->iKey = iKey;
    const bool bHidden = pPayload->record.isHidden();
    m_pTaskQueue->push({iType, pPayload}, false);
    return !bHidden;
}

bool CDupPicsMgr::OnGroupCreated(const PhotoRecord *pRecord, uint64_t iKey)
{
    if (queueIntake(pRecord, iKey, TaskGroupCreated)) {
        ++m_iTotalGroupCount;
        ++m_iGroupedFiles;
        m_pTotalsNotice->request();
        m_pCountsNotice->request();
    }
    return true;
}

bool CDupPicsMgr::OnFileJoined(const PhotoRecord *pRecord, uint64_t iGroupKey)
{
    if (queueIntake(pRecord, iGroupKey, TaskFileJoined)) {
        m_iTotalDupImgSize += static_cast<qint64>(pRecord->fileSize);
        ++m_iGroupedFiles;
        m_pTotalsNotice->request();
        m_pCountsNotice->request();
    }
    return true;
}

bool CDupPicsMgr::OnGroupsMerged(const PhotoRecord *pAbsorbed, const PhotoRecord *pInto)
{
    if (!pAbsorbed || !pInto)
        return true;
    auto pPayload = std::make_shared<CMergeTaskPayload>();
    pPayload->pAbsorbed = pAbsorbed;
    pPayload->pInto = pInto;
    m_pTaskQueue->push({TaskGroupsMerged, pPayload}, false);
    if (!(pAbsorbed->flags & PhotoFlag_Hidden)) {
        --m_iTotalGroupCount;
        m_pTotalsNotice->request();
    }
    return true;
}

void CDupPicsMgr::onTaskGroupCreated(CPhotoTaskPayload &payload, bool bJoined)
{
    CPhotoRecordCopy &copy = payload.record;
    const QString path = copy.path();
    bool bBecameNonEmpty = false;
    if (!copy.isHidden()) {
        bBecameNonEmpty = !m_bHasDupPics;
        m_bHasDupPics = true;
    }
    const quint64 key = CScanIntake::filePhoto(m_store, copy, payload.iKey, bJoined);
    // The row is announced before its thumbnail is asked for: a thumbnail made at once
    // must find its row in the photo model.
    Q_EMIT sigRefreshImgItem(QVariant::fromValue(key), path);
    if (!copy.isHidden()) {
        prefetchThumbnail(key, path);
        if (bBecameNonEmpty)
            Q_EMIT sigHasDupPicsChanged();
    }
    Q_EMIT sigRefreshGroupInfo(QVariant::fromValue(key));
    m_pTotalInfoNotice->request();
}

void CDupPicsMgr::onTaskGroupsMerged(const CMergeTaskPayload &payload)
{
    CResultStore::CMerge merge;
    if (!CScanIntake::mergeGroups(m_store, m_pExtras, *payload.pAbsorbed, *payload.pInto, &merge))
        return;
    Q_EMIT sigDelImgGroup(QVariant::fromValue(merge.iOldKey), merge.listOldPaths);
    for (const QString &path : qAsConst(merge.listOldPaths))
        Q_EMIT sigRefreshImgItem(QVariant::fromValue(merge.bFoundInto ? merge.iNewKey : quint64(0)), path);
    Q_EMIT sigRefreshGroupInfo(QVariant::fromValue(merge.iNewKey));
    m_pTotalInfoNotice->request();
}

void CDupPicsMgr::prefetchThumbnail(quint64 pGroup, const QString &strPath)
{
    bool bTaken = false;
    auto it = m_mapPrefetch.find(pGroup);
    if (m_mapPrefetch.size() >= kPrefetchGroups) {
        if (it != m_mapPrefetch.end() && it->size() < kPrefetchPathsPerGroup) {
            it->append(strPath);
            bTaken = true;
        }
    } else if (it == m_mapPrefetch.end() || it->size() < kPrefetchPathsPerGroup) {
        m_mapPrefetch[pGroup].append(strPath);
        bTaken = true;
    }
    if (!bTaken && m_iPrefetchCounter >= kPrefetchTaskLimit)
        return;
    queueThumbnail(pGroup, strPath);
    ++m_iPrefetchCounter;
}

void CDupPicsMgr::resetModel()
{
    resetResults();
}

void CDupPicsMgr::resetResults()
{
    stopThumbRefresh();
    m_progress.resetPercent();
    m_bHasDupPics = false;
    m_mapPrefetch.clear();
    m_iPrefetchCounter = 0;
    m_store.clear();
    // Models belong to the GUI thread; a regroup worker resets them through its event loop,
    // ahead of the intake signals that follow.
    const auto resetModels = [this] {
        resetGroupModel();
        destroyPhotoModels();
    };
    if (QThread::currentThread() == thread())
        resetModels();
    else
        QMetaObject::invokeMethod(this, resetModels, Qt::QueuedConnection);
    setTotals(0, 0);
    Q_EMIT sigHasDupPicsChanged();
    Q_EMIT sigCheckedItemCountChanged();
    Q_EMIT sigRefreshTotalInfo();
}

void CDupPicsMgr::setTotals(qint64 iGroups, qint64 iSize)
{
    if (m_iTotalGroupCount.exchange(iGroups) != iGroups)
        Q_EMIT sigTotalGroupCountChanged();
    if (m_iTotalDupImgSize.exchange(iSize) != iSize)
        Q_EMIT sigTotalDupImgSizeChanged();
}

void CDupPicsMgr::startTotalsWorker()
{
    auto *pWorker = new CCalcTotalDupImgInfoThread([this] { recountTotals(); });
    // Its self-deletion needs an event loop: the GUI thread's, not a worker's.
    pWorker->moveToThread(thread());
    {
        QMutexLocker locker(&m_totalsLock);
        m_listTotalsWorkers.removeAll(nullptr);
        m_listTotalsWorkers << pWorker;
    }
    pWorker->start();
}

void CDupPicsMgr::recountTotals()
{
    qint64 iGroups = 0;
    qint64 iSize = 0;
    m_store.shownTotals(&iGroups, &iSize);
    setTotals(iGroups, iSize);
    Q_EMIT sigRefreshTotalInfo();
}
