// RIFF/WAVE parsing: chunk search inside the form, the format with its extra bytes, and the
// sample data, every read checked against the image's bounds.
#include "sound/wave_reader.h"

#include <cstring>

namespace zuSound {
namespace {

uint32_t read32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint16_t read16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

struct Chunk {
    size_t start = 0;  // first byte of the chunk's data
    uint32_t size = 0;
};

// Finds the chunk `id` among the chunks from `from` up to `end`; only its header need lie there.
bool findChunk(const uint8_t* image, size_t from, size_t end, const char* id, Chunk& out) {
    uint64_t at = from;
    while (at + 8 <= end) {
        const uint32_t size = read32(image + at + 4);
        if (std::memcmp(image + at, id, 4) == 0) {
            out = {size_t(at + 8), size};
            return true;
        }
        at += 8 + uint64_t(size) + (size & 1);  // chunks are padded to an even length
    }
    return false;
}

constexpr uint16_t pcmTag = 1;
constexpr size_t formatHeaderBytes = 18;
constexpr size_t formHeaderBytes = 12;  // "RIFF", size, "WAVE"

bool readFormat(const uint8_t* image, size_t size, const Chunk& fmt, std::vector<uint8_t>& format) {
    if (fmt.size < 16 || fmt.start + 16 > size) return false;
    uint16_t extra = 0;
    // Only non-PCM formats carry a count of extra bytes; it and the bytes must lie in the chunk.
    if (read16(image + fmt.start) != pcmTag && fmt.size >= formatHeaderBytes) {
        if (fmt.start + formatHeaderBytes > size) return false;
        extra = read16(image + fmt.start + 16);
        if (formatHeaderBytes + extra > fmt.size || fmt.start + formatHeaderBytes + extra > size) return false;
    }
    format.assign(formatHeaderBytes + extra, 0);
    std::memcpy(format.data(), image + fmt.start, 16);
    format[16] = uint8_t(extra);
    format[17] = uint8_t(extra >> 8);
    std::memcpy(format.data() + formatHeaderBytes, image + fmt.start + formatHeaderBytes, extra);
    return true;
}

}  // namespace

bool parseWave(const uint8_t* image, size_t size, std::vector<uint8_t>& format,
               std::vector<uint8_t>& data) {
    format.clear();
    data.clear();
    if (!image || size < formHeaderBytes) return false;
    if (std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0) return false;
    const uint64_t formEnd = 8 + uint64_t(read32(image + 4));
    const size_t end = formEnd < size ? size_t(formEnd) : size;
    Chunk fmt, samples;
    if (!findChunk(image, formHeaderBytes, end, "fmt ", fmt) || !readFormat(image, size, fmt, format)) {
        format.clear();
        return false;
    }
    if (!findChunk(image, formHeaderBytes, end, "data", samples) ||
        uint64_t(samples.start) + samples.size > size) {
        format.clear();
        return false;
    }
    data.assign(image + samples.start, image + samples.start + samples.size);
    return true;
}

}  // namespace zuSound
