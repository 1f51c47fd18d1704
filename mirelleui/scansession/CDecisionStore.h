#pragma once

#include <QDateTime>
#include <QList>
#include <QMutex>
#include <QString>
#include <QVector>

#include <cstdint>

// One remembered "Not duplicates": two content keys and the names the photos had then.
struct CDecision
{
    qint64 iId = 0;
    quint64 iKeyA = 0;
    quint64 iKeyB = 0;
    QString strPathA;
    QString strPathB;
    QDateTime created;
};

// The user's "Not duplicates" decisions, kept in an SQLite file in the user's data folder
// and keyed by content key so that renames and moves keep them.
// A file that cannot be read as this version's is left untouched and the store stays off.
class CDecisionStore
{
public:
    static constexpr int kSchemaVersion = 1;

    CDecisionStore();
    ~CDecisionStore();
    CDecisionStore(const CDecisionStore &) = delete;
    CDecisionStore &operator=(const CDecisionStore &) = delete;

    // $XDG_DATA_HOME/mirelle/decisions.sqlite, or its platform equivalent.
    static QString defaultPath();
    // The file in use: the override, else MIRELLE_DECISIONS_DB, else the default.
    static QString storePath();
    static void setStorePathOverride(const QString &strPath);

    [[nodiscard]] bool open(const QString &strPath);
    bool isEnabled() const { return m_bEnabled; }
    // Why the store is off, in words for the user; empty while it works.
    QString errorText() const { return m_strError; }
    QString path() const { return m_strPath; }

    // Keys of 0 and pairs of one key are skipped; a pair already stored is kept as it was.
    [[nodiscard]] bool addPairs(const QList<CDecision> &listPairs);
    [[nodiscard]] bool forget(qint64 iId);
    [[nodiscard]] bool forgetAll();
    QList<CDecision> decisions() const;
    // Every pair as two keys after each other, as the engine takes them; any thread.
    QVector<uint64_t> flatPairs() const;
    int count() const;

private:
    bool fail(const QString &strError);
    bool reload();

    QString m_strConnection;
    QString m_strPath;
    QString m_strError;
    bool m_bEnabled = false;
    mutable QMutex m_pairsLock;
    QList<CDecision> m_listDecisions;
};
