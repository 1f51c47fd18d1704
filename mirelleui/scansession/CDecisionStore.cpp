#include "CDecisionStore.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <algorithm>

namespace {

QAtomicInt g_iConnections;

// SQLite has signed 64-bit integers only; the keys keep their bits.
qint64 toColumn(quint64 iKey)
{
    return static_cast<qint64>(iKey);
}

quint64 fromColumn(const QVariant &value)
{
    return static_cast<quint64>(value.toLongLong());
}

} // namespace

CDecisionStore::CDecisionStore()
    : m_strConnection(QStringLiteral("mirelle-decisions-%1").arg(g_iConnections.fetchAndAddRelaxed(1)))
{
}

CDecisionStore::~CDecisionStore()
{
    if (QSqlDatabase::contains(m_strConnection)) {
        QSqlDatabase::database(m_strConnection, false).close();
        QSqlDatabase::removeDatabase(m_strConnection);
    }
}

QString CDecisionStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/mirelle/decisions.sqlite");
}

namespace {

QString g_strPathOverride;

} // namespace

void CDecisionStore::setStorePathOverride(const QString &strPath)
{
    g_strPathOverride = strPath;
}

QString CDecisionStore::storePath()
{
    if (!g_strPathOverride.isEmpty())
        return g_strPathOverride;
    const QString path = qEnvironmentVariable("MIRELLE_DECISIONS_DB");
    return path.isEmpty() ? defaultPath() : path;
}

bool CDecisionStore::fail(const QString &strError)
{
    m_bEnabled = false;
    m_strError = QCoreApplication::translate("CDecisionStore",
                                             "Remembered \"Not duplicates\" decisions are off: %1 (%2). "
                                             "The file was left as it is.")
                     .arg(strError, QDir::toNativeSeparators(m_strPath));
    if (QSqlDatabase::contains(m_strConnection))
        QSqlDatabase::database(m_strConnection, false).close();
    return false;
}

bool CDecisionStore::open(const QString &strPath)
{
    m_strPath = strPath;
    m_strError.clear();
    m_bEnabled = false;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return fail(QCoreApplication::translate("CDecisionStore", "the SQLite driver of Qt is not installed"));
    const QFileInfo info(strPath);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(QCoreApplication::translate("CDecisionStore", "its folder cannot be created"));
    if (info.exists() && !info.isFile())
        return fail(QCoreApplication::translate("CDecisionStore", "it is not a file"));

    QSqlDatabase db = QSqlDatabase::contains(m_strConnection)
                          ? QSqlDatabase::database(m_strConnection, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_strConnection);
    db.close();
    db.setDatabaseName(strPath);
    if (!db.open())
        return fail(db.lastError().text());

    QSqlQuery query(db);
    // Reading the version is the first access to the file's pages: a file that is not a
    // database fails here, before anything is written.
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return fail(QCoreApplication::translate("CDecisionStore", "the file is damaged or not a decisions file"));
    const int iVersion = query.value(0).toInt();
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
        return fail(QCoreApplication::translate("CDecisionStore", "the file is damaged or not a decisions file"));
    const bool bEmpty = query.value(0).toInt() == 0;
    if (iVersion == 0 && bEmpty) {
        if (!db.transaction())
            return fail(db.lastError().text());
        const bool bCreated =
            query.exec(QStringLiteral("CREATE TABLE decisions (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                      "key_a INTEGER NOT NULL, key_b INTEGER NOT NULL, path_a TEXT, path_b TEXT, "
                                      "created INTEGER NOT NULL, UNIQUE (key_a, key_b))"))
            && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
        if (!bCreated || !db.commit()) {
            db.rollback();
            return fail(query.lastError().text());
        }
    } else if (iVersion != kSchemaVersion) {
        return fail(QCoreApplication::translate("CDecisionStore", "the file is of another version (%1; this program "
                                                                  "reads %2)")
                        .arg(iVersion)
                        .arg(kSchemaVersion));
    }
    m_bEnabled = true;
    if (!reload())
        return fail(QCoreApplication::translate("CDecisionStore", "the file is damaged or not a decisions file"));
    return true;
}

