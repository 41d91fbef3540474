// BMP and WAV file images for tests, built byte by byte.
#include <bit>
#include <cmath>
#include <fstream>

#include "support/bmp_writer.h"
#include "support/wav_writer.h"

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); }
void put32(std::vector<uint8_t>& out, uint32_t v) {
    out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}

// A chunk declaring `size` bytes and holding `body`, padded to an even length.
void putChunk(std::vector<uint8_t>& out, const char* id, uint32_t size, const std::vector<uint8_t>& body) {
    out.insert(out.end(), id, id + 4);
    put32(out, size);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
}

// The top bits of each 8-bit channel of 0x00RRGGBB, in its mask's field.
uint32_t packPixel(uint32_t rgb, const uint32_t masks[3]) {
    uint32_t out = 0;
    for (int i = 0; i < 3; ++i) {
        const uint32_t value8 = rgb >> (16 - 8 * i) & 0xFF;
        const int bits = std::popcount(masks[i]);
        if (bits) out |= (bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits)) << std::countr_zero(masks[i]);
    }
    return out;
}

// Runs of equal indices become encoded runs; stretches of three or more changing indices
// become literal runs; every row ends with an end-of-line.
void writeRleRow(std::vector<uint8_t>& out, const uint8_t* row, int32_t width, bool four) {
    for (int32_t x = 0; x < width;) {
        int32_t run = 1, changing = 1;
        while (x + run < width && run < 255 && row[x + run] == row[x]) ++run;
        while (x + changing < width && changing < 254 && row[x + changing] != row[x + changing - 1]) ++changing;
        if (run >= 2 || changing < 3) {
            out.push_back(uint8_t(run));
            out.push_back(four ? uint8_t(row[x] << 4 | row[x]) : row[x]);
            x += run;
            continue;
        }
        out.push_back(0);
        out.push_back(uint8_t(changing));
        const size_t start = out.size();
        for (int32_t i = 0; i < changing; i += four ? 2 : 1)
            out.push_back(four ? uint8_t(row[x + i] << 4 | (i + 1 < changing ? row[x + i + 1] : 0)) : row[x + i]);
        if ((out.size() - start) % 2) out.push_back(0);
        x += changing;
    }
    put16(out, 0);
}

}  // namespace

