// The loop most sprite effects share: every destination pixel under an opaque source pixel
// becomes a function of the two.
#pragma once
#include <cstdint>

#include "draw/effects/blend_rows.h"
#include "draw/effects/effect_frame.h"

namespace zuDraw::effects {

// d = op(s, d) wherever s != 0, rows top to bottom, columns left to right. Where the fast rows
// apply, fast(s, d, width) first does the start of each row the same way (blend_rows.h) and
// returns how many pixels it did.
template <class Fast, class Op>
void mapOpaque(const SpriteRegion& region, Fast&& fast, Op&& op) {
    const bool useFast = fastRowsApply();
    for (int32_t row = 0; row < region.height; ++row) {
        const uint16_t* s = region.sourceRow(row);
        uint16_t* d = region.destRow(row);
        for (int32_t col = useFast ? fast(s, d, region.width) : 0; col < region.width; ++col)
            if (s[col]) d[col] = op(s[col], d[col]);
    }
}
template <class Op>
void mapOpaque(const SpriteRegion& region, Op&& op) {
    mapOpaque(
        region, [](const uint16_t*, uint16_t*, int32_t) { return 0; }, op);
}

// The red, green and blue entries of a 32 × 32 × 32 table (fadeTable, addTable) at one j each.
struct ChannelTables {
    const uint16_t* red;
    const uint16_t* green;
    const uint16_t* blue;
    uint16_t operator()(const uint8_t* hi, const uint8_t* lo) const {
        return uint16_t(red[(hi[0] << 5) | lo[0]] | green[(hi[1] << 5) | lo[1]] |
                        blue[(hi[2] << 5) | lo[2]]);
    }
};
inline ChannelTables channelTables(const uint16_t* table, int32_t jR, int32_t jG, int32_t jB) {
    return {table + (0 << 15) + (jR << 10), table + (1 << 15) + (jG << 10),
            table + (2 << 15) + (jB << 10)};
}

}  // namespace zuDraw::effects
