// The scan run and the intake of the engine's results.
#include "CDupPicsMgr.h"

#include "CCollectionThread.h"
#include "COperateTaskQueue.h"
#include "CPathCodec.h"
#include "IScanEngineExtras.h"
#include "ManagerLogging.h"
#include "ThumbForge.h"
#include "XLogging.h"

#include <algorithm>

#include <QThread>

#include <vector>

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
    job.mapVolumes = m_mapVolumes;
    job.mapOptions = m_mapOptions;
    job.extras = engineExtrasSettings();
    job.iSimilarity = static_cast<quint8>(getSimilarSlot());
    job.iMinimumMs = m_iMinimumScanMs;
    m_iCurrentStep = 0;
    m_iStepTotal = 0;
    m_iFoundFiles = 0;
    m_iReadFiles = 0;
    m_iGroupedFiles = 0;
    m_pCountsNotice->request();
    if (m_pEngine && m_pFilter)
        StartThumbRefresh();
    auto *pWorker = new CCollectionThread(std::move(job));
    // The worker is created on the operation thread but must be driven from the GUI thread's
    // event loop for its self-deletion.
    pWorker->moveToThread(thread());
    m_pScanWorker = pWorker;
    connect(this, &CDupPicsMgr::sigCancel, pWorker, &CBaseThread::onCancel, Qt::DirectConnection);
    connect(pWorker, &CCollectionThread::sigStarted, this, &CDupPicsMgr::signalNextPage);
    connect(pWorker, &CCollectionThread::sigSourcesPruned, this, [this](const QStringList &listSources) {
        m_listSources = listSources;
    });
    // Direct: the totals recount must be under way before the worker's run ends.
    connect(pWorker, &CCollectionThread::sigIntakeDone, this, [this] {
        startTotalsWorker();
        Q_EMIT sigProcProgress(3, 100);
    }, Qt::DirectConnection);
    connect(pWorker, &CCollectionThread::sigScanEnded, this, [this] { m_iScanning = 0; }, Qt::DirectConnection);
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
        uint64_t counts[ScanSkipped_Kinds] = {};
        m_pExtras->GetScanSkipped(counts, ScanSkipped_Kinds);
        m_listScanSkipped.clear();
        for (uint64_t iCount : counts)
            m_listScanSkipped << QVariant::fromValue<qulonglong>(iCount);
        std::vector<ZKChar> buffer(m_pExtras->GetScanSkippedMounts(nullptr, 0));
        // The list may have grown between the two calls; then it is left out rather than cut.
        const uint32_t iLength = m_pExtras->GetScanSkippedMounts(buffer.data(), uint32_t(buffer.size()));
        m_listScanSkippedMounts.clear();
        if (iLength <= buffer.size())
            m_listScanSkippedMounts = QString::fromUtf16(buffer.data(), int(iLength)).split(QChar(0), Qt::SkipEmptyParts);
        Q_EMIT sigScanSkippedChanged();
    }
    m_pTotalsNotice->flush();
    m_pTotalInfoNotice->flush();
    m_pCountsNotice->flush();
    sendUsageEvent(QStringLiteral("ScanPhotos"), QStringLiteral("Result_Scan"), scanUsagePairs());
    Q_EMIT sigScanComplete(0);
}

QList<QPair<QString, QString>> CDupPicsMgr::scanUsagePairs() const
{
    const qint64 iGroups = m_store.groupOrder().size();
    const qint64 iFiles = m_store.fileCount();
    return {{QStringLiteral("scaned_images"), QString::number(m_iScannedImages.load())},
            {QStringLiteral("scaned_image_size"), QString::number(m_iScannedBytes.load())},
            {QStringLiteral("similar_image_groups"), QString::number(iGroups)},
            {QStringLiteral("similar_image_amount"), QString::number(iFiles)},
            {QStringLiteral("time_used"), QStringLiteral("%1 ms").arg(m_scanClock.elapsed())}};
}

void CDupPicsMgr::onTaskCancelScan()
{
    if (m_iCancelling.load() == 1)
        return;
    m_iCancelling = 1;
    CCollectionThread *pWorker = m_pScanWorker.data();
    if (pWorker && !pWorker->isFinishedRun()) {
        pWorker->requestStop();
        if (m_pEngine)
            m_pEngine->Stop();
        pWorker->wait();
    }
    m_pTaskQueue->clear();
    sendUsageEvent(QStringLiteral("ScanPhotos"), QStringLiteral("Click_StopScan"), scanUsagePairs());
    m_iCancelling = 0;
    Q_EMIT sigNotifyCanceled();
}

