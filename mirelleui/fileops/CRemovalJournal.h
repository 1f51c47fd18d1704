#pragma once

#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The removal journal: an SQLite file in the user's data folder that records every trash and
// move request before a file is touched, and where each file went, so that a removal can be
// undone after a restart. One object is one connection, used on the thread that made it.
class CRemovalJournal
{
    Q_DECLARE_TR_FUNCTIONS(CRemovalJournal)

public:
    static constexpr int kVersion = 1;

    // Values as EnDupPicDelType, so that the screens can show them as they show a removal.
    enum class EnMethod { Trash = 1, Move = 2 };
    enum class EnState { Pending = 0, Done = 1, Failed = 2, Restored = 3 };

    struct CEntry
    {
        qint64 i64Id = -1;
        QString strOriginal;
        // Trash file or moved path; for a trash entry not yet confirmed it is empty.
        QString strPlace;
        // The original path with the links of its folders resolved, as it was at the removal;
        // "" when not recorded (journals written before it was).
        QString strResolved;
        qint64 i64Size = 0;
        qint64 i64MTimeMs = 0;
        EnState state = EnState::Pending;
    };

    struct CRequest
    {
        qint64 i64Id = -1;
        EnMethod method = EnMethod::Trash;
        qint64 i64TimeMs = 0;
        int iFiles = 0;      // removed and confirmed, restored or not
        int iRestorable = 0; // removed and not yet brought back
    };

    // $XDG_DATA_HOME/mirelle/removals.sqlite
    static QString defaultPath();

    explicit CRemovalJournal(const QString &strPath = QString());
    ~CRemovalJournal();
    CRemovalJournal(const CRemovalJournal &) = delete;
    CRemovalJournal &operator=(const CRemovalJournal &) = delete;

    QString path() const { return m_strPath; }

    // Opens the journal and checks that it is one of ours, of this version. bCreate makes a
    // missing journal; otherwise a missing one is an error. A journal that fails the check
    // is never written to.
    [[nodiscard]] bool open(bool bCreate, QString *pstrError);

    // Records a new request with its files as pending; fills in each entry's id.
    [[nodiscard]] qint64 beginRequest(EnMethod method, QList<CEntry> *pEntries, QString *pstrError);
    // Adds files to a request begun earlier, for removals made in steps.
    [[nodiscard]] bool addToRequest(qint64 i64Request, QList<CEntry> *pEntries, QString *pstrError);
    // The outcome of one file: done with its new place, or failed.
    [[nodiscard]] bool confirm(qint64 i64Entry, bool bDone, const QString &strPlace);
    // Many outcomes in one transaction, for results that arrive all at once.
    [[nodiscard]] bool confirmAll(const QList<CEntry> &listEntries);
    // Files of the request that were never attempted (a cancel) count as failed.
    [[nodiscard]] bool closeRequest(qint64 i64Request);
    [[nodiscard]] bool markRestored(qint64 i64Entry);
    // New states for many entries in one transaction.
    [[nodiscard]] bool setStates(const QList<QPair<qint64, EnState>> &listStates);

    [[nodiscard]] bool request(qint64 i64Request, CRequest *pRequest, QString *pstrError);
    // Newest first; requests with nothing left that was removed are left out.
    [[nodiscard]] bool requests(QList<CRequest> *pRequests, QString *pstrError, int iLimit = 50);
    [[nodiscard]] bool entries(qint64 i64Request, QList<CEntry> *pEntries, QString *pstrError);
    // Where moves never confirmed (a crash) were headed: their partial copies may lie there.
    [[nodiscard]] QStringList unconfirmedMovePlaces();
    // The newest request with a file not yet brought back, or -1.
    [[nodiscard]] qint64 lastRestorableRequest(QString *pstrError);

private:
    bool exec(const QString &strSql, QString *pstrError);
    bool insertEntries(qint64 i64Request, QList<CEntry> *pEntries, QString *pstrError);

    QString m_strPath;
    QString m_strConnection;
    bool m_bOpen = false;
    bool m_bResolvedColumn = false;
};
