// Sprite colour filters that look at one pixel: channel mask, brightness, darkening and grey.
// The destination's own colour is not used; it is replaced by the changed source pixel.
#include <cstdint>

#include "draw/draw_internal.h"
#include "draw/effects/effect_frame.h"
#include "draw/effects/opaque_pixels.h"

namespace zuDraw {

using namespace effects;

namespace {

// Draws op(s) for every opaque source pixel s.
template <class Op>
int32_t filterSprite(int32_t x, int32_t y, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                     int32_t sB, Op op) {
    return runSpriteEffect(x, y, obj, {sL, sT, sR, sB}, [&](const SpriteRegion& region) {
        mapOpaque(region, [&](uint16_t s, uint16_t) { return op(s); });
    });
}

}  // namespace

int32_t ChannelMask(int32_t x, int32_t y, int32_t redOn, int32_t greenOn, int32_t blueOn,
                    int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    const PixelFormat& f = pixelFormat;
    const uint16_t mask =
        uint16_t((redOn ? f.redMask : 0) | (greenOn ? f.greenMask : 0) | (blueOn ? f.blueMask : 0));
    return filterSprite(x, y, obj, sL, sT, sR, sB,
                        [mask](uint16_t s) { return uint16_t(s & mask); });
}

int32_t Bright(int32_t x, int32_t y, float f, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
               int32_t sB) {
    return BrightRGB(x, y, f, f, f, obj, sL, sT, sR, sB);
}

int32_t BrightRGB(int32_t x, int32_t y, float fR, float fG, float fB, int32_t obj, int32_t sL,
                  int32_t sT, int32_t sR, int32_t sB) {
    // Above 1.0 a channel would carry into its neighbour.
    fR = clampUnit(fR), fG = clampUnit(fG), fB = clampUnit(fB);
    return filterSprite(x, y, obj, sL, sT, sR, sB, [=](uint16_t s) {
        Channels c = exactChannels(s);
        return packExact(int32_t(float(c.r) * fR), int32_t(float(c.g) * fG),
                         int32_t(float(c.b) * fB));
    });
}

int32_t Darken(int32_t x, int32_t y, int32_t level, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
               int32_t sB) {
    return DarkenRGB(x, y, level, level, level, obj, sL, sT, sR, sB);
}

int32_t DarkenRGB(int32_t x, int32_t y, int32_t levelR, int32_t levelG, int32_t levelB, int32_t obj,
                  int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    const uint16_t* sub = effectTables.subTable;
    const int32_t jR = 31 - clampLevel(levelR), jG = 31 - clampLevel(levelG),
                  jB = 31 - clampLevel(levelB);
    return filterSprite(x, y, obj, sL, sT, sR, sB, [=](uint16_t s) {
        const uint8_t* c = rgb5(s);
        return uint16_t(sub[(0 << 10) | (c[0] << 5) | jR] | sub[(1 << 10) | (c[1] << 5) | jG] |
                        sub[(2 << 10) | (c[2] << 5) | jB]);
    });
}

int32_t Grey(int32_t x, int32_t y, int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    return filterSprite(x, y, obj, sL, sT, sR, sB, [](uint16_t s) {
        const uint8_t* c = rgb5(s);
        const int32_t grey = effectTables.greyTable[c[0] + c[1] + c[2]];
        return pack5(grey, grey, grey);
    });
}

}  // namespace zuDraw
