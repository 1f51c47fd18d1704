#pragma once

#include "CSimilarityIndex.h"

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

// Receives the grouping as it happens; photos are named by their index.
class IGroupEvents
{
public:
    virtual void groupCreated(uint32_t iFirst) = 0;
    virtual void fileJoined(uint32_t iItem, uint32_t iFirst) = 0;
    // The group opened by iAbsorbedFirst is absorbed by the group opened by iIntoFirst.
    virtual void groupsMerged(uint32_t iAbsorbedFirst, uint32_t iIntoFirst) = 0;

protected:
    ~IGroupEvents() = default;
};

// Turns links into groups one link at a time (union-find), strongest link first,
// and tells each step as it happens: a link between two lone photos opens a
// group, a link to a lone photo lets it join, a link between two groups merges
// the smaller into the larger. A group's first photo is the better of the two
// that opened it (iRank: lower is better).
//
// Pairs kept apart are never put into one group: a link that would join their
// groups is passed over, and the groups stay as the stronger links made them.
class CGroupBuilder
{
public:
    CGroupBuilder(uint32_t iItems, std::vector<uint32_t> listRank);

    // Before the first link.
    void keepApart(const std::vector<std::pair<uint32_t, uint32_t>> &pairs);

    // pfnProgress gets the links done so far now and then; returning false stops.
    // Returns false when stopped.
    bool addEdges(const std::vector<CSimilarEdge> &edges, IGroupEvents &events,
                  const std::function<bool(uint64_t)> &pfnProgress);
    // Extra names of one file (hard links): each joins its original's group if
    // that has one, and never opens one itself.
    void addTwins(const std::vector<std::pair<uint32_t, uint32_t>> &twins, IGroupEvents &events);

    uint32_t groupCount() const { return m_iGroups; }
    // The photo that stands for i's group (i itself when alone).
    uint32_t groupOf(uint32_t i) { return find(i); }

private:
    uint32_t find(uint32_t i);
    bool mayJoin(uint32_t iRootA, uint32_t iRootB);
    void joinApart(uint32_t iGone, uint32_t iKept);

    std::vector<uint32_t> m_listParent;
    std::vector<uint32_t> m_listSize;
    std::vector<uint32_t> m_listFirst;  // per root: the group's first photo
    std::vector<uint32_t> m_listRank;
    uint32_t m_iGroups = 0;
    // Per root holding any: the photos its group must not meet.
    std::unordered_map<uint32_t, std::vector<uint32_t>> m_apart;
};
