// The cost of keeping scan thumbnails, per photo on one thread: the extractor over
// a folder of JPEGs with and without the colour decode and thumbnail, in turns so
// that a busy machine weighs on both alike, and the bytes the pack takes.
#include "CFeatureExtractor.h"
#include "CPhotoFeature.h"
#include "CScanThumbs.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder of JPEGs> [rounds]\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    QStringList paths;
    for (const QString &name : dir.entryList({QStringLiteral("*.jpg")}, QDir::Files))
        paths << dir.absoluteFilePath(name);
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QTemporaryDir packFolder;  // never the user's cache
    std::vector<double> grey, colour;
    uint64_t packBytes = 0;
    for (int i = 0; i < rounds; ++i) {
        grey.push_back(pass(paths, nullptr));
        CScanThumbs store(packFolder.path());
        colour.push_back(pass(paths, &store));
        packBytes = store.packBytes();
    }
    std::printf("%d photos, median of %d rounds on one thread: %.2f CPU ms per photo grey only, %.2f with thumbnails "
                "(%+.2f ms), pack %.1f KiB per photo\n",
                int(paths.size()), rounds, median(grey), median(colour), median(colour) - median(grey),
                double(packBytes) / 1024.0 / double(std::max(1, int(paths.size()))));
    return 0;
}
