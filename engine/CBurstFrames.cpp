#include "CBurstFrames.h"

#include "CPhotoFeature.h"
#include "CSimilarity.h"

#include <algorithm>

CBurstFrames CBurstFrames::find(const std::vector<CPhotoFeature> &features, const std::vector<uint8_t> &active,
                                int iThreshold, bool bTurns)
{
    CBurstFrames out;
    out.listBurst.assign(features.size(), 0);
    std::vector<uint32_t> order;
    for (uint32_t i = 0; i < features.size(); ++i)
        if ((i >= active.size() || active[i]) && features[i].bHasCaptureDate && features[i].cameraId != 0)
            order.push_back(i);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const CPhotoFeature &fa = features[a], &fb = features[b];
        if (fa.cameraId != fb.cameraId)
            return fa.cameraId < fb.cameraId;
        return fa.dateTime != fb.dateTime ? fa.dateTime < fb.dateTime : a < b;
    });
    const int linkScore = std::max(iThreshold, kMinScore);
    for (size_t k = 0; k < order.size(); ++k) {
        const CPhotoFeature &a = features[order[k]];
        const size_t end = std::min(order.size(), k + 1 + size_t(kMaxNeighbours));
        for (size_t m = k + 1; m < end; ++m) {
            const CPhotoFeature &b = features[order[m]];
            if (b.cameraId != a.cameraId || b.dateTime - a.dateTime > kWindow)
                break;
            if (b.dateTime == a.dateTime || b.contentHash == a.contentHash)
                continue;
            if (CSimilarity::score(a, b, bTurns) >= linkScore)
                out.listBurst[order[k]] = out.listBurst[order[m]] = 1;
            else
                out.listApart.emplace_back(order[k], order[m]);
        }
    }
    return out;
}
