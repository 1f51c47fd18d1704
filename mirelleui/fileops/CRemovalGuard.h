#pragma once

#include "CFileStamp.h"
#include "CProcessLock.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>

#include <memory>

// A photo as the scan read it. Unknown values (size -1, time 0, key 0) are not compared.
struct CScannedFile
{
    QString strPath;
    qint64 i64Size = -1;
    quint64 i64ModTime = 0; // FILETIME
    quint64 iContentKey = 0;
};

// One check and removal at a time among all removals of this user (a second apply, the
// window): held from the check of a file until it is gone, so that no other removal can take
// its kept copy in between. Without a guard it is not taken.
class CRemovalTurn
{
public:
    // Waits for the turn up to iWaitMs.
    explicit CRemovalTurn(bool bTake = true, int iWaitMs = 120000);
    bool isHeld() const { return m_pLock && m_pLock->isHeld(); }

private:
    std::unique_ptr<dp::platform::CProcessLock> m_pLock;
};

// The last word before a file is removed, used by every removal of the window and the command
// line: the file must still be the one the scan read, and a copy its group keeps must still be
// on disk, as a different file, with the content the scan read. Saved scans go stale and disks
// change under them; without this, a removal could take the last copy of a picture. Where the
// scan recorded no content for the file or the kept copy, only a kept copy with the file's own
// bytes will do.
class CRemovalGuard
{
public:
    // Plans the removal of file; listKept are the photos its group keeps.
    void add(const CScannedFile &file, const QList<CScannedFile> &listKept);
    bool contains(const QString &strPath) const;

    // "" when strPath may be removed now, else why not. Reads the whole file and, once per
    // request, a kept copy. Thread-safe.
    QString check(const QString &strPath);
    // As check, within a turn; refused when the turn could not be had.
    QString check(const QString &strPath, const CRemovalTurn &turn);
    // Why the last check of strPath refused it, "" when it did not.
    QString refusalOf(const QString &strPath) const;

    static QString textNotPlanned();
    static QString textGone();
    static QString textNotRegular();
    static QString textChanged();
    static QString textKeptGone();
    static QString textKeptChanged();
    static QString textKeptSameFile();
    static QString textKeptMayBeSameFile();
    static QString textKeptInTrash();
    static QString textKeptInSnapshot();
    static QString textKeptInCache();
    static QString textKeptInMemory();
    static QString textKeptInTempFolder();
    static QString textKeptUnconfirmed();
    static QString textBusy();

private:
    struct CPlan
    {
        CScannedFile file;
        QList<CScannedFile> listKept;
    };
    enum class EnState { Matches, Gone, NotRegular, Changed };

    // Whether the file on disk is the one the scan read; *pStamp gets what lstat said.
    static EnState compare(const CScannedFile &file, CFileStamp *pStamp);
    QString checkKept(const CPlan &plan, const CFileStamp &removed);
    static bool sameBytes(const CScannedFile &kept, const CFileStamp &keptStamp, const QString &strFile,
                          const CFileStamp &fileStamp);
    QString verdict(const QString &strPath);

    QHash<QString, CPlan> m_mapPlans;
    // Kept copies already read in full, with the stamp they had then: a kept copy shared by
    // many removals is hashed once unless it changes.
    mutable QMutex m_verifiedLock;
    QHash<QString, CFileStamp> m_mapVerified;
    QHash<QString, QString> m_mapRefused;
};
