// Marks, checked totals and regrouping of the scan manager.
#include "CDupPicsMgr.h"

#include "CAutoMarkRule.h"
#include "COperateTaskQueue.h"
#include "CPathCodec.h"
#include "CPlatform.h"
#include "CFileDelImplement.h"
#include "CRefreshSimialSlotThread.h"
#include "IVolumes.h"

#include <algorithm>

#include <QDateTime>
#include <QFileInfo>

namespace {

// The size of a file as it is now; 0 when it is gone. Called for every marked photo
// after each change of the marks, so it avoids QFileInfo's bookkeeping where it can.
qint64 sizeOnDisk(const QString &strPath)
{
    qint64 i64Size = 0;
    return dp::platform::isRegularFile(strPath, &i64Size) ? i64Size : 0;
}

} // namespace

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

bool CDupPicsMgr::markGroupLocked(quint64 pGroup, CMarkChanges &changes)
{
    const auto it = m_mapGroups.find(pGroup);
    if (it == m_mapGroups.end())
        return false;
    const QStringList cleared = CAutoMarkRule::clearMarks(it->files);
    for (const QString &path : cleared) {
        m_mapMarkedFiles.remove(path);
        changes[pGroup] << qMakePair(path, false);
    }
    QVector<quint64> listContentKeys;
    QVector<qint64> listModified;
    if (m_pExtras) {
        listContentKeys.reserve(it->files.size());
        for (const CPhotoRecordCopy &file : qAsConst(it->files))
            listContentKeys << m_pExtras->GetContentKey(file.record().fileId);
        // Only byte copies need their file's time: most groups hold none.
        const QVector<bool> listCopies = CAutoMarkRule::byteCopies(it->files, listContentKeys);
        if (listCopies.contains(true)) {
            listModified.resize(it->files.size());
            for (int i = 0; i < it->files.size(); ++i) {
                const QDateTime modified = listCopies.at(i) ? QFileInfo(it->files.at(i).path()).lastModified() : QDateTime();
                listModified[i] = modified.isValid() ? modified.toMSecsSinceEpoch() : 0;
            }
        }
    }
    const QStringList marked = CAutoMarkRule::markGroup(it->files, listContentKeys, listModified);
    // The group's marks were all cleared above, so every mark now is the rule's.
    for (const CPhotoRecordCopy &file : qAsConst(it->files)) {
        if (file.isMarked() && !file.isHidden())
            m_mapMarkedFiles.insert(file.path(), file);
    }
    for (const QString &path : marked)
        changes[pGroup] << qMakePair(path, true);
    return true;
}

void CDupPicsMgr::onTaskMarkGroup(quint64 pGroup, bool bSignal)
{
    CMarkChanges changes;
    {
        QMutexLocker locker(&m_resultLock);
        if (!markGroupLocked(pGroup, changes))
            return;
    }
    notifyPhotoModelMarks(changes);
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
    // The lock is taken per slice so that the screens' reads are never held up for long,
    // and the photo models hear of all changes in one go.
    constexpr int kSlice = 512;
    CMarkChanges changes;
    for (int i = 0; i < keys.size(); i += kSlice) {
        QMutexLocker locker(&m_resultLock);
        for (int j = i; j < std::min(i + kSlice, int(keys.size())); ++j)
            markGroupLocked(keys[j], changes);
    }
    notifyPhotoModelMarks(changes);
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
        // The exact path is the usual case and far cheaper to compare in a large group.
        auto match = std::find_if(it->files.begin(), it->files.end(),
                                  [&](const CPhotoRecordCopy &file) { return file.path() == payload.strPath; });
        if (match == it->files.end())
            match = std::find_if(it->files.begin(), it->files.end(), [&](const CPhotoRecordCopy &file) {
                return file.path().compare(payload.strPath, Qt::CaseInsensitive) == 0;
            });
        // A hidden photo is never marked: it is not shown and not counted.
        if (match != it->files.end() && !(payload.bState && match->isHidden())) {
            match->setMarked(payload.bState);
            if (payload.bState)
                m_mapMarkedFiles.insert(match->path(), *match);
            else
                m_mapMarkedFiles.remove(match->path());
            bChanged = true;
        }
    }
    if (bChanged)
        notifyPhotoModelMarks(payload.pGroup, {payload.strPath}, payload.bState);
    // A burst of clicks queues one request per photo; the last of the burst recounts the
    // totals, each of which reads the size of every marked file.
    if (COperateTaskQueue::instance()->frontType() == TaskSetPhotoMark)
        return;
    recomputeCheckedTotals();
    Q_EMIT sigCheckedItemCountChanged();
}

void CDupPicsMgr::recomputeCheckedTotals()
{
    struct CMarked
    {
        QString path;
        quint64 fileSize;
    };
    std::vector<CMarked> marked;
    int iFullyMarked = 0;
    {
        QMutexLocker locker(&m_resultLock);
        marked.reserve(size_t(m_mapMarkedFiles.size()));
        // Groups whose every visible photo is marked, counted over the marked files only.
        QHash<quint64, qint64> markedPerGroup;
        for (auto it = m_mapMarkedFiles.cbegin(); it != m_mapMarkedFiles.cend(); ++it) {
            marked.push_back({it.key(), it->record().fileSize});
            if (!it->isHidden())
                markedPerGroup[m_mapGroupOfPath.value(it.key())] += 1;
        }
        for (auto it = markedPerGroup.constBegin(); it != markedPerGroup.constEnd(); ++it) {
            const auto group = m_mapGroups.constFind(it.key());
            if (group != m_mapGroups.constEnd() && group->photoCount > 0 && it.value() >= group->photoCount)
                ++iFullyMarked;
        }
    }
    m_iFullyMarkedGroups = iFullyMarked;

    // Sizes on disk are read without any lock held: the screens keep reading the last totals.
    const IVolumes &volumes = dp::platform::volumes();
    qint64 iCheckedFileSize = 0;
    QStringList listMarkedPaths;
    listMarkedPaths.reserve(int(marked.size()));
    // Photos share few folders: sizes are summed per folder, and each folder's volume is
    // looked up once.
    QHash<QString, qint64> bytesOfFolder;
    for (const CMarked &file : marked) {
        const QString folder = file.path.left(file.path.lastIndexOf(QLatin1Char('/')) + 1);
        bytesOfFolder[folder] += sizeOnDisk(file.path);
        listMarkedPaths << file.path;
        iCheckedFileSize += static_cast<qint64>(file.fileSize);
    }
    QMap<QString, qint64> mapDriveSizes;
    QSet<QString> setDriveKeys;
    for (auto it = bytesOfFolder.cbegin(); it != bytesOfFolder.cend(); ++it) {
        const QString key = volumes.keyOfPath(it.key());
        setDriveKeys.insert(key);
        mapDriveSizes[key] += it.value();
    }

    QMutexLocker checkedLocker(&m_checkedLock);
    m_iCheckedItemCount = int(marked.size());
    m_iCheckedFileSize = iCheckedFileSize;
    m_mapDriveSizes.swap(mapDriveSizes);
    m_setDriveKeys.swap(setDriveKeys);
    m_listMarkedPaths.swap(listMarkedPaths);
    m_pFileDel->driveCheck().setCheckedInfo(m_iCheckedFileSize, m_mapDriveSizes, m_listMarkedPaths);
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
    if (m_pExtras)
        decisionStore();
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
