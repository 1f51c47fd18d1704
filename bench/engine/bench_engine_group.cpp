// Groups 100,000 synthetic photos with the engine's own index and union-find,
// as a scan's steps 2 and 3 do, and prints the time and the memory per photo.
#include "CGroupBuilder.h"
#include "CPhotoFeature.h"
#include "CSimilarityIndex.h"

#include <QString>

#include <chrono>
#include <cstdio>
#include <random>
#include <sys/resource.h>
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

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

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

} // namespace

int main(int argc, char **argv)
{
    const uint32_t count = argc > 1 ? uint32_t(std::atoi(argv[1])) : 100000u;
    const int threshold = argc > 2 ? std::atoi(argv[2]) : 70;
    std::mt19937_64 rng(42);
    const long before = rssKiB();
    // What a scan holds per photo: the feature and the path.
    std::vector<CPhotoFeature> features(count);
    std::vector<QString> paths(count);
    for (uint32_t i = 0; i < count; ++i) {
        CPhotoFeature &f = features[i];
        paths[i] = QStringLiteral("/home/someone/Pictures/2023/Holiday in the mountains/IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0'));
        // One photo in five is a changed copy of an earlier one: a few hash bits
        // and thumbnail pixels differ.
        if (i > 0 && rng() % 5 == 0) {
            f = features[rng() % i];
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
    const long held = rssKiB() - before;
    const std::vector<uint8_t> active(count, 1);
    std::atomic_bool bStop{false};
    std::atomic<uint64_t> done{0};
    const double cpuStart = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const CSimilarityIndex index(features, active);
    const std::vector<CSimilarEdge> edges =
        index.findEdges(threshold, int(std::max(2u, std::thread::hardware_concurrency())), bStop, done);
    const auto linked = std::chrono::steady_clock::now();
    CCountingEvents events;
    CGroupBuilder builder(count, {});
    builder.addEdges(edges, events, nullptr);
    const auto end = std::chrono::steady_clock::now();
    const double searchS = std::chrono::duration<double>(linked - start).count();
    const double groupS = std::chrono::duration<double>(end - linked).count();
    // CPU time tells what idle cores would take when the machine is shared.
    std::printf("grouping %u photos at %d%%: index and search %.2f s, union %.3f s, total %.2f s (%.2f CPU s)\n", count,
                threshold, searchS, groupS, searchS + groupS, cpuSeconds() - cpuStart);
    std::printf("  %zu links, %u groups (%llu created, %llu joined, %llu merged)\n", edges.size(), builder.groupCount(),
                static_cast<unsigned long long>(events.iCreated), static_cast<unsigned long long>(events.iJoined),
                static_cast<unsigned long long>(events.iMerged));
    std::printf("  memory held per photo (feature + path): %.0f bytes\n", double(held) * 1024.0 / count);
    return 0;
}
