// The lookup tables the pixel effects share: the sine table always, the 5-bit channel, fade, add,
// subtract, grey and random tables only on a 16-bit screen. Filled once by the screen set-up.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "draw/draw_internal.h"

namespace zuDraw {

namespace {

void buildSine(EffectTables& t) {
    for (int32_t i = 0; i < 450; ++i)
        t.sine[i] = int32_t(std::sin(2.0 * M_PI * i / 360.0) * 360.0);
}

void buildPixelRgb5(EffectTables& t, const PixelFormat& f) {
    auto five = [](uint32_t value, uint32_t max) { return uint8_t(max == 63 ? value >> 1 : value); };
    for (uint32_t r = 0; r <= f.redMax; ++r)
        for (uint32_t g = 0; g <= f.greenMax; ++g)
            for (uint32_t b = 0; b <= f.blueMax; ++b) {
                uint32_t index = ((r << f.redShift) + (g << f.greenShift) + b) & 0xFFFFu;
                t.pixelRgb5[index][0] = five(r, f.redMax);
                t.pixelRgb5[index][1] = five(g, f.greenMax);
                t.pixelRgb5[index][2] = five(b, f.blueMax);
            }
}

void buildChannelTables(EffectTables& t, const PixelFormat& f) {
    const uint16_t shifts[3] = {f.red5Shift, f.green5Shift, f.blue5Shift};
    for (int32_t c = 0; c < 3; ++c)
        for (int32_t hi = 0; hi < 32; ++hi)
            for (int32_t lo = 0; lo < 32; ++lo) {
                t.subTable[(c << 10) | (hi << 5) | lo] = uint16_t(std::max(hi - lo, 0) << shifts[c]);
                for (int32_t j = 0; j < 32; ++j) {
                    int32_t index = (c << 15) | (j << 10) | (hi << 5) | lo;
                    int32_t fade = std::max(hi - j, 0) + std::max(lo - (31 - j), 0);
                    int32_t h = hi > j ? hi - j : 0;
                    t.fadeTable[index] = uint16_t(fade << shifts[c]);
                    t.addTable[index] = uint16_t(std::min(h + lo, 31) << shifts[c]);
                }
            }
}

}  // namespace

void buildEffectTables(bool sixteenBit) {
    EffectTables& t = effectTables;
    buildSine(t);
    t.built16 = 0;
    if (!sixteenBit) return;
    buildPixelRgb5(t, pixelFormat);
    buildChannelTables(t, pixelFormat);
    for (int32_t s = 0; s < 94; ++s) t.greyTable[s] = uint16_t(s / 3);
    for (int8_t& entry : t.randomTable) entry = int8_t(std::rand() % 3);
    t.built16 = 1;
}

}  // namespace zuDraw
