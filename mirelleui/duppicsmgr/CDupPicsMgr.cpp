#include "CDupPicsMgr.h"

#include "CCollectionThread.h"
#include "CDecisionStore.h"
#include "CFileDelImplement.h"
#include "COperateTaskQueue.h"
#include "CPlatform.h"
#include "CRefreshSimialSlotThread.h"
#include "CRemovalCoordinator.h"
#include "CScanEngineLoader.h"
#include "CUsageEvent.h"
#include "IScanEngineExtras.h"
#include "IRegistry.h"
#include "IShell.h"
#include "IVolumes.h"
#include "ManagerLogging.h"
#include "XLogging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

CDupPicsMgr::CDupPicsMgr(QObject *parent) : QObject(parent), m_pTaskQueue(new COperateTaskQueue(this))
{
    m_pRemoval = new CRemovalCoordinator(this);
    m_pFileDel = m_pRemoval->deletionService();
    // Questions are emitted on the operation worker, as the screens expect them.
    connect(m_pRemoval, &CRemovalCoordinator::sigDeleteMethodChanged, this, &CDupPicsMgr::sigDeleteMethodChanged,
            Qt::DirectConnection);
    connect(m_pRemoval, &CRemovalCoordinator::signalShowCheckSpace, this, &CDupPicsMgr::signalShowCheckSpace,
            Qt::DirectConnection);
    connect(m_pRemoval, &CRemovalCoordinator::signalShowCheckJournal, this, &CDupPicsMgr::signalShowCheckJournal,
            Qt::DirectConnection);
    connect(m_pRemoval, &CRemovalCoordinator::signalShowCheckUsb, this, &CDupPicsMgr::signalShowCheckUsb,
            Qt::DirectConnection);
    connect(m_pRemoval, &CRemovalCoordinator::signalShowCheckTrash, this, &CDupPicsMgr::signalShowCheckTrash,
            Qt::DirectConnection);
    createGroupModel();
    resetModel();

    connect(this, &CDupPicsMgr::sigRefreshImgItem, this, &CDupPicsMgr::slotRefreshImgItem, Qt::QueuedConnection);
    connect(this, &CDupPicsMgr::sigDelImgGroup, this, &CDupPicsMgr::slotDelImgGroup);
    connect(this, &CDupPicsMgr::sigDelOneImg, this, &CDupPicsMgr::slotDelOneImg);
    connect(this, &CDupPicsMgr::sigDelDupImgsResult, this, &CDupPicsMgr::slotDelDupImgsResult, Qt::DirectConnection);
    connect(m_pFileDel, &CFileDelImplement::sigCloseProcessWind, this, &CDupPicsMgr::sigCloseProcessWind);
    connect(m_pFileDel, &CFileDelImplement::sigUndoFinished, this, &CDupPicsMgr::slotUndoFinished);
    m_pTotalsNotice = new CCoalescedSignal(100, this);
    connect(m_pTotalsNotice, &CCoalescedSignal::fired, this, &CDupPicsMgr::sigTotalGroupCountChanged);
    connect(m_pTotalsNotice, &CCoalescedSignal::fired, this, &CDupPicsMgr::sigTotalDupImgSizeChanged);
    m_pTotalInfoNotice = new CCoalescedSignal(100, this);
    connect(m_pTotalInfoNotice, &CCoalescedSignal::fired, this, &CDupPicsMgr::sigRefreshTotalInfo);
    m_pCountsNotice = new CCoalescedSignal(100, this);
    connect(m_pCountsNotice, &CCoalescedSignal::fired, this, &CDupPicsMgr::sigScanCountsChanged);
    connect(this, &CDupPicsMgr::sigRefreshGroupInfo, this, &CDupPicsMgr::slotRefreshGroupHeader, Qt::QueuedConnection);
    attachGroupModel();

    loadEngine();
    if (m_pEngine) {
        int32_t iZero = 0;
        m_pEngine->Initialize(&iZero);
        m_pEngine->SetSink(this);
        m_pFilter = m_pEngine->CreateFilter();
    }
    if (IScanEngineExtras *pExtras = m_pExtras)
        m_store.setContentKeySource([pExtras](quint64 iFileId) { return pExtras->GetContentKey(iFileId); });
    startThumbnails();

    m_pOperateWorker = new CDoOperateTask(m_pTaskQueue, this, this);
    m_pOperateWorker->start(QThread::InheritPriority);

    if (m_mapOptions.isEmpty()) {
        qCDebug(lcManager) << "**************option is null *************";
        m_mapOptions = defaultOptions();
    }
    (void)dp::platform::registry().setValue(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\"
                       "EnableLinkedConnections"),
        1);
}

