// BMP decoding: every header form, depth and compression a picture file may use. Every read is
// checked against the end of the file; anything that does not add up refuses the whole file.
#include "platform/video/bmp.h"

#include <algorithm>
#include <bit>

namespace platform {
namespace {

constexpr int32_t maxSide = 16384;
constexpr int64_t maxPixels = int64_t(1) << 24;

constexpr uint32_t compRgb = 0, compRle8 = 1, compRle4 = 2, compBitfields = 3, compAlphaBitfields = 6;

// Little-endian reads that fail rather than pass the end.
struct Bytes {
    std::span<const uint8_t> data;

    bool has(size_t at, size_t n) const { return at <= data.size() && n <= data.size() - at; }
    uint32_t u8(size_t at) const { return data[at]; }
    uint32_t u16(size_t at) const { return data[at] | data[at + 1] << 8; }
    uint32_t u32(size_t at) const { return u16(at) | u16(at + 2) << 16; }
};

struct Channel {
    uint32_t mask = 0;
    int shift = 0, bits = 0;
};

Channel channelOf(uint32_t mask) {
    Channel c{mask, 0, 0};
    if (mask) {
        c.shift = std::countr_zero(mask);
        c.bits = 32 - std::countl_zero(mask >> c.shift);
    }
    return c;
}

// A field's value widened to 8 bits by repeating its bits, so full scale stays full scale.
uint32_t widen(uint32_t pixel, const Channel& c) {
    if (!c.bits) return 0;
    uint32_t v = (pixel & c.mask) >> c.shift;
    if (c.bits >= 8) return v >> (c.bits - 8);
    uint32_t out = 0;
    for (int filled = 0; filled < 8; filled += c.bits) out = out << c.bits | v;
    return out >> (((8 + c.bits - 1) / c.bits) * c.bits - 8);
}

struct Header {
    int32_t width = 0, height = 0;
    bool topDown = false;
    uint32_t bitCount = 0, compression = compRgb;
    uint32_t paletteAt = 0, paletteEntrySize = 4, paletteCount = 0;
    uint32_t dataAt = 0;
    Channel red, green, blue, alpha;
};

bool readCoreHeader(const Bytes& b, Header& h) {
    if (!b.has(14, 12)) return false;
    h.width = int32_t(b.u16(18));
    h.height = int32_t(b.u16(20));
    if (b.u16(22) != 1) return false;
    h.bitCount = b.u16(24);
    h.paletteAt = 26;
    h.paletteEntrySize = 3;
    h.paletteCount = h.bitCount <= 8 ? 1u << h.bitCount : 0;
    return true;
}

void defaultMasks(Header& h) {
    if (h.bitCount == 16) {
        h.red = channelOf(0x7C00), h.green = channelOf(0x03E0), h.blue = channelOf(0x001F);
    } else {
        h.red = channelOf(0xFF0000), h.green = channelOf(0xFF00), h.blue = channelOf(0xFF);
        if (h.bitCount == 32) h.alpha = channelOf(0xFF000000);
    }
}

// Masks sit inside headers of 52 bytes and more, otherwise right after the 40-byte header.
bool readMasks(const Bytes& b, uint32_t headerSize, Header& h) {
    bool withAlpha = h.compression == compAlphaBitfields || headerSize >= 56;
    uint32_t count = withAlpha ? 4 : 3;
    uint32_t at = 14 + 40;
    if (!b.has(at, count * 4)) return false;
    h.red = channelOf(b.u32(at)), h.green = channelOf(b.u32(at + 4)), h.blue = channelOf(b.u32(at + 8));
    h.alpha = withAlpha ? channelOf(b.u32(at + 12)) : Channel{};
    if (headerSize < 52) h.paletteAt += count * 4;
    return true;
}

bool readInfoHeader(const Bytes& b, uint32_t headerSize, Header& h) {
    if (!b.has(14, headerSize)) return false;
    int32_t height = int32_t(b.u32(22));
    if (height == INT32_MIN) return false;
    h.width = int32_t(b.u32(18));
    h.topDown = height < 0;
    h.height = height < 0 ? -height : height;
    if (b.u16(26) != 1) return false;
    h.bitCount = b.u16(28);
    h.compression = b.u32(30);
    h.paletteAt = 14 + headerSize;
    uint32_t used = b.u32(46);
    if (h.bitCount <= 8) {
        uint32_t most = 1u << h.bitCount;
        h.paletteCount = used == 0 || used > most ? most : used;
    }
    defaultMasks(h);
    if (h.compression == compBitfields || h.compression == compAlphaBitfields)
        return readMasks(b, headerSize, h);
    return true;
}

bool validKind(const Header& h) {
    switch (h.compression) {
    case compRgb:
        return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
               h.bitCount == 24 || h.bitCount == 32;
    case compRle8: return h.bitCount == 8 && !h.topDown;
    case compRle4: return h.bitCount == 4 && !h.topDown;
    case compBitfields:
    case compAlphaBitfields: return h.bitCount == 16 || h.bitCount == 32;
    default: return false;
    }
}

bool readHeader(const Bytes& b, Header& h) {
    if (!b.has(0, 18) || b.u8(0) != 'B' || b.u8(1) != 'M') return false;
    uint32_t headerSize = b.u32(14);
    bool read = headerSize == 12 ? readCoreHeader(b, h)
                : headerSize >= 40 && headerSize <= 124 ? readInfoHeader(b, headerSize, h)
                                                        : false;
    if (!read || !validKind(h)) return false;
    if (h.width <= 0 || h.height <= 0 || h.width > maxSide || h.height > maxSide ||
        int64_t(h.width) * h.height > maxPixels)
        return false;
    // A palette may be shorter than it claims when the pixels start before its end.
    uint32_t dataAt = b.u32(10);
    if (h.paletteCount && dataAt > h.paletteAt) {
        uint32_t room = (dataAt - h.paletteAt) / h.paletteEntrySize;
        if (room < h.paletteCount) h.paletteCount = room;
    }
    uint64_t paletteEnd = h.paletteAt + uint64_t(h.paletteCount) * h.paletteEntrySize;
    if (!b.has(h.paletteAt, paletteEnd - h.paletteAt)) return false;
    h.dataAt = dataAt ? dataAt : uint32_t(paletteEnd);
    return h.dataAt < b.data.size();
}

// Indices past the end of a short palette are black.
struct Palette {
    uint32_t colors[256] = {};
};

Palette readPalette(const Bytes& b, const Header& h) {
    Palette p;
    for (uint32_t i = 0; i < h.paletteCount && i < 256; ++i) {
        size_t at = h.paletteAt + size_t(i) * h.paletteEntrySize;
        p.colors[i] = b.u8(at + 2) << 16 | b.u8(at + 1) << 8 | b.u8(at);
    }
    return p;
}

uint32_t* rowOut(Image& img, const Header& h, int32_t fileRow) {
    int32_t y = h.topDown ? fileRow : h.height - 1 - fileRow;
    return img.xrgb.data() + size_t(y) * h.width;
}

uint32_t maskedPixel(uint32_t v, const Header& h) {
    uint32_t a = h.alpha.bits ? widen(v, h.alpha) : 0;
    return a << 24 | widen(v, h.red) << 16 | widen(v, h.green) << 8 | widen(v, h.blue);
}

bool decodeRows(const Bytes& b, const Header& h, const Palette& pal, Image& img) {
    size_t stride = ((size_t(h.width) * h.bitCount + 31) / 32) * 4;
    if (!b.has(h.dataAt, stride * h.height)) return false;
    for (int32_t row = 0; row < h.height; ++row) {
        const uint8_t* in = b.data.data() + h.dataAt + stride * row;
        uint32_t* out = rowOut(img, h, row);
        for (int32_t x = 0; x < h.width; ++x) {
            switch (h.bitCount) {
            case 1: out[x] = pal.colors[in[x >> 3] >> (7 - (x & 7)) & 1]; break;
            case 4: out[x] = pal.colors[in[x >> 1] >> (x & 1 ? 0 : 4) & 15]; break;
            case 8: out[x] = pal.colors[in[x]]; break;
            case 16: out[x] = maskedPixel(in[2 * x] | in[2 * x + 1] << 8, h); break;
            case 24: out[x] = uint32_t(in[3 * x + 2]) << 16 | in[3 * x + 1] << 8 | in[3 * x]; break;
            default:
                out[x] = maskedPixel(in[4 * x] | in[4 * x + 1] << 8 | in[4 * x + 2] << 16 |
                                         uint32_t(in[4 * x + 3]) << 24, h);
            }
        }
    }
    return true;
}

// Run-length streams: a run repeats one byte (two alternating indices for RLE4); escapes end a
// line, end the picture, move the pen, or give literal indices padded to a 16-bit boundary.
struct RleCursor {
    const Header& h;
    const Palette& pal;
    Image& img;
    int32_t x = 0, row = 0;

