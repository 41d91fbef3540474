// BMP files in every form the decoder reads, built byte by byte.
#include "support/bmp_writer.h"
#include "support/little_endian.h"

#include <bit>

namespace testsupport {
namespace {

using testbytes::put16;
using testbytes::put32;
void set32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
}

// Keeps the top bits of an 8-bit channel in the mask's field.
uint32_t packChannel(uint32_t value8, uint32_t mask) {
    if (!mask) return 0;
    int shift = std::countr_zero(mask), bits = std::popcount(mask);
    uint32_t v = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
    return (v << shift) & mask;
}

uint32_t packPixel(uint32_t rgb, const uint32_t masks[3]) {
    return packChannel(rgb >> 16 & 0xFF, masks[0]) | packChannel(rgb >> 8 & 0xFF, masks[1]) |
           packChannel(rgb & 0xFF, masks[2]);
}

void writeRow(std::vector<uint8_t>& out, const BmpPicture& p, int32_t y, const BmpOptions& o) {
    static const uint32_t mask555[3] = {0x7C00, 0x03E0, 0x001F};
    static const uint32_t mask888[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    const uint32_t* masks = o.masks[0] ? o.masks : o.bits == 16 ? mask555 : mask888;
    size_t start = out.size();
    uint32_t bitBuffer = 0;
    int bitCount = 0;
    for (int32_t x = 0; x < p.width; ++x) {
        uint32_t rgb = p.color(x, y);
        if (o.bits <= 8) {
            bitBuffer = bitBuffer << o.bits | p.index[size_t(y) * p.width + x];
            bitCount += o.bits;
            if (bitCount == 8) out.push_back(uint8_t(bitBuffer)), bitBuffer = 0, bitCount = 0;
        } else if (o.bits == 16) {
            put16(out, packPixel(rgb, masks));
        } else if (o.bits == 24) {
            out.push_back(uint8_t(rgb)), out.push_back(uint8_t(rgb >> 8)), out.push_back(uint8_t(rgb >> 16));
        } else {
            put32(out, packPixel(rgb, masks));
        }
    }
    if (bitCount) out.push_back(uint8_t(bitBuffer << (8 - bitCount)));
    while ((out.size() - start) % 4) out.push_back(0);
}

// Runs of equal indices become encoded runs; stretches of three or more changing indices
// become literal runs; every row ends with an end-of-line, the picture with end-of-bitmap.
void writeRleRow(std::vector<uint8_t>& out, const uint8_t* row, int32_t width, bool four) {
    auto pack = [&](int32_t from, int32_t count) {
        for (int32_t i = 0; i < count; i += four ? 2 : 1) {
            uint8_t v = row[from + i];
            if (four) v = uint8_t(v << 4 | (i + 1 < count ? row[from + i + 1] : 0));
            out.push_back(v);
        }
    };
    int32_t x = 0;
    while (x < width) {
        int32_t run = 1;
        while (x + run < width && row[x + run] == row[x] && run < 255) ++run;
        if (run >= 2 || width - x < 3) {
            int32_t n = run >= 2 ? run : 1;
            out.push_back(uint8_t(n));
            out.push_back(four ? uint8_t(row[x] << 4 | row[x]) : row[x]);
            x += n;
            continue;
        }
        int32_t n = 1;
        while (x + n < width && n < 254 && row[x + n] != row[x + n - 1]) ++n;
        if (n < 3) n = 1;
        if (n == 1) {
            out.push_back(1), out.push_back(four ? uint8_t(row[x] << 4) : row[x]);
        } else {
            out.push_back(0), out.push_back(uint8_t(n));
            size_t start = out.size();
            pack(x, n);
            if ((out.size() - start) % 2) out.push_back(0);
        }
        x += n;
    }
    out.push_back(0), out.push_back(0);
}

}  // namespace

BmpPicture testPicture(int32_t width, int32_t height, int32_t colours) {
    static const uint8_t levels[4] = {0x00, 0xFF, 0x84, 0x42};
    BmpPicture p;
    p.width = width;
    p.height = height;
    for (int32_t i = 0; i < colours; ++i)
        p.palette.push_back(uint32_t(levels[i % 4]) << 16 | uint32_t(levels[(i / 4) % 4]) << 8 |
                            levels[(i / 16 + i) % 4]);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            p.index.push_back(uint8_t(x < width / 2 ? (x / 4 + y) % colours : (x * 7 + y) % colours));
    return p;
}

std::vector<uint8_t> writeBmp(const BmpPicture& p, const BmpOptions& o) {
    bool bitfields = o.masks[0] != 0;
    uint32_t headerSize = o.coreHeader ? 12 : o.masksInHeader ? 56 : 40;
    uint32_t paletteCount = o.bits > 8 ? 0 : o.paletteCount ? o.paletteCount : 1u << o.bits;
    uint32_t entry = o.coreHeader ? 3 : 4;
    std::vector<uint8_t> out{'B', 'M'};
    put32(out, 0), put32(out, 0), put32(out, 0);  // size and offset patched below
    put32(out, headerSize);
    if (o.coreHeader) {
        put16(out, p.width), put16(out, p.height), put16(out, 1), put16(out, o.bits);
    } else {
        put32(out, p.width), put32(out, o.topDown ? -p.height : p.height);
        put16(out, 1), put16(out, o.bits);
        put32(out, o.rle ? (o.bits == 8 ? 1 : 2) : bitfields ? 3 : 0);
        put32(out, 0), put32(out, 2835), put32(out, 2835);
        put32(out, o.paletteCount ? paletteCount : 0), put32(out, 0);
        if (bitfields || o.masksInHeader)
            for (int i = 0; i < 3; ++i) put32(out, o.masks[i]);
        if (o.masksInHeader) put32(out, 0);
    }
    for (uint32_t i = 0; i < paletteCount; ++i) {
        uint32_t c = i < p.palette.size() ? p.palette[i] : 0;
        out.push_back(uint8_t(c)), out.push_back(uint8_t(c >> 8)), out.push_back(uint8_t(c >> 16));
        if (entry == 4) out.push_back(0);
    }
    set32(out, 10, uint32_t(out.size()));
    for (int32_t i = 0; i < p.height; ++i) {
        int32_t y = o.topDown ? i : p.height - 1 - i;
        if (o.rle)
            writeRleRow(out, p.index.data() + size_t(y) * p.width, p.width, o.bits == 4);
        else
            writeRow(out, p, y, o);
    }
    if (o.rle) out.push_back(0), out.push_back(1);
    set32(out, 2, uint32_t(out.size()));
    return out;
}

std::vector<BmpVariant> allBmpVariants() {
    auto v = [](const char* name, int32_t colours, BmpOptions o) { return BmpVariant{name, o, colours}; };
    return {
        v("bits1", 2, {.bits = 1}),
        v("bits4", 16, {.bits = 4}),
        v("bits8", 40, {.bits = 8}),
        v("bits16", 64, {.bits = 16}),
        v("bits24", 64, {.bits = 24}),
        v("bits32", 64, {.bits = 32}),
        v("rle4", 16, {.bits = 4, .rle = true}),
        v("rle8", 40, {.bits = 8, .rle = true}),
        v("bitfields565", 64, {.bits = 16, .masks = {0xF800, 0x07E0, 0x001F}}),
        v("bitfields32", 64, {.bits = 32, .masks = {0xFF000000, 0x00FF0000, 0x0000FF00}}),
        v("bitfields565v3", 64, {.bits = 16, .masks = {0xF800, 0x07E0, 0x001F}, .masksInHeader = true}),
        v("topdown24", 64, {.bits = 24, .topDown = true}),
        v("topdown8", 40, {.bits = 8, .topDown = true}),
        v("core1", 2, {.bits = 1, .coreHeader = true}),
        v("core8", 40, {.bits = 8, .coreHeader = true}),
        v("core24", 64, {.bits = 24, .coreHeader = true}),
        v("short4", 5, {.bits = 4, .paletteCount = 5}),
        v("short8", 12, {.bits = 8, .paletteCount = 12}),
        v("shortrle8", 12, {.bits = 8, .rle = true, .paletteCount = 12}),
    };
}

}  // namespace testsupport
