#pragma once

#include "CBaseThread.h"

#include <QMap>
#include <QMutex>
#include <QStringList>
#include <QVariantMap>
#include <QVector>
#include <QWaitCondition>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class COperateTaskQueue;
class IDuplicationGatherSink;
class IScanEngine;
class IScanEngineExtras;
class IScanFilter;
class IScanVolume;

// The rotation option, the separated pairs and exact features, handed to the engine's
// additions before each scan and regroup.
struct CEngineExtrasSettings
{
    bool bRotations = false;
    bool bExactFeatures = false;
    QVector<uint64_t> listPairs;

    void applyTo(IScanEngineExtras *pExtras) const;
};

// Everything a scan reads, copied when it starts; the engine objects stay their owner's.
struct CScanJob
{
    IScanEngine *pEngine = nullptr;
    IScanFilter *pFilter = nullptr;
    IScanEngineExtras *pExtras = nullptr;
    IDuplicationGatherSink *pSink = nullptr;
    // Where the sink queues results for filing; null when it files them itself.
    COperateTaskQueue *pQueue = nullptr;
    QStringList listSources;
    QMap<QString, IScanVolume *> mapVolumes;
    QVariantMap mapOptions;
    CEngineExtrasSettings extras;
    quint8 iSimilarity = 0;
    // A scan that ends at once still shows its progress screen this long.
    int iMinimumMs = 1000;
};

// What a scan's starter holds of it: the worker deletes itself on its owner's thread when
// done, so a thread that stops it (a cancel on the operation worker) must not touch the
// worker itself.
class CScanStop
{
public:
    void request() { m_bStop = true; }
    bool isRequested() const { return m_bStop.load(); }
    // Returns once the scan no longer uses the engine, the sink or the queue.
    void waitEnded();
    bool hasEnded() const;
    void markEnded();

private:
    std::atomic_bool m_bStop{false};
    mutable QMutex m_lock;
    QWaitCondition m_ended;
    bool m_bEnded = false;
};

// Runs one scan through the engine. Owned by nobody: it deletes itself when done.
class CCollectionThread : public CBaseThread
{
    Q_OBJECT
public:
    explicit CCollectionThread(CScanJob job);

    void requestStop() { m_pStop->request(); }
    bool isStopRequested() const { return m_pStop->isRequested(); }
    std::shared_ptr<CScanStop> stopHandle() const { return m_pStop; }

    // Sources with nested folders removed, in the order the scan visits them.
    static QStringList pruneNestedSources(QStringList listSources);
    static QStringList outermostFolders(const QStringList &listSources);
    // Applies the scan options (the screens' map) to the engine's filter.
    static void applyOptionsToFilter(const QVariantMap &mapOptions, IScanFilter *pFilter);

Q_SIGNALS:
    void sigStarted();
    void sigSourcesPruned(QStringList listSources);
    // The engine is done and its results have all been filed; sent on this thread.
    void sigIntakeDone();
    // The scan no longer runs; sent on this thread before the progress screen's minimum time.
    void sigScanEnded();
    // At the end of a scan that was not stopped: the given sources that were deleted, replaced
    // or unmounted while it ran (an unmount leaves its empty mount point: the same path, another
    // folder), whose photos it may have missed; bEvery when none is left.
    void sigSourcesVanished(QStringList listVanished, bool bEvery);

protected:
    int doRun() override;

private:
    void mapSourcesToVolumes();
    void waitForIntake();

    bool isStopping() const { return m_pStop->isRequested() || isCancelled(); }

    CScanJob m_job;
    std::shared_ptr<CScanStop> m_pStop = std::make_shared<CScanStop>();
    QMap<IScanVolume *, QStringList> m_mapVolumePaths;
};

// Recounts the shown groups and their sizes once the intake has drained.
class CCalcTotalDupImgInfoThread : public CBaseThread
{
    Q_OBJECT
public:
    explicit CCalcTotalDupImgInfoThread(std::function<void()> fnRecount) : m_fnRecount(std::move(fnRecount)) {}

protected:
    int doRun() override
    {
        m_fnRecount();
        return 0;
    }

private:
    std::function<void()> m_fnRecount;
};
