#include "CEnlargedCopies.h"

#include "CFeatureCache.h"
#include "CImageDecoder.h"
#include "CGroupBuilder.h"
#include "CScanData.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

namespace {

// What an enlargement keeps of its source's definition: the first marking rule marks a
// photo from 5/6 of the group's best down, so a share below that with a margin.
constexpr double kEnlargedShare = 0.75;
constexpr double kFirstRuleShare = 5.0 / 6.0;

constexpr int kTile = 32;
// Enough tiles to average out the picture, few enough to cost little beside the decode.
constexpr int kMaxTiles = 96;
// Below this size ratio a larger photo has too little band above the smaller's limit to read.
constexpr double kMinRatio = 1.3;
// Beyond this ratio the smaller photo's band is too coarse to read in these tiles.
constexpr double kMinScale = 1.0 / 2.2;
// Measured on the enlargements x1.5 and x2 of real photos (tools/make-variants.sh)
// and on their originals over half-size and 1280-pixel copies, at no false alarm:
// - the energy of the smaller photo's top band in the most textured tiles of 32 pixels
//   (about one grey level): below it, JPEG noise outweighs detail, as on a soft photo;
constexpr double kMinTopEnergy = 250.0;
// - its top band over its coarse band, reached only by aliasing;
constexpr double kMaxTop = 0.4;
// - the larger photo's band below the limit over the smaller's, each against its own
//   coarse band (0.4 to 0.77 for the enlargements, from 0.85 for originals over their
//   half-size copies);
constexpr double kMaxBelow = 0.8;
// - the larger photo's band above the limit on the same terms (at most 0.085 for the
//   enlargements).
constexpr double kMaxAbove = 0.1;
constexpr double kAspectTolerance = 0.02;
constexpr int kCompareSide = 256;
constexpr int kTriesPerSize = 3;

// One axis of an area-average resample (nearest sample when enlarging). bRows: along x
// in each row, else along y in each column; the other axis keeps its size.
std::vector<float> resampleAxis(const std::vector<float> &in, int iInW, int iInH, int iOut, bool bRows)
{
    const int along = bRows ? iInW : iInH;
    const int across = bRows ? iInH : iInW;
    const double step = double(along) / iOut;
    // Per target sample: its first source sample and the weights of those it covers.
    std::vector<int> listFirst(size_t(iOut) + 1, 0);
    std::vector<int> listSource;
    std::vector<float> listWeight;
    for (int o = 0; o < iOut; ++o) {
        const double from = o * step, to = from + step;
        listFirst[size_t(o)] = int(listSource.size());
        if (step <= 1.0) {
            listSource.push_back(std::min(along - 1, int(from + step / 2)));
            listWeight.push_back(1.0f);
            continue;
        }
        for (int s = int(from); s < std::min(along, int(std::ceil(to))); ++s) {
            listSource.push_back(s);
            listWeight.push_back(float((std::min(to, s + 1.0) - std::max(from, double(s))) / step));
        }
    }
    listFirst[size_t(iOut)] = int(listSource.size());
    std::vector<float> out(size_t(iOut) * size_t(across), 0.0f);
    if (bRows) {
        for (int c = 0; c < across; ++c) {
            const float *row = &in[size_t(c) * size_t(iInW)];
            float *target = &out[size_t(c) * size_t(iOut)];
            for (int o = 0; o < iOut; ++o) {
                float sum = 0.0f;
                for (int k = listFirst[size_t(o)]; k < listFirst[size_t(o) + 1]; ++k)
                    sum += listWeight[size_t(k)] * row[listSource[size_t(k)]];
                target[o] = sum;
            }
        }
    } else {
        for (int o = 0; o < iOut; ++o) {
            float *target = &out[size_t(o) * size_t(iInW)];
            for (int k = listFirst[size_t(o)]; k < listFirst[size_t(o) + 1]; ++k) {
                const float *row = &in[size_t(listSource[size_t(k)]) * size_t(iInW)];
                const float w = listWeight[size_t(k)];
                for (int c = 0; c < across; ++c)
                    target[c] += w * row[c];
            }
        }
    }
    return out;
}

double correlation(const std::vector<float> &a, const std::vector<float> &b)
{
    double ma = 0, mb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        ma += a[i];
        mb += b[i];
    }
    ma /= double(a.size());
    mb /= double(b.size());
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        ab += (a[i] - ma) * (b[i] - mb);
        aa += (a[i] - ma) * (a[i] - ma);
        bb += (b[i] - mb) * (b[i] - mb);
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

// A luminance plane, upright.
struct CPlane
{
    int iWidth = 0;
    int iHeight = 0;
    std::vector<float> pixels;

