#pragma once

#include "CSimilarityIndex.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

class QImage;
struct CScanData;

// Finds, within groups, copies enlarged from a smaller photo of the group: more pixels,
// no more detail. The definition (CDetailMeasure) grows with the pixel count, so an
// enlargement would otherwise outscore its source. A larger photo is compared with the
// largest smaller photos of its aspect: when it holds next to nothing above their
// frequency limit while just below that limit it holds plenty, and it shows the same
// picture, its definition is lowered below theirs. Groups whose photos share one size
// cost nothing; the others pay one full decode of each larger photo.
namespace CEnlargedCopies {

// A luminance plane, upright.
struct CPlane
{
    int iWidth = 0;
    int iHeight = 0;
    std::vector<float> pixels;

    bool isNull() const { return iWidth <= 0 || iHeight <= 0; }
};
CPlane plane(const QImage &image);
// Area-averaged down (nearest sample up) to the given size.
CPlane resized(const CPlane &from, int iWidth, int iHeight);

// The centres of the most textured tiles of 32 pixels, as shares of width and height:
// flat sky says nothing about any band.
std::vector<std::pair<double, double>> texturedPlaces(const CPlane &plane);
// Mean energy per DCT frequency (the larger of its two indices) of the tiles of 32
// pixels at places.
std::vector<double> spectrum(const CPlane &plane, const std::vector<std::pair<double, double>> &places);
// Whether large is an enlargement of small, measured at the same places of the
// picture: its detail just below the smaller one's frequency limit falls short of the
// smaller one's, and above that limit it holds next to nothing. False when the smaller
// photo holds too little near its limit to tell, as a soft photo's copy does.
bool enlargedFrom(const CPlane &large, const CPlane &small);
// Whether two planes show the same picture at the smaller one's size (not a crop).
bool samePicture(const CPlane &large, const CPlane &small);

// What an enlargement keeps of its source's definition: the first marking rule marks a
// photo from 5/6 of the group's best down, so a share below that with a margin.
constexpr double kEnlargedShare = 0.75;

// The answers for pairs of files already compared, by their contents: a regroup or a
// later scan decodes nothing again for them. Thread-safe.
class CVerdicts
{
public:
    // 1: the first is enlarged from the second, 0: it is not, -1: not compared yet.
    int find(const std::pair<uint64_t, uint64_t> &pair) const;
    void store(const std::pair<uint64_t, uint64_t> &pair, bool bEnlarged);

private:
    mutable std::mutex m_mutex;
    std::map<std::pair<uint64_t, uint64_t>, bool> m_map;
};

// Per photo of data, its definition, lowered where it is an enlargement of a smaller
// photo of its group; the groups are those that CGroupBuilder makes of edges with the
// pairs kept apart and the rank. Empty when every group has photos of one size only.
std::vector<float> groupDefinitions(const CScanData &data, const std::vector<CSimilarEdge> &edges,
                                    const std::vector<std::pair<uint32_t, uint32_t>> &apart,
                                    const std::vector<uint32_t> &rank, int iThreads, const std::atomic_bool &bStop,
                                    CVerdicts *pVerdicts = nullptr);

} // namespace CEnlargedCopies