namespace testsupport {

BmpPicture testPicture(int32_t width, int32_t height, int32_t colours) {
    static const uint8_t levels[4] = {0x00, 0xFF, 0x84, 0x42};
    BmpPicture p{width, height, {}, {}};
    for (int32_t i = 0; i < colours; ++i)
        p.palette.push_back(uint32_t(levels[i % 4]) << 16 | uint32_t(levels[(i / 4) % 4]) << 8 |
                            levels[(i / 16 + i) % 4]);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            p.index.push_back(uint8_t(x < width / 2 ? (x / 4 + y) % colours : (x * 7 + y) % colours));
    return p;
}

std::vector<uint8_t> writeBmp(const BmpPicture& p, const BmpOptions& o) {
    const bool bitfields = o.masks[0] != 0;
    const uint32_t headerSize = o.coreHeader ? 12 : o.masksInHeader ? 56 : 40;
    const uint32_t paletteCount = o.bits > 8 ? 0 : o.paletteCount ? o.paletteCount : 1u << o.bits;
    static const uint32_t mask555[3] = {0x7C00, 0x03E0, 0x001F}, mask888[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    const uint32_t* masks = bitfields ? o.masks : o.bits == 16 ? mask555 : mask888;
    std::vector<uint8_t> pixels;
    for (int32_t i = 0; i < p.height; ++i) {
        const uint8_t* row = p.index.data() + size_t(o.topDown ? i : p.height - 1 - i) * p.width;
        if (o.rle) {
            writeRleRow(pixels, row, p.width, o.bits == 4);
            continue;
        }
        const size_t start = pixels.size();
        for (int32_t x = 0; x < p.width; ++x) {
            if (o.bits <= 8) {
                const int shift = 8 - o.bits - x * o.bits % 8;  // the first pixel in the high bits
                if (shift == 8 - o.bits) pixels.push_back(0);
                pixels.back() |= uint8_t(row[x] << shift);
                continue;
            }
            const uint32_t value = packPixel(p.palette[row[x]], masks);
            for (int bit = 0; bit < o.bits; bit += 8) pixels.push_back(uint8_t(value >> bit));
        }
        while ((pixels.size() - start) % 4) pixels.push_back(0);
    }
    if (o.rle) put16(pixels, 0x100);  // end of bitmap
    std::vector<uint8_t> info;  // the header and the palette
    put32(info, headerSize);
    if (o.coreHeader) {
        put16(info, p.width), put16(info, p.height), put16(info, 1), put16(info, o.bits);
    } else {
        put32(info, p.width), put32(info, o.topDown ? -p.height : p.height);
        put16(info, 1), put16(info, o.bits);
        put32(info, o.rle ? (o.bits == 8 ? 1 : 2) : bitfields ? 3 : 0);
        put32(info, 0), put32(info, 2835), put32(info, 2835);
        put32(info, o.paletteCount ? paletteCount : 0), put32(info, 0);
        if (bitfields || o.masksInHeader)
            for (int i = 0; i < 3; ++i) put32(info, o.masks[i]);
        if (o.masksInHeader) put32(info, 0);
    }
    for (uint32_t i = 0; i < paletteCount; ++i) {
        const uint32_t c = i < p.palette.size() ? p.palette[i] : 0;
        put16(info, c), info.push_back(uint8_t(c >> 16));
        if (!o.coreHeader) info.push_back(0);
    }
    const uint32_t offset = 14 + uint32_t(info.size());
    std::vector<uint8_t> out{'B', 'M'};
    put32(out, offset + uint32_t(pixels.size())), put32(out, 0), put32(out, offset);
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<BmpVariant> allBmpVariants() {
    return {
        {"bits1", {.bits = 1}, 2},
        {"bits4", {.bits = 4}, 16},
        {"bits8", {.bits = 8}, 40},
        {"bits16", {.bits = 16}, 64},
        {"bits24", {.bits = 24}, 64},
        {"bits32", {.bits = 32}, 64},
        {"rle4", {.bits = 4, .rle = true}, 16},
        {"rle8", {.bits = 8, .rle = true}, 40},
        {"bitfields565", {.bits = 16, .masks = {0xF800, 0x07E0, 0x001F}}, 64},
        {"bitfields32", {.bits = 32, .masks = {0xFF000000, 0x00FF0000, 0x0000FF00}}, 64},
        {"bitfields565v3", {.bits = 16, .masks = {0xF800, 0x07E0, 0x001F}, .masksInHeader = true}, 64},
        {"topdown24", {.bits = 24, .topDown = true}, 64},
        {"topdown8", {.bits = 8, .topDown = true}, 40},
        {"core1", {.bits = 1, .coreHeader = true}, 2},
        {"core8", {.bits = 8, .coreHeader = true}, 40},
        {"core24", {.bits = 24, .coreHeader = true}, 64},
        {"short4", {.bits = 4, .paletteCount = 5}, 5},
        {"short8", {.bits = 8, .paletteCount = 12}, 12},
        {"shortrle8", {.bits = 8, .rle = true, .paletteCount = 12}, 12},
    };
}

}  // namespace testsupport

namespace test {

std::vector<uint8_t> wavImage(const WavSpec& s, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> format, body(s.form, s.form + 4), image;
    const uint16_t align = uint16_t(s.channels * (s.bits / 8));
    put16(format, s.tag), put16(format, s.channels), put32(format, s.rate);
    put32(format, s.rate * align), put16(format, align), put16(format, s.bits);
    if (s.tag != 1) {
        put16(format, uint32_t(s.extra.size()));
        format.insert(format.end(), s.extra.begin(), s.extra.end());
    }
    if (s.fmtSize) format.resize(s.fmtSize, 0);
    if (s.oddChunkBefore) putChunk(body, "LIST", 3, {'a', 'b', 'c'});
    for (bool dataNow : {s.dataFirst, !s.dataFirst}) {
        if (dataNow)
            putChunk(body, "data", s.claimedDataSize >= 0 ? uint32_t(s.claimedDataSize) : uint32_t(data.size()), data);
        else
            putChunk(body, "fmt ", uint32_t(format.size()), format);
    }
    putChunk(image, "RIFF", uint32_t(body.size()), body);
    return image;
}

std::vector<uint8_t> pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    for (int16_t v : samples) put16(out, uint16_t(v));
    return out;
}

std::vector<int16_t> sine(double hz, uint32_t rate, uint32_t frames, int16_t amplitude, int channels) {
    std::vector<int16_t> out;
    for (uint32_t i = 0; i < frames; ++i)
        out.insert(out.end(), channels, int16_t(std::lround(amplitude * std::sin(2.0 * M_PI * hz * i / rate))));
    return out;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

}  // namespace test
