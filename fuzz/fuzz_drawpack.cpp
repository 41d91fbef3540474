// Fuzzes the draw pack reader: any input is searched, loaded and listed, or refused, without a
// fault; an entry found is never empty and holds exactly width x height pixels.
#include <cstdio>
#include <cstdlib>

#include "draw/pack_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* pack = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : nullptr;
    if (!pack) return 0;
    zuDraw::PackEntry entry;
    std::vector<uint8_t> stored, row;
    if (zuDraw::findPackEntry(pack, "A", entry) && zuDraw::readPackPixels(pack, entry, stored)) {
        if (entry.width == 0 || entry.height == 0 || stored.size() != size_t(entry.width) * entry.height * 2) std::abort();
        row.resize(size_t(entry.width) * 4);
        for (const uint8_t* from = stored.data(); from < stored.data() + stored.size(); from += entry.width * 2) {
            zuDraw::writePackRow(from, entry.width, row.data(), false, {.red5Shift = 11, .green5Shift = 6});  // 565
            zuDraw::writePackRow(from, entry.width, row.data(), true, {.redShift = 16, .greenShift = 8});     // 32 bits
        }
    }
    std::rewind(pack);
    while (zuDraw::readPackEntry(pack, entry) && zuDraw::skipPackPixels(pack, entry, int64_t(size))) {
    }
    std::fclose(pack);
    return 0;
}
