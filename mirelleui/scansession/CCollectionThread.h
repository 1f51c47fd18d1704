#pragma once

#include "CBaseThread.h"

#include <QMap>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

#include <atomic>
#include <cstdint>
#include <functional>

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

// Runs one scan through the engine. Owned by nobody: it deletes itself when done,
// and its starter follows it through a QPointer.
class CCollectionThread : public CBaseThread
{
    Q_OBJECT
public:
    explicit CCollectionThread(CScanJob job);

    void requestStop() { m_bStop = true; }
    bool isStopRequested() const { return m_bStop.load(); }

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

protected:
    int doRun() override;

private:
    void mapSourcesToVolumes();
    void waitForIntake();

    CScanJob m_job;
    std::atomic_bool m_bStop{false};
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
