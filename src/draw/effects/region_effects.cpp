// Effects on a rectangle of the back buffer itself: fire, softening, noise, the circular mosaic
// and inversion. They ignore the clip rectangle; each cuts its rectangle to the back buffer with
// the margin its neighbour reads need, so every read and write stays inside it.
#include <algorithm>
#include <cmath>

#include "draw/draw_internal.h"
#include "draw/effects/effect_frame.h"
#include "platform/text/draw_context.h"

namespace zuDraw {

RegionEffectState regionEffectState;

namespace {

using effects::Pixels16;

// Which channels lose 1 (of 31) after averaging.
struct Fades {
    bool red = false, green = false, blue = false;
};

// Five-bit channels held side by side in one word, red | green << 10 | blue << 20, so that four
// neighbours add up in one sum without carries.
struct Spread {
    static constexpr uint32_t fields = 31 | 31 << 10 | 31u << 20, ones = 1 | 1 << 10 | 1u << 20;
    // The average of four spread neighbours, each faded channel lowered by 1 unless 0.
    static uint32_t average(uint32_t sum, uint32_t fadeBits) {
        uint32_t a = sum >> 2 & fields;
        uint32_t nonZero = ((a + fields) >> 5) & ones;
        return a - (nonZero & fadeBits);
    }
    static uint32_t fadeBits(Fades f) {
        return (f.red ? 1u : 0u) | (f.green ? 1u << 10 : 0u) | (f.blue ? 1u << 20 : 0u);
    }
};

// RGB565, the usual layout, with its shifts fixed: every value is a pixel, so the channels are
// shifted out directly, which is what pixelRgb5 holds.
struct Rgb565 {
    static uint32_t spread(uint16_t p) {
        return uint32_t(p >> 11) | (p >> 6 & 31) << 10 | uint32_t(p & 31) << 20;
    }
    static uint16_t pack(uint32_t s) {
        return uint16_t((s & 31) << 11 | (s >> 10 & 31) << 6 | (s >> 20 & 31));
    }
};

// Any other 16-bit layout: the 5-bit shifts held in registers (a store through uint16_t* would
// otherwise reload them from pixelFormat for every pixel), the channels read from pixelRgb5,
// which gives 0 for bits outside the masks.
class AnyLayout {
public:
    AnyLayout()
        : red_(pixelFormat.red5Shift),
          green_(pixelFormat.green5Shift),
          blue_(pixelFormat.blue5Shift) {}
    uint32_t spread(uint16_t p) const {
        const uint8_t* c = effects::rgb5(p);
        return uint32_t(c[0]) | uint32_t(c[1]) << 10 | uint32_t(c[2]) << 20;
    }
    uint16_t pack(uint32_t s) const {
        return uint16_t((s & 31) << red_ | (s >> 10 & 31) << green_ | (s >> 20 & 31) << blue_);
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

// Centre pixels [left, right) × [top, bottom), worked out in 64 bits and cut to keep `margin`
// pixels of room to every edge of the buffer for the neighbours a centre reads or writes.
struct Span {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};
Span cutToBuffer(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t margin,
                 const Pixels16& p) {
    left = std::max<int64_t>(left, margin);
    top = std::max<int64_t>(top, margin);
    right = std::min<int64_t>(right, p.width - margin);
    bottom = std::min<int64_t>(bottom, p.height - margin);
    if (right <= left || bottom <= top) return {};
    return {int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
}

// Locks the back buffer alone (as both halves of the effect lock) and runs body(pixels).
template <class Body>
int32_t onBackBuffer(Body&& body) {
    if (!effects::ready()) return 0;
    effects::EffectLock lock(*screenState.back, *screenState.back);
    if (!lock.ok()) return 0;
    body(lock.dest);
    return 1;
}

int32_t fire(int32_t& step, int32_t& read, Fades fades, int32_t x, int32_t y, int32_t w,
             int32_t h) {
    return onBackBuffer([&](const Pixels16& p) {
        // Centres: columns x + 1 .. x + w - 2, rows y + 2 .. y + h - 1; each writes the pixel
        // above it and reads the one below, so a centre needs one pixel of room on every side.
        Span s =
            cutToBuffer(int64_t(x) + 1, int64_t(y) + 2, int64_t(x) + w - 1, int64_t(y) + h, 1, p);
        if (s.empty()) return;
        const uint32_t fade = Spread::fadeBits(fades);
        const int8_t* table = effectTables.randomTable;
        effects::RandomReader random{read};
        int32_t counter = step;
        withLayout([&](const auto& five) {
            for (int32_t row = s.top; row < s.bottom; ++row) {
                uint16_t* above = p.row(row - 1);
                const uint16_t* centre =
                    p.row(row);  // this row is only read while it is the centre
                const uint16_t* below = p.row(row + 1);
                uint32_t left = five.spread(centre[s.left - 1]),
                         middle = five.spread(centre[s.left]);
                for (int32_t column = s.left; column < s.right; ++column) {
                    uint32_t right = five.spread(centre[column + 1]);
                    if (++counter >= table[random.position]) {
                        above[column] = centre[column];
                        counter = 0;
                        random.next();
                    } else {
                        uint32_t sum =
                            left + right + five.spread(above[column]) + five.spread(below[column]);
                        above[column] = five.pack(Spread::average(sum, fade));
                    }
                    left = middle;
                    middle = right;
                }
            }
        });
        step = counter;
        read = random.position;
    });
}

int32_t soften(Fades fades, int32_t x, int32_t y, int32_t w, int32_t h) {
    return onBackBuffer([&](const Pixels16& p) {
        Span s = cutToBuffer(int64_t(x) + 1, int64_t(y) + 1, int64_t(x) + w - 1, int64_t(y) + h - 1,
                             1, p);
        if (s.empty()) return;
        const uint32_t fade = Spread::fadeBits(fades);
        withLayout([&](const auto& five) {
            for (int32_t row = s.top; row < s.bottom; ++row) {
                uint16_t* line = p.row(row);
                const uint16_t* above = p.row(row - 1);  // already softened
                const uint16_t* below = p.row(row + 1);
                uint32_t left = five.spread(line[s.left - 1]);
                for (int32_t column = s.left; column < s.right; ++column) {
                    uint32_t sum = left + five.spread(line[column + 1]) +
                                   five.spread(above[column]) + five.spread(below[column]);
                    left = Spread::average(sum, fade);  // the next pixel's left neighbour, softened
                    line[column] = five.pack(left);
                }
            }
        });
    });
}

int32_t noise(int32_t& read, bool red, bool green, bool blue, int32_t shift, int32_t x, int32_t y,
              int32_t w, int32_t h) {
    shift = std::clamp(shift, 0, 15);  // a wider shift is undefined; 15 already saturates
    return onBackBuffer([&](const Pixels16& p) {
        Span s = cutToBuffer(x, y, int64_t(x) + w, int64_t(y) + h, 0, p);
        const uint32_t on = (red ? 63u : 0u) | (green ? 63u << 10 : 0u) | (blue ? 63u << 20 : 0u);
        effects::RandomReader random{read};
        withLayout([&](const auto& five) {
            for (int32_t row = s.top; row < s.bottom; ++row) {
                uint16_t* line = p.row(row);
                for (int32_t column = s.left; column < s.right; ++column) {
                    uint32_t n = uint32_t(std::min(random.next() << shift, 31));
                    uint32_t raised = five.spread(line[column]) + (n * Spread::ones & on);
                    // Fields above 31 (bit 5 set) become 31.
                    uint32_t over = (raised >> 5) & Spread::ones;
                    raised = (raised | over * 31) & Spread::fields;
                    line[column] = five.pack(raised);
                }
            }
        });
        read = random.position;
    });
}

// The offsets [start, end) around a centre at `centre` that stay on a line of `length` pixels.
std::pair<int64_t, int64_t> offsetsOnScreen(int64_t centre, int64_t radius, int64_t length) {
    return {std::max(-radius, -centre), std::min(radius, length - centre)};
}

}  // namespace

int32_t Fire(int32_t x, int32_t y, int32_t w, int32_t h) {
    RegionEffectState& s = regionEffectState;
    return fire(s.fireStep, s.fireRead, {}, x, y, w, h);
}

int32_t FireRGB(int32_t redFade, int32_t greenFade, int32_t blueFade, int32_t x, int32_t y,
                int32_t w, int32_t h) {
    RegionEffectState& s = regionEffectState;
    return fire(s.fireRgbStep, s.fireRgbRead, {redFade != 0, greenFade != 0, blueFade != 0}, x, y,
                w, h);
}

int32_t Soften(int32_t x, int32_t y, int32_t w, int32_t h) {
    return soften({}, x, y, w, h);
}

int32_t SoftenRGB(int32_t redFade, int32_t greenFade, int32_t blueFade, int32_t x, int32_t y,
                  int32_t w, int32_t h) {
    return soften({redFade != 0, greenFade != 0, blueFade != 0}, x, y, w, h);
}

int32_t Noise(int32_t shift, int32_t x, int32_t y, int32_t w, int32_t h) {
    return noise(regionEffectState.noiseRead, true, true, true, shift, x, y, w, h);
}

int32_t NoiseRGB(int32_t redOn, int32_t greenOn, int32_t blueOn, int32_t shift, int32_t x,
                 int32_t y, int32_t w, int32_t h) {
    return noise(regionEffectState.noiseRgbRead, redOn != 0, greenOn != 0, blueOn != 0, shift, x, y,
                 w, h);
}

int32_t CircleMosaic(int32_t cx, int32_t cy, int32_t radius, int32_t cell) {
    return onBackBuffer([&](const Pixels16& p) {
        if (cell < 1 || radius < 1) return;  // a cell below 1 would never step on
        auto [startX, endX] = offsetsOnScreen(cx, radius, p.width);
        auto [startY, endY] = offsetsOnScreen(cy, radius, p.height);
        for (int64_t oy = startY; oy < endY; oy += cell)
            for (int64_t ox = startX; ox < endX; ox += cell) {
                uint16_t colour = p.row(int32_t(cy + oy))[cx + ox];
                for (int64_t dy = oy; dy < std::min(oy + cell, int64_t(p.height) - cy); ++dy)
                    for (int64_t dx = ox; dx < std::min(ox + cell, int64_t(p.width) - cx); ++dx)
                        if (int64_t(std::sqrt(double(dx * dx + dy * dy))) < radius)
                            p.row(int32_t(cy + dy))[cx + dx] = colour;
            }
    });
}

int32_t Invert(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!screenState.back) return 0;
    platform::DrawContext* dc = platform::getDC(*screenState.back);
    if (!dc) return 0;
    platform::invertRect(dc, {left, top, right, bottom});
    platform::releaseDC(dc);
    return 1;
}

}  // namespace zuDraw
