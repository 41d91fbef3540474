// Reading draw packs: entries of width, height (2 bytes each, little-endian), a NUL-ended name
// and width x height 15-bit pixels, one after another with no index. Every read is checked
// against the file's size, so a cut or inconsistent pack is refused, never read past. Needs no
// other part of the framework (the fuzz target compiles it alone).
#pragma once
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "draw/zu_draw.h"

namespace zuDraw {

constexpr size_t maxPackNameBytes = 127;  // longer stored names end the search

struct PackEntry {
    uint16_t width = 0;
    uint16_t height = 0;
    char name[maxPackNameBytes + 1] = {};
    int64_t pixelBytes() const { return int64_t(width) * height * 2; }
};

// Reads the sizes and the name at the file's position; false at the end of the file, when it
// ends inside them, or for a name over maxPackNameBytes.
bool readPackEntry(FILE* pack, PackEntry& entry);
// Steps over the pixels of the entry just read; false when the file ends inside them.
bool skipPackPixels(FILE* pack, const PackEntry& entry, int64_t packBytes);
// The first entry stored as `name`, searched from the start; the file is left at its first
// pixel. False when there is none, or when the one found has a size of 0 or is cut short.
bool findPackEntry(FILE* pack, std::string_view name, PackEntry& entry);
// The pixels of the entry found, as stored (2 bytes each); false on a short read.
bool readPackPixels(FILE* pack, const PackEntry& entry, std::vector<uint8_t>& stored);
// Writes one row of stored pixels into a surface row: 16-bit values through the 5-bit shifts of
// `format`, or, for a 32-bit surface, each channel widened to 8 bits at its shift.
void writePackRow(const uint8_t* stored, int32_t width, uint8_t* row, bool wide,
                  const PixelFormat& format);

}  // namespace zuDraw
