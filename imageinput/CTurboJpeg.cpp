#include "CTurboJpeg.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace {

// The example luminance table of the JPEG standard, which encoders scale by quality.
constexpr std::array<int, 64> kStandardLuma = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

struct CThreadHandle
{
    tjhandle h = tjInitDecompress();
    ~CThreadHandle()
    {
        if (h)
            tjDestroy(h);
    }
};

thread_local CThreadHandle t_handle;

} // namespace

tjhandle CTurboJpeg::handle()
{
    return t_handle.h;
}

std::string CTurboJpeg::failed()
{
    std::string strError = t_handle.h ? tjGetErrorStr2(t_handle.h) : "turbojpeg unavailable";
    if (t_handle.h)
        tjDestroy(t_handle.h);
    t_handle.h = tjInitDecompress();
    return strError;
}

bool CTurboJpeg::readHeader(const uint8_t *pData, size_t size, CHeader &header, std::string &strError)
{
    if (!t_handle.h) {
        strError = "turbojpeg unavailable";
        return false;
    }
    if (tjDecompressHeader3(t_handle.h, const_cast<unsigned char *>(pData), static_cast<unsigned long>(size),
                            &header.iWidth, &header.iHeight, &header.iSubsamp, &header.iColorspace)
        != 0) {
        strError = failed();
        return false;
    }
    return true;
}

tjscalingfactor CTurboJpeg::scaleFor(int iWidth, int iHeight, int iMinSide)
{
    int iCount = 0;
    const tjscalingfactor *pFactors = tjGetScalingFactors(&iCount);
    tjscalingfactor best{1, 1};
    int iBestSide = std::max(iWidth, iHeight);
    for (int i = 0; pFactors && i < iCount; ++i) {
        const tjscalingfactor factor = pFactors[i];
        if (factor.num > factor.denom)
            continue;
        const int iSide = TJSCALED(std::max(iWidth, iHeight), factor);
        if (iSide >= iMinSide && iSide < iBestSide) {
            best = factor;
            iBestSide = iSide;
        }
    }
    return best;
}

int CTurboJpeg::quality(const uint8_t *pData, size_t size)
{
    if (size < 4 || pData[0] != 0xFF || pData[1] != 0xD8)
        return 0;
    size_t pos = 2;
    while (pos + 4 <= size) {
        if (pData[pos] != 0xFF) {
            ++pos;
            continue;
        }
        const uint8_t marker = pData[pos + 1];
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return 0;
        const size_t length = size_t(pData[pos + 2]) << 8 | pData[pos + 3];
        if (length < 2 || pos + 2 + length > size)
            return 0;
        if (marker == 0xDB) {
            size_t at = pos + 4;
            const size_t end = pos + 2 + length;
            while (at < end) {
                const int precision = pData[at] >> 4;
                const int id = pData[at] & 0x0F;
                const size_t bytes = precision ? 128 : 64;
                if (at + 1 + bytes > end)
                    return 0;
                if (id == 0) {
                    long sum = 0;
                    for (size_t i = 0; i < 64; ++i)
                        sum += precision ? (pData[at + 1 + 2 * i] << 8 | pData[at + 2 + 2 * i]) : pData[at + 1 + i];
                    const double scale = 100.0 * sum / std::accumulate(kStandardLuma.begin(), kStandardLuma.end(), 0);
                    const double q = scale <= 100.0 ? (200.0 - scale) / 2.0 : 5000.0 / scale;
                    return std::clamp(int(std::lround(q)), 1, 100);
                }
                at += 1 + bytes;
            }
        }
        pos += 2 + length;
    }
    return 0;
}
