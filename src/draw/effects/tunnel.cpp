// The tunnel: MakeTunnel works out once, per window pixel, the texture coordinates of a tunnel or
// lens seen head-on (angle round the centre across, depth along); Tunnel then only looks them up,
// moved by two offsets, so turning and flying through it cost a copy per pixel.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "draw/effects/effect_frame.h"

namespace zuDraw {

TunnelTable tunnelTable;

namespace {

constexpr int32_t largestTexture = 32768;  // coordinates are kept in 16 bits

// value mod size, 0 ≤ result < size, for negative values too.
int64_t wrap(int64_t value, int64_t size) {
    int64_t m = value % size;
    return m < 0 ? m + size : m;
}

int64_t truncClamped(double value) {
    if (!(value == value)) return 0;
    return int64_t(std::clamp(value, double(INT32_MIN), double(INT32_MAX)));
}

double distance(int32_t metric, double dx, double dy, double centreX) {
    const double ax = std::fabs(dx), ay = std::fabs(dy);
    switch (metric) {
    case 0: return std::sqrt(dx * dx + dy * dy);
    case 1: return std::max(ax, ay);
    case 2: return (ax + ay) / 2.0;
    case 3: return std::min(ax, ay);
    case 4: return ax;
    case 5: return ay;
    default: return centreX;  // 6: the centre's column
    }
}

double depthDivisor(int32_t depthMode, double dx, double dy) {
    const double ax = std::fabs(dx), ay = std::fabs(dy);
    double d = 32.0;
    switch (depthMode) {
    case 1: d = (ay + 1.0) / 10.0; break;
    case 2: d = (ax + 1.0) / 10.0; break;
    case 3: d = std::max(ax, ay); break;
    case 4: d = (ax + ay) / 2.0; break;
    case 5: d = std::min(ax, ay); break;
    default: break;
    }
    return d == 0.0 ? 1.0 : d;  // on the centre (or its cross) as one pixel away
}

bool validSizes(int32_t textureWidth, int32_t textureHeight, int32_t width, int32_t height) {
    return textureWidth >= 1 && textureWidth <= largestTexture && textureHeight >= 1 &&
           textureHeight <= largestTexture && width >= 0 && height >= 0 &&
           int64_t(width) * height <= tunnelTableSize;
}

}  // namespace

int32_t MakeTunnel(int32_t textureWidth, int32_t textureHeight, int32_t width, int32_t height,
                   int32_t centreX, int32_t centreY, int32_t divisor, int32_t centreMode,
                   int32_t metric, int32_t depthMode) {
    if (!validSizes(textureWidth, textureHeight, width, height) || metric < 0 || metric > 6 || depthMode < 0 || depthMode > 5) return 0;
    TunnelTable& t = tunnelTable;
    t.textureWidth = textureWidth, t.textureHeight = textureHeight;
    t.width = width, t.height = height;

    int64_t cx = centreX == -1 ? width / 2 : centreX;
    int64_t cy = centreY == -1 ? height / 2 : centreY;
    if (divisor == -1) divisor = 8;
    divisor = std::max(divisor, 2);
    if (centreMode == 1) cy = height;
    if (centreMode == 3) cx = width;
    if (centreMode == 4) cx = 0;
    const double depth0 = textureHeight / (2.0 * std::tan(M_PI / divisor / 2.0));
    for (int32_t i = 0; i < height; ++i) {
        if (centreMode == 1) --cy;
        if (centreMode == 3) cx = std::max<int64_t>(cx - 1, 0);
        if (centreMode == 4) cx = std::min<int64_t>(cx + 1, width);
        if (centreMode == 2) cx = width;
        for (int32_t j = 0; j < width; ++j) {
            if (centreMode == 2) --cx;
            const double dx = double(j - cx), dy = double(i - cy);
            const double I = distance(metric, dx, dy, double(cx));
            const double D = std::fabs(depth0 / depthDivisor(depthMode, dx, dy));
            int64_t u = truncClamped(std::atan2(dy, dx) * textureWidth / (2.0 * M_PI));
            int64_t v = 0;  // the centre itself: no depth to speak of
            if (I != 0.0)
                v = truncClamped(D * (std::sqrt(double(cx) * cx + double(cy) * cy) - I) / I);
            int16_t* entry = t.entries[size_t(i) * size_t(width) + size_t(j)];
            entry[0] = int16_t(wrap(u, textureWidth));
            entry[1] = int16_t(wrap(v, textureHeight));
        }
    }
    return 1;
}

int32_t Tunnel(int32_t x, int32_t y, int32_t uOffset, int32_t vOffset, int32_t obj) {
    if (!effects::ready()) return 0;
    platform::Surface* surface = effects::spriteSurface(obj);
    const TunnelTable& t = tunnelTable;
    if (!surface || !validSizes(t.textureWidth, t.textureHeight, t.width, t.height)) return 0;
    const int32_t tw = t.textureWidth, th = t.textureHeight;
    if (tw > surface->width || th > surface->height) return 0;
    const platform::Rect clip = effects::clipOnBack();
    const int64_t firstColumn = std::max<int64_t>(0, int64_t(clip.left) - x);
    const int64_t endColumn = std::min<int64_t>(t.width, int64_t(clip.right) - x);
    const int64_t firstRow = std::max<int64_t>(0, int64_t(clip.top) - y);
    const int64_t endRow = std::min<int64_t>(t.height, int64_t(clip.bottom) - y);
    if (endColumn < firstColumn || endRow < firstRow) return 1;
    effects::EffectLock lock(*surface, *screenState.back);
    if (!lock.ok()) return 0;
    const int32_t u0 = int32_t(wrap(uOffset, tw)), v0 = int32_t(wrap(vOffset, th));
    const effects::Pixels16& src = lock.source;
    auto draw = [&](auto wrapU, auto wrapV) {
        for (int64_t i = firstRow; i < endRow; ++i) {
            const int16_t(*entry)[2] = t.entries + size_t(i) * size_t(t.width);
            uint16_t* out = lock.dest.row(int32_t(y + i));
            for (int64_t j = firstColumn; j < endColumn; ++j)
                out[x + j] = src.row(wrapV(v0 + entry[j][1]))[wrapU(u0 + entry[j][0])];
        }
    };
    // Entries made here lie inside the texture, so one subtraction wraps them; anything else
    // (the table is public) takes the full modulo. Power-of-two textures wrap with a mask.
    auto subtractOnce = [](int32_t size) {
        return [size](int32_t value) {
            if (value >= size) value -= size;
            return uint32_t(value) < uint32_t(size) ? value : int32_t(wrap(value, size));
        };
    };
    auto mask = [](int32_t size) { return [size](int32_t value) { return value & (size - 1); }; };
    if ((tw & (tw - 1)) == 0 && (th & (th - 1)) == 0)
        draw(mask(tw), mask(th));
    else
        draw(subtractOnce(tw), subtractOnce(th));
    return 1;
}

}  // namespace zuDraw
