#include "CSimilarityIndex.h"

#include "CPhotoFeature.h"
#include "CPopcount.h"
#include "CSimilarity.h"

#include <algorithm>
#include <thread>
#include <unordered_map>

namespace {

constexpr int kChunkBits[] = {13, 13, 13, 13, 12};
constexpr int kChunkShift[] = {0, 13, 26, 39, 52};

inline uint32_t chunkOf(uint64_t hash, int c)
{
    return uint32_t(hash >> kChunkShift[c]) & ((1u << kChunkBits[c]) - 1u);
}

// Masks of the chunk's width with at most iBits set, fewest first.
std::vector<uint32_t> masksUpTo(int iWidth, int iBits)
{
    std::vector<uint32_t> masks;
    for (uint32_t m = 0; m < (1u << iWidth); ++m)
        if (__builtin_popcount(m) <= iBits)
            masks.push_back(m);
    std::stable_sort(masks.begin(), masks.end(),
                     [](uint32_t a, uint32_t b) { return __builtin_popcount(a) < __builtin_popcount(b); });
    return masks;
}

} // namespace

void CSimilarityIndex::CBuckets::fill(const std::vector<CEntry> &listEntries)
{
    for (int c = 0; c < kChunks; ++c) {
        std::vector<uint32_t> &offs = offsets[c];
        offs.assign((size_t(1) << kChunkBits[c]) + 1, 0);
        for (const CEntry &e : listEntries)
            ++offs[chunkOf(e.hash, c) + 1];
        for (size_t v = 1; v < offs.size(); ++v)
            offs[v] += offs[v - 1];
        std::vector<uint32_t> next(offs.begin(), offs.end() - 1);
        entries[c].resize(listEntries.size());
        for (const CEntry &e : listEntries)
            entries[c][next[chunkOf(e.hash, c)]++] = e;
    }
}

CSimilarityIndex::CSimilarityIndex(const std::vector<CPhotoFeature> &features, const std::vector<uint8_t> &active,
                                   bool bTurns)
    : m_features(features), m_active(active), m_bTurns(bTurns)
{
    m_listFirstEntry.resize(features.size() + 1);
    std::vector<CEntry> signs;
    for (uint32_t i = 0; i < features.size(); ++i) {
        m_listFirstEntry[i] = uint32_t(m_listEntries.size());
        if ((i < active.size() && !active[i]) || CSimilarity::isFlat(features[i]))
            continue;
        m_listEntries.push_back({features[i].hashUpright, i});
        if (features[i].orientation != 1)
            m_listEntries.push_back({features[i].hashStored, i});
        if (bTurns)
            signs.push_back({features[i].hashSigns, i});
    }
    m_listFirstEntry[features.size()] = uint32_t(m_listEntries.size());
    m_plain.fill(m_listEntries);
    if (bTurns)
        m_signs.fill(signs);
}

CSimilarityIndex::CReach::CReach(int iRadius)
    : iRadius(iRadius)
{
    for (int c = 0; c < kChunks && iRadius >= 0; ++c)
        masks.push_back(masksUpTo(kChunkBits[c], iRadius / kChunks));
}

DP_POPCOUNT_CLONES void CSimilarityIndex::searchHash(uint32_t i, uint64_t q, const CBuckets &buckets, int iTurn, const CReach &reach,
                                  int iThreshold, std::vector<CSimilarEdge> &out) const
{
    const int iRadius = reach.iRadius;
    const std::vector<std::vector<uint32_t>> &masks = reach.masks;
    const int chunkRadius = iRadius / kChunks;
    for (int c = 0; c < kChunks; ++c) {
        const uint32_t qc = chunkOf(q, c);
        for (uint32_t mask : masks[size_t(c)]) {
            const uint32_t v = qc ^ mask;
            const CEntry *b = buckets.entries[c].data() + buckets.offsets[c][v];
            const CEntry *bEnd = buckets.entries[c].data() + buckets.offsets[c][v + 1];
            for (; b != bEnd; ++b) {
                const CEntry &e = *b;
                if (e.iItem <= i || __builtin_popcountll(q ^ e.hash) > iRadius
                    || m_features[e.iItem].contentHash == m_features[i].contentHash)
                    continue;
                // Seen through an earlier chunk already: skip the repeat.
                bool bEarlier = false;
                for (int pc = 0; pc < c && !bEarlier; ++pc)
                    bEarlier = __builtin_popcount(chunkOf(q, pc) ^ chunkOf(e.hash, pc)) <= chunkRadius;
                if (bEarlier)
                    continue;
                const int s = iTurn < 0 ? CSimilarity::score(m_features[i], m_features[e.iItem])
                                        : CSimilarity::turnedScore(m_features[i], m_features[e.iItem], iTurn);
                if (s >= std::max(1, iThreshold))
                    out.push_back({i, e.iItem, uint8_t(s)});
            }
        }
    }
}

