// Scans one folder twice through the engine module: once with an empty cache,
// once more with a new engine instance that finds every photo in the cache.
// Reports photos per second for each, the groups found and the peak memory, and
// the bytes of the thumbnails the first scan kept.
#include "IScanEngine.h"
#include "IScanEngineExtras.h"
#include "BenchEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLibrary>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

namespace {

class CCountingSink : public IScanEngineSink, public IDuplicationGatherSink
{
public:
    bool OnVolume(IScanVolume *pVolume) override
    {
        listVolumes.push_back(pVolume);
        return true;
    }
    bool DuplicatingSink(int32_t, uint64_t, uint64_t) override { return true; }
    bool StepFinished(int32_t iStep, uint64_t iNext) override
    {
        if (iStep == 1)
            iPhotos = iNext;
        return true;
    }
    bool OnGroupCreated(const PhotoRecord *, uint64_t) override { ++iGroups; return true; }
    bool OnFileJoined(const PhotoRecord *, uint64_t) override { return true; }
    bool OnGroupsMerged(const PhotoRecord *, const PhotoRecord *) override { --iGroups; return true; }

    std::vector<IScanVolume *> listVolumes;
    uint64_t iPhotos = 0;
    int64_t iGroups = 0;
};

long peakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The thumbnails the engine kept of the folder's photos: how many and their bytes.
void countScanThumbnails(IScanEngineExtras *pExtras, const QString &strFolder, benchmark::State &state)
{
    const QDir dir(strFolder);
    const QStringList names = dir.entryList(QDir::Files);
    uint64_t bytes = 0, count = 0;
    for (const QString &name : names) {
        const QString path = dir.absoluteFilePath(name);
        const uint32_t size = pExtras->GetScanThumbnail(reinterpret_cast<const ZKChar *>(path.utf16()), nullptr, 0);
        bytes += size;
        count += size ? 1 : 0;
    }
    state.counters["thumbnails"] = double(count);
    state.counters["KiB_per_thumbnail"] = double(bytes) / 1024.0 / double(std::max<uint64_t>(count, 1));
}

std::unique_ptr<QLibrary> s_pLibrary;
QString s_strFolder;

void scanOnce(QLibrary &library, const QString &strFolder, benchmark::State &state)
{
    auto pfnGetImp = reinterpret_cast<PFN_GetImp>(library.resolve(SCAN_ENGINE_ENTRY_NAME));
    auto pfnGetImpExtras = reinterpret_cast<PFN_GetImpExtras>(library.resolve(SCAN_ENGINE_EXTRAS_ENTRY_NAME));
    CCountingSink sink;
    IScanEngine *pEngine = pfnGetImp();
    // As the program scans: keeping the thumbnails it will show.
    IScanEngineExtras *pExtras = pfnGetImpExtras ? pfnGetImpExtras(pEngine) : nullptr;
    if (pExtras)
        pExtras->SetScanThumbnails(1);
    int32_t reserved = 0;
    pEngine->Initialize(&reserved);
    pEngine->SetSink(&sink);
    IScanFilter *pFilter = pEngine->CreateFilter();
    benchengine::addFolder(sink.listVolumes, pFilter, strFolder,
                           {u"jpg", u"jpeg", u"png", u"gif", u"bmp", u"webp", u"tif", u"tiff", u"heic", u"dng"});
    pFilter->Finalize(1);
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = benchengine::cpuSeconds();
    pEngine->BeginScan();
    pEngine->FindDuplicates(&sink, pFilter, 70);
    pEngine->EndScan();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const double cpu = benchengine::cpuSeconds() - cpuStart;
    state.SetIterationTime(seconds);
    // CPU time per photo tells the throughput on idle cores when the machine is shared.
    state.counters["photos"] = double(sink.iPhotos);
    state.counters["photos_per_s"] = double(sink.iPhotos) / seconds;
    state.counters["cpu_ms_per_photo"] = 1000.0 * cpu / double(std::max<uint64_t>(sink.iPhotos, 1));
    state.counters["groups"] = double(sink.iGroups);
    state.counters["peak_rss_MiB"] = double(peakRssKiB() / 1024);
    if (pExtras) {
        countScanThumbnails(pExtras, strFolder, state);
        pExtras->Release();
    }
    pFilter->Release();
    pEngine->Uninitialize();
    pEngine->Release();
}

// The first run meets an empty cache, the second one a new engine that finds every photo there.
void BM_FirstScan(benchmark::State &state)
{
    for (auto _ : state)
        scanOnce(*s_pLibrary, s_strFolder, state);
}
BENCHMARK(BM_FirstScan)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CachedRescan(benchmark::State &state)
{
    for (auto _ : state)
        scanOnce(*s_pLibrary, s_strFolder, state);
}
BENCHMARK(BM_CachedRescan)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder of JPEGs> [benchmark options]\n", argv[0]);
        return 2;
    }
    s_pLibrary = std::make_unique<QLibrary>(QStringLiteral(SCAN_ENGINE_MODULE));
    if (!s_pLibrary->resolve(SCAN_ENGINE_ENTRY_NAME)) {
        std::fprintf(stderr, "cannot load %s\n", SCAN_ENGINE_MODULE);
        return 1;
    }
    s_strFolder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
