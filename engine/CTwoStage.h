#pragma once

#include "CFeatureCache.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class CScanThumbs;
struct CScanData;

// A first scan in two stages. Stage one takes the features of most photos from their
// embedded thumbnails (CFeatureExtractor::extractEmbedded), which costs a fraction of
// a decode; photos without a trusted one are decoded at once. Photos are then linked
// at a threshold lowered by the widest error thumbnail features were measured to
// make in a pair's score, so that every pair the decoded features would link is
// linked here too. Stage two decodes every photo with thumbnail features that such a
// link reaches; the grouping proper then runs on decoded features only, and a photo
// that keeps thumbnail features is left out of it, so no group rests on a thumbnail.
class CTwoStage
{
public:
    // Score points a pair's thumbnail score fell below its decoded score, at most 12
    // over 1,500 pairs of 260 real photos and their copies (bench_engine_stageone),
    // with a third more for photos unlike those: the stage-one threshold is lowered
    // by this much, which widens the search radius by five or six hash bits.
    static constexpr int kMarginPercent = 16;

    static int looseThreshold(int iThreshold);
    // Whether thumbnail features can stand in at iThreshold: the loose threshold must
    // stay above the score of the widest hash distance, below which scores drop to 0
    // and no margin is left to widen by.
    static bool covers(int iThreshold);

    // The photos with thumbnail features that a link at the loose threshold reaches,
    // in index order (all of them where covers is false or with turns); empty when stopped.
    static std::vector<uint32_t> toDecode(const CScanData &data, const std::vector<uint8_t> &active, int iThreshold,
                                          bool bTurns, int iThreads, const std::atomic_bool &bStop);

    struct CDecoded
    {
        std::shared_ptr<CScanData> pData;          // a copy with the decoded features in place
        std::vector<CFeatureCache::CEntry> fresh;  // for the cache
        uint64_t iFailed = 0;                      // photos that failed to decode: they stay left out
    };
    // Decodes listItems on iThreads threads; pDone counts photos done. A second name of a
    // decoded file (CScanData::listTwins) takes its features. pThumbs, when given,
    // receives the decodes' thumbnails.
    static CDecoded decode(const CScanData &data, const std::vector<uint32_t> &listItems, int iThreads,
                           const std::atomic_bool &bStop, std::atomic<uint64_t> &done, CScanThumbs *pThumbs);
};
