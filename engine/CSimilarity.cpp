#include "CSimilarity.h"

#include "CGrayImage.h"
#include "CPhotoFeature.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kGrid = 32;
constexpr int kBand = 9;  // DCT rows and columns read for the hash

struct CDctTables
{
    std::array<std::array<float, kGrid>, kBand> basis{};
    std::array<std::pair<int, int>, 64> order{};  // the 64 lowest frequencies after the mean

    CDctTables()
    {
        const double pi = std::acos(-1.0);
        for (int u = 0; u < kBand; ++u)
            for (int x = 0; x < kGrid; ++x)
                basis[size_t(u)][size_t(x)] = float(std::cos((2 * x + 1) * u * pi / (2.0 * kGrid)));
        std::vector<std::pair<int, int>> all;
        for (int u = 0; u < kBand; ++u)
            for (int v = 0; v < kBand; ++v)
                if (u + v > 0)
                    all.emplace_back(u, v);
        std::stable_sort(all.begin(), all.end(), [](const auto &a, const auto &b) {
            return a.first + a.second < b.first + b.second;
        });
        std::copy_n(all.begin(), 64, order.begin());
    }
};

const CDctTables &dctTables()
{
    static const CDctTables tables;
    return tables;
}

int popcount64(uint64_t v)
{
    return __builtin_popcountll(v);
}

int correlationScore(double corr)
{
    const double s = 100.0 * (corr - CSimilarity::kCorrFloor) / (1.0 - CSimilarity::kCorrFloor);
    return int(std::clamp(std::floor(s), 0.0, 100.0));
}

// The thumbnail as the photo's pixels are stored, for comparing against copies
// that differ only by the orientation tag.
std::array<uint8_t, kThumbPixels> storedThumb(const CPhotoFeature &f)
{
    const std::vector<uint8_t> upright(f.thumb.begin(), f.thumb.end());
    const std::vector<uint8_t> stored = orientSquare(upright, kThumbSide, inverseOrientation(f.orientation));
    std::array<uint8_t, kThumbPixels> out{};
    std::copy(stored.begin(), stored.end(), out.begin());
    return out;
}

} // namespace

int CSimilarity::radiusForThreshold(int iThreshold)
{
    const int t = std::max(1, iThreshold);
    int r = -1;
    while (r + 1 <= kMaxDistance && hashScore(r + 1) >= t)
        ++r;
    return r;
}

int CSimilarity::hashScore(int iDistance)
{
    if (iDistance > kMaxDistance)
        return 0;
    return std::clamp(100 - kPercentPerBit * std::max(0, iDistance - kFreeBits), 0, 100);
}

int CSimilarity::score(const CPhotoFeature &a, const CPhotoFeature &b)
{
    if (a.contentHash != 0 && a.contentHash == b.contentHash)
        return 100;
    int best = 0;
    const bool bRotatedA = a.orientation != 1, bRotatedB = b.orientation != 1;
    std::array<uint8_t, kThumbPixels> storedA{}, storedB{};
    if (bRotatedA)
        storedA = storedThumb(a);
    if (bRotatedB)
        storedB = storedThumb(b);
    for (int fa = 0; fa < (bRotatedA ? 2 : 1); ++fa) {
        for (int fb = 0; fb < (bRotatedB ? 2 : 1); ++fb) {
            const uint64_t ha = fa ? a.hashStored : a.hashUpright;
            const uint64_t hb = fb ? b.hashStored : b.hashUpright;
            const int hs = hashScore(popcount64(ha ^ hb));
            if (hs <= best)
                continue;
            const uint8_t *ta = fa ? storedA.data() : a.thumb.data();
            const uint8_t *tb = fb ? storedB.data() : b.thumb.data();
            best = std::max(best, std::min(hs, correlationScore(thumbCorrelation(ta, tb))));
        }
    }
    return std::min(best, 99);
}

uint64_t CSimilarity::dctHash(const std::vector<float> &grid32)
{
    const CDctTables &t = dctTables();
    // Rows first: rowPass[u][y] = sum_x basis[u][x] * g[y][x]; then columns.
    std::array<std::array<float, kGrid>, kBand> rowPass{};
    for (int y = 0; y < kGrid; ++y) {
        const float *row = grid32.data() + y * kGrid;
        for (int u = 0; u < kBand; ++u) {
            float s = 0.0f;
            for (int x = 0; x < kGrid; ++x)
                s += t.basis[size_t(u)][size_t(x)] * row[x];
            rowPass[size_t(u)][size_t(y)] = s;
        }
    }
    std::array<float, 64> coef{};
    for (size_t i = 0; i < 64; ++i) {
        const auto [u, v] = t.order[i];
        float s = 0.0f;
        for (int y = 0; y < kGrid; ++y)
            s += t.basis[size_t(v)][size_t(y)] * rowPass[size_t(u)][size_t(y)];
        coef[i] = s;
    }
    std::array<float, 64> sorted = coef;
    std::nth_element(sorted.begin(), sorted.begin() + 32, sorted.end());
    const float median = sorted[32];
    uint64_t hash = 0;
    for (size_t i = 0; i < 64; ++i)
        if (coef[i] > median)
            hash |= uint64_t(1) << i;
    return hash;
}

double CSimilarity::thumbCorrelation(const uint8_t *pA, const uint8_t *pB)
{
    int64_t sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    for (int i = 0; i < kThumbPixels; ++i) {
        const int a = pA[i], b = pB[i];
        sa += a;
        sb += b;
        saa += a * a;
        sbb += b * b;
        sab += a * b;
    }
    constexpr int64_t n = kThumbPixels;
    const double va = double(n * saa - sa * sa), vb = double(n * sbb - sb * sb);
    // Flat pictures (blank frames, solid fills) have no layout to compare: they
    // match only a flat picture of about the same tone.
    constexpr double kFlat = double(n) * double(n) * 4.0;
    if (va < kFlat || vb < kFlat)
        return (va < kFlat && vb < kFlat && std::abs(sa - sb) < 8 * n) ? 1.0 : 0.0;
    return double(n * sab - sa * sb) / std::sqrt(va * vb);
}
