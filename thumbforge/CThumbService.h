#pragma once

#include "CThumbDiskCache.h"
#include "CThumbMemoryCache.h"
#include "CThumbTaskQueue.h"

#include <QFileInfo>
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

// The thumbnail library's engine: decoder threads working through CThumbTaskQueue,
// the memory caches, the disk cache, the page of what is in view and the id-to-path
// table. Results leave through the callbacks on worker threads, exactly one for every
// task taken. Owned by the process-wide CImgThumbManager; every public call is
// thread-safe.
class CThumbService
{
public:
    using ThumbResultFn = std::function<void(const QVariant &group, const QString &strPath, bool bOk)>;
    using BigResultFn =
        std::function<void(const QVariant &group, const QString &strPath, const QVariantMap &mapMeta, bool bOk)>;
    // Encoded data of a photo's thumbnail made elsewhere, upright; empty when there is none.
    using PreparedSourceFn = std::function<QByteArray(const QString &strPath)>;

    static constexpr int kThumbBudgetBytes = 128 * 1024 * 1024;
    static constexpr int kBigBudgetBytes = 64 * 1024 * 1024;
    // The core left to the interface still has time to spare between frames.
    static constexpr int kIdleThreads = 1;

    // An empty disk root keeps thumbnails in memory only. iThreads decoders run at
    // normal priority, iIdleThreads more at idle priority.
    explicit CThumbService(const QString &strDiskRoot, int iThreads = defaultThreadCount(),
                           int iThumbBudgetBytes = kThumbBudgetBytes, int iIdleThreads = 0);
    ~CThumbService();
    CThumbService(const CThumbService &) = delete;
    CThumbService &operator=(const CThumbService &) = delete;

    // Leaves a core for the interface.
    [[nodiscard]] static int defaultThreadCount();
    // The image id: lower-case hex SHA-512 of the path's UTF-8 bytes.
    [[nodiscard]] static QString idOf(const QString &strPath);

    // Set before start(); called on worker threads.
    void setCallbacks(ThumbResultFn fnThumb, BigResultFn fnBig);
    // Tried before decoding a file; replacing it waits for calls in progress, so the
    // old source may go away afterwards.
    void setPreparedSource(PreparedSourceFn fnSource);
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
    struct CRunning
    {
        quint64 iId = 0;
        CThumbJob job;
        bool bIdle = false;
        bool bTakenOver = false;
        bool bDone = false;
    };

    void scheduleLocked();
    void scheduleIdleLocked();
    void pump(bool bIdle);
    [[nodiscard]] bool nextJobLocked(bool bIdle, CThumbJob &job, quint64 &iId);
    [[nodiscard]] bool takeOverLocked(bool bUrgentOnly, CThumbJob &job, quint64 &iId);
    // True for the first of the workers running task iId to finish it, which then
    // reports it and calls release().
    [[nodiscard]] bool finish(quint64 iId);
    void release(quint64 iId);
    void runThumb(const CThumbJob &job, quint64 iId);
    void runBigImage(const CThumbJob &job, quint64 iId);
    // bStore: the result still has to go to the disk cache (after it is reported).
    [[nodiscard]] QImage makeThumb(const QString &strPath, QFileInfo &info, bool &bStore);
    [[nodiscard]] QImage preparedThumb(const QString &strPath);

    ThumbResultFn m_fnThumb;
    BigResultFn m_fnBig;

    mutable QMutex m_mutex;
    CThumbTaskQueue m_queue;
    int m_iPumps = 0;
    int m_iIdlePumps = 0;
    bool m_bRunning = false;
    // Tasks being worked on, so that a free normal worker can take over one that a
    // starved idle worker holds; at most one entry per worker.
    QList<CRunning> m_listRunning;
    quint64 m_iLastId = 0;

    mutable QReadWriteLock m_sourceLock;
    PreparedSourceFn m_fnSource;

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
    QMultiHash<quint64, QString> m_mapPathById;

    // Last: their destructors wait for the workers, which use everything above.
    QThreadPool m_pool;
    QThreadPool m_idlePool;
};
