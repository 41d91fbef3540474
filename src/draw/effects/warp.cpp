// Warps of a blitted rectangle: Ripple plots its pixels displaced by a damped cosine wave;
// StretchEdge repeats one column or row of it out to an edge of the screen.
#include <algorithm>
#include <cmath>

#include "draw/effects/effect_frame.h"

namespace zuDraw {

namespace {

// Truncation toward zero to 32 bits, out-of-range values clamped and NaN taken as 0.
int64_t truncClamped(float value) {
    if (!(value == value)) return 0;
    if (value >= 2147483648.0f) return INT32_MAX;
    if (value <= -2147483648.0f) return INT32_MIN;
    return int64_t(value);
}

int32_t clampToInt(int64_t value) {
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

int32_t Ripple(int32_t x, int32_t y, int32_t amplitude, int32_t frequency, int32_t step,
               float scale, float shear, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
               int32_t sB) {
    if (!effects::ready() || !effects::spriteSurface(obj)) return 0;
    if (step <= 0 || sR <= sL || sB <= sT) return 1;  // a step of 0 would never end
    return effects::runSpriteEffect(x, y, obj, {sL, sT, sR, sB}, [&](const effects::SpriteRegion& r) {
        // The wave spans the rectangle as asked, from where clipping moved its left and top.
        const int64_t movedLeft = int64_t(sL) + (r.x - x), movedTop = int64_t(sT) + (r.y - y);
        const float uScale = 2.0f / float(int64_t(sR) - movedLeft);
        const float vScale = 2.0f / float(int64_t(sB) - movedTop);
        for (int32_t row = 0; row < r.height; row += step) {
            const uint16_t* source = r.sourceRow(row);
            const float v = vScale * float(row) - 1.0f;
            for (int32_t col = 0; col < r.width; col += step) {
                const float u = uScale * float(col) - 1.0f;
                const float e = std::exp(v * v - u * u);
                const float q = std::cos(std::sqrt(u * u + v * v) * float(frequency));
                const float s = (q * e + 1.0f) * float(amplitude) / 2.0f + float(row);
                const int64_t dx = truncClamped((float(col) + float(row) * shear) * scale);
                const int64_t dy = truncClamped(s * scale);
                const int64_t px = r.x + dx, py = r.y + dy;
                if (px >= r.clip.left && px < r.clip.right && py >= r.clip.top && py < r.clip.bottom)
                    r.dest.row(int32_t(py))[px] = source[col];
            }
        }
    });
}

int32_t StretchEdge(int32_t x, int32_t y, int32_t mode, int32_t edge, int32_t obj, int32_t sL,
                    int32_t sT, int32_t sR, int32_t sB) {
    if (!effects::ready()) return 0;
    platform::Surface* surface = effects::spriteSurface(obj);
    if (!surface) return 0;
    if (mode < 0 || mode > 3) return 1;
    const bool across = mode < 2;  // smears along rows (modes 0, 1) or down columns (2, 3)
    // Modes 0 and 2 widen the region to the screen: only their first columns (rows) up to the
    // edge are read, so the region is not cut to the surface that way; the edge is.
    if (mode == 0) sR = clampToInt(int64_t(screenState.width) - sL);
    if (mode == 2) sB = clampToInt(int64_t(screenState.height) - sT);
    const platform::Rect clip = effects::clipOnBack();
    platform::Rect source{sL, sT, sR, sB};
    if (!effects::clipSprite(x, y, mode == 0 ? INT32_MAX : surface->width,
                             mode == 2 ? INT32_MAX : surface->height, source, clip))
        return 1;
    effects::EffectLock lock(*surface, *screenState.back);
    if (!lock.ok()) return 0;
    const int64_t readable = across ? int64_t(surface->width) - source.left
                                    : int64_t(surface->height) - source.top;
    if (readable <= 0) return 1;
    const int32_t e = int32_t(std::min<int64_t>(uint16_t(edge), readable - 1));
    const int32_t w = source.width(), h = source.height();
    const effects::Pixels16& src = lock.source;
    auto sourceRow = [&](int32_t row) { return src.row(source.top + row) + source.left; };
    auto destRow = [&](int32_t row) { return lock.dest.row(y + row) + x; };
    auto put = [](uint16_t* out, uint16_t p) {
        if (p) *out = p;
    };

    if (mode == 3)  // the rows above the region take the edge row, transparent or not
        for (int32_t row = 0; row < y; ++row) std::copy_n(sourceRow(e), w, lock.dest.row(row) + x);
    for (int32_t row = 0; row < h; ++row) {
        uint16_t* out = destRow(row);
        if (across) {
            const uint16_t* in = sourceRow(row);
            for (int32_t col = 0; col < w; ++col)
                put(out + col, in[mode == 0 ? std::min(col, e) : std::max(col, e)]);
            if (mode == 1) std::fill_n(lock.dest.row(y + row), x, in[e]);
        } else {
            const uint16_t* in = sourceRow(mode == 2 ? std::min(row, e) : std::max(row, e));
            for (int32_t col = 0; col < w; ++col) put(out + col, in[col]);
        }
    }
    return 1;
}

}  // namespace zuDraw
