#pragma once

#include "CSimilarityIndex.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <tuple>
#include <utility>
#include <vector>

class CFeatureCache;
struct CScanData;

// Finds, within groups, copies enlarged from a smaller photo of the group: more pixels,
// no more detail. The definition (CDetailMeasure) grows with the pixel count, so an
// enlargement would otherwise outscore its source. Each larger photo is compared with
// the best few photos of each smaller size of its aspect, from the largest: when,
// against its own coarse detail, it holds less than the smaller one just below the
// smaller one's frequency limit and next to nothing above it, and shows the same
// picture, its definition is lowered below the smaller one's. Groups whose photos
// share one size cost nothing; the others pay a grey decode of the photos compared
// (the larger one DCT-scaled to what the comparison needs), but of none that the
// first marking rule marks anyway.
namespace CEnlargedCopies {

// The answers for pairs of photos already compared, by their contents: a regroup
// decodes nothing again for them, nor, through the cache, a later process. Thread-safe.
class CVerdicts
{
public:
    // Where answers outlive the process; it must outlive this.
    void setCache(CFeatureCache *pCache) { m_pCache = pCache; }
    // 1: the first is enlarged from the second, 0: it is not, -1: not compared yet.
    int find(const std::pair<uint64_t, uint64_t> &pair);
    void store(const std::pair<uint64_t, uint64_t> &pair, bool bEnlarged);
    // Writes the answers new since the last call to the cache, in one go.
    void flush();

private:
    std::mutex m_mutex;
    std::map<std::pair<uint64_t, uint64_t>, bool> m_map;
    std::vector<std::tuple<uint64_t, uint64_t, bool>> m_listUnsaved;
    CFeatureCache *m_pCache = nullptr;
};

// Per photo of data, its definition, lowered where it is an enlargement of a smaller
// photo of its group; the groups are those that CGroupBuilder makes of edges with the
// pairs kept apart and the rank. Empty when every group has photos of one size only.
std::vector<float> groupDefinitions(const CScanData &data, const std::vector<CSimilarEdge> &edges,
                                    const std::vector<std::pair<uint32_t, uint32_t>> &apart,
                                    const std::vector<uint32_t> &rank, int iThreads, const std::atomic_bool &bStop,
                                    CVerdicts *pVerdicts = nullptr);

} // namespace CEnlargedCopies
