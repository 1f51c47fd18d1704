#include "CGroupRules.h"

#include "CGroupBuilder.h"
#include "CScanData.h"

#include <algorithm>
#include <unordered_map>

namespace CGroupRules {

namespace {

// Receives a grouping that is only looked at afterwards.
class CSilentEvents : public IGroupEvents
{
public:
    void groupCreated(uint32_t) override {}
    void fileJoined(uint32_t, uint32_t) override {}
    void groupsMerged(uint32_t, uint32_t) override {}
};

} // namespace

// The separated pairs as photos: each key stands for the first active photo with
// that content, since its exact copies are linked to that one before anything else.
std::vector<std::pair<uint32_t, uint32_t>> separatedPhotos(const CScanData &data, const std::vector<uint8_t> &active,
                                                          const std::vector<std::pair<uint64_t, uint64_t>> &pairs)
{
    std::vector<std::pair<uint32_t, uint32_t>> out;
    if (pairs.empty())
        return out;
    std::unordered_map<uint64_t, int64_t> firstWithKey;
    for (const auto &[a, b] : pairs) {
        firstWithKey.emplace(a, -1);
        firstWithKey.emplace(b, -1);
    }
    for (uint32_t i = 0; i < data.count(); ++i) {
        const auto it = firstWithKey.find(data.features[i].contentHash);
        if (active[i] && it != firstWithKey.end() && it->second < 0)
            it->second = i;
    }
    for (const auto &[a, b] : pairs) {
        const int64_t ia = firstWithKey[a], ib = firstWithKey[b];
        if (ia >= 0 && ib >= 0 && ia != ib)
            out.emplace_back(uint32_t(ia), uint32_t(ib));
    }
    return out;
}

// Original photos only, decided per group: a copy that lost its camera data (a
// messenger copy, an export) still belongs beside the original it came from, so the
// links are grouped once as they will be, and only the groups that hold a camera
// original keep their links. Returns how many photos are left out that way.
uint64_t keepGroupsWithOriginal(const CScanData &data, const std::vector<uint8_t> &active,
                                const std::vector<uint32_t> &rank,
                                const std::vector<std::pair<uint32_t, uint32_t>> &apart,
                                std::vector<CSimilarEdge> &edges)
{
    CGroupBuilder probe(data.count(), rank);
    probe.keepApart(apart);
    CSilentEvents silent;
    probe.addEdges(edges, silent, [](uint64_t) { return true; });
    std::vector<uint8_t> hasOriginal(data.count(), 0);
    for (uint32_t i = 0; i < data.count(); ++i) {
        if (active[i] && data.features[i].bOriginal)
            hasOriginal[probe.groupOf(i)] = 1;
    }
    edges.erase(std::remove_if(edges.begin(), edges.end(),
                               [&](const CSimilarEdge &e) {
                                   return !hasOriginal[probe.groupOf(e.iA)] || !hasOriginal[probe.groupOf(e.iB)];
                               }),
                edges.end());
    uint64_t iLeftOut = 0;
    for (uint32_t i = 0; i < data.count(); ++i)
        iLeftOut += active[i] && !hasOriginal[probe.groupOf(i)];
    return iLeftOut;
}

} // namespace CGroupRules