bool CDecisionStore::reload()
{
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    if (!query.exec(QStringLiteral("SELECT id, key_a, key_b, path_a, path_b, created FROM decisions ORDER BY id")))
        return false;
    QList<CDecision> list;
    while (query.next()) {
        CDecision decision;
        decision.iId = query.value(0).toLongLong();
        decision.iKeyA = fromColumn(query.value(1));
        decision.iKeyB = fromColumn(query.value(2));
        decision.strPathA = query.value(3).toString();
        decision.strPathB = query.value(4).toString();
        decision.created = QDateTime::fromSecsSinceEpoch(query.value(5).toLongLong(), Qt::UTC);
        list << decision;
    }
    QMutexLocker locker(&m_pairsLock);
    m_listDecisions.swap(list);
    return true;
}

bool CDecisionStore::addPairs(const QList<CDecision> &listPairs)
{
    if (!m_bEnabled)
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_strConnection, false);
    if (!db.transaction())
        return false;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT OR IGNORE INTO decisions (key_a, key_b, path_a, path_b, created) "
                                 "VALUES (?, ?, ?, ?, ?)"));
    const qint64 iNow = QDateTime::currentSecsSinceEpoch();
    QList<CDecision> listAdded;
    for (const CDecision &pair : listPairs) {
        if (pair.iKeyA == 0 || pair.iKeyB == 0 || pair.iKeyA == pair.iKeyB)
            continue;
        // One order per pair, so that the unique index sees a pair given either way round.
        const bool bSwap = pair.iKeyB < pair.iKeyA;
        CDecision added;
        added.iKeyA = bSwap ? pair.iKeyB : pair.iKeyA;
        added.iKeyB = bSwap ? pair.iKeyA : pair.iKeyB;
        added.strPathA = bSwap ? pair.strPathB : pair.strPathA;
        added.strPathB = bSwap ? pair.strPathA : pair.strPathB;
        added.created = QDateTime::fromSecsSinceEpoch(iNow, Qt::UTC);
        query.addBindValue(toColumn(added.iKeyA));
        query.addBindValue(toColumn(added.iKeyB));
        query.addBindValue(added.strPathA);
        query.addBindValue(added.strPathB);
        query.addBindValue(iNow);
        if (!query.exec()) {
            db.rollback();
            return false;
        }
        if (query.numRowsAffected() == 1) {
            added.iId = query.lastInsertId().toLongLong();
            listAdded << added;
        }
    }
    if (!db.commit())
        return false;
    // The copy follows the file without reading it back: a store may hold tens of thousands.
    QMutexLocker locker(&m_pairsLock);
    m_listDecisions << listAdded;
    return true;
}

bool CDecisionStore::forget(qint64 iId)
{
    if (!m_bEnabled)
        return false;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    query.prepare(QStringLiteral("DELETE FROM decisions WHERE id = ?"));
    query.addBindValue(iId);
    if (!query.exec() || query.numRowsAffected() == 0)
        return false;
    QMutexLocker locker(&m_pairsLock);
    m_listDecisions.erase(std::remove_if(m_listDecisions.begin(), m_listDecisions.end(),
                                         [iId](const CDecision &decision) { return decision.iId == iId; }),
                          m_listDecisions.end());
    return true;
}

bool CDecisionStore::forgetAll()
{
    if (!m_bEnabled)
        return false;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    if (!query.exec(QStringLiteral("DELETE FROM decisions")))
        return false;
    QMutexLocker locker(&m_pairsLock);
    m_listDecisions.clear();
    return true;
}

QList<CDecision> CDecisionStore::decisions() const
{
    QMutexLocker locker(&m_pairsLock);
    return m_listDecisions;
}

QVector<uint64_t> CDecisionStore::flatPairs() const
{
    QMutexLocker locker(&m_pairsLock);
    QVector<uint64_t> keys;
    keys.reserve(2 * m_listDecisions.size());
    for (const CDecision &decision : m_listDecisions)
        keys << decision.iKeyA << decision.iKeyB;
    return keys;
}

int CDecisionStore::count() const
{
    QMutexLocker locker(&m_pairsLock);
    return m_listDecisions.size();
}
