#pragma once

#include "CEnlargedCopies.h"
#include "CFeatureCache.h"
#include "CScanThumbs.h"
#include "IScanEngine.h"
#include "IScanEngineExtras.h"

#include <QStringList>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

class CGroupReporter;
class CScanVolume;
struct CScanData;
struct CScanOptions;

// The engine behind GetImp. A scan reads every photo under the volumes' paths
// once (step 1), links photos that reach the threshold through an index over
// their hashes (step 2) and turns the links into groups, reporting them as they
// form (step 3). The features stay in memory for Regroup, and in the cache for
// the next scan. Sink callbacks are made on the thread that called in. Unless exact
// features are asked for, step 1 reads embedded thumbnails where they can be trusted
// and the start of step 2 decodes only the photos that come close to another
// (CTwoStage); a Regroup to a lower threshold decodes those it newly reaches.
//
// Record flags: preferred marks a camera original (CPhotoMetadata's rule).
// Hidden marks a second name (hard link) of a file already in the group: it is
// neither shown nor counted nor marked, since removing it frees no space. A file
// that SetFileState calls removed is never reported again, by any regroup.
// Burst marks frames of one camera's burst that were grouped (CBurstFrames);
// frames that differ are never grouped, nor are photos the user separated.
class CScanEngine : public IScanEngine
{
public:
    CScanEngine();
    ~CScanEngine() override;

    int32_t Initialize(int32_t *pReserved) override;
    void Uninitialize() override;
    int32_t BeginScan() override;
    int32_t EndScan() override;
    void SetSink(IScanEngineSink *pSink) override;
    void StopRegroup() override;
    void Flush() override;
    IScanFilter *CreateFilter() override;
    int32_t FindDuplicates(IDuplicationGatherSink *pSink, IScanFilter *pFilter, uint8_t iThreshold) override;
    int32_t Regroup(IDuplicationGatherSink *pSink, uint8_t iThreshold) override;
    void SetFileState(uint64_t iFileId, uint8_t iState) override;
    void Stop() override;

    // The additions behind GetImpExtras (CScanEngineExtras).
    void setRotationMatching(bool bOn) { m_bTurns = bOn; }
    bool rotationMatching() const { return m_bTurns; }
    void setKeepScanThumbnails(bool bOn) { m_bKeepThumbs = bOn; }
    // Off: a first scan reads features from trusted embedded thumbnails first (CTwoStage).
    void setExactFeatures(bool bOn) { m_bExactFeatures = bOn; }
    bool exactFeatures() const { return m_bExactFeatures; }
    std::array<uint64_t, ScanSkipped_Kinds> lastSkipped()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lastSkipped;
    }
    std::array<uint64_t, ScanProgress_Kinds> progress() const { return {m_iFound.load(), m_iRead.load()}; }
    QStringList lastSkippedMounts()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_listSkippedMounts;
    }
    void setSeparatedPairs(std::vector<std::pair<uint64_t, uint64_t>> listPairs);
    uint64_t contentKey(uint64_t iFileId);
    // The modification time (FILETIME) and content key the scan read the file with.
    bool fileStamp(uint64_t iFileId, uint64_t *pModTime, uint64_t *pContentKey);
    CScanThumbs &scanThumbs() { return m_thumbs; }

private:
    struct CCounters;

    void reportVolumesLocked();
    bool readPhotos(const CScanOptions &options, IDuplicationGatherSink *pSink, CCounters &counters);
    // piNotOriginal: how many photos the original-only option left out.
    bool groupPhotos(const std::shared_ptr<const CScanData> &pData, IDuplicationGatherSink *pSink,
                     int iThreshold, const std::atomic_bool &bStop, uint64_t *piNotOriginal = nullptr);
    // Stage two: decodes the photos with thumbnail features that the grouping at
    // iThreshold may reach and puts pData (and the engine's data) on decoded features.
    // False when stopped.
    bool completeFeatures(std::shared_ptr<CScanData> &pData, int iThreshold, IDuplicationGatherSink *pSink,
                          const std::atomic_bool &bStop, CCounters *pCounters);
    void keepReporter(std::unique_ptr<CGroupReporter> pReporter);
    void writeStats(const CCounters &counters) const;
    // Runs work on its own thread while this one reports progress every few tens
    // of milliseconds, so a stop is seen within one poll plus one file.
    static void runPolled(const std::function<void()> &work, const std::function<void()> &poll);

    std::mutex m_runMutex;        // one scan or regroup at a time
    std::mutex m_mutex;           // the members below
    IScanEngineSink *m_pSink = nullptr;
    std::vector<CScanVolume *> m_listVolumes;
    std::vector<CScanVolume *> m_listRetired;  // the manager may still hold these
    bool m_bVolumesReported = false;
    std::shared_ptr<CScanData> m_pData;
    std::vector<uint8_t> m_listRemoved;       // per photo of m_pData: SetFileState said removed
    // The reporters of the last two runs: their records stay valid while the
    // manager may still read them after a later run has started.
    std::unique_ptr<CGroupReporter> m_pReporter;
    std::unique_ptr<CGroupReporter> m_pPreviousReporter;
    uint32_t m_iSerial = 0;
    std::unique_ptr<CCounters> m_pLastCounters;

    std::vector<std::pair<uint64_t, uint64_t>> m_listSeparated;  // content keys
    CEnlargedCopies::CVerdicts m_enlarged;
    std::atomic_bool m_bTurns{false};
    std::atomic_bool m_bKeepThumbs{false};
    std::atomic_bool m_bExactFeatures{false};
    std::array<uint64_t, ScanSkipped_Kinds> m_lastSkipped{};
    QStringList m_listSkippedMounts;  // the network mounts counted in m_lastSkipped
    // The running scan's counts, read by the holder while it runs.
    std::atomic<uint64_t> m_iFound{0};
    std::atomic<uint64_t> m_iRead{0};
    std::atomic_bool m_bStop{false};
    std::atomic_bool m_bStopRegroup{false};
    bool m_bBegun = false;
    int32_t m_iLastResult = 0;
    CFeatureCache m_cache;
    // Outlives Uninitialize and later scans: a thumbnail stays good while its file is unchanged.
    CScanThumbs m_thumbs;
};
