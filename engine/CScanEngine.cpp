#include "CScanEngine.h"

#include "CBurstFrames.h"
#include "CExifReader.h"
#include "CFeatureExtractor.h"
#include "CFileWalker.h"
#include "CEnlargedCopies.h"
#include "CGroupBuilder.h"
#include "CGroupRules.h"
#include "CGroupReporter.h"
#include "CPathCodec.h"
#include "CPhotoMetadata.h"
#include "CPlatform.h"
#include "CScanData.h"
#include "CScanFilter.h"
#include "CScanVolume.h"
#include "CSimilarityIndex.h"
#include "CTwoStage.h"
#include "IVolumes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <thread>
#include <unordered_map>

Q_LOGGING_CATEGORY(lcEngine, "mirelle.engine")

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(25);

int workerThreads()
{
    return int(std::max(2u, std::thread::hardware_concurrency()));
}

} // namespace

// What one scan met, for the log and for the statistics file.
struct CScanEngine::CCounters
{
    std::atomic<uint64_t> iFound{0};
    std::atomic<uint64_t> iDone{0};
    std::atomic<uint64_t> iBytes{0};
    std::atomic<uint64_t> iDecoded{0};
    std::atomic<uint64_t> iEmbedded{0};  // read from embedded thumbnails only
    std::atomic<uint64_t> iCached{0};
    std::atomic<uint64_t> iUnreadable{0};
    std::atomic<uint64_t> iNotImage{0};
    std::atomic<uint64_t> iCorrupt{0};
    std::atomic<uint64_t> iTooLarge{0};
    std::atomic<uint64_t> iNotOriginal{0};
    uint64_t iUnreadableFolders = 0;
    QStringList listPassedMounts;
    uint64_t iPhotos = 0;
    uint64_t iGroups = 0;
};

CScanEngine::CScanEngine()
{
    CExifReader::initialize();
    m_enlarged.setCache(&m_cache);
}

CScanEngine::~CScanEngine()
{
    Stop();
    StopRegroup();
    std::lock_guard<std::mutex> run(m_runMutex);
    Uninitialize();
    for (CScanVolume *pVolume : m_listRetired)
        pVolume->Release();
}

int32_t CScanEngine::Initialize(int32_t *)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_listVolumes.empty()) {
        for (const CVolumeInfo &info : dp::platform::volumes().volumes())
            m_listVolumes.push_back(new CScanVolume(info.strRoot));
        m_bVolumesReported = false;
    }
    return 0;
}

void CScanEngine::Uninitialize()
{
    m_cache.close();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listRetired.insert(m_listRetired.end(), m_listVolumes.begin(), m_listVolumes.end());
    m_listVolumes.clear();
    m_bVolumesReported = false;
    m_pSink = nullptr;
    m_pData.reset();
    m_listRemoved.clear();
    m_pReporter.reset();
    m_pPreviousReporter.reset();
}

void CScanEngine::reportVolumesLocked()
{
    if (!m_pSink || m_bVolumesReported)
        return;
    m_bVolumesReported = true;
    for (CScanVolume *pVolume : m_listVolumes)
        m_pSink->OnVolume(pVolume);
}

void CScanEngine::SetSink(IScanEngineSink *pSink)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pSink = pSink;
    m_bVolumesReported = false;
    reportVolumesLocked();
}

IScanFilter *CScanEngine::CreateFilter()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        reportVolumesLocked();
    }
    return new CScanFilter;
}

void CScanEngine::Flush() {}

int32_t CScanEngine::BeginScan()
{
    m_bStop = false;
    m_bBegun = true;
    return 0;
}

int32_t CScanEngine::EndScan()
{
    std::lock_guard<std::mutex> run(m_runMutex);
    if (m_pLastCounters)
        writeStats(*m_pLastCounters);
    return m_iLastResult;
}

void CScanEngine::Stop()
{
    m_bStop = true;
}

