#pragma once

#include <cstdint>
#include <utility>
#include <vector>

struct CPhotoFeature;

// Frames of a burst: photos by one camera (same make and model) whose capture
// times lie within kWindow of each other but are not equal (equal times, down to
// the sub-second where the camera writes it, are copies of one shot). Such frames
// look alike by nature, so they are kept apart unless they reach kMinScore, as
// frames of a scene that did not move do; exact copies are never frames.
struct CBurstFrames
{
    static constexpr uint64_t kWindow = 20000000;  // 2 s in FILETIME ticks
    static constexpr int kMinScore = 99;
    // Frames looked at after each photo in time order: a camera's thousands of
    // photos stamped in one second must not cost their square.
    static constexpr int kMaxNeighbours = 64;

    std::vector<uint8_t> listBurst;                          // per photo: a frame that may be grouped
    std::vector<std::pair<uint32_t, uint32_t>> listApart;    // frames that must not be grouped

    // Only active photos with a capture date and a camera take part.
    static CBurstFrames find(const std::vector<CPhotoFeature> &features, const std::vector<uint8_t> &active,
                             int iThreshold, bool bTurns);
};
