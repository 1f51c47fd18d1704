// Groups 100,000 synthetic photos with the engine's own index and union-find,
// as a scan's steps 2 and 3 do: the time of each step and the memory per photo.
#include "CEnlargedCopies.h"
#include "CGroupBuilder.h"
#include "CScanData.h"
#include "CPhotoFeature.h"
#include "CSimilarityIndex.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <thread>

namespace {

class CCountingEvents : public IGroupEvents
{
public:
    void groupCreated(uint32_t) override { ++iCreated; }
    void fileJoined(uint32_t, uint32_t) override { ++iJoined; }
    void groupsMerged(uint32_t, uint32_t) override { ++iMerged; }
    uint64_t iCreated = 0, iJoined = 0, iMerged = 0;
};

long rssKiB()
{
    FILE *file = std::fopen("/proc/self/statm", "r");
    long pages = 0, resident = 0;
    if (file) {
        if (std::fscanf(file, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(file);
    }
    return resident * 4;
}

struct CPhotos
{
    std::vector<CPhotoFeature> features;
    std::vector<QString> paths;
};

// What a scan holds per photo: the feature and the path.
CPhotos makePhotos(uint32_t count)
{
    std::mt19937_64 rng(42);
    CPhotos photos;
    photos.features.resize(count);
    photos.paths.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        CPhotoFeature &f = photos.features[i];
        photos.paths[i] =
            QStringLiteral("/home/someone/Pictures/2023/Holiday in the mountains/IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0'));
        // One photo in five is a changed copy of an earlier one: a few hash bits
        // and thumbnail pixels differ.
        if (i > 0 && rng() % 5 == 0) {
            f = photos.features[rng() % i];
            f.contentHash = rng();
            for (int k = 0, flips = int(rng() % 8); k < flips; ++k)
                f.hashUpright ^= uint64_t(1) << (rng() % 64);
            for (uint8_t &px : f.thumb)
                px = uint8_t(std::clamp(int(px) + int(rng() % 9) - 4, 0, 255));
        } else {
            f.contentHash = rng();
            f.hashUpright = f.hashStored = rng();
            for (uint8_t &px : f.thumb)
                px = uint8_t(rng());
        }
        f.orientation = (i % 50 == 0) ? 6 : 1;
        f.width = 4000;
        f.height = 3000;
    }
    return photos;
}

// Arguments: photos, threshold.
void BM_IndexAndSearch(benchmark::State &state)
{
    const uint32_t count = uint32_t(state.range(0));
    const long before = rssKiB();
    const CPhotos photos = makePhotos(count);
    state.counters["bytes_per_photo"] = double(rssKiB() - before) * 1024.0 / count;
    const std::vector<uint8_t> active(count, 1);
    size_t links = 0;
    for (auto _ : state) {
        std::atomic_bool bStop{false};
        std::atomic<uint64_t> done{0};
        const CSimilarityIndex index(photos.features, active);
        links = index.findEdges(int(state.range(1)), int(std::max(2u, std::thread::hardware_concurrency())), bStop, done)
                    .size();
    }
    state.counters["links"] = double(links);
}
BENCHMARK(BM_IndexAndSearch)->Args({100000, 70})->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_Union(benchmark::State &state)
{
    const uint32_t count = uint32_t(state.range(0));
    const CPhotos photos = makePhotos(count);
    const std::vector<uint8_t> active(count, 1);
    std::atomic_bool bStop{false};
    std::atomic<uint64_t> done{0};
    const std::vector<CSimilarEdge> edges = CSimilarityIndex(photos.features, active)
                                                .findEdges(int(state.range(1)), 2, bStop, done);
    CCountingEvents events;
    uint32_t groups = 0;
    for (auto _ : state) {
        events.iCreated = events.iJoined = events.iMerged = 0;
        CGroupBuilder builder(count, {});
        builder.addEdges(edges, events, nullptr);
        groups = builder.groupCount();
    }
    state.counters["groups"] = groups;
    state.counters["created"] = double(events.iCreated);
    state.counters["joined"] = double(events.iJoined);
    state.counters["merged"] = double(events.iMerged);
}
BENCHMARK(BM_Union)->Args({100000, 70})->Unit(benchmark::kMillisecond);

// The look for enlarged copies on photos of one size: one more grouping, no decode.
void BM_EnlargedCopies(benchmark::State &state)
{
    const uint32_t count = uint32_t(state.range(0));
    const CPhotos photos = makePhotos(count);
    CScanData data;
    data.listPaths = photos.paths;
    data.features = photos.features;
    data.listSizes.assign(count, 4000000);
    const std::vector<uint8_t> active(count, 1);
    std::atomic_bool bStop{false};
    std::atomic<uint64_t> done{0};
    const std::vector<CSimilarEdge> edges = CSimilarityIndex(photos.features, active)
                                                .findEdges(int(state.range(1)), 2, bStop, done);
    for (auto _ : state)
        benchmark::DoNotOptimize(CEnlargedCopies::groupDefinitions(data, edges, {}, {}, 2, bStop));
}
BENCHMARK(BM_EnlargedCopies)->Args({100000, 70})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
