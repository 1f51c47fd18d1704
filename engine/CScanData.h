#pragma once

#include "CPhotoFeature.h"

#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

// Everything one scan learnt, kept for regrouping until the next scan: one entry
// per photo, in walk order. Never changed once the reading step is over, so the
// records that point into it stay valid while it lives.
struct CScanData
{
    uint32_t iSerial = 0;                   // tells this scan's file ids from an older scan's
    std::vector<QString> listPaths;
    std::vector<uint64_t> listSizes;
    std::vector<uint64_t> listModTimes;     // FILETIME, as the walk found it
    std::vector<CPhotoFeature> features;
    std::vector<uint8_t> listHidden;        // 1 for a second name of a file (hard link)
    std::vector<std::pair<uint32_t, uint32_t>> listTwins;  // (second name, first name)
    bool bOriginalOnly = false;             // only groups that hold a camera original are reported

    uint32_t count() const { return uint32_t(listPaths.size()); }
    uint64_t fileIdOf(uint32_t i) const { return (uint64_t(iSerial) << 32) | (uint64_t(i) + 1); }
    // The index of a file id of this scan, or -1.
    int64_t indexOf(uint64_t iFileId) const
    {
        const uint64_t low = iFileId & 0xFFFFFFFFu;
        if ((iFileId >> 32) != iSerial || low == 0 || low > listPaths.size())
            return -1;
        return int64_t(low - 1);
    }
};
