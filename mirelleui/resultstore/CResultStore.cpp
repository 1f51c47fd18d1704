#include "CResultStore.h"

#include <QCryptographicHash>

namespace {

const CPhotoRecordCopy *findPhoto(const GroupSummary &summary, int iRow, const QString &strPath)
{
    // Rows follow the group's file list, so the row's own record is the usual answer.
    if (iRow >= 0 && iRow < summary.files.size() && summary.files.at(iRow).path() == strPath)
        return &summary.files.at(iRow);
    for (const CPhotoRecordCopy &file : summary.files) {
        if (file.path() == strPath)
            return &file;
    }
    return nullptr;
}

} // namespace

QString CResultStore::imageIdOfPath(const QString &strPath)
{
    return QString::fromLatin1(QCryptographicHash::hash(strPath.toUtf8(), QCryptographicHash::Sha512).toHex());
}

bool CResultStore::readPhoto(quint64 pGroup, int iRow, const QString &strPath, CPhotoRecordCopy *pRecord) const
{
    bool bFound = false;
    readGroup(pGroup, [&](const GroupSummary &summary) {
        const CPhotoRecordCopy *pFile = findPhoto(summary, iRow, strPath);
        bFound = pFile != nullptr;
        if (pFile && pRecord)
            *pRecord = *pFile;
    });
    return bFound;
}

bool CResultStore::groupSummary(quint64 pGroup, GroupSummary *pSummary) const
{
    return readGroup(pGroup, [pSummary](const GroupSummary &summary) {
        if (pSummary)
            *pSummary = summary;
    });
}

QList<quint64> CResultStore::groupOrder() const
{
    QMutexLocker locker(&m_groupOrderLock);
    return m_listGroupOrder;
}

QString CResultStore::pathOfImageId(const QString &strId) const
{
    QMutexLocker locker(&m_resultLock);
    return m_tables.mapPathByHash.value(strId);
}

bool CResultStore::fileIdOfPath(const QString &strPath, quint64 *piFileId) const
{
    QMutexLocker locker(&m_resultLock);
    const auto it = m_tables.mapFileIdOfPath.constFind(strPath);
    if (it == m_tables.mapFileIdOfPath.constEnd())
        return false;
    *piFileId = *it;
    return true;
}

CResultStore::EnMarkReason CResultStore::markReason(const QString &strPath) const
{
    QMutexLocker locker(&m_resultLock);
    return m_tables.mapMarkReasons.value(strPath, EnMarkReason::None);
}

int CResultStore::fileCount() const
{
    QMutexLocker locker(&m_resultLock);
    int iFiles = 0;
    for (const GroupSummary &summary : m_tables.mapGroups)
        iFiles += summary.files.size();
    return iFiles;
}

void CResultStore::shownTotals(qint64 *piGroups, qint64 *piSize) const
{
    QMutexLocker locker(&m_resultLock);
    *piGroups = 0;
    *piSize = 0;
    for (const GroupSummary &summary : m_tables.mapGroups) {
        if (!summary.shown)
            continue;
        ++*piGroups;
        *piSize += summary.totalSize;
    }
}

void CResultStore::addPhoto(quint64 pGroup, CPhotoRecordCopy copy, bool bJoined)
{
    const QString path = copy.path();
    {
        QMutexLocker locker(&m_resultLock);
        GroupSummary &summary = m_tables.mapGroups[pGroup];
        if (!copy.isHidden()) {
            if (bJoined && copy.record().similarity != 100)
                summary.allIdentical = false;
            summary.shown = true;
            summary.photoCount += 1;
            summary.totalSize += static_cast<qint64>(copy.record().fileSize);
            m_tables.mapPathByHash.insert(imageIdOfPath(path), path);
        }
        m_tables.mapGroupOfPath.insert(path, pGroup);
        m_tables.mapFileIdOfPath.insert(path, copy.record().fileId);
        summary.files.append(std::move(copy));
    }
    if (!bJoined) {
        QMutexLocker orderLocker(&m_groupOrderLock);
        m_listGroupOrder.append(pGroup);
    }
}

QList<quint64> CResultStore::hideLoneGroups()
{
    QList<quint64> listKeys;
    QMutexLocker locker(&m_resultLock);
    for (auto it = m_tables.mapGroups.begin(); it != m_tables.mapGroups.end(); ++it) {
        if (!it->shown || it->photoCount > 1)
            continue;
        it->shown = false;
        for (CPhotoRecordCopy &file : it->files) {
            file.setMarked(false);
            // The marked-file table is what a removal takes: a lone photo must leave it too.
            dropMarkLocked(file.path());
        }
        listKeys << it.key();
    }
    return listKeys;
}

bool CResultStore::mergeGroups(const QString &strAbsorbedPath, const QString &strIntoPath, bool bSameFirst,
                               CMerge *pMerge)
{
    GroupSummary old;
    {
        QMutexLocker locker(&m_resultLock);
        const auto itOld = m_tables.mapGroupOfPath.constFind(strAbsorbedPath);
        if (itOld == m_tables.mapGroupOfPath.constEnd())
            return false;
        pMerge->iOldKey = *itOld;
        old = m_tables.mapGroups.take(pMerge->iOldKey);
        const auto itInto = m_tables.mapGroupOfPath.constFind(strIntoPath);
        if (itInto != m_tables.mapGroupOfPath.constEnd() && m_tables.mapGroups.contains(*itInto)) {
            pMerge->bFoundInto = true;
            pMerge->iNewKey = *itInto;
            GroupSummary &into = m_tables.mapGroups[pMerge->iNewKey];
            // A similarity of 100 names the bytes of its own group's first photo, so the merged
            // group stays identical only when both first photos are the same bytes.
            into.allIdentical = into.allIdentical && old.allIdentical && bSameFirst;
            into.shown = true;
            into.photoCount += old.files.size();
            into.totalSize += old.totalSize;
            into.files.append(old.files);
        }
    }
    {
        QMutexLocker orderLocker(&m_groupOrderLock);
        m_listGroupOrder.removeAll(pMerge->iOldKey);
    }
    for (const CPhotoRecordCopy &file : qAsConst(old.files))
        pMerge->listOldPaths << file.path();
    return true;
}

void CResultStore::clear()
{
    {
        QMutexLocker locker(&m_resultLock);
        m_tables = CTables();
        QMutexLocker orderLocker(&m_groupOrderLock);
        m_listGroupOrder.clear();
    }
    QMutexLocker checkedLocker(&m_checkedLock);
    m_checked = CCheckedTotals();
}

void CResultStore::hidePhotoLocked(CTables &tables, quint64 pGroup, CPhotoRecordCopy &file, bool bCountChecked)
{
    GroupSummary &summary = tables.mapGroups[pGroup];
    const qint64 iSize = static_cast<qint64>(file.record().fileSize);
    file.record().flags |= PhotoFlag_Hidden;
    summary.photoCount -= 1;
    summary.totalSize -= iSize;
    // A photo left alone duplicates nothing: its group leaves the results.
    summary.shown = summary.photoCount > 1;
    if (bCountChecked) {
        QMutexLocker checkedLocker(&m_checkedLock);
        m_checked.iCount -= 1;
        m_checked.i64Size -= iSize;
        m_checked.listPaths.removeAll(file.path());
    }
    dropMarkLocked(file.path());
}
