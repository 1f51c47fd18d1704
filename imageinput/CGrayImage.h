#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// An 8-bit grey image as decoders hand it over, with the few pixel operations
// that the features need. Small images only: the decoders scale down first.
struct CGrayImage
{
    int iWidth = 0;
    int iHeight = 0;
    std::vector<uint8_t> pixels;  // row-major, no padding

    bool isNull() const { return iWidth <= 0 || iHeight <= 0; }

    // Area-weighted resample into a float grid (see resampleArea).
    std::vector<float> resized(int iToWidth, int iToHeight) const;
    // The spread of the 4-neighbour Laplacian at a fixed scale (long side 256) over its
    // spread at half that scale: any tonal curve (brightness, contrast) scales both
    // alike where it acts, while blur takes more from the fine scale.
    double fineDetailRatio() const;
};

// Resamples a row-major grid, one axis after the other: each target sample averages
// the source area it covers, a pixel cut by its edge weighted by its covered share, so
// that no size ratio leaves a pattern of its own; nearest sample when enlarging.
std::vector<float> resampleArea(const std::vector<float> &in, int iWidth, int iHeight, int iToWidth, int iToHeight);

// Turns a grid stored as the file holds it upright, following the EXIF orientation
// code (1..8); codes 5 to 8 swap its width and height. Works for any element type.
template <typename T>
std::vector<T> orientGrid(const std::vector<T> &stored, int iWidth, int iHeight, int iOrientation)
{
    std::vector<T> out(stored.size());
    const bool bSwap = iOrientation >= 5 && iOrientation <= 8;
    const int outWidth = bSwap ? iHeight : iWidth, outHeight = bSwap ? iWidth : iHeight;
    const int mx = iWidth - 1, my = iHeight - 1;
    for (int y = 0; y < outHeight; ++y) {
        for (int x = 0; x < outWidth; ++x) {
            int sx = x, sy = y;
            switch (iOrientation) {
            case 2: sx = mx - x; break;
            case 3: sx = mx - x; sy = my - y; break;
            case 4: sy = my - y; break;
            case 5: sx = y; sy = x; break;
            case 6: sx = y; sy = my - x; break;
            case 7: sx = mx - y; sy = my - x; break;
            case 8: sx = mx - y; sy = x; break;
            default: break;
            }
            out[size_t(y) * size_t(outWidth) + size_t(x)] = stored[size_t(sy) * size_t(iWidth) + size_t(sx)];
        }
    }
    return out;
}

template <typename T>
std::vector<T> orientSquare(const std::vector<T> &stored, int iSide, int iOrientation)
{
    return orientGrid(stored, iSide, iSide, iOrientation);
}

// The orientation that undoes iOrientation (rotations by 90 degrees swap).
inline int inverseOrientation(int iOrientation)
{
    return iOrientation == 6 ? 8 : iOrientation == 8 ? 6 : iOrientation;
}