    bool isNull() const { return iWidth <= 0 || iHeight <= 0; }
};

uint64_t pixelsOf(const CPhotoFeature &f)
{
    return uint64_t(f.width) * f.height;
}

// A verdict is kept across processes: its key follows each file's bytes (an edit that
// keeps the picture's hash, size and detail still changes it) and the check itself.
constexpr uint64_t kVerdictRevision = 1;  // raise whenever the check decides otherwise

uint64_t mixed(uint64_t x)
{
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

uint64_t verdictKey(const CPhotoFeature &f)
{
    uint32_t definition = 0;
    std::memcpy(&definition, &f.definition, sizeof definition);
    const uint64_t pixels = f.hashUpright ^ (uint64_t(f.width) << 48 | uint64_t(f.height) << 32 | definition);
    return mixed(mixed(pixels ^ kVerdictRevision) ^ f.contentHash);
}

double bandMean(const std::vector<double> &spectrum, double dFrom, double dTo)
{
    double sum = 0.0;
    int count = 0;
    for (int f = std::max(1, int(std::ceil(dFrom))); f <= int(dTo) && f < int(spectrum.size()); ++f) {
        sum += spectrum[size_t(f)];
        ++count;
    }
    return count ? sum / count : 0.0;
}

CPlane plane(const QImage &image)
{
    CPlane out;
    if (image.isNull())
        return out;
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    out.iWidth = grey.width();
    out.iHeight = grey.height();
    out.pixels.resize(size_t(out.iWidth) * size_t(out.iHeight));
    for (int y = 0; y < out.iHeight; ++y) {
        const uchar *row = grey.constScanLine(y);
        std::copy(row, row + out.iWidth, out.pixels.begin() + ptrdiff_t(y) * out.iWidth);
    }
    return out;
}

// Area-averaged down (nearest sample up) to the given size.
CPlane resized(const CPlane &from, int iWidth, int iHeight)
{
    if (from.isNull() || iWidth <= 0 || iHeight <= 0)
        return {};
    const std::vector<float> rows = resampleAxis(from.pixels, from.iWidth, from.iHeight, iWidth, true);
    return {iWidth, iHeight, resampleAxis(rows, iWidth, from.iHeight, iHeight, false)};
}

// Mean energy per DCT frequency (the larger of its two indices) of the most textured
// tiles of 32 pixels: flat sky says nothing about any band.
std::vector<double> spectrum(const CPlane &plane)
{
    const int tilesX = plane.iWidth / kTile, tilesY = plane.iHeight / kTile;
    if (tilesX * tilesY < 4)
        return {};
    std::vector<std::pair<double, int>> listTiles;
    for (int ty = 0; ty < tilesY; ++ty) {
        for (int tx = 0; tx < tilesX; ++tx) {
            double sum = 0.0;
            // Every fourth row tells texture well enough.
            for (int y = 0; y < kTile; y += 4) {
                const float *row = &plane.pixels[size_t(ty * kTile + y) * plane.iWidth + size_t(tx * kTile)];
                for (int x = 1; x < kTile; ++x)
                    sum += std::abs(row[x] - row[x - 1]);
            }
            listTiles.emplace_back(sum, ty * tilesX + tx);
        }
    }
    const size_t take = std::min<size_t>(kMaxTiles, std::max<size_t>(4, listTiles.size() / 4));
    std::partial_sort(listTiles.begin(), listTiles.begin() + ptrdiff_t(take), listTiles.end(),
                      [](const auto &a, const auto &b) { return a.first > b.first; });

    static const std::vector<double> basis = [] {
        std::vector<double> c(kTile * kTile);
        for (int k = 0; k < kTile; ++k)
            for (int n = 0; n < kTile; ++n)
                c[size_t(k * kTile + n)] = std::cos(M_PI * (2 * n + 1) * k / (2.0 * kTile));
        return c;
    }();
    std::vector<double> energy(kTile * kTile, 0.0), tile(kTile * kTile), rows(kTile * kTile);
    for (size_t t = 0; t < take; ++t) {
        const int tx = listTiles[t].second % tilesX, ty = listTiles[t].second / tilesX;
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x)
                tile[size_t(y * kTile + x)] = plane.pixels[size_t(ty * kTile + y) * plane.iWidth + size_t(tx * kTile + x)];
        for (int y = 0; y < kTile; ++y)
            for (int u = 0; u < kTile; ++u) {
                double s = 0.0;
                for (int x = 0; x < kTile; ++x)
                    s += basis[size_t(u * kTile + x)] * tile[size_t(y * kTile + x)];
                rows[size_t(y * kTile + u)] = s;
            }
        for (int v = 0; v < kTile; ++v)
            for (int u = 0; u < kTile; ++u) {
                double s = 0.0;
                for (int y = 0; y < kTile; ++y)
                    s += basis[size_t(v * kTile + y)] * rows[size_t(y * kTile + u)];
                energy[size_t(v * kTile + u)] += s * s;
            }
    }
    std::vector<double> out(kTile, 0.0);
    std::vector<int> count(kTile, 0);
    for (int v = 0; v < kTile; ++v)
        for (int u = 0; u < kTile; ++u) {
            out[size_t(std::max(u, v))] += energy[size_t(v * kTile + u)] / double(take);
            ++count[size_t(std::max(u, v))];
        }
    for (int f = 0; f < kTile; ++f)
        out[size_t(f)] = count[size_t(f)] ? out[size_t(f)] / count[size_t(f)] : 0.0;
    return out;
}

// Whether a photo whose spectrum is large is an enlargement of one whose spectrum is
// small, dScale times its linear size: its detail just below the smaller one's
// frequency limit falls short of the smaller one's, and above that limit it holds next
// to nothing. False when the smaller photo holds too little near its limit to tell, as
// a soft photo's copy does.
bool enlargedFrom(const std::vector<double> &large, const std::vector<double> &small, double dScale)
{
    if (large.size() != size_t(kTile) || small.size() != size_t(kTile) || dScale < kMinScale || dScale > 1.0 / kMinRatio)
        return false;
    // Each band against its own photo's coarse detail at the same frequencies of the
    // picture, so that neither the picture's content nor a tonal edit counts.
    const double limit = kTile * dScale;
    const double largeCoarse = bandMean(large, 0.25 * limit, 0.5 * limit);
    const double smallCoarse = bandMean(small, 0.25 * kTile, 0.5 * kTile);
    const double smallTop = bandMean(small, 0.6 * kTile, 0.9 * kTile);
    if (largeCoarse <= 0.0 || smallCoarse <= 0.0 || smallTop < kMinTopEnergy)
        return false;
    const double top = smallTop / smallCoarse;
    // Copies shrunk without care alias: their top band tells nothing.
    if (top > kMaxTop)
        return false;
    // Just below the limit an enlargement's interpolation takes away from what its
    // source holds, where a larger original holds more than its shrunk copy.
    const double below = bandMean(large, 0.6 * limit, 0.9 * limit) / largeCoarse / top;
    // Above the limit an enlargement holds almost nothing.
    const double above = bandMean(large, 1.15 * limit, std::min(1.7 * limit, kTile - 1.0)) / largeCoarse / top;
    return below < kMaxBelow && above < kMaxAbove;
}

// Whether two planes show the same picture at the smaller one's size (not a crop).
bool samePicture(const CPlane &large, const CPlane &small)
{
    if (large.isNull() || small.isNull())
        return false;
    const double scale = std::min(1.0, double(kCompareSide) / std::max(small.iWidth, small.iHeight));
    const int w = std::max(1, int(std::lround(small.iWidth * scale))), h = std::max(1, int(std::lround(small.iHeight * scale)));
    return correlation(resized(large, w, h).pixels, resized(small, w, h).pixels) >= 0.97;
}

CPlane load(const QString &strPath, int iMaxSide)
{
    return plane(CImageDecoder::decode(strPath, iMaxSide));
}

// One group: each larger photo, smallest first so that a chain of enlargements ends
// below its source, against the best photo of each smaller size of its aspect, largest
// first. Groups are disjoint, so each writes only its own photos' definitions.
void lowerEnlargements(const CScanData &data, const std::vector<uint32_t> &group, std::vector<float> &listDefinition,
                       CEnlargedCopies::CVerdicts *pVerdicts)
{
    std::vector<uint32_t> photos;
    for (uint32_t i : group) {
        const CPhotoFeature &f = data.features[i];
        // A byte-identical copy says nothing its first name does not.
        const bool bTwin = std::any_of(photos.begin(), photos.end(), [&](uint32_t p) {
            return data.features[p].contentHash == f.contentHash && data.listSizes[p] == data.listSizes[i];
        });
        if (!bTwin && f.width > 0 && f.height > 0)
            photos.push_back(i);
    }
    // Best last within a size: the look down from a larger photo meets it first.
    std::sort(photos.begin(), photos.end(), [&](uint32_t a, uint32_t b) {
        const uint64_t pa = pixelsOf(data.features[a]), pb = pixelsOf(data.features[b]);
        return pa != pb ? pa < pb : listDefinition[a] < listDefinition[b];
    });
    if (photos.size() < 2 || pixelsOf(data.features[photos.front()]) == pixelsOf(data.features[photos.back()]))
        return;
    // Each photo is decoded once, at full size, and only when compared.
    struct CRead
    {
        bool bDone = false;
        std::vector<double> spectrum;
        CPlane preview;
    };
    std::vector<CRead> listRead(photos.size());
    const auto read = [&](size_t k) -> const CRead & {
        CRead &r = listRead[k];
        if (!r.bDone) {
            r.bDone = true;
            const CPhotoFeature &f = data.features[photos[k]];
            const CPlane full = load(data.listPaths[photos[k]], std::max(f.width, f.height));
            r.spectrum = spectrum(full);
            const double scale = std::min(1.0, double(kCompareSide) / std::max(full.iWidth, full.iHeight));
            r.preview = resized(full, int(std::lround(full.iWidth * scale)),
                                                 int(std::lround(full.iHeight * scale)));
        }
        return r;
    };
    float best = listDefinition[photos[0]];  // of the photos already settled
    for (size_t k = 1; k < photos.size(); best = std::max(best, listDefinition[photos[k]]), ++k) {
        const CPhotoFeature &large = data.features[photos[k]];
        // The first marking rule marks it already, whatever it is: no decode.
        if (listDefinition[photos[k]] < kFirstRuleShare * best)
            continue;
        uint64_t lastSize = 0;
        int tries = 0;
        for (size_t j = k; j-- > 0;) {
            const CPhotoFeature &small = data.features[photos[j]];
            const double scale = std::sqrt(double(pixelsOf(small)) / double(pixelsOf(large)));
            if (scale > 1.0 / kMinRatio || scale < kMinScale
                || std::abs(double(small.width) * large.height / (double(small.height) * large.width) - 1.0)
                    > kAspectTolerance)
                continue;
            if (pixelsOf(small) != lastSize)
                tries = 0;
            lastSize = pixelsOf(small);
            // An edited copy of the source may stand before it: a few of each size.
            if (++tries > kTriesPerSize)
                continue;
            const std::pair<uint64_t, uint64_t> pair(verdictKey(large), verdictKey(small));
            // Features from an embedded thumbnail hash only the file's head: no key for its pixels.
            CEnlargedCopies::CVerdicts *pKept = large.bEmbedded || small.bEmbedded ? nullptr : pVerdicts;
            int verdict = pKept ? pKept->find(pair) : -1;
            if (verdict < 0) {
                const CRead &l = read(k);
                const CRead &s = read(j);
                verdict = enlargedFrom(l.spectrum, s.spectrum, scale)
                    && samePicture(l.preview, s.preview);
                if (pKept)
                    pKept->store(pair, verdict != 0);
            }
            if (verdict) {
                listDefinition[photos[k]] = std::min(listDefinition[photos[k]],
                    float(kEnlargedShare * listDefinition[photos[j]]));
                break;
            }
        }
    }
}

} // namespace

