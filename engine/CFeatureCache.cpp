#include "CFeatureCache.h"

#include "CPathCodec.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <sqlite3.h>

Q_LOGGING_CATEGORY(lcEngineCache, "mirelle.engine.cache")

CFeatureCache::~CFeatureCache()
{
    close();
}

QString CFeatureCache::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/mirelle/features.sqlite");
}

bool CFeatureCache::open(const QString &strFile)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    closeLocked();
    m_strFile = strFile;
    return openLocked(true);
}

void CFeatureCache::close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    closeLocked();
}

bool CFeatureCache::isOpen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pDb != nullptr;
}

bool CFeatureCache::openLocked(bool bMayRebuild)
{
    QDir().mkpath(QFileInfo(m_strFile).absolutePath());
    int rc = sqlite3_open_v2(QFile::encodeName(m_strFile).constData(), &m_pDb,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_OK) {
        // Another scan holding the cache must not stall this one for long.
        sqlite3_busy_timeout(m_pDb, 200);
        rc = sqlite3_exec(m_pDb,
                          "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                          "CREATE TABLE IF NOT EXISTS features(path TEXT PRIMARY KEY, size INTEGER NOT NULL,"
                          " mtime INTEGER NOT NULL, data BLOB NOT NULL) WITHOUT ROWID;"
                          // Added later: an older cache file gains it here and keeps its features.
                          "CREATE TABLE IF NOT EXISTS verdicts(first INTEGER NOT NULL, second INTEGER NOT NULL,"
                          " verdict INTEGER NOT NULL, PRIMARY KEY(first, second)) WITHOUT ROWID;",
                          nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(m_pDb, "SELECT size, mtime, data FROM features WHERE path = ?1", -1, &m_pLookup, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(m_pDb, "INSERT OR REPLACE INTO features(path, size, mtime, data) VALUES(?1, ?2, ?3, ?4)",
                                -1, &m_pStore, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(m_pDb, "SELECT verdict FROM verdicts WHERE first = ?1 AND second = ?2", -1,
                                &m_pLookupVerdict, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(m_pDb, "INSERT OR REPLACE INTO verdicts(first, second, verdict) VALUES(?1, ?2, ?3)",
                                -1, &m_pStoreVerdict, nullptr);
    if (rc == SQLITE_OK)
        return true;
    qCWarning(lcEngineCache) << "feature cache" << m_strFile << "unusable:" << sqlite3_errstr(rc);
    closeLocked();
    if (bMayRebuild && (rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB)) {
        rebuildLocked();
        return m_pDb != nullptr;
    }
    return false;
}

void CFeatureCache::closeLocked()
{
    sqlite3_finalize(m_pLookup);
    sqlite3_finalize(m_pStore);
    sqlite3_finalize(m_pLookupVerdict);
    sqlite3_finalize(m_pStoreVerdict);
    m_pLookup = m_pStore = m_pLookupVerdict = m_pStoreVerdict = nullptr;
    if (m_pDb)
        sqlite3_close_v2(m_pDb);
    m_pDb = nullptr;
}

void CFeatureCache::rebuildLocked()
{
    closeLocked();
    qCWarning(lcEngineCache) << "rebuilding the feature cache" << m_strFile;
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(m_strFile + QLatin1String(suffix));
    openLocked(false);
}

void CFeatureCache::handleErrorLocked(int rc)
{
    if (rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB)
        rebuildLocked();
}

bool CFeatureCache::lookup(const QString &strPath, uint64_t i64Size, uint64_t i64ModTime, CPhotoFeature &out)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pLookup)
        return false;
    const QByteArray path = dp::platform::pathToBytes(strPath);
    sqlite3_bind_text(m_pLookup, 1, path.constData(), path.size(), SQLITE_STATIC);
    const int rc = sqlite3_step(m_pLookup);
    bool bFound = false;
    if (rc == SQLITE_ROW && uint64_t(sqlite3_column_int64(m_pLookup, 0)) == i64Size
        && uint64_t(sqlite3_column_int64(m_pLookup, 1)) == i64ModTime) {
        const QByteArray blob(static_cast<const char *>(sqlite3_column_blob(m_pLookup, 2)),
                              sqlite3_column_bytes(m_pLookup, 2));
        bFound = out.fromBlob(blob);
    }
    sqlite3_reset(m_pLookup);
    sqlite3_clear_bindings(m_pLookup);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        handleErrorLocked(rc);
    return bFound;
}

void CFeatureCache::store(const std::vector<CEntry> &entries)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pStore || entries.empty())
        return;
    int rc = sqlite3_exec(m_pDb, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    for (size_t i = 0; rc == SQLITE_OK && i < entries.size(); ++i) {
        const CEntry &e = entries[i];
        if (e.feature.bEmbedded)
            continue;
        const QByteArray path = dp::platform::pathToBytes(e.strPath);
        const QByteArray blob = e.feature.toBlob();
        sqlite3_bind_text(m_pStore, 1, path.constData(), path.size(), SQLITE_STATIC);
        sqlite3_bind_int64(m_pStore, 2, sqlite3_int64(e.i64Size));
        sqlite3_bind_int64(m_pStore, 3, sqlite3_int64(e.i64ModTime));
        sqlite3_bind_blob(m_pStore, 4, blob.constData(), blob.size(), SQLITE_STATIC);
        rc = sqlite3_step(m_pStore);
        rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
        sqlite3_reset(m_pStore);
        sqlite3_clear_bindings(m_pStore);
    }
    endWriteLocked(rc);
}

int CFeatureCache::lookupVerdict(uint64_t iFirst, uint64_t iSecond)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pLookupVerdict)
        return -1;
    sqlite3_bind_int64(m_pLookupVerdict, 1, sqlite3_int64(iFirst));
    sqlite3_bind_int64(m_pLookupVerdict, 2, sqlite3_int64(iSecond));
    const int rc = sqlite3_step(m_pLookupVerdict);
    const int verdict = rc == SQLITE_ROW ? int(sqlite3_column_int(m_pLookupVerdict, 0) != 0) : -1;
    sqlite3_reset(m_pLookupVerdict);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        handleErrorLocked(rc);
    return verdict;
}

void CFeatureCache::storeVerdicts(const std::vector<std::tuple<uint64_t, uint64_t, bool>> &verdicts)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pStoreVerdict || verdicts.empty())
        return;
    int rc = sqlite3_exec(m_pDb, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    for (size_t i = 0; rc == SQLITE_OK && i < verdicts.size(); ++i) {
        sqlite3_bind_int64(m_pStoreVerdict, 1, sqlite3_int64(std::get<0>(verdicts[i])));
        sqlite3_bind_int64(m_pStoreVerdict, 2, sqlite3_int64(std::get<1>(verdicts[i])));
        sqlite3_bind_int(m_pStoreVerdict, 3, std::get<2>(verdicts[i]) ? 1 : 0);
        rc = sqlite3_step(m_pStoreVerdict);
        rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
        sqlite3_reset(m_pStoreVerdict);
    }
    endWriteLocked(rc);
}

void CFeatureCache::endWriteLocked(int rc)
{
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(m_pDb, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        qCWarning(lcEngineCache) << "feature cache write failed:" << sqlite3_errstr(rc);
        sqlite3_exec(m_pDb, "ROLLBACK", nullptr, nullptr, nullptr);
        handleErrorLocked(rc);
    }
}
