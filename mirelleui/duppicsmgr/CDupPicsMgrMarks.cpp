// Marks, checked totals and regrouping of the scan manager.
#include "CDupPicsMgr.h"

#include "CAutoMarkRule.h"
#include "COperateTaskQueue.h"
#include "CPlatform.h"
#include "CFileDelImplement.h"
#include "CRefreshSimialSlotThread.h"
#include "IVolumes.h"

#include <QFileInfo>

void CDupPicsMgr::doMark(QVariant groupKey)
{
    COperateTaskQueue::instance()->pushMarkGroup(groupKey.toULongLong());
}

void CDupPicsMgr::doAllMark()
{
    COperateTaskQueue::instance()->pushMarkAll();
}

void CDupPicsMgr::clearAllMark()
{
    COperateTaskQueue::instance()->pushClearAllMarks();
}

void CDupPicsMgr::onTaskMarkGroup(quint64 pGroup, bool bSignal)
{
    QStringList cleared;
    QStringList marked;
    {
        QMutexLocker locker(&m_resultLock);
        const auto it = m_mapGroups.find(pGroup);
        if (it == m_mapGroups.end())
            return;
        cleared = CAutoMarkRule::clearMarks(it->files);
        for (const QString &path : qAsConst(cleared))
            m_mapMarkedFiles.remove(path);
        marked = CAutoMarkRule::markGroup(it->files);
        for (const CPhotoRecordCopy &file : qAsConst(it->files)) {
            if (marked.contains(file.path()))
                m_mapMarkedFiles.insert(file.path(), file);
        }
    }
    if (!cleared.isEmpty())
        notifyPhotoModelMarks(pGroup, cleared, false);
    if (!marked.isEmpty())
        notifyPhotoModelMarks(pGroup, marked, true);
    if (bSignal) {
        recomputeCheckedTotals();
        Q_EMIT sigCheckedItemCountChanged();
    }
}

void CDupPicsMgr::onTaskMarkAll()
{
    QList<quint64> keys;
    {
        QMutexLocker locker(&m_resultLock);
        keys = m_mapGroups.keys();
    }
    for (quint64 key : qAsConst(keys))
        onTaskMarkGroup(key, false);
    recomputeCheckedTotals();
    Q_EMIT sigCheckedItemCountChanged();
}

void CDupPicsMgr::onTaskClearAllMarks()
{
    QMap<quint64, QStringList> cleared;
    {
        QMutexLocker locker(&m_resultLock);
        m_mapMarkedFiles.clear();
        for (auto it = m_mapGroups.begin(); it != m_mapGroups.end(); ++it) {
            for (CPhotoRecordCopy &file : it->files) {
                if (file.path().isEmpty() || !file.isMarked())
                    continue;
                file.setMarked(false);
                cleared[it.key()] << file.path();
            }
        }
    }
    recomputeCheckedTotals();
    Q_EMIT sigCheckedItemCountChanged();
    for (auto it = cleared.constBegin(); it != cleared.constEnd(); ++it)
        notifyPhotoModelMarks(it.key(), it.value(), false);
}

void CDupPicsMgr::onTaskClearGroupMarks(quint64 pGroup)
{
    QStringList cleared;
    {
        QMutexLocker locker(&m_resultLock);
        const auto it = m_mapGroups.find(pGroup);
        if (it == m_mapGroups.end())
            return;
        for (CPhotoRecordCopy &file : it->files) {
            if (file.path().isEmpty() || !file.isMarked())
                continue;
            file.setMarked(false);
            m_mapMarkedFiles.remove(file.path());
            cleared << file.path();
        }
    }
    if (!cleared.isEmpty())
        notifyPhotoModelMarks(pGroup, cleared, false);
    recomputeCheckedTotals();
    Q_EMIT sigCheckedItemCountChanged();
}