void CScanEngine::StopRegroup()
{
    m_bStopRegroup = true;
}

void CScanEngine::SetFileState(uint64_t iFileId, uint8_t iState)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pData)
        return;
    const int64_t i = m_pData->indexOf(iFileId);
    if (i >= 0 && size_t(i) < m_listRemoved.size())
        m_listRemoved[size_t(i)] = (iState & ScanFileState_Removed) ? 1 : 0;
}

void CScanEngine::setSeparatedPairs(std::vector<std::pair<uint64_t, uint64_t>> listPairs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listSeparated = std::move(listPairs);
}

uint64_t CScanEngine::contentKey(uint64_t iFileId)
{
    uint64_t iKey = 0;
    fileStamp(iFileId, nullptr, &iKey);
    return iKey;
}

bool CScanEngine::fileStamp(uint64_t iFileId, uint64_t *pModTime, uint64_t *pContentKey)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // The manager may still ask about the records of the runs before the last scan.
    const CScanData *const listData[] = {m_pData.get(), m_pReporter ? m_pReporter->data().get() : nullptr,
                                         m_pPreviousReporter ? m_pPreviousReporter->data().get() : nullptr};
    for (const CScanData *pData : listData) {
        const int64_t i = pData ? pData->indexOf(iFileId) : -1;
        if (i < 0)
            continue;
        if (pModTime)
            *pModTime = size_t(i) < pData->listModTimes.size() ? pData->listModTimes[size_t(i)] : 0;
        if (pContentKey)
            *pContentKey = pData->features[size_t(i)].contentHash;
        return true;
    }
    return false;
}

void CScanEngine::runPolled(const std::function<void()> &work, const std::function<void()> &poll)
{
    std::mutex mutex;
    std::condition_variable finished;
    bool bFinished = false;
    std::thread worker([&] {
        work();
        std::lock_guard<std::mutex> lock(mutex);
        bFinished = true;
        finished.notify_one();
    });
    std::unique_lock<std::mutex> lock(mutex);
    while (!finished.wait_for(lock, kPollInterval, [&] { return bFinished; })) {
        lock.unlock();
        poll();
        lock.lock();
    }
    lock.unlock();
    worker.join();
}

int32_t CScanEngine::FindDuplicates(IDuplicationGatherSink *pSink, IScanFilter *pFilter, uint8_t iThreshold)
{
    std::lock_guard<std::mutex> run(m_runMutex);
    // A scan started without BeginScan starts afresh; after BeginScan a Stop that
    // came before this call still counts.
    if (!m_bBegun)
        m_bStop = false;
    m_bBegun = false;
    auto pCounters = std::make_unique<CCounters>();
    const CScanOptions options = pFilter ? static_cast<CScanFilter *>(pFilter)->options() : CScanOptions{};
    if (!m_cache.isOpen())
        m_cache.open(CFeatureCache::defaultPath());
    {
        // A new scan replaces what the last one learnt, stopped or not; the
        // records already handed out keep their own reference to it.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pData.reset();
        m_listRemoved.clear();
    }

    bool bDone = readPhotos(options, pSink, *pCounters);
    std::shared_ptr<CScanData> pData;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        pData = m_pData;
    }
    if (bDone && pData)
        bDone = completeFeatures(pData, std::min<int>(iThreshold, 100), pSink, m_bStop, pCounters.get());
    uint64_t iNotOriginal = 0;
    if (bDone && pData)
        bDone = groupPhotos(pData, pSink, std::min<int>(iThreshold, 100), m_bStop, &iNotOriginal);
    pCounters->iNotOriginal = iNotOriginal;
    pCounters->iPhotos = pData ? pData->count() : 0;
    qCInfo(lcEngine).noquote() << QStringLiteral("scan %1: %2 files, %3 decoded, %4 from cache, %5 from thumbnails only, %6 skipped, %7 unreadable folders")
        .arg(bDone ? QStringLiteral("finished") : QStringLiteral("stopped"))
        .arg(pCounters->iFound).arg(pCounters->iDecoded).arg(pCounters->iCached).arg(pCounters->iEmbedded)
        .arg(pCounters->iUnreadable + pCounters->iNotImage + pCounters->iCorrupt + pCounters->iTooLarge)
        .arg(pCounters->iUnreadableFolders);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lastSkipped = {pCounters->iUnreadableFolders, pCounters->iUnreadable.load(),
                         pCounters->iNotImage + pCounters->iCorrupt, pCounters->iTooLarge.load(),
                         uint64_t(pCounters->listPassedMounts.size()), pCounters->iNotOriginal.load()};
        m_listSkippedMounts = pCounters->listPassedMounts;
    }
    m_pLastCounters = std::move(pCounters);
    m_iLastResult = bDone ? 0 : 1;
    return m_iLastResult;
}

