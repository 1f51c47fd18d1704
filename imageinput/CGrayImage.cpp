#include "CGrayImage.h"

#include <algorithm>
#include <cmath>

std::vector<float> CGrayImage::resized(int iToWidth, int iToHeight) const
{
    std::vector<float> out(size_t(iToWidth) * size_t(iToHeight), 0.0f);
    if (isNull())
        return out;
    // Column bounds are the same for every row: compute them once.
    std::vector<int> x0(static_cast<size_t>(iToWidth)), x1(static_cast<size_t>(iToWidth));
    for (int dx = 0; dx < iToWidth; ++dx) {
        x0[size_t(dx)] = int(int64_t(dx) * iWidth / iToWidth);
        x1[size_t(dx)] = std::max(x0[size_t(dx)] + 1, int(int64_t(dx + 1) * iWidth / iToWidth));
    }
    std::vector<uint32_t> rowSum(static_cast<size_t>(iToWidth));
    for (int dy = 0; dy < iToHeight; ++dy) {
        const int y0 = int(int64_t(dy) * iHeight / iToHeight);
        const int y1 = std::max(y0 + 1, int(int64_t(dy + 1) * iHeight / iToHeight));
        std::fill(rowSum.begin(), rowSum.end(), 0u);
        for (int y = y0; y < y1; ++y) {
            const uint8_t *row = pixels.data() + size_t(y) * size_t(iWidth);
            for (int dx = 0; dx < iToWidth; ++dx) {
                uint32_t s = 0;
                for (int x = x0[size_t(dx)]; x < x1[size_t(dx)]; ++x)
                    s += row[x];
                rowSum[size_t(dx)] += s;
            }
        }
        for (int dx = 0; dx < iToWidth; ++dx) {
            const int area = (y1 - y0) * (x1[size_t(dx)] - x0[size_t(dx)]);
            out[size_t(dy * iToWidth + dx)] = float(rowSum[size_t(dx)]) / float(area);
        }
    }
    return out;
}

namespace {

double laplacianSpread(const std::vector<float> &img, int w, int h)
{
    if (w < 3 || h < 3)
        return 0.0;
    double sum = 0.0, sumSq = 0.0;
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            const size_t i = size_t(y * w + x);
            const double lap = 4.0 * img[i] - img[i - 1] - img[i + 1] - img[i - size_t(w)] - img[i + size_t(w)];
            sum += lap;
            sumSq += lap * lap;
        }
    }
    const double n = double(w - 2) * double(h - 2);
    return std::sqrt(std::max(0.0, sumSq / n - (sum / n) * (sum / n)));
}

} // namespace

double CGrayImage::fineDetailRatio() const
{
    constexpr int kSide = 256;
    if (isNull())
        return 0.0;
    int w = iWidth, h = iHeight;
    if (std::max(w, h) > kSide) {
        const double f = double(kSide) / std::max(w, h);
        w = std::max(1, int(w * f + 0.5));
        h = std::max(1, int(h * f + 0.5));
    }
    // Whole-pixel boxes, as the decoders themselves shrink: copies decoded at other
    // sizes or by other decoders then carry the same small pattern.
    const std::vector<float> fine = (w == iWidth && h == iHeight)
        ? std::vector<float>(pixels.begin(), pixels.end()) : resized(w, h);
    const int cw = w / 2, ch = h / 2;
    std::vector<float> coarse(size_t(cw) * size_t(ch));
    for (int y = 0; y < ch; ++y) {
        for (int x = 0; x < cw; ++x) {
            const size_t i = size_t(2 * y * w + 2 * x);
            coarse[size_t(y * cw + x)] = (fine[i] + fine[i + 1] + fine[i + size_t(w)] + fine[i + size_t(w) + 1]) / 4.0f;
        }
    }
    // In smooth photos (a sky at dusk) both spreads are mostly rounding noise, which
    // a crop or another decoder changes: the offset, a few grey levels, lets the ratio
    // of such photos rest near 1 and leaves textured ones as they are.
    constexpr double kNoise = 2.0;
    return (laplacianSpread(fine, w, h) + kNoise) / (laplacianSpread(coarse, cw, ch) + kNoise);
}
