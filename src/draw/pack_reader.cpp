// Draw pack entries read with every size checked against the file.
#include "draw/pack_reader.h"

#include <cstring>

namespace zuDraw {

namespace {

int64_t fileBytes(FILE* file) {
    long at = std::ftell(file);
    if (at < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    long size = std::ftell(file);
    return std::fseek(file, at, SEEK_SET) == 0 ? size : -1;
}

bool readUint16(FILE* file, uint16_t& value) {
    uint8_t bytes[2];
    if (std::fread(bytes, 1, 2, file) != 2) return false;
    value = uint16_t(bytes[0] | bytes[1] << 8);
    return true;
}

bool pixelsFit(FILE* pack, const PackEntry& entry, int64_t packBytes) {
    long at = std::ftell(pack);
    return at >= 0 && entry.pixelBytes() <= packBytes - at;
}

uint32_t widen(uint32_t five) { return five << 3 | five >> 2; }

}  // namespace

bool readPackEntry(FILE* pack, PackEntry& entry) {
    if (!readUint16(pack, entry.width) || !readUint16(pack, entry.height)) return false;
    for (size_t i = 0; i <= maxPackNameBytes; ++i) {
        int c = std::fgetc(pack);
        if (c == EOF) return false;
        entry.name[i] = char(c);
        if (c == '\0') return true;
    }
    return false;
}

bool skipPackPixels(FILE* pack, const PackEntry& entry, int64_t packBytes) {
    return pixelsFit(pack, entry, packBytes) && std::fseek(pack, long(entry.pixelBytes()), SEEK_CUR) == 0;
}

bool findPackEntry(FILE* pack, std::string_view name, PackEntry& entry) {
    int64_t packBytes = fileBytes(pack);
    if (packBytes < 0 || std::fseek(pack, 0, SEEK_SET) != 0) return false;
    while (readPackEntry(pack, entry)) {
        if (name == entry.name)
            return entry.width > 0 && entry.height > 0 && pixelsFit(pack, entry, packBytes);
        if (!skipPackPixels(pack, entry, packBytes)) return false;
    }
    return false;
}

bool readPackPixels(FILE* pack, const PackEntry& entry, std::vector<uint8_t>& stored) {
    stored.resize(size_t(entry.pixelBytes()));
    return std::fread(stored.data(), 1, stored.size(), pack) == stored.size();
}

void writePackRow(const uint8_t* stored, int32_t width, uint8_t* row, bool wide,
                  const PixelFormat& f) {
    auto value = [stored](int32_t x) { return uint32_t(stored[2 * x] | stored[2 * x + 1] << 8); };
    if (wide) {
        for (int32_t x = 0; x < width; ++x) {
            uint32_t v = value(x);
            uint32_t pixel = widen(v >> 10 & 31) << f.redShift | widen(v >> 5 & 31) << f.greenShift |
                             widen(v & 31) << f.blueShift;
            std::memcpy(row + 4 * x, &pixel, 4);
        }
        return;
    }
    for (int32_t x = 0; x < width; ++x) {
        uint32_t v = value(x);
        auto pixel = uint16_t((v >> 10 & 31) << f.red5Shift | (v >> 5 & 31) << f.green5Shift |
                              (v & 31) << f.blue5Shift);
        std::memcpy(row + 2 * x, &pixel, 2);
    }
}

}  // namespace zuDraw