bool CScanEngine::readPhotos(const CScanOptions &options, IDuplicationGatherSink *pSink, CCounters &counters)
{
    QStringList roots;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (CScanVolume *pVolume : m_listVolumes)
            roots += pVolume->absolutePaths();
    }
    CFileWalker::COptions walkOptions{options.setSuffixes, options.i64MinSize, options.bFollowLinks, {}, {}};
    for (const CMountInfo &mount : dp::platform::volumes().mounts()) {
        if (mount.kind == CMountInfo::EnKind::Local)
            continue;
        const auto pass = mount.kind == CMountInfo::EnKind::Network ? CFileWalker::EnPass::Named
                                                                    : CFileWalker::EnPass::Quietly;
        walkOptions.mapPassDevices.insert(mount.iDevice, pass);
        walkOptions.mapPassMountPoints.insert(dp::platform::pathToBytes(mount.strRoot), pass);
    }
    CFileWalker walker(walkOptions);
    std::vector<CFoundFile> files;
    m_iFound = 0;
    m_iRead = 0;
    runPolled([&] { files = walker.walk(roots, 4, m_bStop); },
              [&] { if (pSink) pSink->DuplicatingSink(1, 0, 0); });
    counters.iUnreadableFolders = walker.unreadableFolders();
    counters.listPassedMounts = walker.passedMounts();
    counters.iFound = files.size();
    m_iFound = files.size();
    if (m_bStop)
        return false;

    // Further names of one file (hard links) are not read again: they take the
    // features of the first name and are reported hidden.
    std::vector<int64_t> listTwinOf(files.size(), -1);
    {
        std::map<std::pair<uint64_t, uint64_t>, size_t> firstName;
        for (size_t i = 0; i < files.size(); ++i) {
            const auto it = firstName.emplace(std::make_pair(files[i].iDevice, files[i].iInode), i);
            if (!it.second)
                listTwinOf[i] = int64_t(it.first->second);
        }
    }

    std::vector<CPhotoFeature> features(files.size());
    std::vector<uint8_t> listOk(files.size(), 0);
    std::vector<CFeatureCache::CEntry> fresh;
    std::mutex freshMutex;
    std::atomic<size_t> next{0};
    auto work = [&] {
        std::vector<CFeatureCache::CEntry> mine;
        QByteArray thumb;
        const bool bKeepThumbs = m_bKeepThumbs;
        // With turns every photo is decoded anyway (CTwoStage::toDecode).
        const bool bStageOne = !m_bExactFeatures && !m_bTurns;
        for (size_t i = next++; i < files.size() && !m_bStop; i = next++) {
            const CFoundFile &file = files[i];
            if (listTwinOf[i] < 0) {
                if (m_cache.lookup(file.strPath, file.i64Size, file.i64ModTime, features[i])) {
                    ++counters.iCached;
                    listOk[i] = 1;
                } else if (bStageOne && CFeatureExtractor::extractEmbedded(file.strPath, file.i64ModTime, features[i],
                                                                           bKeepThumbs ? &thumb : nullptr)) {
                    ++counters.iEmbedded;
                    listOk[i] = 1;
                    m_thumbs.add(file.strPath, file.i64Size, file.i64ModTime, thumb);
                } else {
                    QString error;
                    const EnExtractStatus status =
                        CFeatureExtractor::extract(file.strPath, file.i64ModTime, features[i], error,
                                                   bKeepThumbs ? &thumb : nullptr);
                    switch (status) {
                    case EnExtractStatus::Ok:
                        ++counters.iDecoded;
                        listOk[i] = 1;
                        mine.push_back({file.strPath, file.i64Size, file.i64ModTime, features[i]});
                        m_thumbs.add(file.strPath, file.i64Size, file.i64ModTime, thumb);
                        break;
                    case EnExtractStatus::Unreadable: ++counters.iUnreadable; break;
                    case EnExtractStatus::NotImage: ++counters.iNotImage; break;
                    case EnExtractStatus::Corrupt: ++counters.iCorrupt; break;
                    case EnExtractStatus::TooLarge: ++counters.iTooLarge; break;
                    }
                    if (status != EnExtractStatus::Ok)
                        qCDebug(lcEngine) << "skipped" << file.strPath << error;
                }
            }
            counters.iBytes += file.i64Size;
            ++counters.iDone;
            ++m_iRead;
        }
        std::lock_guard<std::mutex> lock(freshMutex);
        fresh.insert(fresh.end(), std::make_move_iterator(mine.begin()), std::make_move_iterator(mine.end()));
    };
    runPolled(
        [&] {
            std::vector<std::thread> pool;
            for (int t = 0; t < workerThreads(); ++t)
                pool.emplace_back(work);
            for (std::thread &th : pool)
                th.join();
        },
        [&] { if (pSink) pSink->DuplicatingSink(1, counters.iDone, counters.iBytes); });
    // Whatever was read before a stop is worth keeping for the next scan.
    m_cache.store(fresh);
    if (m_bStop)
        return false;

    auto pData = std::make_shared<CScanData>();
    pData->iSerial = ++m_iSerial;
    pData->bOriginalOnly = options.bOriginalOnly;
    std::vector<int64_t> listIndex(files.size(), -1);
    for (size_t i = 0; i < files.size(); ++i) {
        const int64_t twinOf = listTwinOf[i];
        const size_t source = twinOf < 0 ? i : size_t(twinOf);
        if (!listOk[source])
            continue;
        listIndex[i] = int64_t(pData->count());
        pData->listPaths.push_back(files[i].strPath);
        pData->listSizes.push_back(files[i].i64Size);
        pData->listModTimes.push_back(files[i].i64ModTime);
        pData->features.push_back(features[source]);
        pData->listHidden.push_back(twinOf >= 0 ? 1 : 0);
        if (twinOf >= 0 && listIndex[size_t(twinOf)] >= 0)
            pData->listTwins.emplace_back(uint32_t(listIndex[i]), uint32_t(listIndex[size_t(twinOf)]));
    }
    if (pSink)
        pSink->DuplicatingSink(1, counters.iDone, counters.iBytes);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pData = pData;
        m_listRemoved.assign(pData->count(), 0);
    }
    if (pSink)
        pSink->StepFinished(1, pData->count());
    return true;
}

