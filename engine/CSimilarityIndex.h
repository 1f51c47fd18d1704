#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

struct CPhotoFeature;

// A link between two photos that reach the threshold.
struct CSimilarEdge
{
    uint32_t iA = 0;  // iA < iB
    uint32_t iB = 0;
    uint8_t iScore = 0;
};

// Finds every pair of photos whose score reaches a threshold without comparing
// all pairs: multi-index hashing over the 64-bit DCT hashes. The hash is cut into
// m chunks; two hashes within distance r agree within r/m bits on at least one
// chunk, so each photo looks only into the buckets of its chunks'
// near neighbours. Five chunks of 12 or 13 bits keep both the number of buckets
// looked into and the photos met in them small at the default threshold's radius.
// A photo with an orientation tag is indexed under both hashes.
//
// With turns on, a second index holds the sign hashes, and each photo also looks
// there with its sign hash under the seven other turns: a turned or mirrored copy
// is met where its own sign hash lies. Those searches reach only
// CSimilarity::kTurnedMaxDistance bits (one bit per chunk rather than two at the default threshold), which keeps
// the seven extra searches near the cost of one plain search; turned copies that
// differ more than that are not looked for.
class CSimilarityIndex
{
public:
    // Inactive photos (removed by the user, hidden copies) are neither indexed nor
    // searched; flat ones (blank frames) are linked to their exact copies only.
    CSimilarityIndex(const std::vector<CPhotoFeature> &features, const std::vector<uint8_t> &active,
                     bool bTurns = false);

    // Runs on iThreads threads. pDone counts photos searched; the search stops
    // early when bStop is set. The edges come sorted by score, strongest first,
    // then by photo, so the same input always groups the same way.
    //
    // Exact copies are linked through their content hash, each to the first of
    // them. Of the other links, each photo keeps its kMaxLinks strongest to
    // photos after it: a burst of a thousand near-identical shots then costs a
    // thousand times kMaxLinks links, not half a million, and still forms one
    // group. Those links are the first ones of a list sorted by score, so a
    // higher threshold keeps a subset of them and can still only split groups.
    std::vector<CSimilarEdge> findEdges(int iThreshold, int iThreads, const std::atomic_bool &bStop,
                                        std::atomic<uint64_t> &done) const;

    static constexpr size_t kMaxLinks = 24;

private:
    struct CEntry
    {
        uint64_t hash;
        uint32_t iItem;
    };
    static constexpr int kChunks = 5;

    struct CBuckets
    {
        std::vector<uint32_t> offsets[kChunks];  // bucket starts per chunk value, one extra at the end
        std::vector<CEntry> entries[kChunks];    // the entries again, bucketed by chunk value

        void fill(const std::vector<CEntry> &listEntries);
    };

    // How far one kind of search reaches, and the chunk masks that get there.
    struct CReach
    {
        int iRadius = -1;
        std::vector<std::vector<uint32_t>> masks;

        explicit CReach(int iRadius);
    };

    // Finds the items after i within reach of q in buckets and scores them
    // (iTurn < 0: the plain score, else turnedScore with that turn).
    void searchHash(uint32_t i, uint64_t q, const CBuckets &buckets, int iTurn, const CReach &reach, int iThreshold,
                    std::vector<CSimilarEdge> &out) const;
    void searchItem(uint32_t i, const CReach &plain, const CReach &turned, int iThreshold,
                    std::vector<CSimilarEdge> &out) const;

    const std::vector<CPhotoFeature> &m_features;
    const std::vector<uint8_t> &m_active;
    const bool m_bTurns;
    std::vector<CEntry> m_listEntries;
    std::vector<uint32_t> m_listFirstEntry;    // per item: its entries are contiguous
    CBuckets m_plain;
    CBuckets m_signs;                          // filled with turns on only
};
