#include "CGrayImage.h"

#include <algorithm>
#include <cmath>

namespace {

// out += f * in over n samples, in blocks of a fixed length that the compiler unrolls
// and vectorises: this loop is most of a resample's time.
template <typename T>
void addScaled(float *__restrict out, const T *__restrict in, float f, int n)
{
    constexpr int kBlock = 16;
    int i = 0;
    for (; i + kBlock <= n; i += kBlock)
        for (int j = 0; j < kBlock; ++j)
            out[i + j] += f * float(in[i + j]);
    for (; i < n; ++i)
        out[i] += f * float(in[i]);
}

// One axis of resampleArea. bRows: along x in each row, else along y in each column;
// the other axis keeps its size.
template <typename T>
std::vector<float> resampleAxis(const T *pIn, int iInW, int iInH, int iOut, bool bRows)
{
    const int along = bRows ? iInW : iInH;
    const int across = bRows ? iInH : iInW;
    const double step = double(along) / iOut;
    // Per target sample: its first source sample and the weights of those it covers.
    std::vector<int> listFirst(size_t(iOut) + 1, 0);
    std::vector<int> listSource;
    std::vector<float> listWeight;
    for (int o = 0; o < iOut; ++o) {
        const double from = o * step, to = from + step;
        listFirst[size_t(o)] = int(listSource.size());
        if (step <= 1.0) {
            listSource.push_back(std::min(along - 1, int(from + step / 2)));
            listWeight.push_back(1.0f);
            continue;
        }
        for (int s = int(from); s < std::min(along, int(std::ceil(to))); ++s) {
            listSource.push_back(s);
            listWeight.push_back(float((std::min(to, s + 1.0) - std::max(from, double(s))) / step));
        }
    }
    listFirst[size_t(iOut)] = int(listSource.size());
    std::vector<float> out(size_t(iOut) * size_t(across), 0.0f);
    if (bRows) {
        for (int c = 0; c < across; ++c) {
            const T *row = pIn + size_t(c) * size_t(iInW);
            float *target = &out[size_t(c) * size_t(iOut)];
            for (int o = 0; o < iOut; ++o) {
                float sum = 0.0f;
                for (int k = listFirst[size_t(o)]; k < listFirst[size_t(o) + 1]; ++k)
                    sum += listWeight[size_t(k)] * float(row[listSource[size_t(k)]]);
                target[o] = sum;
            }
        }
    } else {
        for (int o = 0; o < iOut; ++o) {
            float *target = &out[size_t(o) * size_t(iInW)];
            for (int k = listFirst[size_t(o)]; k < listFirst[size_t(o) + 1]; ++k)
                addScaled(target, pIn + size_t(listSource[size_t(k)]) * size_t(iInW), listWeight[size_t(k)], across);
        }
    }
    return out;
}

// Columns first: that pass runs along whole rows, which the compiler vectorises, and
// leaves the row pass fewer rows.
template <typename T>
std::vector<float> resample(const T *pIn, int iWidth, int iHeight, int iToWidth, int iToHeight)
{
    if (iWidth <= 0 || iHeight <= 0 || iToWidth <= 0 || iToHeight <= 0)
        return std::vector<float>(size_t(std::max(0, iToWidth)) * size_t(std::max(0, iToHeight)), 0.0f);
    const std::vector<float> columns = resampleAxis(pIn, iWidth, iHeight, iToHeight, false);
    return resampleAxis(columns.data(), iWidth, iToHeight, iToWidth, true);
}

} // namespace

std::vector<float> resampleArea(const std::vector<float> &in, int iWidth, int iHeight, int iToWidth, int iToHeight)
{
    return resample(in.data(), iWidth, iHeight, iToWidth, iToHeight);
}

std::vector<float> CGrayImage::resized(int iToWidth, int iToHeight) const
{
    return resample(pixels.data(), isNull() ? 0 : iWidth, iHeight, iToWidth, iToHeight);
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
