#include "CGroupBuilder.h"

#include <numeric>

CGroupBuilder::CGroupBuilder(uint32_t iItems, std::vector<uint32_t> listRank)
    : m_listParent(iItems), m_listSize(iItems, 1), m_listFirst(iItems), m_listRank(std::move(listRank))
{
    std::iota(m_listParent.begin(), m_listParent.end(), 0u);
    std::iota(m_listFirst.begin(), m_listFirst.end(), 0u);
    if (m_listRank.size() != iItems) {
        m_listRank.resize(iItems);
        std::iota(m_listRank.begin(), m_listRank.end(), 0u);
    }
}

uint32_t CGroupBuilder::find(uint32_t i)
{
    while (m_listParent[i] != i) {
        m_listParent[i] = m_listParent[m_listParent[i]];
        i = m_listParent[i];
    }
    return i;
}

void CGroupBuilder::keepApart(const std::vector<std::pair<uint32_t, uint32_t>> &pairs)
{
    for (const auto &[a, b] : pairs) {
        if (a == b || a >= m_listParent.size() || b >= m_listParent.size())
            continue;
        m_apart[find(a)].push_back(b);
        m_apart[find(b)].push_back(a);
    }
}

bool CGroupBuilder::mayJoin(uint32_t iRootA, uint32_t iRootB)
{
    if (m_apart.empty())
        return true;
    const auto a = m_apart.find(iRootA), b = m_apart.find(iRootB);
    // Pairs are entered from both sides, so a group without any has no pair with the other.
    if (a == m_apart.end() || b == m_apart.end())
        return true;
    const bool bAShorter = a->second.size() <= b->second.size();
    const std::vector<uint32_t> &partners = bAShorter ? a->second : b->second;
    const uint32_t other = bAShorter ? iRootB : iRootA;
    for (uint32_t p : partners)
        if (find(p) == other)
            return false;
    return true;
}

void CGroupBuilder::joinApart(uint32_t iGone, uint32_t iKept)
{
    const auto gone = m_apart.find(iGone);
    if (gone == m_apart.end())
        return;
    std::vector<uint32_t> partners = std::move(gone->second);
    m_apart.erase(gone);
    std::vector<uint32_t> &kept = m_apart[iKept];
    if (kept.size() < partners.size())
        kept.swap(partners);
    kept.insert(kept.end(), partners.begin(), partners.end());
}

bool CGroupBuilder::addEdges(const std::vector<CSimilarEdge> &edges, IGroupEvents &events,
                             const std::function<bool(uint64_t)> &pfnProgress)
{
    uint64_t done = 0;
    for (const CSimilarEdge &edge : edges) {
        if ((++done & 1023u) == 0 && pfnProgress && !pfnProgress(done))
            return false;
        uint32_t ra = find(edge.iA), rb = find(edge.iB);
        if (ra == rb || !mayJoin(ra, rb))
            continue;
        const bool bLoneA = m_listSize[ra] == 1, bLoneB = m_listSize[rb] == 1;
        if (bLoneA && bLoneB) {
            const bool bAFirst = m_listRank[edge.iA] <= m_listRank[edge.iB];
            const uint32_t first = bAFirst ? edge.iA : edge.iB;
            const uint32_t other = bAFirst ? edge.iB : edge.iA;
            m_listParent[other] = first;
            joinApart(other, first);
            m_listSize[first] = 2;
            m_listFirst[first] = first;
            ++m_iGroups;
            events.groupCreated(first);
            events.fileJoined(other, first);
        } else if (bLoneA || bLoneB) {
            const uint32_t lone = bLoneA ? ra : rb;
            const uint32_t root = bLoneA ? rb : ra;
            m_listParent[lone] = root;
            joinApart(lone, root);
            ++m_listSize[root];
            events.fileJoined(lone, m_listFirst[root]);
        } else {
            // The smaller group goes; on a tie, the one opened by the worse first photo.
            bool bAGoes = m_listSize[ra] < m_listSize[rb];
            if (m_listSize[ra] == m_listSize[rb])
                bAGoes = m_listRank[m_listFirst[ra]] > m_listRank[m_listFirst[rb]];
            const uint32_t gone = bAGoes ? ra : rb;
            const uint32_t kept = bAGoes ? rb : ra;
            events.groupsMerged(m_listFirst[gone], m_listFirst[kept]);
            m_listParent[gone] = kept;
            joinApart(gone, kept);
            m_listSize[kept] += m_listSize[gone];
            --m_iGroups;
        }
    }
    if (pfnProgress)
        pfnProgress(done);
    return true;
}

void CGroupBuilder::addTwins(const std::vector<std::pair<uint32_t, uint32_t>> &twins, IGroupEvents &events)
{
    for (const auto &[twin, original] : twins) {
        const uint32_t root = find(original);
        if (m_listSize[root] < 2 || find(twin) != twin || m_listSize[twin] != 1)
            continue;
        m_listParent[twin] = root;
        ++m_listSize[root];
        events.fileJoined(twin, m_listFirst[root]);
    }
}
