#include "CEnlargedCopies.h"

#include "CFeatureCache.h"
#include "CGrayDecoder.h"
#include "CGroupBuilder.h"
#include "CImageLimits.h"
#include "CScanData.h"
#include "CScanFiles.h"

#include <algorithm>
#include <bitset>
#include <climits>
#include <cmath>
#include <cstring>
#include <thread>

namespace {

// What an enlargement keeps of its source's definition: the first marking rule marks a
// photo from 5/6 of the group's best down, so a share below that with a margin.
constexpr double kEnlargedShare = 0.75;
constexpr double kFirstRuleShare = 5.0 / 6.0;
// It leaves alone what lies below 1/6 of the best: an enlargement of a far smaller
// photo is kept above that, with a margin.
constexpr double kFirstRuleFloor = 1.1 / 6.0;

constexpr int kTile = 32;
// Enough tiles to average out the picture, few enough to cost little beside the decode.
constexpr int kMaxTiles = 96;
// Below this size ratio a larger photo has too little band above the smaller's limit to read.
constexpr double kMinRatio = 1.3;
// Beyond this ratio the smaller photo's band is too coarse to read in these tiles.
constexpr double kMinScale = 1.0 / 2.2;
// A JPEG enlarged further is read DCT-scaled down into that range (kDetailRatio).
constexpr double kMinJpegScale = 1.0 / 4.0;
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
// The larger photo is read at this many times the smaller one's size when its JPEG
// scales down that far: enough for the band above the smaller one's limit.
constexpr double kDetailRatio = 1.8;
constexpr int kLookAlikeBits = 2;
constexpr double kLookAlikeDetail = 0.03;

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

uint64_t pixelsOf(const CPhotoFeature &f)
{
    return uint64_t(f.width) * f.height;
}

// A verdict is kept across processes: its key follows each file's bytes (an edit that
// keeps the picture's hash, size and detail still changes it) and the check itself.
constexpr uint64_t kVerdictRevision = 2;  // raise whenever the check decides otherwise

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

bool isJpeg(const QString &strPath)
{
    return strPath.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)
        || strPath.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive);
}