bool CScanEngine::groupPhotos(const std::shared_ptr<const CScanData> &pData, IDuplicationGatherSink *pSink,
                              int iThreshold, const std::atomic_bool &bStop, uint64_t *piNotOriginal)
{
    std::vector<uint8_t> active(pData->count(), 1);
    std::vector<std::pair<uint64_t, uint64_t>> separated;
    const bool bTurns = m_bTurns;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (uint32_t i = 0; i < pData->count(); ++i)
            active[i] = !pData->listHidden[i] && !(i < m_listRemoved.size() && m_listRemoved[i])
                && !pData->features[i].bEmbedded;
        separated = m_listSeparated;
    }
    // Step 2: links through the hash index.
    std::vector<CSimilarEdge> edges;
    CBurstFrames bursts;
    std::atomic<uint64_t> searched{0};
    QElapsedTimer linkTimer;
    linkTimer.start();
    runPolled(
        [&] {
            const CSimilarityIndex index(pData->features, active, bTurns);
            edges = index.findEdges(iThreshold, workerThreads(), bStop, searched);
            bursts = CBurstFrames::find(pData->features, active, iThreshold, bTurns);
        },
        [&] { if (pSink) pSink->DuplicatingSink(2, searched, 0); });
    if (bStop)
        return false;
    qCInfo(lcEngine).noquote() << QStringLiteral("compared %1 photos at %2%%3: %4 links, %5 burst frame pairs kept apart in %6 ms")
        .arg(pData->count()).arg(iThreshold).arg(bTurns ? QStringLiteral(" with turns") : QString())
        .arg(edges.size()).arg(bursts.listApart.size()).arg(linkTimer.elapsed());
    if (pSink) {
        pSink->DuplicatingSink(2, searched, 0);
        pSink->StepFinished(2, edges.size());
    }

    // Step 3: groups, reported as they form. The group's first photo is the
    // camera original if there is one, then the one with the most pixels.
    std::vector<uint32_t> order(pData->count());
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const CPhotoFeature &fa = pData->features[a], &fb = pData->features[b];
        if (fa.bOriginal != fb.bOriginal)
            return fa.bOriginal > fb.bOriginal;
        return uint64_t(fa.width) * fa.height > uint64_t(fb.width) * fb.height;
    });
    std::vector<uint32_t> rank(order.size());
    for (uint32_t r = 0; r < order.size(); ++r)
        rank[order[r]] = r;

    std::vector<std::pair<uint32_t, uint32_t>> apart = CGroupRules::separatedPhotos(*pData, active, separated);
    apart.insert(apart.end(), bursts.listApart.begin(), bursts.listApart.end());
    if (pData->bOriginalOnly) {
        const uint64_t iLeftOut = CGroupRules::keepGroupsWithOriginal(*pData, active, rank, apart, edges);
        if (piNotOriginal)
            *piNotOriginal = iLeftOut;
    }
    // Enlarged copies are told from their sources only once groups are known.
    std::vector<float> definitions;
    QElapsedTimer enlargedTimer;
    enlargedTimer.start();
    runPolled(
        [&] {
            definitions = CEnlargedCopies::groupDefinitions(*pData, edges, apart, rank, workerThreads(), bStop, &m_enlarged);
            m_enlarged.flush();
        },
        [&] { if (pSink) pSink->DuplicatingSink(3, 0, 0); });
    if (bStop)
        return false;
    qCInfo(lcEngine).noquote() << QStringLiteral("enlarged copies looked for in %1 ms").arg(enlargedTimer.elapsed());
    auto pReporter = std::make_unique<CGroupReporter>(pData, pSink, bTurns, std::move(bursts.listBurst),
                                                      std::move(definitions));
    CGroupBuilder builder(pData->count(), std::move(rank));
    builder.keepApart(apart);
    const bool bDone = builder.addEdges(edges, *pReporter, [&](uint64_t done) {
        if (pSink)
            pSink->DuplicatingSink(3, done, 0);
        return !bStop;
    });
    std::vector<std::pair<uint32_t, uint32_t>> twins;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto &twin : pData->listTwins)
            if (!(twin.first < m_listRemoved.size() && m_listRemoved[twin.first]))
                twins.push_back(twin);
    }
    if (bDone)
        builder.addTwins(twins, *pReporter);
    keepReporter(std::move(pReporter));
    if (!bDone || bStop)
        return false;
    if (pSink)
        pSink->StepFinished(3, 0);
    return true;
}

