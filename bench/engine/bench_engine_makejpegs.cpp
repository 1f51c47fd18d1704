// Writes N distinct 12 MP JPEGs for the scan benchmark: smooth random colour
// fields with sensor-like noise, so that they compress like photos. Every tenth
// one repeats the field of the one before, with other noise, to give groups.
// With "camera", every photo carries camera EXIF and a 160x120 thumbnail in IFD1 as
// cameras write them, one in twenty repeats the one before (10 % in groups), and one
// in fifty was cropped after its thumbnail was written, which still shows the whole.
#include "BenchPhotos.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A little-endian TIFF block for one EXIF APP1 segment.
class CTiff
{
public:
    std::vector<unsigned char> bytes;

    void u16(size_t at, unsigned v) { bytes[at] = v & 0xFF; bytes[at + 1] = (v >> 8) & 0xFF; }
    void u32(size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = (v >> (8 * i)) & 0xFF; }
    // An IFD of n entries at the end; returns its offset. Entries are written with entry().
    size_t ifd(int n)
    {
        const size_t at = bytes.size();
        bytes.resize(at + 2 + size_t(n) * 12 + 4, 0);
        u16(at, unsigned(n));
        return at;
    }
    // Values of more than four bytes go to the end of the block.
    void entry(size_t ifdAt, int k, unsigned tag, unsigned type, uint32_t count, uint32_t value)
    {
        const size_t at = ifdAt + 2 + size_t(k) * 12;
        u16(at, tag);
        u16(at + 2, type);
        u32(at + 4, count);
        if (type == 3 && count == 1)
            u16(at + 8, value);
        else
            u32(at + 8, value);
    }
    uint32_t text(const std::string &s)
    {
        const size_t at = bytes.size();
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
        return uint32_t(at);
    }
};

// The APP1 segment: make, model, dates, the picture's size and the thumbnail.
std::vector<unsigned char> exifSegment(int i, int iWidth, int iHeight, const unsigned char *pThumb, size_t thumbSize)
{
    CTiff t;
    t.bytes = {'I', 'I', 42, 0, 8, 0, 0, 0};
    char date[32];
    std::snprintf(date, sizeof date, "2023:%02d:%02d %02d:%02d:00", i / 40000 % 12 + 1, i / 1440 % 28 + 1,
                  i / 60 % 24, i % 60);
    const size_t ifd0 = t.ifd(5);
    const uint32_t make = t.text("Canon"), model = t.text("Canon EOS 80D"), dateAt = t.text(date);
    t.entry(ifd0, 0, 0x010F, 2, 6, make);
    t.entry(ifd0, 1, 0x0110, 2, 14, model);
    t.entry(ifd0, 2, 0x0112, 3, 1, 1);
    t.entry(ifd0, 3, 0x0132, 2, 20, dateAt);
    const size_t exif = t.ifd(3);
    t.entry(ifd0, 4, 0x8769, 4, 1, uint32_t(exif));
    const uint32_t dateOriginal = t.text(date);
    t.entry(exif, 0, 0x9003, 2, 20, dateOriginal);
    t.entry(exif, 1, 0xA002, 4, 1, uint32_t(iWidth));
    t.entry(exif, 2, 0xA003, 4, 1, uint32_t(iHeight));
    const size_t ifd1 = t.ifd(3);
    t.u32(ifd0 + 2 + 5 * 12, uint32_t(ifd1));  // IFD0's link to IFD1, the thumbnail's
    t.entry(ifd1, 0, 0x0103, 3, 1, 6);
    t.entry(ifd1, 1, 0x0201, 4, 1, uint32_t(t.bytes.size()));
    t.entry(ifd1, 2, 0x0202, 4, 1, uint32_t(thumbSize));
    t.bytes.insert(t.bytes.end(), pThumb, pThumb + thumbSize);
    std::vector<unsigned char> seg = {0xFF, 0xE1, 0, 0, 'E', 'x', 'i', 'f', 0, 0};
    seg.insert(seg.end(), t.bytes.begin(), t.bytes.end());
    const size_t len = seg.size() - 2;
    seg[2] = (len >> 8) & 0xFF;
    seg[3] = len & 0xFF;
    return seg;
}

// The camera's thumbnail: box averages of the whole frame.
std::vector<unsigned char> thumbnailOf(tjhandle handle, const std::vector<unsigned char> &pixels)
{
    constexpr int kTw = 160, kTh = 120, kBox = kWidth / kTw;
    std::vector<unsigned char> small(size_t(kTw) * kTh * 3);
    for (int ty = 0; ty < kTh; ++ty)
        for (int tx = 0; tx < kTw; ++tx)
            for (int c = 0; c < 3; ++c) {
                unsigned sum = 0;
                for (int y = ty * kBox; y < (ty + 1) * kBox; ++y)
                    for (int x = tx * kBox; x < (tx + 1) * kBox; ++x)
                        sum += pixels[(size_t(y) * kWidth + size_t(x)) * 3 + size_t(c)];
                small[(size_t(ty) * kTw + size_t(tx)) * 3 + size_t(c)] = static_cast<unsigned char>(sum / (kBox * kBox));
            }
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    std::vector<unsigned char> out;
    if (tjCompress2(handle, small.data(), kTw, 0, kTh, TJPF_RGB, &jpeg, &size, TJSAMP_420, 75, 0) == 0)
        out.assign(jpeg, jpeg + size);
    tjFree(jpeg);
    return out;
}

bool writeOne(tjhandle handle, const std::string &strDir, int i, std::vector<unsigned char> &pixels, bool bCamera)
{
    const int iPeriod = bCamera ? 20 : 10;
    const int iSource = i - (i % iPeriod == iPeriod - 1 ? 1 : 0);
    benchphotos::fillField(pixels.data(), kWidth, kHeight, 12, uint32_t(iSource) * 2654435761u + 1u,
                           uint32_t(i) * 40503u + 7u, 8);
    std::vector<unsigned char> exif;
    const int iStoredWidth = bCamera && i % 50 == 25 ? kWidth * 17 / 20 : kWidth;
    if (bCamera) {
        const std::vector<unsigned char> thumb = thumbnailOf(handle, pixels);
        exif = exifSegment(iSource, iStoredWidth, kHeight, thumb.data(), thumb.size());
    }
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    if (tjCompress2(handle, pixels.data(), iStoredWidth, kWidth * 3, kHeight, TJPF_RGB, &jpeg, &size, TJSAMP_420, 90,
                    TJFLAG_FASTDCT) != 0)
        return false;
    char name[64];
    std::snprintf(name, sizeof name, "/img_%05d.jpg", i);
    FILE *file = std::fopen((strDir + name).c_str(), "wb");
    bool bOk = file && std::fwrite(jpeg, 1, 2, file) == 2;
    bOk = bOk && (exif.empty() || std::fwrite(exif.data(), 1, exif.size(), file) == exif.size());
    bOk = bOk && std::fwrite(jpeg + 2, 1, size - 2, file) == size - 2;
    if (file)
        std::fclose(file);
    tjFree(jpeg);
    return bOk;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <count> [camera]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const int count = std::atoi(argv[2]);
    const bool bCamera = argc > 3 && std::strcmp(argv[3], "camera") == 0;
    return benchphotos::onAllCores(count, [&](tjhandle handle, int i) {
        thread_local std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 3);
        return writeOne(handle, dir, i, pixels, bCamera);
    }) ? 0 : 1;
}
