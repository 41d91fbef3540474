// Writes BMP files in every form the decoder reads (depths, RLE, BITFIELDS, row orders, OS/2
// core headers, short palettes), for tests and the fuzz seed corpus.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// An indexed picture, top row first; direct-colour files store palette[index] at their depth.
struct BmpPicture {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint8_t> index;
    uint32_t color(int32_t x, int32_t y) const { return palette[index[size_t(y) * width + x]]; }
};

// `colours` entries whose channels are 0x00, 0x42, 0x84 or 0xFF; runs on the left half and
// changing colours on the right, so RLE files hold both encoded and literal runs.
BmpPicture testPicture(int32_t width, int32_t height, int32_t colours);

struct BmpOptions {
    int32_t bits = 24;
    bool rle = false;            // RLE8 for 8 bits, RLE4 for 4 bits
    bool topDown = false;
    bool coreHeader = false;     // the 12-byte OS/2 header with 3-byte palette entries
    uint32_t masks[3] = {};      // BITFIELDS when the red mask is set (16 and 32 bits)
    bool masksInHeader = false;  // a 56-byte header holding the masks (and alpha 0)
    int32_t paletteCount = 0;    // entries written and declared; 0: all the depth allows
};

std::vector<uint8_t> writeBmp(const BmpPicture&, const BmpOptions&);

struct BmpVariant {
    std::string name;
    BmpOptions options;
    int32_t colours = 2;  // colours the picture may use at this depth
};
std::vector<BmpVariant> allBmpVariants();

}  // namespace testsupport