CDupPicsMgr::~CDupPicsMgr()
{
    stopThumbnails();
    // A removal waiting for the user's answer is abandoned, or the worker would never stop.
    m_pRemoval->abandonQuestions();
    // A removal under way stops between two files, as a cancel does: closing must not wait
    // for the rest of them.
    m_pRemoval->deletionService()->onCancel();
    auto stopScanAndRegroup = [this] {
        stopScanAndWait();
        if (CRefreshSimialSlotThread *pRegroup = m_pRegroupWorker.data()) {
            if (m_pEngine)
                m_pEngine->StopRegroup();
            pRegroup->onCancel();
            pRegroup->wait();
        }
    };
    // First, as the operation worker may be waiting for them (a cancel).
    stopScanAndRegroup();
    if (m_pOperateWorker) {
        m_pOperateWorker->requestStop();
        m_pOperateWorker->wait();
    }
    // Again: a start task the operation worker was running may have started one meanwhile.
    stopScanAndRegroup();
    {
        QMutexLocker locker(&m_totalsLock);
        for (const QPointer<CBaseThread> &pWorker : qAsConst(m_listTotalsWorkers)) {
            if (pWorker)
                pWorker->wait();
        }
    }
    // Tasks left behind hold copies only.
    m_pTaskQueue->clear();
    if (m_pFilter)
        m_pFilter->Release();
    m_pFilter = nullptr;
    m_store.setContentKeySource({});
    if (m_pExtras)
        m_pExtras->Release();
    m_pExtras = nullptr;
}

void CDupPicsMgr::setEngineLibraryOverride(const QString &strPath)
{
    CScanEngineLoader::setLibraryOverride(strPath);
}

void CDupPicsMgr::loadEngine()
{
    const CLoadedEngine loaded = CScanEngineLoader::load();
    m_pEngine = loaded.pEngine;
    m_pExtras = loaded.pExtras;
}

void CDupPicsMgr::resetEngine()
{
    if (!m_pEngine)
        return;
    if (m_pFilter)
        m_pFilter->Release();
    m_pFilter = nullptr;
    m_pEngine->Uninitialize();
    m_mapVolumes.clear();
    int32_t iZero = 0;
    m_pEngine->Initialize(&iZero);
    m_pEngine->SetSink(this);
    m_pFilter = m_pEngine->CreateFilter();
}

void CDupPicsMgr::clearVolumePaths()
{
    for (IScanVolume *pVolume : qAsConst(m_mapVolumes)) {
        pVolume->ClearPaths();
        if (scanVolumeState(pVolume) != 0)
            pVolume->Prepare();
    }
}

bool CDupPicsMgr::OnVolume(IScanVolume *pVolume)
{
    if (pVolume && pVolume->IsReady() != 0) {
        const QString root = QString::fromUtf16(pVolume->GetRootPath());
        m_mapVolumes.insert(dp::platform::volumes().keyOfRoot(root), pVolume);
    }
    return true;
}

void CDupPicsMgr::runOperateTask(const COperateTask &task)
{
    switch (task.iType) {
    case TaskGroupCreated:
    case TaskFileJoined:
        onTaskGroupCreated(static_cast<CPhotoTaskPayload &>(*task.pPayload), task.iType == TaskFileJoined);
        break;
    case TaskGroupsMerged:
        onTaskGroupsMerged(static_cast<const CMergeTaskPayload &>(*task.pPayload));
        break;
    case TaskMarkGroup:
        onTaskMarkGroup(static_cast<const CGroupTaskPayload &>(*task.pPayload).pGroup, true);
        break;
    case TaskClearGroupMarks:
        onTaskClearGroupMarks(static_cast<const CGroupTaskPayload &>(*task.pPayload).pGroup);
        break;
    case TaskSetPhotoMark:
        onTaskSetPhotoMark(static_cast<const CPhotoMarkTaskPayload &>(*task.pPayload));
        break;
    case TaskMarkAll:
        onTaskMarkAll();
        break;
    case TaskClearAllMarks:
        onTaskClearAllMarks();
        break;
    case TaskDeleteMarked:
        onTaskDeleteMarked();
        break;
    case TaskDeleteOne:
        onTaskDeleteOne(static_cast<const CPhotoMarkTaskPayload &>(*task.pPayload));
        break;
    case TaskCancelScan:
        onTaskCancelScan();
        break;
    case TaskStartScan:
        onTaskStartScan();
        break;
    default:
        break;
    }
}

void CDupPicsMgr::openFile(QString path)
{
    if (!path.isEmpty())
        (void)dp::platform::shell().openFile(path);
}

void CDupPicsMgr::locateFile(QString path)
{
    if (path.isEmpty() || path == QLatin1String("[Hidden]"))
        return;
    (void)dp::platform::shell().showInFolder(path);
}

QString CDupPicsMgr::getFileName(QString filePath) const
{
    const QString native = QDir::toNativeSeparators(filePath);
    return native.mid(native.lastIndexOf(QDir::separator()) + 1);
}

QString CDupPicsMgr::getExistingDirectory()
{
    return QFileDialog::getExistingDirectory(nullptr, QString(), QString(), QFileDialog::ShowDirsOnly);
}

void CDupPicsMgr::setWinMax(bool max)
{
    m_bWinMax = max;
    Q_EMIT sigIsMaxChanged();
}

void CDupPicsMgr::sendUsageEvent(const QString &strWindow, const QString &strActivity,
                                 const QList<QPair<QString, QString>> &list)
{
    QStringList listKeyValues;
    for (const auto &pair : list)
        listKeyValues << pair.first << pair.second;
    Q_EMIT sigSendUserInfo(strWindow, strActivity, CUsageEvent::encode(listKeyValues));
}