namespace CEnlargedCopies {

int CVerdicts::find(const std::pair<uint64_t, uint64_t> &pair)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_map.find(pair);
        if (it != m_map.end())
            return int(it->second);
    }
    const int verdict = m_pCache ? m_pCache->lookupVerdict(pair.first, pair.second) : -1;
    if (verdict >= 0) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_map[pair] = verdict != 0;
    }
    return verdict;
}

void CVerdicts::store(const std::pair<uint64_t, uint64_t> &pair, bool bEnlarged)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_map[pair] = bEnlarged;
    m_listUnsaved.emplace_back(pair.first, pair.second, bEnlarged);
}

void CVerdicts::flush()
{
    std::vector<std::tuple<uint64_t, uint64_t, bool>> list;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        list.swap(m_listUnsaved);
    }
    if (m_pCache)
        m_pCache->storeVerdicts(list);
}

std::vector<float> groupDefinitions(const CScanData &data, const std::vector<CSimilarEdge> &edges,
                                    const std::vector<std::pair<uint32_t, uint32_t>> &apart,
                                    const std::vector<uint32_t> &rank, int iThreads, const std::atomic_bool &bStop,
                                    CVerdicts *pVerdicts)
{
    // The groups as the reporting pass will make them, without reporting.
    struct CQuiet : IGroupEvents
    {
        void groupCreated(uint32_t) override {}
        void fileJoined(uint32_t, uint32_t) override {}
        void groupsMerged(uint32_t, uint32_t) override {}
    } quiet;
    CGroupBuilder builder(data.count(), rank);
    builder.keepApart(apart);
    builder.addEdges(edges, quiet, nullptr);
    std::vector<uint32_t> root(data.count());
    std::vector<uint64_t> fewest(data.count(), UINT64_MAX), most(data.count(), 0);  // pixels, per group
    for (uint32_t i = 0; i < data.count(); ++i) {
        root[i] = builder.groupOf(i);
        const uint64_t pixels = pixelsOf(data.features[i]);
        fewest[root[i]] = std::min(fewest[root[i]], pixels);
        most[root[i]] = std::max(most[root[i]], pixels);
    }
    std::vector<int64_t> index(data.count(), -1);
    std::vector<std::vector<uint32_t>> groups;
    for (uint32_t i = 0; i < data.count(); ++i) {
        if (fewest[root[i]] == most[root[i]])
            continue;
        if (index[root[i]] < 0) {
            index[root[i]] = int64_t(groups.size());
            groups.emplace_back();
        }
        groups[size_t(index[root[i]])].push_back(i);
    }
    if (groups.empty())
        return {};

    std::vector<float> out(data.count());
    for (uint32_t i = 0; i < data.count(); ++i)
        out[i] = data.features[i].definition;
    std::atomic<size_t> cursor{0};
    auto work = [&] {
        for (size_t g = cursor++; g < groups.size() && !bStop; g = cursor++)
            lowerEnlargements(data, groups[g], out, pVerdicts);
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < std::max(1, std::min<int>(iThreads, int(groups.size()))); ++t)
        pool.emplace_back(work);
    for (std::thread &th : pool)
        th.join();
    return out;
}

} // namespace CEnlargedCopies
