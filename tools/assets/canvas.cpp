// Drawing on the RGBA canvas of the asset pictures.
#include "assets/canvas.h"

#include <algorithm>
#include <cmath>

namespace assets {

namespace {
int clampByte(double v) { return int(std::lround(std::clamp(v, 0.0, 255.0))); }
}  // namespace

uint32_t opaque(Rgb c) { return 0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | uint32_t(c.b); }

Rgb mix(Rgb a, Rgb b, double t) {
    return {clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t),
            clampByte(a.b + (b.b - a.b) * t)};
}

Rgb scale(Rgb c, double f) { return {clampByte(c.r * f), clampByte(c.g * f), clampByte(c.b * f)}; }

Canvas::Canvas(int w, int h, uint32_t fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}

void Canvas::set(int x, int y, uint32_t argb) {
    if (inside(x, y)) pixels[size_t(y) * width + x] = argb;
}

void Canvas::fillRect(int x, int y, int w, int h, Rgb c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) set(i, j, c);
}

void Canvas::frame(int x, int y, int w, int h, Rgb c) {
    fillRect(x, y, w, 1, c);
    fillRect(x, y + h - 1, w, 1, c);
    fillRect(x, y, 1, h, c);
    fillRect(x + w - 1, y, 1, h, c);
}

void Canvas::bevel(int x, int y, int w, int h, Rgb light, Rgb dark, int depth) {
    for (int d = 0; d < depth; ++d) {
        fillRect(x + d, y + d, w - 2 * d, 1, light);
        fillRect(x + d, y + d, 1, h - 2 * d, light);
        fillRect(x + d, y + h - 1 - d, w - 2 * d, 1, dark);
        fillRect(x + w - 1 - d, y + d + 1, 1, h - 2 * d - 1, dark);
    }
}

void Canvas::blendPixel(int x, int y, Rgb c, double alpha) {
    if (!inside(x, y)) return;
    uint32_t& p = pixels[size_t(y) * width + x];
    double below = (p >> 24) / 255.0;
    Rgb old{int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)};
    double outAlpha = alpha + below * (1 - alpha);
    if (outAlpha <= 0) return;
    // Over-compositing; onto a transparent pixel the colour is kept and the coverage becomes alpha.
    double t = alpha / outAlpha;
    Rgb out = mix(old, c, t);
    p = uint32_t(clampByte(outAlpha * 255)) << 24 | (opaque(out) & 0xFFFFFF);
}

void Canvas::blit(const Canvas& from, int x, int y) {
    for (int j = 0; j < from.height; ++j)
        for (int i = 0; i < from.width; ++i) set(x + i, y + j, from.at(i, j));
}

}  // namespace assets
