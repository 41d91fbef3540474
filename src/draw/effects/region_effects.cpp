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

int32_t faded(int32_t v, bool fade) { return fade && v > 0 ? v - 1 : v; }

// The average of the four neighbours of pixel (x, y), in 5-bit channels.
uint16_t neighbourAverage(const Pixels16& p, int32_t x, int32_t y, Fades fades) {
    const uint8_t* l = effects::rgb5(p.row(y)[x - 1]);
    const uint8_t* r = effects::rgb5(p.row(y)[x + 1]);
    const uint8_t* u = effects::rgb5(p.row(y - 1)[x]);
    const uint8_t* d = effects::rgb5(p.row(y + 1)[x]);
    return effects::pack5(faded((l[0] + r[0] + u[0] + d[0]) >> 2, fades.red),
                          faded((l[1] + r[1] + u[1] + d[1]) >> 2, fades.green),
                          faded((l[2] + r[2] + u[2] + d[2]) >> 2, fades.blue));
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

int32_t fire(int32_t& step, int32_t& read, Fades fades, int32_t x, int32_t y, int32_t w, int32_t h) {
    return onBackBuffer([&](const Pixels16& p) {
        // Centres: columns x + 1 .. x + w - 2, rows y + 2 .. y + h - 1; each writes the pixel
        // above it and reads the one below, so a centre needs one pixel of room on every side.
        Span s = cutToBuffer(int64_t(x) + 1, int64_t(y) + 2, int64_t(x) + w - 1, int64_t(y) + h, 1, p);
        effects::RandomReader random{read};
        for (int32_t row = s.top; row < s.bottom; ++row)
            for (int32_t column = s.left; column < s.right; ++column) {
                uint16_t* above = p.row(row - 1) + column;
                if (++step >= effectTables.randomTable[random.position]) {
                    *above = p.row(row)[column];
                    step = 0;
                    random.next();
                } else {
                    *above = neighbourAverage(p, column, row, fades);
                }
            }
        read = random.position;
    });
}

int32_t soften(Fades fades, int32_t x, int32_t y, int32_t w, int32_t h) {
    return onBackBuffer([&](const Pixels16& p) {
        Span s = cutToBuffer(int64_t(x) + 1, int64_t(y) + 1, int64_t(x) + w - 1, int64_t(y) + h - 1, 1, p);
        for (int32_t row = s.top; row < s.bottom; ++row)
            for (int32_t column = s.left; column < s.right; ++column)
                p.row(row)[column] = neighbourAverage(p, column, row, fades);
    });
}

int32_t noise(int32_t& read, bool red, bool green, bool blue, int32_t shift, int32_t x, int32_t y,
              int32_t w, int32_t h) {
    shift = std::clamp(shift, 0, 15);  // a wider shift is undefined; 15 already saturates
    return onBackBuffer([&](const Pixels16& p) {
        Span s = cutToBuffer(x, y, int64_t(x) + w, int64_t(y) + h, 0, p);
        effects::RandomReader random{read};
        auto raised = [](int32_t v, int32_t n, bool on) { return on ? std::min(v + n, 31) : v; };
        for (int32_t row = s.top; row < s.bottom; ++row)
            for (int32_t column = s.left; column < s.right; ++column) {
                uint16_t& pixel = p.row(row)[column];
                int32_t n = random.next() << shift;
                const uint8_t* c = effects::rgb5(pixel);
                pixel = effects::pack5(raised(c[0], n, red), raised(c[1], n, green), raised(c[2], n, blue));
            }
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

int32_t FireRGB(int32_t redFade, int32_t greenFade, int32_t blueFade, int32_t x, int32_t y, int32_t w,
                int32_t h) {
    RegionEffectState& s = regionEffectState;
    return fire(s.fireRgbStep, s.fireRgbRead, {redFade != 0, greenFade != 0, blueFade != 0}, x, y, w, h);
}

int32_t Soften(int32_t x, int32_t y, int32_t w, int32_t h) { return soften({}, x, y, w, h); }

int32_t SoftenRGB(int32_t redFade, int32_t greenFade, int32_t blueFade, int32_t x, int32_t y, int32_t w,
                  int32_t h) {
    return soften({redFade != 0, greenFade != 0, blueFade != 0}, x, y, w, h);
}

int32_t Noise(int32_t shift, int32_t x, int32_t y, int32_t w, int32_t h) {
    return noise(regionEffectState.noiseRead, true, true, true, shift, x, y, w, h);
}

int32_t NoiseRGB(int32_t redOn, int32_t greenOn, int32_t blueOn, int32_t shift, int32_t x, int32_t y,
                 int32_t w, int32_t h) {
    return noise(regionEffectState.noiseRgbRead, redOn != 0, greenOn != 0, blueOn != 0, shift, x, y, w, h);
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
