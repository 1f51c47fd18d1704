#pragma once

#include "CThumbDiskCache.h"
#include "CThumbMemoryCache.h"
#include "CThumbTaskQueue.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QReadWriteLock>
#include <QSet>
#include <QThreadPool>
#include <QVariant>

#include <atomic>
#include <functional>

// The thumbnail library's engine: a bounded pool of decoder threads working through
// CThumbTaskQueue, the memory caches, the disk cache, the page of what is in view and
// the id-to-path table. Results leave through the callbacks on worker threads.
// Owned by the process-wide CImgThumbManager; every public call is thread-safe.
class CThumbService
{
public:
    using ThumbResultFn = std::function<void(const QVariant &group, const QString &strPath, bool bOk)>;
    using BigResultFn =
        std::function<void(const QVariant &group, const QString &strPath, const QVariantMap &mapMeta, bool bOk)>;

    static constexpr int kThumbBudgetBytes = 128 * 1024 * 1024;
    static constexpr int kBigBudgetBytes = 64 * 1024 * 1024;

    // An empty disk root keeps thumbnails in memory only.
    explicit CThumbService(const QString &strDiskRoot, int iThreads = defaultThreadCount(),
                           int iThumbBudgetBytes = kThumbBudgetBytes);
    ~CThumbService();
    CThumbService(const CThumbService &) = delete;
    CThumbService &operator=(const CThumbService &) = delete;

    // Leaves a core for the interface.
    [[nodiscard]] static int defaultThreadCount();
    // The image id: lower-case hex SHA-512 of the path's UTF-8 bytes.
    [[nodiscard]] static QString idOf(const QString &strPath);

    // Set before start(); called on worker threads.
    void setCallbacks(ThumbResultFn fnThumb, BigResultFn fnBig);
    void start();
    // Drops what waits, waits for what runs and empties the memory caches.
    void stop();

    void pushThumb(quint64 group, const QString &strPath, bool bFront);
    void setReserved(const QList<CThumbRequest> &listRequests);
    void pushBigImage(const QVariant &group, const QString &strPath);
    void clearThumbs();

    // strKey is a path or an image id; false while nothing is known for it.
    [[nodiscard]] bool findThumb(const QString &strKey, QImage &image);
    [[nodiscard]] bool findPageThumb(const QString &strKey, QImage &image);
    [[nodiscard]] bool findBigImage(const QString &strKey, QImage &image);
    [[nodiscard]] QString pathOf(const QString &strKey) const;

private:
    void remember(const QString &strPath);
    void scheduleLocked();
    void pump();
    void runThumb(const CThumbJob &job);
    void runBigImage(const CThumbJob &job);

    ThumbResultFn m_fnThumb;
    BigResultFn m_fnBig;

    mutable QMutex m_mutex;
    CThumbTaskQueue m_queue;
    int m_iPumps = 0;
    bool m_bRunning = false;

    CThumbMemoryCache m_thumbCache;
    CThumbMemoryCache m_bigCache{kBigBudgetBytes};
    CThumbDiskCache m_diskCache;
    QString m_strDiskRoot;

    // The page in view is pinned here so that a flood of queued thumbnails cannot
    // push it out of the memory cache.
    mutable QMutex m_pageMutex;
    QSet<QString> m_setPagePaths;
    QHash<QString, QImage> m_mapPage;

    mutable QReadWriteLock m_idLock;
    QHash<QByteArray, QString> m_mapPathById;

    // Last: its destructor waits for the workers, which use everything above.
    QThreadPool m_pool;
};