bool CScanEngine::completeFeatures(std::shared_ptr<CScanData> &pData, int iThreshold, IDuplicationGatherSink *pSink,
                                   const std::atomic_bool &bStop, CCounters *pCounters)
{
    std::vector<uint8_t> active(pData->count(), 0);
    bool bAnyEmbedded = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (uint32_t i = 0; i < pData->count(); ++i) {
            active[i] = !pData->listHidden[i] && !(i < m_listRemoved.size() && m_listRemoved[i]);
            bAnyEmbedded = bAnyEmbedded || (active[i] && pData->features[i].bEmbedded);
        }
    }
    if (!bAnyEmbedded)
        return true;
    // Stage two, counted as the first part of step 2: its items are the photos to decode.
    std::vector<uint32_t> listDecode;
    std::atomic<uint64_t> done{0};
    CTwoStage::CDecoded decoded;
    runPolled(
        [&] {
            listDecode = CTwoStage::toDecode(*pData, active, iThreshold, m_bTurns, workerThreads(), bStop);
            if (!listDecode.empty() && !bStop)
                decoded = CTwoStage::decode(*pData, listDecode, workerThreads(), bStop, done,
                                            m_bKeepThumbs ? &m_thumbs : nullptr);
        },
        [&] {
            if (pSink && !listDecode.empty())
                pSink->DuplicatingSink(2, done * pData->count() / listDecode.size(), 0);
        });
    m_cache.store(decoded.fresh);
    qCInfo(lcEngine).noquote() << QStringLiteral("stage two at %1%: %2 of %3 photos decoded, %4 failed")
        .arg(iThreshold).arg(done.load()).arg(listDecode.size()).arg(decoded.iFailed);
    if (pCounters) {
        pCounters->iDecoded += done - decoded.iFailed;
        pCounters->iEmbedded -= std::min<uint64_t>(pCounters->iEmbedded, done);
        pCounters->iCorrupt += decoded.iFailed;
    }
    if (bStop)
        return false;
    if (decoded.pData) {
        pData = decoded.pData;
        std::lock_guard<std::mutex> lock(m_mutex);
        // Same serial: the records handed out name the same photos.
        if (m_pData && m_pData->iSerial == pData->iSerial)
            m_pData = pData;
    }
    return true;
}

