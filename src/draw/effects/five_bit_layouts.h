// The two ways the per-pixel effects take a 16-bit pixel apart into 5-bit channels. RGB565 has
// its shifts fixed, so loops over it vectorise; any other layout keeps its shifts in registers (a
// store through uint16_t* would otherwise reload them from pixelFormat for every pixel) and reads
// its channels from pixelRgb5, which gives 0 for bits outside the masks.
#pragma once
#include <cstdint>

#include "draw/draw_internal.h"
#include "draw/effects/effect_frame.h"

namespace zuDraw::effects {

// Every value is a pixel, so the channels are shifted out directly: what pixelRgb5 holds.
// Pixels are taken and given in 32-bit words (the low 16 bits), so that loops need no widening.
struct Rgb565 {
    static uint32_t channel(uint16_t p, int32_t k) {
        const uint32_t shift = k == 0 ? 11 : k == 1 ? 6 : 0;
        return uint32_t(p) >> shift & 31;
    }
    // Red | green << 10 | blue << 20: room for sums of a few neighbours without carries.
    static uint32_t spread(uint32_t p) { return p >> 11 | (p >> 6 & 31) << 10 | (p & 31) << 20; }
    // Back from spread fields of 0 to 31 to a pixel, in 32-bit arithmetic throughout so that
    // loops over whole words need no narrowing.
    static uint32_t pack(uint32_t s) { return (s & 31) << 11 | (s >> 4 & 0x7C0) | s >> 20; }
    static uint16_t pack5(uint32_t r, uint32_t g, uint32_t b) {
        return uint16_t(r << 11 | g << 6 | b);
    }
};

class AnyLayout {
public:
    AnyLayout()
        : red_(pixelFormat.red5Shift),
          green_(pixelFormat.green5Shift),
          blue_(pixelFormat.blue5Shift) {}
    static uint32_t channel(uint16_t p, int32_t k) { return rgb5(p)[k]; }
    static uint32_t spread(uint32_t p) {
        const uint8_t* c = rgb5(uint16_t(p));
        return uint32_t(c[0]) | uint32_t(c[1]) << 10 | uint32_t(c[2]) << 20;
    }
    uint32_t pack(uint32_t s) const {
        return (s & 31) << red_ | (s >> 10 & 31) << green_ | (s >> 20 & 31) << blue_;
    }
    uint16_t pack5(uint32_t r, uint32_t g, uint32_t b) const {
        return uint16_t(r << red_ | g << green_ | b << blue_);
    }

private:
    uint32_t red_, green_, blue_;
};

// Runs body(layout) with the back buffer's layout.
template <class Body>
void withLayout(Body&& body) {
    const PixelFormat& f = pixelFormat;
    if (f.redMask == 0xF800 && f.greenMask == 0x07E0 && f.blueMask == 0x001F)
        body(Rgb565{});
    else
        body(AnyLayout{});
}

}  // namespace zuDraw::effects
