// The cost of keeping scan thumbnails, per photo on one thread: the extractor over
// a folder of JPEGs with and without the colour decode and thumbnail, in turns so
// that a busy machine weighs on both alike, and the bytes the pack takes (median
// of the iterations).
#include "CFeatureExtractor.h"
#include "CPhotoFeature.h"
#include "CScanThumbs.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// CPU ms per photo for one pass; the thumbnails go to the store when one is given.
double pass(const QStringList &listPaths, CScanThumbs *pStore)
{
    const double start = threadCpuMs();
    QByteArray thumb;
    for (const QString &path : listPaths) {
        CPhotoFeature feature;
        QString error;
        if (CFeatureExtractor::extract(path, 0, feature, error, pStore ? &thumb : nullptr) != EnExtractStatus::Ok)
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
        if (pStore)
            pStore->add(path, 0, 0, thumb);
    }
    return (threadCpuMs() - start) / double(std::max(1, int(listPaths.size())));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QStringList s_listPaths;

// Each iteration reads the folder once without and once with thumbnails.
void BM_KeepingThumbnails(benchmark::State &state)
{
    QTemporaryDir packFolder;  // never the user's cache
    std::vector<double> grey, colour;
    uint64_t packBytes = 0;
    for (auto _ : state) {
        grey.push_back(pass(s_listPaths, nullptr));
        CScanThumbs store(packFolder.path());
        colour.push_back(pass(s_listPaths, &store));
        packBytes = store.packBytes();
    }
    const double photos = double(std::max(1, int(s_listPaths.size())));
    state.counters["photos"] = photos;
    state.counters["grey_cpu_ms_per_photo"] = median(grey);
    state.counters["thumbs_cpu_ms_per_photo"] = median(colour);
    state.counters["added_cpu_ms_per_photo"] = median(colour) - median(grey);
    state.counters["pack_KiB_per_photo"] = double(packBytes) / 1024.0 / photos;
}
BENCHMARK(BM_KeepingThumbnails)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder of JPEGs> [benchmark options]\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    for (const QString &name : dir.entryList({QStringLiteral("*.jpg")}, QDir::Files))
        s_listPaths << dir.absoluteFilePath(name);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
