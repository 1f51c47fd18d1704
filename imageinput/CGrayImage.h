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

    // Box-filtered downscale (nearest sample when enlarging) into a float grid.
    std::vector<float> resized(int iToWidth, int iToHeight) const;
    // The spread of the 4-neighbour Laplacian at a fixed scale (long side 256) over its
    // spread at half that scale: any tonal curve (brightness, contrast) scales both
    // alike where it acts, while blur takes more from the fine scale.
    double fineDetailRatio() const;
};

// Turns a square grid stored as the file holds it upright, following the EXIF
// orientation code (1..8). Works for any element type.
template <typename T>
std::vector<T> orientSquare(const std::vector<T> &stored, int iSide, int iOrientation)
{
    std::vector<T> out(stored.size());
    const int n = iSide - 1;
    for (int y = 0; y < iSide; ++y) {
        for (int x = 0; x < iSide; ++x) {
            int sx = x, sy = y;
            switch (iOrientation) {
            case 2: sx = n - x; break;
            case 3: sx = n - x; sy = n - y; break;
            case 4: sy = n - y; break;
            case 5: sx = y; sy = x; break;
            case 6: sx = y; sy = n - x; break;
            case 7: sx = n - y; sy = n - x; break;
            case 8: sx = n - y; sy = x; break;
            default: break;
            }
            out[size_t(y * iSide + x)] = stored[size_t(sy * iSide + sx)];
        }
    }
    return out;
}

// The orientation that undoes iOrientation (rotations by 90 degrees swap).
inline int inverseOrientation(int iOrientation)
{
    return iOrientation == 6 ? 8 : iOrientation == 8 ? 6 : iOrientation;
}
