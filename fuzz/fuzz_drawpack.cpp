// Fuzzes the draw pack reader: any input must be searched, listed and loaded or refused without a
// fault; an entry found is never empty and its pixels are exactly width x height.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "draw/pack_reader.h"

namespace {

// Searches for `name` and, when found, converts its rows as a 16-bit and as a 32-bit screen would.
void load(FILE* pack, const char* name) {
    zuDraw::PackEntry entry;
    std::vector<uint8_t> stored;
    if (!zuDraw::findPackEntry(pack, name, entry) || !zuDraw::readPackPixels(pack, entry, stored)) return;
    if (entry.width == 0 || entry.height == 0 || stored.size() != size_t(entry.width) * entry.height * 2) std::abort();
    zuDraw::PixelFormat format565{.redShift = 11, .greenShift = 5, .red5Shift = 11, .green5Shift = 6};
    zuDraw::PixelFormat format32{.redShift = 16, .greenShift = 8, .red5Shift = 16, .green5Shift = 8};
    std::vector<uint8_t> row(size_t(entry.width) * 4);
    for (int32_t y = 0; y < entry.height; ++y) {
        const uint8_t* from = stored.data() + size_t(y) * entry.width * 2;
        zuDraw::writePackRow(from, entry.width, row.data(), false, format565);
        zuDraw::writePackRow(from, entry.width, row.data(), true, format32);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* pack = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : nullptr;
    if (!pack) return 0;
    zuDraw::PackEntry first;
    std::vector<char> firstName;
    if (zuDraw::readPackEntry(pack, first)) firstName.assign(first.name, first.name + sizeof first.name);
    load(pack, "A.BMP");
    if (!firstName.empty()) load(pack, firstName.data());
    std::rewind(pack);
    zuDraw::PackEntry entry;  // the listing of zudrawpack --list
    while (zuDraw::readPackEntry(pack, entry) && zuDraw::skipPackPixels(pack, entry, int64_t(size))) {
    }
    std::fclose(pack);
    return 0;
}
