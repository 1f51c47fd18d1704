#include "CDetailMeasure.h"

#include "CImageDecoder.h"

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

// Photos leave cameras at 90 or more; below that every step of quality costs detail,
// so that a messenger's quality 75 already falls into the first rule's band. A floor
// keeps even a heavily compressed copy inside that band below its original instead of
// dropping it out of the comparison.
double qualityFactor(int iQuality)
{
    if (iQuality <= 0)
        return 1.0;
    return std::clamp(1.0 - 0.015 * (90 - iQuality), 0.3, 1.0);
}

} // namespace

namespace CDetailMeasure {

int jpegQuality(const uint8_t *pData, size_t size)
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
                    const double quality = scale <= 100.0 ? (200.0 - scale) / 2.0 : 5000.0 / scale;
                    return std::clamp(int(std::lround(quality)), 1, 100);
                }
                at += 1 + bytes;
            }
        }
        pos += 2 + length;
    }
    return 0;
}

double score(const CDecodedImage &decoded)
{
    // Thin structures read more or less sharp as they meet the work grid, so that a
    // crop of a smooth photo can read up to a quarter sharper; the damping keeps such
    // a copy within the first rule's band above its original while blur still counts.
    const double sharpness = std::pow(decoded.gray.fineDetailRatio(), 0.75);
    const double linearSize = std::sqrt(double(decoded.iFullWidth) * double(decoded.iFullHeight)) / 1000.0;
    double colourFactor = 1.0;
    if (decoded.bPalette)
        colourFactor = 0.5;
    else if (decoded.bGrey)
        colourFactor = 0.6;
    return sharpness * linearSize * qualityFactor(decoded.iJpegQuality) * colourFactor;
}

} // namespace CDetailMeasure
