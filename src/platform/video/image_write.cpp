// Picture files out: 24-bit BMP and PNG (zlib for compression and the chunk checksums).
// Uses nothing else of the platform, so build-time tools compile this file alone.
#include "platform/video/image_write.h"

#include <zlib.h>

#include <cstdio>
#include <memory>

#include "platform/video/surface.h"

namespace platform {
namespace {

void put16le(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32le(std::vector<uint8_t>& out, uint32_t v) {
    put16le(out, v & 0xFFFF);
    put16le(out, v >> 16);
}
void put32be(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

// A 5- or 6-bit field widened to 8 bits by repeating its top bits.
uint32_t widen5(uint32_t v) { return v << 3 | v >> 2; }
uint32_t widen6(uint32_t v) { return v << 2 | v >> 4; }

uint32_t toXrgb(Format f, uint32_t raw) {
    switch (f) {
    case Format::rgb565:
        return widen5(raw >> 11 & 31) << 16 | widen6(raw >> 5 & 63) << 8 | widen5(raw & 31);
    case Format::rgb555:
        return widen5(raw >> 10 & 31) << 16 | widen5(raw >> 5 & 31) << 8 | widen5(raw & 31);
    case Format::xrgb8888: return raw & 0xFFFFFF;
    }
    return 0;
}

void pngChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    put32be(out, uint32_t(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32be(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return false;
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!f) return false;
    bool whole = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    return std::fclose(f.release()) == 0 && whole;
}

bool validSize(int32_t width, int32_t height) {
    return width > 0 && height > 0 && width <= 65535 && height <= 65535;
}

}  // namespace

std::vector<uint32_t> surfacePixels(const Surface& s) {
    std::vector<uint32_t> out;
    out.reserve(size_t(s.width) * s.height);
    int32_t bytes = s.format == Format::xrgb8888 ? 4 : 2;
    for (int32_t y = 0; y < s.height; ++y) {
        const uint8_t* row = s.memory.data() + size_t(y) * s.pitch;
        for (int32_t x = 0; x < s.width; ++x) {
            const uint8_t* p = row + size_t(x) * bytes;
            uint32_t raw = bytes == 4 ? p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24
                                      : uint32_t(p[0] | p[1] << 8);
            out.push_back(toXrgb(s.format, raw));
        }
    }
    return out;
}

std::vector<uint8_t> encodeBmp24(int32_t width, int32_t height, const uint32_t* xrgb) {
    if (!validSize(width, height) || !xrgb) return {};
    uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
    uint32_t pixelBytes = stride * uint32_t(height);
    std::vector<uint8_t> out{'B', 'M'};
    put32le(out, 54 + pixelBytes), put32le(out, 0), put32le(out, 54);
    put32le(out, 40), put32le(out, uint32_t(width)), put32le(out, uint32_t(height));
    put16le(out, 1), put16le(out, 24), put32le(out, 0), put32le(out, pixelBytes);
    put32le(out, 2835), put32le(out, 2835), put32le(out, 0), put32le(out, 0);
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint32_t* row = xrgb + size_t(y) * width;
        size_t start = out.size();
        for (int32_t x = 0; x < width; ++x) {
            out.push_back(uint8_t(row[x]));
            out.push_back(uint8_t(row[x] >> 8));
            out.push_back(uint8_t(row[x] >> 16));
        }
        out.resize(start + stride, 0);
    }
    return out;
}

std::vector<uint8_t> encodePng(int32_t width, int32_t height, const uint32_t* xrgb, bool withAlpha) {
    if (!validSize(width, height) || !xrgb) return {};
    int channels = withAlpha ? 4 : 3;
    std::vector<uint8_t> raw;  // each row: filter type 0, then the samples
    raw.reserve(size_t(height) * (1 + size_t(width) * channels));
    for (int32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int32_t x = 0; x < width; ++x) {
            uint32_t p = xrgb[size_t(y) * width + x];
            raw.push_back(uint8_t(p >> 16)), raw.push_back(uint8_t(p >> 8)), raw.push_back(uint8_t(p));
            if (withAlpha) raw.push_back(uint8_t(p >> 24));
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK) return {};
    packed.resize(packedSize);

    std::vector<uint8_t> header;
    put32be(header, uint32_t(width)), put32be(header, uint32_t(height));
    header.insert(header.end(), {8, uint8_t(withAlpha ? 6 : 2), 0, 0, 0});
    std::vector<uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    pngChunk(out, "IHDR", header);
    pngChunk(out, "IDAT", packed);
    pngChunk(out, "IEND", {});
    return out;
}

bool writeBmp24(const std::string& path, int32_t width, int32_t height, const uint32_t* xrgb) {
    return writeFile(path, encodeBmp24(width, height, xrgb));
}

bool writeBmp24(const std::string& path, const Surface& s) {
    return writeFile(path, encodeBmp24(s.width, s.height, surfacePixels(s).data()));
}

bool writePng(const std::string& path, int32_t width, int32_t height, const uint32_t* xrgb,
              bool withAlpha) {
    return writeFile(path, encodePng(width, height, xrgb, withAlpha));
}

bool writePng(const std::string& path, const Surface& s) {
    return writeFile(path, encodePng(s.width, s.height, surfacePixels(s).data()));
}

}  // namespace platform
