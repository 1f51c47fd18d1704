#pragma once

#include "CAutoMarkRule.h"
#include "CPhotoRecordCopy.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QPair>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <functional>

// One group of similar photos as the results file it.
struct GroupSummary
{
    bool shown = false;
    bool allIdentical = true;
    qint64 photoCount = 0;
    qint64 totalSize = 0;
    QList<CPhotoRecordCopy> files;
};

// The results of a scan: groups, photo tables, marked files and the marking rule's entry
// points. The operation worker writes; models and workers read from any thread. Owned by
// the scan manager.
class CResultStore
{
public:
    enum class EnMarkResult { Done, NoGroup, BadRow, NoPath };
    using EnMarkReason = CAutoMarkRule::EnMarkReason;
    // Mark changes per group: path and new state.
    using CMarkChanges = QHash<quint64, QList<QPair<QString, bool>>>;

    // What the result lock guards, for the writers that change several tables at once.
    struct CTables
    {
        QHash<quint64, GroupSummary> mapGroups;
        QHash<QString, quint64> mapGroupOfPath;
        QHash<QString, quint64> mapFileIdOfPath;
        QHash<QString, QString> mapPathByHash;
        QHash<QString, CPhotoRecordCopy> mapMarkedFiles;
        QHash<QString, EnMarkReason> mapMarkReasons;
    };

    // The id the image providers know a photo by.
    static QString imageIdOfPath(const QString &strPath);

    // Runs f(const GroupSummary &) under the result lock; false when the group is not filed.
    template <typename F>
    bool readGroup(quint64 pGroup, F &&f) const
    {
        QMutexLocker locker(&m_resultLock);
        const auto it = m_tables.mapGroups.constFind(pGroup);
        if (it == m_tables.mapGroups.constEnd())
            return false;
        f(*it);
        return true;
    }
    // Runs f(CTables &) under the result lock.
    template <typename F>
    auto writeTables(F &&f)
    {
        QMutexLocker locker(&m_resultLock);
        return f(m_tables);
    }
    template <typename F>
    auto readTables(F &&f) const
    {
        QMutexLocker locker(&m_resultLock);
        return f(static_cast<const CTables &>(m_tables));
    }

    // The record behind a photo model row: files[iRow] when it carries strPath, else the
    // first record with that path.
    bool readPhoto(quint64 pGroup, int iRow, const QString &strPath, CPhotoRecordCopy *pRecord) const;
    bool groupSummary(quint64 pGroup, GroupSummary *pSummary) const;
    QList<quint64> groupOrder() const;
    QString pathOfImageId(const QString &strId) const;
    // False when the path is no photo of the results.
    bool fileIdOfPath(const QString &strPath, quint64 *piFileId) const;
    EnMarkReason markReason(const QString &strPath) const;
    int fileCount() const;
    // The groups with something to show and the bytes they hold.
    void shownTotals(qint64 *piGroups, qint64 *piSize) const;

    // Files a photo the engine reported under its group's key.
    void addPhoto(quint64 pGroup, CPhotoRecordCopy copy, bool bJoined);
    // Once every photo is in: groups left with one photo to show (the others removed or
    // gone from the disk since) leave the results and lose their marks; returns their keys.
    QList<quint64> hideLoneGroups();
    struct CMerge
    {
        quint64 iOldKey = 0;
        quint64 iNewKey = 0;
        bool bFoundInto = false;
        QStringList listOldPaths;
    };
    // Moves the group of absorbedPath into the group of intoPath; false when the absorbed
    // group is unknown. bSameFirst: both groups' first photos are the same bytes.
    bool mergeGroups(const QString &strAbsorbedPath, const QString &strIntoPath, bool bSameFirst, CMerge *pMerge);
    void clear();

    // The engine's content key of a file id, for the rule's byte copies; none when unset.
    void setContentKeySource(std::function<quint64(quint64)> fnContentKey);
    // The automatic rule on one group; false when the group is gone.
    bool markGroup(quint64 pGroup, CMarkChanges &changes);
    CMarkChanges markAll();
    QMap<quint64, QStringList> clearAllMarks();
    // False when the group is gone.
    bool clearGroupMarks(quint64 pGroup, QStringList *pListCleared);
    // The exact path first, else the path in any case; true when a mark changed.
    bool setPhotoMark(quint64 pGroup, const QString &strPath, bool bState);
    EnMarkResult markPhotoNow(quint64 pGroup, int iRow, bool bState);
    // Hides a removed photo and drops its mark; inside writeTables.
    void hidePhotoLocked(CTables &tables, quint64 pGroup, CPhotoRecordCopy &file, bool bCountChecked);

    struct CCheckedTotals
    {
        int iCount = 0;
        qint64 i64Size = 0;
        QMap<QString, qint64> mapDriveSizes;
        QStringList listPaths;
    };
    // Rebuilds the checked count and size, per-drive sizes and marked paths from the marked files.
    CCheckedTotals recomputeCheckedTotals();
    int checkedItemCount() const;
    qint64 checkedFileSize() const;
    QStringList markedPaths() const;
    QMap<QString, qint64> markedBytesPerDrive() const;
    int fullyMarkedGroupCount() const { return m_iFullyMarkedGroups.load(); }

private:
    bool markGroupLocked(quint64 pGroup, CMarkChanges &changes);
    void dropMarkLocked(const QString &strPath);

    mutable QMutex m_resultLock;
    CTables m_tables;
    std::function<quint64(quint64)> m_fnContentKey;

    mutable QMutex m_groupOrderLock;
    QList<quint64> m_listGroupOrder;

    mutable QMutex m_checkedLock;
    CCheckedTotals m_checked;
    std::atomic<int> m_iFullyMarkedGroups{0};
};