    void put(uint32_t index) {
        if (x >= h.width) return;  // the rest of an overlong line is dropped
        rowOut(img, h, row)[x++] = pal.colors[index];
    }
};

void putRun(RleCursor& c, uint32_t count, uint32_t value, bool rle4) {
    for (uint32_t i = 0; i < count; ++i) c.put(rle4 ? (i & 1 ? value & 15 : value >> 4) : value);
}

bool putLiteral(const Bytes& b, size_t& at, RleCursor& c, uint32_t count, bool rle4) {
    size_t bytes = rle4 ? (count + 1) / 2 : count;
    size_t padded = (bytes + 1) & ~size_t(1);
    if (!b.has(at, padded)) return false;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t v = rle4 ? b.u8(at + i / 2) >> (i & 1 ? 0 : 4) & 15 : b.u8(at + i);
        c.put(v);
    }
    at += padded;
    return true;
}

bool decodeRle(const Bytes& b, const Header& h, const Palette& pal, Image& img) {
    bool rle4 = h.compression == compRle4;
    std::fill(img.xrgb.begin(), img.xrgb.end(), pal.colors[0]);
    RleCursor c{h, pal, img};
    size_t at = h.dataAt;
    while (c.row < h.height) {
        if (!b.has(at, 2)) return false;
        uint32_t first = b.u8(at), second = b.u8(at + 1);
        at += 2;
        if (first) {
            putRun(c, first, second, rle4);
        } else if (second == 0) {
            c.x = 0, ++c.row;
        } else if (second == 1) {
            return true;
        } else if (second == 2) {
            if (!b.has(at, 2)) return false;
            c.x = std::min(c.x + int32_t(b.u8(at)), h.width);
            c.row += int32_t(b.u8(at + 1));
            at += 2;
        } else if (!putLiteral(b, at, c, second, rle4)) {
            return false;
        }
    }
    return true;  // every row written: a missing end marker is forgiven
}

}  // namespace

bool decodeBmp(std::span<const uint8_t> file, Image& out) {
    out = {};
    Bytes b{file};
    Header h;
    if (!readHeader(b, h)) return false;
    Palette pal = readPalette(b, h);
    Image img;
    img.width = h.width;
    img.height = h.height;
    img.xrgb.assign(size_t(h.width) * h.height, 0);
    bool ok = h.compression == compRle8 || h.compression == compRle4 ? decodeRle(b, h, pal, img)
                                                                      : decodeRows(b, h, pal, img);
    if (!ok) return false;
    out = std::move(img);
    return true;
}

}  // namespace platform
