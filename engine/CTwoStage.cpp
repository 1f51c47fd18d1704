#include "CTwoStage.h"

#include "CFeatureExtractor.h"
#include "CScanData.h"
#include "CScanThumbs.h"
#include "CSimilarity.h"
#include "CSimilarityIndex.h"

#include <algorithm>
#include <mutex>
#include <numeric>
#include <thread>

int CTwoStage::looseThreshold(int iThreshold)
{
    return std::max(1, iThreshold - kMarginPercent);
}

bool CTwoStage::covers(int iThreshold)
{
    return looseThreshold(iThreshold) > CSimilarity::hashScore(CSimilarity::kMaxDistance);
}

std::vector<uint32_t> CTwoStage::toDecode(const CScanData &data, const std::vector<uint8_t> &active, int iThreshold,
                                          bool bTurns, int iThreads, const std::atomic_bool &bStop)
{
    const uint32_t count = data.count();
    // Turned views score 0 beyond CSimilarity::kTurnedMaxDistance at any threshold: no
    // radius there to widen, so with turns every photo is decoded.
    if (!covers(iThreshold) || bTurns) {
        std::vector<uint32_t> all;
        for (uint32_t i = 0; i < count; ++i) {
            if (data.features[i].bEmbedded && active[i])
                all.push_back(i);
        }
        return all;
    }
    std::atomic<uint64_t> searched{0};
    const CSimilarityIndex index(data.features, active, bTurns);
    const std::vector<CSimilarEdge> edges = index.findEdges(looseThreshold(iThreshold), iThreads, bStop, searched);
    if (bStop)
        return {};
    // Connected sets, not single links: a decode may move a photo's links to others of its set.
    std::vector<uint32_t> parent(count);
    std::iota(parent.begin(), parent.end(), 0u);
    const auto find = [&](uint32_t i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    std::vector<uint8_t> linked(count, 0);
    for (const CSimilarEdge &e : edges) {
        parent[find(e.iA)] = find(e.iB);
        linked[e.iA] = linked[e.iB] = 1;
    }
    std::vector<uint8_t> setLinked(count, 0);
    for (uint32_t i = 0; i < count; ++i)
        setLinked[find(i)] |= linked[i];
    std::vector<uint32_t> out;
    for (uint32_t i = 0; i < count; ++i) {
        if (data.features[i].bEmbedded && active[i] && setLinked[find(i)])
            out.push_back(i);
    }
    return out;
}

CTwoStage::CDecoded CTwoStage::decode(const CScanData &data, const std::vector<uint32_t> &listItems, int iThreads,
                                      const std::atomic_bool &bStop, std::atomic<uint64_t> &done,
                                      CScanThumbs *pThumbs)
{
    CDecoded out;
    out.pData = std::make_shared<CScanData>(data);
    CScanData &next = *out.pData;
    std::vector<uint8_t> decoded(data.count(), 0);
    std::atomic<size_t> cursor{0};
    std::atomic<uint64_t> failed{0};
    std::mutex mutex;
    auto work = [&] {
        std::vector<CFeatureCache::CEntry> mine;
        QByteArray thumb;
        for (size_t k = cursor++; k < listItems.size() && !bStop; k = cursor++) {
            const uint32_t i = listItems[k];
            CPhotoFeature f;
            QString strError;
            if (CFeatureExtractor::extract(data.listPaths[i], data.listModTimes[i], f, strError,
                                           pThumbs ? &thumb : nullptr)
                == EnExtractStatus::Ok) {
                next.features[i] = f;
                decoded[i] = 1;
                mine.push_back({data.listPaths[i], data.listSizes[i], data.listModTimes[i], f});
                if (pThumbs)
                    pThumbs->add(data.listPaths[i], data.listSizes[i], data.listModTimes[i], thumb);
            } else {
                ++failed;
            }
            ++done;
        }
        std::lock_guard<std::mutex> lock(mutex);
        out.fresh.insert(out.fresh.end(), std::make_move_iterator(mine.begin()), std::make_move_iterator(mine.end()));
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < std::max(1, iThreads); ++t)
        pool.emplace_back(work);
    for (std::thread &th : pool)
        th.join();
    for (const auto &[second, first] : data.listTwins) {
        if (decoded[first])
            next.features[second] = next.features[first];
    }
    out.iFailed = failed;
    return out;
}
