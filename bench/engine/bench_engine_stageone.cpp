// How far features read from embedded thumbnails stray from those of the decoded
// photo, over a folder of JPEGs that carry thumbnails: per photo the hash distance
// and the correlation lost between its two feature sets, and per pair of photos the
// score with thumbnail features against the score with decoded ones. The widest pair
// error above the lowest threshold the screens offer is what stage one must widen by.
#include "CFeatureExtractor.h"
#include "CPhotoFeature.h"
#include "CSimilarity.h"

#include <QCoreApplication>
#include <QDirIterator>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

template <typename T>
void printDistribution(const char *pszName, std::vector<T> values)
{
    if (values.empty()) {
        std::printf("%-34s none\n", pszName);
        return;
    }
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) { return double(values[size_t(q * double(values.size() - 1))]); };
    std::printf("%-34s n=%zu median=%.3g p90=%.3g p99=%.3g max=%.3g\n", pszName, values.size(), at(0.5), at(0.9),
                at(0.99), double(values.back()));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [LOWEST_THRESHOLD]\n", argv[0]);
        return 2;
    }
    const int iLowest = argc > 2 ? std::atoi(argv[2]) : 50;
    std::vector<CPhotoFeature> full, embedded;
    QStringList names;
    int iWithout = 0;
    QDirIterator it(QString::fromLocal8Bit(argv[1]), {QStringLiteral("*.jpg"), QStringLiteral("*.heic")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        CPhotoFeature f, e;
        QString error;
        if (CFeatureExtractor::extract(path, 0, f, error) != EnExtractStatus::Ok)
            continue;
        if (!CFeatureExtractor::extractEmbedded(path, 0, e)) {
            ++iWithout;
            continue;
        }
        full.push_back(f);
        embedded.push_back(e);
        names << it.fileName();
    }
    std::printf("%zu photos with a trusted thumbnail, %d without\n", full.size(), iWithout);
    std::vector<int> distance;
    std::vector<double> correlationLost;
    std::vector<int> selfScore;
    for (size_t i = 0; i < full.size(); ++i) {
        distance.push_back(__builtin_popcountll(full[i].hashUpright ^ embedded[i].hashUpright));
        correlationLost.push_back(1.0 - CSimilarity::thumbCorrelation(full[i].thumb.data(), embedded[i].thumb.data()));
        CPhotoFeature a = full[i], b = embedded[i];
        a.contentHash = 1;
        b.contentHash = 2;
        selfScore.push_back(CSimilarity::score(a, b));
    }
    printDistribution("hash distance, photo to itself", distance);
    printDistribution("correlation lost, photo to itself", correlationLost);
    printDistribution("score, photo to itself", selfScore);
    // Pairs: decoded score minus thumbnail score, where either reaches the lowest threshold.
    std::vector<int> under, over;
    int iWorstUnder = 0;
    std::vector<std::pair<int, QString>> worst;
    for (size_t i = 0; i < full.size(); ++i) {
        for (size_t j = i + 1; j < full.size(); ++j) {
            if (full[i].contentHash == full[j].contentHash)
                continue;
            const int sFull = CSimilarity::score(full[i], full[j]);
            const int sEmbedded = CSimilarity::score(embedded[i], embedded[j]);
            if (std::max(sFull, sEmbedded) < iLowest)
                continue;
            if (sFull >= sEmbedded)
                under.push_back(sFull - sEmbedded);
            else
                over.push_back(sEmbedded - sFull);
            if (sFull >= iLowest) {
                iWorstUnder = std::max(iWorstUnder, sFull - sEmbedded);
                worst.emplace_back(sFull - sEmbedded, QStringLiteral("%1 %2: %3 decoded, %4 from thumbnails")
                                                          .arg(names[int(i)], names[int(j)]).arg(sFull).arg(sEmbedded));
            }
        }
    }
    printDistribution("pairs, thumbnail scores lower by", under);
    printDistribution("pairs, thumbnail scores higher by", over);
    std::printf("widest shortfall of a pair at or above %d%%: %d points\n", iLowest, iWorstUnder);
    std::sort(worst.begin(), worst.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    for (size_t k = 0; k < std::min<size_t>(worst.size(), 8); ++k)
        std::printf("  %s\n", qPrintable(worst[k].second));
    return 0;
}
