#pragma once

// Photos for the benchmarks, made fast on every core: smooth colour fields under
// noise, written as JPEG by turbojpeg. Copies of one photo share the field's seed and
// differ in the noise's.
#include <turbojpeg.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace benchphotos {

inline uint32_t next(uint32_t &state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// Fills RGB pixels of iWidth x iHeight (rows of iWidth * 3 bytes): iGrid x iGrid random
// colours of field, blended, each pixel moved by iBright plus noise in [-iNoise, iNoise].
inline void fillField(unsigned char *pPixels, int iWidth, int iHeight, int iGrid, uint32_t field, uint32_t noise,
                      int iNoise, int iBright = 0)
{
    const int iCells = iGrid + 1;
    std::vector<float> grid(size_t(iCells) * size_t(iCells) * 3);
    for (float &c : grid)
        c = float(next(field) % 256);
    const auto at = [&](int y, int x, int c) { return grid[(size_t(y) * size_t(iCells) + size_t(x)) * 3 + size_t(c)]; };
    for (int y = 0; y < iHeight; ++y) {
        const float gy = float(y) * float(iGrid) / float(iHeight);
        const int y0 = int(gy);
        const float fy = gy - float(y0);
        unsigned char *pOut = pPixels + size_t(y) * size_t(iWidth) * 3;
        for (int x = 0; x < iWidth; ++x) {
            const float gx = float(x) * float(iGrid) / float(iWidth);
            const int x0 = int(gx);
            const float fx = gx - float(x0);
            const int n = int(next(noise) % uint32_t(2 * iNoise + 1)) - iNoise + iBright;
            for (int c = 0; c < 3; ++c) {
                const float f = (at(y0, x0, c) * (1 - fx) + at(y0, x0 + 1, c) * fx) * (1 - fy)
                    + (at(y0 + 1, x0, c) * (1 - fx) + at(y0 + 1, x0 + 1, c) * fx) * fy;
                pOut[3 * x + c] = static_cast<unsigned char>(std::clamp(int(f) + n, 0, 255));
            }
        }
    }
}

// The pixels as a 4:2:0 JPEG file.
inline bool writeJpeg(tjhandle handle, const unsigned char *pPixels, int iWidth, int iHeight, int iQuality,
                      const char *pszPath)
{
    unsigned char *pJpeg = nullptr;
    unsigned long size = 0;
    if (tjCompress2(handle, pPixels, iWidth, 0, iHeight, TJPF_RGB, &pJpeg, &size, TJSAMP_420, iQuality, 0) != 0)
        return false;
    FILE *pFile = std::fopen(pszPath, "wb");
    bool bOk = pFile && std::fwrite(pJpeg, 1, size, pFile) == size;
    if (pFile)
        bOk = std::fclose(pFile) == 0 && bOk;
    tjFree(pJpeg);
    return bOk;
}

// Calls write(handle, i) for every i below iCount on all cores, each thread with a
// compressor of its own; false once a call fails.
inline bool onAllCores(int iCount, const std::function<bool(tjhandle, int)> &write)
{
    std::atomic<int> next{0};
    std::atomic<bool> bOk{true};
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t) {
        threads.emplace_back([&] {
            tjhandle handle = tjInitCompress();
            for (int i = next++; i < iCount && bOk; i = next++)
                if (!write(handle, i))
                    bOk = false;
            tjDestroy(handle);
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    return bOk;
}

} // namespace benchphotos