// Copies of one picture at one size and of about the same detail, as other formats of
// it or tonal edits are: the bands are read against each photo's own coarse band, so
// one verdict holds for all of them and the others are not decoded.
bool lookAlike(const CPhotoFeature &a, const CPhotoFeature &b)
{
    return a.width == b.width && a.height == b.height
        && std::bitset<64>(a.hashUpright ^ b.hashUpright).count() <= kLookAlikeBits
        && std::abs(double(a.definition) - double(b.definition)) <= kLookAlikeDetail * double(b.definition);
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

// out += f * in over one row of a tile; apart, so that the compiler knows the rows
// do not overlap and vectorises.
void addScaled(double *__restrict out, const double *__restrict in, double f)
{
    for (int i = 0; i < kTile; ++i)
        out[i] += f * in[i];
}

// Mean energy per DCT frequency (the larger of its two indices) of the most textured
// tiles of 32 pixels: flat sky says nothing about any band.
std::vector<double> spectrum(const CGrayImage &plane)
{
    const int tilesX = plane.iWidth / kTile, tilesY = plane.iHeight / kTile;
    if (tilesX * tilesY < 4)
        return {};
    std::vector<std::pair<double, int>> listTiles;
    for (int ty = 0; ty < tilesY; ++ty) {
        for (int tx = 0; tx < tilesX; ++tx) {
            int sum = 0;
            // Every fourth row tells texture well enough.
            for (int y = 0; y < kTile; y += 4) {
                const uint8_t *row = &plane.pixels[size_t(ty * kTile + y) * plane.iWidth + size_t(tx * kTile)];
                for (int x = 1; x < kTile; ++x)
                    sum += std::abs(int(row[x]) - int(row[x - 1]));
            }
            listTiles.emplace_back(double(sum), ty * tilesX + tx);
        }
    }
    const size_t take = std::min<size_t>(kMaxTiles, std::max<size_t>(4, listTiles.size() / 4));
    std::partial_sort(listTiles.begin(), listTiles.begin() + ptrdiff_t(take), listTiles.end(),
                      [](const auto &a, const auto &b) { return a.first > b.first; });

    // basis[k][n] = cos(pi (2n + 1) k / 2N), and its transpose: both passes run their
    // innermost loop along a row of outputs.
    static const std::vector<double> basis = [] {
        std::vector<double> c(kTile * kTile);
        for (int k = 0; k < kTile; ++k)
            for (int n = 0; n < kTile; ++n)
                c[size_t(k * kTile + n)] = std::cos(M_PI * (2 * n + 1) * k / (2.0 * kTile));
        return c;
    }();
    static const std::vector<double> basisT = [] {
        std::vector<double> t(kTile * kTile);
        for (int k = 0; k < kTile; ++k)
            for (int n = 0; n < kTile; ++n)
                t[size_t(n * kTile + k)] = basis[size_t(k * kTile + n)];
        return t;
    }();
    std::vector<double> energy(kTile * kTile, 0.0), rows(kTile * kTile), column(kTile);
    for (size_t t = 0; t < take; ++t) {
        const int tx = listTiles[t].second % tilesX, ty = listTiles[t].second / tilesX;
        std::fill(rows.begin(), rows.end(), 0.0);
        for (int y = 0; y < kTile; ++y) {
            const uint8_t *pixel = &plane.pixels[size_t(ty * kTile + y) * plane.iWidth + size_t(tx * kTile)];
            for (int x = 0; x < kTile; ++x)
                addScaled(&rows[size_t(y * kTile)], &basisT[size_t(x * kTile)], double(pixel[x]));
        }
        for (int v = 0; v < kTile; ++v) {
            std::fill(column.begin(), column.end(), 0.0);
            for (int y = 0; y < kTile; ++y)
                addScaled(column.data(), &rows[size_t(y * kTile)], basis[size_t(v * kTile + y)]);
            for (int u = 0; u < kTile; ++u)
                energy[size_t(v * kTile + u)] += column[size_t(u)] * column[size_t(u)];
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

// A photo reduced to what the check reads of it: the spectrum of its detail at the
// size decoded and, upright and small, the picture itself.
struct CRead
{
    int iWidth = 0;   // as decoded, stored
    int iHeight = 0;
    bool bFull = false;  // or not decodable: no other size is tried
    std::vector<double> spectrum;
    int iPreviewWidth = 0;
    int iPreviewHeight = 0;
    std::vector<float> preview;
};

CRead load(const QString &strPath, const CPhotoFeature &f, int iMinSide)
{
    CRead out;
    out.bFull = true;
    thread_local std::vector<uint8_t> buffer;
    size_t size = 0;
    QString strError;
    if (!dp::platform::readWholeFile(strPath, CImageLimits::kMaxFileBytes, buffer, size, strError))
        return out;
    CDecodedImage decoded;
    std::string error;
    const bool bRaw = strPath.endsWith(QLatin1String(".dng"), Qt::CaseInsensitive);
    const EnDecodeStatus status = CGrayDecoder::decodeDetail(buffer.data(), size, bRaw, iMinSide, decoded, error);
    // A large file's buffer is not kept for the rest of the scan.
    if (buffer.capacity() > (size_t(64) << 20))
        std::vector<uint8_t>().swap(buffer);
    const CGrayImage &plane = decoded.gray;
    if (status != EnDecodeStatus::Ok || plane.isNull())
        return out;
    out.iWidth = plane.iWidth;
    out.iHeight = plane.iHeight;
    out.bFull = int64_t(plane.iWidth) * plane.iHeight >= int64_t(decoded.iFullWidth) * decoded.iFullHeight;
    out.spectrum = spectrum(plane);
    const double scale = std::min(1.0, double(kCompareSide) / std::max(plane.iWidth, plane.iHeight));
    const int w = std::max(1, int(std::lround(plane.iWidth * scale)));
    const int h = std::max(1, int(std::lround(plane.iHeight * scale)));
    const int orientation = decoded.iOrientation ? decoded.iOrientation : f.orientation;
    out.preview = orientGrid(plane.resized(w, h), w, h, orientation);
    const bool bSwap = orientation >= 5 && orientation <= 8;
    out.iPreviewWidth = bSwap ? h : w;
    out.iPreviewHeight = bSwap ? w : h;
    return out;
}

// Whether two photos show the same picture at the smaller one's size (not a crop).
bool samePicture(const CRead &large, const CRead &small)
{
    if (large.preview.empty() || small.preview.empty())
        return false;
    return correlation(resampleArea(large.preview, large.iPreviewWidth, large.iPreviewHeight, small.iPreviewWidth,
                                    small.iPreviewHeight),
                       small.preview)
        >= 0.97;
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
    // Each photo is decoded only when compared, as a smaller photo at full size, as a
    // larger one at the size the comparison needs (from iMinSide, at most iMaxSide):
    // again only when the size it was read at does not fit.
    std::vector<CRead> listRead(photos.size());
    const auto read = [&](size_t k, int iMinSide, int iMaxSide) -> const CRead & {
        CRead &r = listRead[k];
        const int side = std::max(r.iWidth, r.iHeight);
        if (side == 0 ? !r.bFull : (side < iMinSide && !r.bFull) || side > iMaxSide)
            r = load(data.listPaths[photos[k]], data.features[photos[k]], iMinSide);
        return r;
    };
    // Per smaller photo, the larger ones compared with it and their verdicts.
    std::vector<std::vector<std::pair<size_t, bool>>> listDone(photos.size());
    float highest = 0.0f;
    for (uint32_t p : photos)
        highest = std::max(highest, listDefinition[p]);
    const float lowest = float(kFirstRuleFloor * highest);
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
            // An enlargement found already holds nothing near its limit to compare
            // with: the look goes on down to its source.
            if (scale > 1.0 / kMinRatio || scale < (isJpeg(data.listPaths[photos[k]]) ? kMinJpegScale : kMinScale)
                || listDefinition[photos[j]] < small.definition
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
            for (size_t d = 0; verdict < 0 && d < listDone[j].size(); ++d) {
                if (lookAlike(data.features[photos[listDone[j][d].first]], large))
                    verdict = listDone[j][d].second;
            }
            if (verdict < 0) {
                const int side = std::max(small.width, small.height);
                const CRead &s = read(j, side, INT_MAX);
                const CRead &l = read(k, int(std::ceil(kDetailRatio * side)), int(side / kMinScale));
                verdict = !s.spectrum.empty() && !l.spectrum.empty()
                    && enlargedFrom(l.spectrum, s.spectrum,
                                    std::sqrt(double(s.iWidth) * s.iHeight / (double(l.iWidth) * l.iHeight)))
                    && samePicture(l, s);
                if (pKept)
                    pKept->store(pair, verdict != 0);
            }
            listDone[j].emplace_back(k, verdict != 0);
            if (verdict) {
                listDefinition[photos[k]] = std::min(listDefinition[photos[k]],
                    std::max(lowest, float(kEnlargedShare * listDefinition[photos[j]])));
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