bool CDupPicsMgr::DuplicatingSink(int32_t iStep, uint64_t i64Done, uint64_t i64Bytes)
{
    m_iCurrentStep = iStep;
    if (iStep == 1) {
        int iExpected = -1;
        if (m_iLastProgress.compare_exchange_strong(iExpected, 0))
            Q_EMIT sigProcProgress(1, 0);
        m_iScannedImages = static_cast<qint64>(i64Done);
        m_iScannedBytes = static_cast<qint64>(i64Bytes);
        m_iReadFiles = static_cast<qint64>(i64Done);
        // The step report has no total for the first step; the engine's additions know how
        // many files the walk found, so the step moves instead of sitting at 0 %.
        if (m_pExtras) {
            uint64_t counts[ScanProgress_Kinds] = {};
            m_pExtras->GetScanProgress(counts, ScanProgress_Kinds);
            m_iFoundFiles = static_cast<qint64>(counts[ScanProgress_Found]);
            m_iReadFiles = static_cast<qint64>(qMax<uint64_t>(counts[ScanProgress_Read], i64Done));
        }
        m_pCountsNotice->request();
        const qint64 iFound = m_iFoundFiles.load();
        if (iFound > 0)
            raiseProgress(1, static_cast<int>(qMin<qint64>(m_iReadFiles.load(), iFound) * 100 / iFound));
    } else if (iStep == 2 || iStep == 3) {
        const uint64_t iTotal = m_iStepTotal.load();
        const int iProgress = iTotal == 0 ? 0 : static_cast<int>(i64Done * 100 / iTotal);
        qCDebug(lcManager) << "Step: " << iStep << "Progress: " << iProgress;
        raiseProgress(iStep, iProgress);
    }
    return true;
}

void CDupPicsMgr::raiseProgress(int iStep, int iProgress)
{
    int iLast = m_iLastProgress.load();
    while (iProgress != 100 && iProgress > iLast) {
        if (m_iLastProgress.compare_exchange_weak(iLast, iProgress)) {
            Q_EMIT sigProcProgress(iStep, iProgress);
            break;
        }
    }
}

bool CDupPicsMgr::StepFinished(int32_t iStep, uint64_t i64NextItems)
{
    m_iCurrentStep = iStep;
    Q_EMIT sigProcProgress(iStep, 99);
    // Each step counts from its own start: a value left from the step before would hold
    // the next one back until it passed it.
    m_iLastProgress = 0;
    if (iStep == 1) {
        m_iStepTotal = i64NextItems;
        m_iScannedImages = static_cast<qint64>(i64NextItems);
    } else if (iStep == 2) {
        m_iStepTotal = i64NextItems;
    }
    return true;
}

bool CDupPicsMgr::queueIntake(const PhotoRecord *pRecord, uint64_t iKey, int iType)
{
    if (!pRecord || !pRecord->pszPath)
        return false;
    QMutexLocker locker(&m_callbackLock);
    auto pPayload = std::make_shared<CPhotoTaskPayload>();
    pPayload->record = CPhotoRecordCopy(*pRecord);
    // A file that vanished since the engine read it is not filed.
    if (!dp::platform::isRegularFile(pPayload->record.path()))
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
    const quint64 key = bJoined ? payload.iKey : copy.record().fileId;
    const QString path = copy.path();
    bool bBecameNonEmpty = false;
    if (!copy.isHidden()) {
        correctRawSize(copy);
        bBecameNonEmpty = !m_bHasDupPics;
        m_bHasDupPics = true;
    }
    m_store.addPhoto(key, copy, bJoined);
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
    const QString absorbedPath = CPhotoRecordCopy::pathOf(*payload.pAbsorbed);
    const QString intoPath = CPhotoRecordCopy::pathOf(*payload.pInto);
    const quint64 iAbsorbedKey = m_pExtras ? m_pExtras->GetContentKey(payload.pAbsorbed->fileId) : 0;
    const bool bSameFirst = iAbsorbedKey != 0 && payload.pAbsorbed->fileSize == payload.pInto->fileSize
        && iAbsorbedKey == m_pExtras->GetContentKey(payload.pInto->fileId);
    CResultStore::CMerge merge;
    if (!m_store.mergeGroups(absorbedPath, intoPath, bSameFirst, &merge))
        return;
    Q_EMIT sigDelImgGroup(QVariant::fromValue(merge.iOldKey), merge.listOldPaths);
    for (const QString &path : qAsConst(merge.listOldPaths))
        Q_EMIT sigRefreshImgItem(QVariant::fromValue(merge.bFoundInto ? merge.iNewKey : quint64(0)), path);
    Q_EMIT sigRefreshGroupInfo(QVariant::fromValue(merge.iNewKey));
    m_pTotalInfoNotice->request();
}

void CDupPicsMgr::correctRawSize(CPhotoRecordCopy &copy)
{
    // A raw file's first image is its small preview: only the thumbnail library reads
    // the size of the raw data itself.
    if (!IsRawImagePath(copy.path()))
        return;
    unsigned width = 0;
    unsigned height = 0;
    if (!GetImgWidthHeight(copy.path().toStdWString().c_str(), width, height))
        return;
    // The library answers the size as stored, the engine reported it as shown.
    PhotoRecord &record = copy.record();
    if ((record.width < record.height) != (width < height))
        std::swap(width, height);
    record.width = static_cast<uint16_t>(std::min(width, 65535u));
    record.height = static_cast<uint16_t>(std::min(height, 65535u));
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
    m_iLastProgress = -1;
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
