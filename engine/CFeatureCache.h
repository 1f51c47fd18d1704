#pragma once

#include "CPhotoFeature.h"

#include <QString>

#include <mutex>
#include <tuple>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Features of photos already read, in SQLite, keyed by path, size and
// modification time: a rescan of an unchanged tree opens no image. It also keeps
// answers about pairs of photos that cost full decodes, keyed by their caller. The cache is
// a convenience only: a corrupt file is deleted and rebuilt, a locked or
// unwritable one is left alone and the scan goes on without it.
class CFeatureCache
{
public:
    struct CEntry
    {
        QString strPath;
        uint64_t i64Size = 0;
        uint64_t i64ModTime = 0;
        CPhotoFeature feature;
    };

    CFeatureCache() = default;
    ~CFeatureCache();
    CFeatureCache(const CFeatureCache &) = delete;
    CFeatureCache &operator=(const CFeatureCache &) = delete;

    // The cache of this user: <generic cache>/mirelle/features.sqlite.
    static QString defaultPath();

    bool open(const QString &strFile);
    void close();
    bool isOpen() const;

    [[nodiscard]] bool lookup(const QString &strPath, uint64_t i64Size, uint64_t i64ModTime, CPhotoFeature &out);
    void store(const std::vector<CEntry> &entries);

    // The answer stored for (first, second), or -1.
    [[nodiscard]] int lookupVerdict(uint64_t iFirst, uint64_t iSecond);
    // One transaction for all.
    void storeVerdicts(const std::vector<std::tuple<uint64_t, uint64_t, bool>> &verdicts);

private:
    bool openLocked(bool bMayRebuild);
    void closeLocked();
    void rebuildLocked();
    void handleErrorLocked(int rc);
    void endWriteLocked(int rc);  // commits a write begun, or rolls it back

    mutable std::mutex m_mutex;
    QString m_strFile;
    sqlite3 *m_pDb = nullptr;
    sqlite3_stmt *m_pLookup = nullptr;
    sqlite3_stmt *m_pStore = nullptr;
    sqlite3_stmt *m_pLookupVerdict = nullptr;
    sqlite3_stmt *m_pStoreVerdict = nullptr;
};
