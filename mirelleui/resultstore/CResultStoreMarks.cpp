// The marks of the result store and their totals.
#include "CResultStore.h"

#include "CPathCodec.h"
#include "CPlatform.h"
#include "IVolumes.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace {

// The size of a file as it is now; 0 when it is gone. Called for every marked photo
// after each change of the marks, so it avoids QFileInfo's bookkeeping.
qint64 sizeOnDisk(const QString &strPath)
{
    qint64 i64Size = 0;
    return dp::platform::isRegularFile(strPath, &i64Size) ? i64Size : 0;
}

} // namespace

void CResultStore::setContentKeySource(std::function<quint64(quint64)> fnContentKey)
{
    QMutexLocker locker(&m_resultLock);
    m_fnContentKey = std::move(fnContentKey);
}

void CResultStore::dropMarkLocked(const QString &strPath)
{
    m_tables.mapMarkedFiles.remove(strPath);
    m_tables.mapMarkReasons.remove(strPath);
}

bool CResultStore::markGroupLocked(quint64 pGroup, CMarkChanges &changes)
{
    const auto it = m_tables.mapGroups.find(pGroup);
    if (it == m_tables.mapGroups.end())
        return false;
    const QStringList cleared = CAutoMarkRule::clearMarks(it->files);
    for (const QString &path : cleared) {
        dropMarkLocked(path);
        changes[pGroup] << qMakePair(path, false);
    }
    QVector<quint64> listContentKeys;
    QVector<qint64> listModified;
    if (m_fnContentKey) {
        listContentKeys.reserve(it->files.size());
        for (const CPhotoRecordCopy &file : qAsConst(it->files))
            listContentKeys << m_fnContentKey(file.record().fileId);
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
    QHash<QString, EnMarkReason> mapReasons;
    const QStringList marked = CAutoMarkRule::markGroup(it->files, listContentKeys, listModified, &mapReasons);
    // The group's marks were all cleared above, so every mark now is the rule's.
    for (const CPhotoRecordCopy &file : qAsConst(it->files)) {
        if (file.isMarked() && !file.isHidden())
            m_tables.mapMarkedFiles.insert(file.path(), file);
    }
    for (auto reason = mapReasons.cbegin(); reason != mapReasons.cend(); ++reason)
        m_tables.mapMarkReasons.insert(reason.key(), reason.value());
    for (const QString &path : marked)
        changes[pGroup] << qMakePair(path, true);
    return true;
}

bool CResultStore::markGroup(quint64 pGroup, CMarkChanges &changes)
{
    QMutexLocker locker(&m_resultLock);
    return markGroupLocked(pGroup, changes);
}

CResultStore::CMarkChanges CResultStore::markAll()
{
    QList<quint64> keys;
    {
        QMutexLocker locker(&m_resultLock);
        keys = m_tables.mapGroups.keys();
    }
    // The lock is taken per slice so that the screens' reads are never held up for long.
    constexpr int kSlice = 512;
    CMarkChanges changes;
    for (int i = 0; i < keys.size(); i += kSlice) {
        QMutexLocker locker(&m_resultLock);
        for (int j = i; j < std::min(i + kSlice, int(keys.size())); ++j)
            markGroupLocked(keys[j], changes);
    }
    return changes;
}

QMap<quint64, QStringList> CResultStore::clearAllMarks()
{
    QMap<quint64, QStringList> cleared;
    QMutexLocker locker(&m_resultLock);
    m_tables.mapMarkedFiles.clear();
    m_tables.mapMarkReasons.clear();
    for (auto it = m_tables.mapGroups.begin(); it != m_tables.mapGroups.end(); ++it) {
        for (CPhotoRecordCopy &file : it->files) {
            if (file.path().isEmpty() || !file.isMarked())
                continue;
            file.setMarked(false);
            cleared[it.key()] << file.path();
        }
    }
    return cleared;
}

bool CResultStore::clearGroupMarks(quint64 pGroup, QStringList *pListCleared)
{
    QMutexLocker locker(&m_resultLock);
    const auto it = m_tables.mapGroups.find(pGroup);
    if (it == m_tables.mapGroups.end())
        return false;
    for (CPhotoRecordCopy &file : it->files) {
        if (file.path().isEmpty() || !file.isMarked())
            continue;
        file.setMarked(false);
        dropMarkLocked(file.path());
        *pListCleared << file.path();
    }
    return true;
}

bool CResultStore::setPhotoMark(quint64 pGroup, const QString &strPath, bool bState)
{
    QMutexLocker locker(&m_resultLock);
    const auto it = m_tables.mapGroups.find(pGroup);
    if (it == m_tables.mapGroups.end())
        return false;
    // The exact path is the usual case and far cheaper to compare in a large group.
    auto match = std::find_if(it->files.begin(), it->files.end(),
                              [&](const CPhotoRecordCopy &file) { return file.path() == strPath; });
    if (match == it->files.end())
        match = std::find_if(it->files.begin(), it->files.end(), [&](const CPhotoRecordCopy &file) {
            return file.path().compare(strPath, Qt::CaseInsensitive) == 0;
        });
    // A hidden photo is never marked: it is not shown and not counted.
    if (match == it->files.end() || (bState && match->isHidden()))
        return false;
    match->setMarked(bState);
    // A mark set by hand has no rule behind it.
    dropMarkLocked(match->path());
    if (bState)
        m_tables.mapMarkedFiles.insert(match->path(), *match);
    return true;
}

CResultStore::EnMarkResult CResultStore::markPhotoNow(quint64 pGroup, int iRow, bool bState)
{
    QMutexLocker locker(&m_resultLock);
    const auto it = m_tables.mapGroups.find(pGroup);
    if (it == m_tables.mapGroups.end())
        return EnMarkResult::NoGroup;
    if (iRow < 0 || iRow >= it->files.size())
        return EnMarkResult::BadRow;
    CPhotoRecordCopy &file = it->files[iRow];
    if (file.path().isEmpty())
        return EnMarkResult::NoPath;
    file.setMarked(bState);
    dropMarkLocked(file.path());
    if (bState)
        m_tables.mapMarkedFiles.insert(file.path(), file);
    return EnMarkResult::Done;
}

CResultStore::CCheckedTotals CResultStore::recomputeCheckedTotals()
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
        marked.reserve(size_t(m_tables.mapMarkedFiles.size()));
        // Groups whose every visible photo is marked, counted over the marked files only.
        QHash<quint64, qint64> markedPerGroup;
        for (auto it = m_tables.mapMarkedFiles.cbegin(); it != m_tables.mapMarkedFiles.cend(); ++it) {
            marked.push_back({it.key(), it->record().fileSize});
            if (!it->isHidden())
                markedPerGroup[m_tables.mapGroupOfPath.value(it.key())] += 1;
        }
        for (auto it = markedPerGroup.constBegin(); it != markedPerGroup.constEnd(); ++it) {
            const auto group = m_tables.mapGroups.constFind(it.key());
            if (group != m_tables.mapGroups.constEnd() && group->photoCount > 0 && it.value() >= group->photoCount)
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
    for (auto it = bytesOfFolder.cbegin(); it != bytesOfFolder.cend(); ++it)
        mapDriveSizes[volumes.keyOfPath(it.key())] += it.value();

    QMutexLocker checkedLocker(&m_checkedLock);
    m_checked = {int(marked.size()), iCheckedFileSize, std::move(mapDriveSizes), std::move(listMarkedPaths)};
    return m_checked;
}

int CResultStore::checkedItemCount() const
{
    QMutexLocker locker(&m_checkedLock);
    return m_checked.iCount;
}

qint64 CResultStore::checkedFileSize() const
{
    QMutexLocker locker(&m_checkedLock);
    return m_checked.i64Size;
}

QStringList CResultStore::markedPaths() const
{
    QMutexLocker locker(&m_checkedLock);
    return m_checked.listPaths;
}

QMap<QString, qint64> CResultStore::markedBytesPerDrive() const
{
    QMutexLocker locker(&m_checkedLock);
    return m_checked.mapDriveSizes;
}
