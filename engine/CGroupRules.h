#pragma once

#include <cstdint>
#include <utility>
#include <vector>

struct CScanData;
struct CSimilarEdge;

// Rules the grouping applies on top of the links.
namespace CGroupRules {

// The separated pairs (content keys) as photos: each key stands for the first active
// photo with that content, since its exact copies are linked to that one first.
std::vector<std::pair<uint32_t, uint32_t>> separatedPhotos(const CScanData &data, const std::vector<uint8_t> &active,
                                                          const std::vector<std::pair<uint64_t, uint64_t>> &pairs);

// Original photos only, decided per group: drops the links of groups without a camera
// original and answers how many photos are left out that way.
uint64_t keepGroupsWithOriginal(const CScanData &data, const std::vector<uint8_t> &active,
                                const std::vector<uint32_t> &rank,
                                const std::vector<std::pair<uint32_t, uint32_t>> &apart,
                                std::vector<CSimilarEdge> &edges);

} // namespace CGroupRules
