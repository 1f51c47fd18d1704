// Writes N distinct 12 MP JPEGs for the scan benchmark: smooth random colour
// fields with sensor-like noise, so that they compress like photos. Every tenth
// one repeats the field of the one before, with other noise, to give groups.
#include <turbojpeg.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kGrid = 12;

uint32_t next(uint32_t &state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

bool writeOne(tjhandle handle, const std::string &strDir, int i, std::vector<unsigned char> &pixels)
{
    uint32_t field = uint32_t(i - (i % 10 == 9 ? 1 : 0)) * 2654435761u + 1u;
    uint32_t noise = uint32_t(i) * 40503u + 7u;
    float grid[kGrid + 1][kGrid + 1][3];
    for (auto &row : grid)
        for (auto &cell : row)
            for (float &c : cell)
                c = float(next(field) % 256);
    for (int y = 0; y < kHeight; ++y) {
        const float gy = float(y) * kGrid / kHeight;
        const int y0 = int(gy);
        const float fy = gy - float(y0);
        unsigned char *out = pixels.data() + size_t(y) * kWidth * 3;
        for (int x = 0; x < kWidth; ++x) {
            const float gx = float(x) * kGrid / kWidth;
            const int x0 = int(gx);
            const float fx = gx - float(x0);
            const int n = int(next(noise) % 17) - 8;
            for (int c = 0; c < 3; ++c) {
                const float v = (grid[y0][x0][c] * (1 - fx) + grid[y0][x0 + 1][c] * fx) * (1 - fy)
                    + (grid[y0 + 1][x0][c] * (1 - fx) + grid[y0 + 1][x0 + 1][c] * fx) * fy;
                const int value = int(v) + n;
                out[3 * x + c] = static_cast<unsigned char>(value < 0 ? 0 : value > 255 ? 255 : value);
            }
        }
    }
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    if (tjCompress2(handle, pixels.data(), kWidth, 0, kHeight, TJPF_RGB, &jpeg, &size, TJSAMP_420, 90, TJFLAG_FASTDCT) != 0)
        return false;
    char name[64];
    std::snprintf(name, sizeof name, "/img_%05d.jpg", i);
    FILE *file = std::fopen((strDir + name).c_str(), "wb");
    const bool bOk = file && std::fwrite(jpeg, 1, size, file) == size;
    if (file)
        std::fclose(file);
    tjFree(jpeg);
    return bOk;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <count>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const int count = std::atoi(argv[2]);
    std::atomic<int> index{0};
    std::atomic<bool> bFailed{false};
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t) {
        pool.emplace_back([&] {
            tjhandle handle = tjInitCompress();
            std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 3);
            for (int i = index++; i < count && !bFailed; i = index++)
                if (!writeOne(handle, dir, i, pixels))
                    bFailed = true;
            tjDestroy(handle);
        });
    }
    for (std::thread &th : pool)
        th.join();
    return bFailed ? 1 : 0;
}
