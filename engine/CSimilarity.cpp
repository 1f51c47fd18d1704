#include "CSimilarity.h"

#include "CGrayImage.h"
#include "CPhotoFeature.h"
#include "CPopcount.h"

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

// Where each pixel of a stored-frame thumbnail comes from in the upright one,
// per orientation: built once, so comparing a tagged photo allocates nothing.
struct CThumbTurns
{
    std::array<std::array<uint8_t, kThumbPixels>, 9> from{};

    CThumbTurns()
    {
        std::vector<uint8_t> index(kThumbPixels);
        for (int i = 0; i < kThumbPixels; ++i)
            index[size_t(i)] = uint8_t(i);
        for (int o = 1; o <= 8; ++o) {
            const std::vector<uint8_t> turned = orientSquare(index, kThumbSide, inverseOrientation(o));
            std::copy(turned.begin(), turned.end(), from[size_t(o)].begin());
        }
    }
};

// The thumbnail as the photo's pixels are stored, for comparing against copies
// that differ only by the orientation tag.
std::array<uint8_t, kThumbPixels> storedThumb(const CPhotoFeature &f)
{
    static const CThumbTurns turns;
    const auto &from = turns.from[size_t(std::clamp<int>(f.orientation, 1, 8))];
    std::array<uint8_t, kThumbPixels> out{};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = f.thumb[from[i]];
    return out;
}

// The thumbnail under each turn, as a lookup of source pixels, built by turning
// an index grid the same way turnSigns turns the coefficients.
struct CSquareTurns
{
    std::array<std::array<uint8_t, kThumbPixels>, CSimilarity::kTurns> from{};

    CSquareTurns()
    {
        constexpr int n = kThumbSide - 1;
        for (int t = 0; t < CSimilarity::kTurns; ++t) {
            auto &table = from[size_t(t)];
            for (int i = 0; i < kThumbPixels; ++i)
                table[size_t(i)] = uint8_t(i);
            std::array<uint8_t, kThumbPixels> next{};
            auto apply = [&](auto source) {
                for (int y = 0; y < kThumbSide; ++y)
                    for (int x = 0; x < kThumbSide; ++x)
                        next[size_t(y * kThumbSide + x)] = table[size_t(source(x, y))];
                table = next;
            };
            if (t & 1)
                apply([&](int x, int y) { return y * kThumbSide + (n - x); });
            if (t & 2)
                apply([&](int x, int y) { return (n - y) * kThumbSide + x; });
            if (t & 4)
                apply([&](int x, int y) { return x * kThumbSide + y; });
        }
    }
};

// Below this spread a thumbnail is flat: blank frames and solid fills have no
// layout to compare, and would otherwise all look alike.
constexpr double kFlatVariance = 4.0;

} // namespace

uint64_t CSimilarity::turnSigns(uint64_t iSigns, int iTurn)
{
    // A mirror across x negates the coefficients of odd u (bytes 1, 3, 5, 7), one
    // across y those of odd v; swapping the axes transposes the 8x8 bit matrix.
    if (iTurn & 1)
        iSigns ^= 0xFF00FF00FF00FF00ull;
    if (iTurn & 2)
        iSigns ^= 0xAAAAAAAAAAAAAAAAull;
    if (iTurn & 4) {
        uint64_t x = iSigns;
        x = (x & 0xAA55AA55AA55AA55ull) | ((x & 0x00AA00AA00AA00AAull) << 7) | ((x >> 7) & 0x00AA00AA00AA00AAull);
        x = (x & 0xCCCC3333CCCC3333ull) | ((x & 0x0000CCCC0000CCCCull) << 14) | ((x >> 14) & 0x0000CCCC0000CCCCull);
        x = (x & 0xF0F0F0F00F0F0F0Full) | ((x & 0x00000000F0F0F0F0ull) << 28) | ((x >> 28) & 0x00000000F0F0F0F0ull);
        iSigns = x;
    }
    return iSigns;
}

DP_POPCOUNT_CLONES int CSimilarity::turnedScore(const CPhotoFeature &a, const CPhotoFeature &b, int iTurn)
{
    static const CSquareTurns turns;
    const int distance = popcount64(turnSigns(a.hashSigns, iTurn) ^ b.hashSigns);
    if (distance > kTurnedMaxDistance)
        return 0;
    const int hs = hashScore(distance);
    const auto &from = turns.from[size_t(iTurn & (kTurns - 1))];
    std::array<uint8_t, kThumbPixels> turned{};
    for (size_t i = 0; i < turned.size(); ++i)
        turned[i] = a.thumb[from[i]];
    return std::min({hs, correlationScore(thumbCorrelation(turned.data(), b.thumb.data())), 99});
}

int CSimilarity::score(const CPhotoFeature &a, const CPhotoFeature &b, bool bTurns)
{
    int best = score(a, b);
    for (int t = 1; bTurns && best < 99 && t < kTurns; ++t)
        best = std::max(best, turnedScore(a, b, t));
    return best;
}

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

DP_POPCOUNT_CLONES int CSimilarity::score(const CPhotoFeature &a, const CPhotoFeature &b)
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

uint64_t CSimilarity::dctHash(const std::vector<float> &grid32, uint64_t *pSigns)
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
    if (pSigns) {
        *pSigns = 0;
        for (int u = 0; u < 8; ++u) {
            for (int v = 0; v < 8; ++v) {
                float c = 0.0f;
                for (int y = 0; y < kGrid; ++y)
                    c += t.basis[size_t(v)][size_t(y)] * rowPass[size_t(u)][size_t(y)];
                if (c > 0.0f)
                    *pSigns |= uint64_t(1) << (8 * u + v);
            }
        }
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

bool CSimilarity::isFlat(const CPhotoFeature &f)
{
    uint32_t sum = 0, sumSq = 0;
    for (uint8_t v : f.thumb) {
        sum += v;
        sumSq += uint32_t(v) * v;
    }
    const double mean = double(sum) / kThumbPixels;
    return double(sumSq) / kThumbPixels - mean * mean < kFlatVariance;
}

double CSimilarity::thumbCorrelation(const uint8_t *pA, const uint8_t *pB)
{
    // 32-bit sums cannot overflow for 256 bytes, and keep the loop vectorisable.
    uint32_t sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    for (int i = 0; i < kThumbPixels; ++i) {
        const uint32_t a = pA[i], b = pB[i];
        sa += a;
        sb += b;
        saa += a * a;
        sbb += b * b;
        sab += a * b;
    }
    constexpr double n = kThumbPixels;
    const double va = n * saa - double(sa) * sa, vb = n * sbb - double(sb) * sb;
    if (va < n * n * kFlatVariance || vb < n * n * kFlatVariance)
        return 0.0;
    return (n * sab - double(sa) * sb) / std::sqrt(va * vb);
}