void CSimilarityIndex::searchItem(uint32_t i, const CReach &plain, const CReach &turned, int iThreshold,
                                  std::vector<CSimilarEdge> &out) const
{
    const size_t firstOut = out.size();
    for (uint32_t qe = m_listFirstEntry[i]; qe < m_listFirstEntry[i + 1]; ++qe)
        searchHash(i, m_listEntries[qe].hash, m_plain, -1, plain, iThreshold, out);
    if (m_bTurns && turned.iRadius >= 0 && m_listFirstEntry[i] != m_listFirstEntry[i + 1]) {
        for (int t = 1; t < CSimilarity::kTurns; ++t)
            searchHash(i, CSimilarity::turnSigns(m_features[i].hashSigns, t), m_signs, t, turned, iThreshold, out);
    }
    if (out.size() - firstOut <= 1)
        return;
    // A tagged or turned photo may meet the same partner more than once: keep the best.
    const auto first = out.begin() + long(firstOut);
    std::sort(first, out.end(), [](const CSimilarEdge &a, const CSimilarEdge &b) {
        return a.iB != b.iB ? a.iB < b.iB : a.iScore > b.iScore;
    });
    out.erase(std::unique(first, out.end(), [](const CSimilarEdge &a, const CSimilarEdge &b) { return a.iB == b.iB; }),
              out.end());
    if (out.size() - firstOut > kMaxLinks) {
        const auto byStrength = [](const CSimilarEdge &a, const CSimilarEdge &b) {
            return a.iScore != b.iScore ? a.iScore > b.iScore : a.iB < b.iB;
        };
        std::nth_element(out.begin() + long(firstOut), out.begin() + long(firstOut + kMaxLinks) - 1, out.end(), byStrength);
        std::sort(out.begin() + long(firstOut), out.begin() + long(firstOut + kMaxLinks), byStrength);
        out.resize(firstOut + kMaxLinks);
    }
}

std::vector<CSimilarEdge> CSimilarityIndex::findEdges(int iThreshold, int iThreads, const std::atomic_bool &bStop,
                                                      std::atomic<uint64_t> &done) const
{
    const int radius = CSimilarity::radiusForThreshold(iThreshold);
    if (radius < 0)
        return {};
    const CReach plain(radius), turned(m_bTurns ? std::min(radius, CSimilarity::kTurnedMaxDistance) : -1);
    const uint32_t count = uint32_t(m_features.size());
    constexpr uint32_t kBatch = 256;
    std::atomic<uint32_t> next{0};
    const int threads = std::max(1, iThreads);
    std::vector<std::vector<CSimilarEdge>> perThread(static_cast<size_t>(threads));
    auto work = [&](int t) {
        std::vector<CSimilarEdge> &out = perThread[size_t(t)];
        while (!bStop.load(std::memory_order_relaxed)) {
            const uint32_t begin = next.fetch_add(kBatch);
            if (begin >= count)
                break;
            const uint32_t end = std::min(count, begin + kBatch);
            for (uint32_t i = begin; i < end; ++i)
                searchItem(i, plain, turned, iThreshold, out);
            done.fetch_add(end - begin, std::memory_order_relaxed);
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work, t);
    work(0);
    for (std::thread &th : pool)
        th.join();

    std::vector<CSimilarEdge> edges;
    // Exact copies: each to the first photo with the same content.
    std::unordered_map<uint64_t, uint32_t> firstWithContent;
    for (uint32_t i = 0; i < count; ++i) {
        if (i < m_active.size() && !m_active[i])
            continue;
        const auto it = firstWithContent.emplace(m_features[i].contentHash, i);
        if (!it.second)
            edges.push_back({it.first->second, i, 100});
    }
    for (auto &part : perThread)
        edges.insert(edges.end(), part.begin(), part.end());
    std::sort(edges.begin(), edges.end(), [](const CSimilarEdge &a, const CSimilarEdge &b) {
        if (a.iScore != b.iScore)
            return a.iScore > b.iScore;
        return a.iA != b.iA ? a.iA < b.iA : a.iB < b.iB;
    });
    return edges;
}