void CScanEngine::keepReporter(std::unique_ptr<CGroupReporter> pReporter)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pPreviousReporter = std::move(m_pReporter);
    m_pReporter = std::move(pReporter);
}

int32_t CScanEngine::Regroup(IDuplicationGatherSink *pSink, uint8_t iThreshold)
{
    m_bStopRegroup = false;
    std::lock_guard<std::mutex> run(m_runMutex);
    std::shared_ptr<CScanData> pData;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        pData = m_pData;
    }
    if (!pData)
        return 0;
    std::shared_ptr<CScanData> pComplete = pData;
    const int iPercent = std::min<int>(iThreshold, 100);
    if (!completeFeatures(pComplete, iPercent, pSink, m_bStopRegroup, nullptr))
        return 1;
    return groupPhotos(pComplete, pSink, iPercent, m_bStopRegroup) ? 0 : 1;
}

void CScanEngine::writeStats(const CCounters &counters) const
{
    // Tests and the benchmark learn what a scan did through this file.
    const QString path = qEnvironmentVariable("MIRELLE_ENGINE_STATS");
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    QTextStream out(&file);
    out << "found=" << counters.iFound << "\ndecoded=" << counters.iDecoded << "\ncached=" << counters.iCached
        << "\nunreadable=" << counters.iUnreadable << "\nnotImage=" << counters.iNotImage
        << "\ncorrupt=" << counters.iCorrupt << "\ntooLarge=" << counters.iTooLarge
        << "\nnotOriginal=" << counters.iNotOriginal << "\nunreadableFolders=" << counters.iUnreadableFolders
        << "\npassedMounts=" << counters.listPassedMounts.size()
        << "\nembedded=" << counters.iEmbedded << "\nphotos=" << counters.iPhotos << "\n";
}
