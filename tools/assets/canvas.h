// A plain RGBA picture with the few drawing operations the asset pictures need.
// Colours are 0xAARRGGBB; nothing here blends unless the name says so.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assets {

struct Rgb {
    int r = 0, g = 0, b = 0;
};

constexpr Rgb kOutline{24, 24, 24};

uint32_t opaque(Rgb);
Rgb mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b
Rgb scale(Rgb, double factor);    // clamped to 0..255

struct Canvas {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // top row first

    Canvas(int w, int h, uint32_t fill = 0xFF000000u);
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    void set(int x, int y, uint32_t argb);  // ignored outside
    void set(int x, int y, Rgb c) { set(x, y, opaque(c)); }
    void fillRect(int x, int y, int w, int h, Rgb c);
    void frame(int x, int y, int w, int h, Rgb c);  // one-pixel border
    // Light top and left edges, dark bottom and right ones, `depth` pixels wide.
    void bevel(int x, int y, int w, int h, Rgb light, Rgb dark, int depth);
    void blendPixel(int x, int y, Rgb c, double alpha);
    void blit(const Canvas& from, int x, int y);  // copies every pixel, alpha included
};

// Shapes covered by a test function, drawn with `samples`² coverage samples per pixel so
// edges come out soft; the coverage becomes alpha (onto transparent) or a blend (onto opaque).
template <typename Inside>
void paintShape(Canvas& c, int x0, int y0, int x1, int y1, Rgb colour, int samples, Inside inside);

}  // namespace assets

#include "assets/canvas_paint.inl"