void CDupPicsMgr::onTaskSetPhotoMark(const CPhotoMarkTaskPayload &payload)
{
    if (payload.pGroup == 0 || payload.strPath.isEmpty())
        return;
    bool bChanged = false;
    {
        QMutexLocker locker(&m_resultLock);
        const auto it = m_mapGroups.find(payload.pGroup);
        if (it == m_mapGroups.end())
            return;
        for (CPhotoRecordCopy &file : it->files) {
            if (file.path().compare(payload.strPath, Qt::CaseInsensitive) != 0)
                continue;
            // A hidden photo is never marked: it is not shown and not counted.
            if (payload.bState && file.isHidden())
                break;
            file.setMarked(payload.bState);
            if (payload.bState)
                m_mapMarkedFiles.insert(file.path(), file);
            else
                m_mapMarkedFiles.remove(file.path());
            bChanged = true;
            break;
        }
    }
    if (bChanged)
        notifyPhotoModelMarks(payload.pGroup, {payload.strPath}, payload.bState);
    recomputeCheckedTotals();
    Q_EMIT sigCheckedItemCountChanged();
}

void CDupPicsMgr::recomputeCheckedTotals()
{
    QList<CPhotoRecordCopy> marked;
    {
        QMutexLocker locker(&m_resultLock);
        marked = m_mapMarkedFiles.values();
    }
    const IVolumes &volumes = dp::platform::volumes();
    // Groups whose every visible photo is marked, counted over the marked files only.
    QHash<quint64, qint64> markedPerGroup;
    int iFullyMarked = 0;
    {
        QMutexLocker locker(&m_resultLock);
        for (const CPhotoRecordCopy &file : qAsConst(marked)) {
            if (!file.isHidden())
                markedPerGroup[m_mapGroupOfPath.value(file.path())] += 1;
        }
        for (auto it = markedPerGroup.constBegin(); it != markedPerGroup.constEnd(); ++it) {
            const auto group = m_mapGroups.constFind(it.key());
            if (group != m_mapGroups.constEnd() && group->photoCount > 0 && it.value() >= group->photoCount)
                ++iFullyMarked;
        }
    }
    m_iFullyMarkedGroups = iFullyMarked;
    QMutexLocker checkedLocker(&m_checkedLock);
    m_iCheckedItemCount = marked.size();
    m_iCheckedFileSize = 0;
    m_mapDriveSizes.clear();
    m_setDriveKeys.clear();
    m_listMarkedPaths.clear();
    for (const CPhotoRecordCopy &file : qAsConst(marked)) {
        const QString key = volumes.keyOfPath(file.path());
        m_setDriveKeys.insert(key);
        m_listMarkedPaths << file.path();
        m_mapDriveSizes[key] += QFileInfo(file.path()).size();
        m_iCheckedFileSize += static_cast<qint64>(file.record().fileSize);
    }
    m_pFileDel->setCheckedInfo(m_iCheckedFileSize, m_mapDriveSizes, m_listMarkedPaths);
}

void CDupPicsMgr::slotRefreshMarkInfo()
{
    recomputeCheckedTotals();
    Q_EMIT sigCheckedItemCountChanged();
}

QStringList CDupPicsMgr::markedPaths() const
{
    QMutexLocker checkedLocker(&m_checkedLock);
    return m_listMarkedPaths;
}

QMap<QString, qint64> CDupPicsMgr::markedBytesPerDrive() const
{
    QMutexLocker checkedLocker(&m_checkedLock);
    return m_mapDriveSizes;
}

void CDupPicsMgr::slotSetDelFlat(void *gropPtr, QString strFilePath, int propFlag)
{
    Q_UNUSED(gropPtr)
    quint64 iFileId = 0;
    {
        QMutexLocker locker(&m_resultLock);
        const auto it = m_mapFileIdOfPath.constFind(strFilePath);
        if (it == m_mapFileIdOfPath.constEnd())
            return;
        iFileId = *it;
    }
    if (m_pEngine)
        m_pEngine->SetFileState(iFileId, static_cast<uint8_t>(propFlag & 0xFF));
}

void CDupPicsMgr::refreshSimilarSlot()
{
    // A scan or a running regroup owns the result tables; a second one would interleave.
    if (isScanning() || isRegrouping())
        return;
    auto *pWorker = new CRefreshSimialSlotThread(this);
    m_pRegroupWorker = pWorker;
    connect(this, &CDupPicsMgr::sigCanclelRefresh, pWorker, &CBaseThread::onCancel, Qt::DirectConnection);
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
        COperateTaskQueue::instance()->clear();
    }
    m_iRegrouping = 0;
    Q_EMIT sigCanclelRefresh();
}
