// The manager's side of thumbnails: the library's wiring, the refresh of what is in
// view and the results that reach the photo models.
#include "CDupPicsMgr.h"

#include "CGroupSortFilterProxyModel.h"
#include "CPhotosItemModel.h"
#include "CPhotosSortFilterProxyModel.h"
#include "CThumbRefreshThread.h"
#include "IScanEngineExtras.h"
#include "ThumbForge.h"

namespace {

// What the engine kept of a photo it decoded while scanning: a thumbnail without a
// second decode of the file.
QByteArray scanThumbnail(IScanEngineExtras *pExtras, const QString &strPath)
{
    thread_local QByteArray buffer(64 * 1024, Qt::Uninitialized);
    const auto *pPath = reinterpret_cast<const ZKChar *>(strPath.utf16());
    auto fetch = [&] {
        return pExtras->GetScanThumbnail(pPath, reinterpret_cast<uint8_t *>(buffer.data()),
                                         static_cast<uint32_t>(buffer.size()));
    };
    uint32_t iSize = fetch();
    if (iSize > uint32_t(buffer.size())) {
        buffer.resize(int(iSize));
        iSize = fetch();
        if (iSize > uint32_t(buffer.size()))
            return {};
    }
    return QByteArray(buffer.constData(), int(iSize));
}

} // namespace

void CDupPicsMgr::startThumbnails()
{
    CImgThumbManager *pLibrary = CImgThumbManager::GetInstance();
    if (IScanEngineExtras *pExtras = m_pExtras) {
        pExtras->SetScanThumbnails(1);
        SetImgThumbSource([pExtras](const QString &strPath) { return scanThumbnail(pExtras, strPath); });
    }
    pLibrary->Start();
    connect(this, &CDupPicsMgr::sigNewBigImgTask, pLibrary, &CImgThumbManager::slotNewBigImgTask);
    connect(pLibrary, &CImgThumbManager::sigBigImgResult, this, &CDupPicsMgr::slotBigImageResult);
    resumeThumbResults();
}

void CDupPicsMgr::stopThumbnails()
{
    StopThumbRefresh();
    CImgThumbManager *pLibrary = CImgThumbManager::GetInstance();
    // The library outlives the manager; nothing of it may call back into a dead object.
    disconnect(pLibrary, nullptr, this, nullptr);
    disconnect(this, nullptr, pLibrary, nullptr);
    pLibrary->Stop();
    // Waits for calls in progress: the engine's additions are released after this.
    SetImgThumbSource({});
}

void CDupPicsMgr::suspendThumbResults()
{
    QObject::disconnect(m_connThumbResult);
    CImgThumbTaskDeque::GetInstance()->ClearAllThumbTask();
    StopThumbRefresh();
}

void CDupPicsMgr::resumeThumbResults()
{
    QObject::disconnect(m_connThumbResult);
    m_connThumbResult = connect(CImgThumbManager::GetInstance(), &CImgThumbManager::sigImgThumbResult, this,
                                &CDupPicsMgr::slotRefreshThumb);
}

void CDupPicsMgr::queueThumbnail(quint64 pGroup, const QString &strPath)
{
    CImgThumbManager::GetInstance()->EnPutThumbTask(stu_ThumbTask{pGroup, strPath}, false);
}

void CDupPicsMgr::stopThumbRefresh()
{
    StopThumbRefresh();
}

void CDupPicsMgr::StartThumbRefresh()
{
    // A second start replaces the running thread rather than leaving it behind.
    StopThumbRefresh();
    auto *pThread = new CThumbRefreshThread([this] { refresh(); });
    // The scan and regroup workers start the refresh too; the thread object must live
    // where an event loop can let it go once it has stopped.
    pThread->moveToThread(thread());
    QMutexLocker locker(&m_thumbRefreshLock);
    setThumbRefreshStopped(false);
    m_pThumbRefresh = pThread;
    m_connGroupShowPos = connect(m_pGroupProxy, &CGroupSortFilterProxyModel::sigGroupShowPosChanged, this,
                                 &CDupPicsMgr::slot_newRefresh, Qt::QueuedConnection);
    pThread->start();
}

void CDupPicsMgr::StopThumbRefresh()
{
    CThumbRefreshThread *pThread = nullptr;
    {
        QMutexLocker locker(&m_thumbRefreshLock);
        setThumbRefreshStopped(true);
        pThread = std::exchange(m_pThumbRefresh, nullptr);
        if (pThread)
            QObject::disconnect(m_connGroupShowPos);
    }
    // Waited for outside the lock: the run may be inside refresh(), which needs no
    // lock of ours, but slot_newRefresh() on the GUI thread does.
    if (pThread)
        pThread->stop();
}

void CDupPicsMgr::slot_newRefresh()
{
    QMutexLocker locker(&m_thumbRefreshLock);
    if (m_pThumbRefresh)
        m_pThumbRefresh->requestRefresh();
}

void CDupPicsMgr::refresh()
{
    QList<stu_ThumbTask> listTasks;
    const QList<void *> listGroups = m_pGroupProxy->getCurrentShowGroup();
    for (void *pGroup : listGroups) {
        const quint64 key = static_cast<quint64>(reinterpret_cast<quintptr>(pGroup));
        // The windows are computed on the GUI thread; holding the models lock keeps a
        // reset from letting the proxy go while we read it.
        QMutexLocker locker(&m_modelsLock);
        CPhotosSortFilterProxyModel *pProxy = m_mapPhotoProxies.value(key, nullptr);
        if (!pProxy)
            continue;
        const QStringList listPaths = pProxy->getCurrentShowPhotos();
        for (const QString &path : listPaths)
            listTasks.append(stu_ThumbTask{key, path});
    }
    CImgThumbManager::GetInstance()->SetReserveThumbList(listTasks);
}

void CDupPicsMgr::slotRefreshThumb(QVariant pGroup, QString strFilePath, bool bResult)
{
    if (CPhotosItemModel *pModel = photoModelOf(pGroup.toULongLong()))
        pModel->slotRefreshThumb(strFilePath, bResult);
}

void CDupPicsMgr::slotBigImageResult(QVariant pGroup, QString filePath, QVariantMap metMap, bool bResult)
{
    if (CPhotosItemModel *pModel = photoModelOf(pGroup.toULongLong()))
        pModel->slotBigImageResult(filePath, metMap, bResult);
}
