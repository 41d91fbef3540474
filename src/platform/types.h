// Plain value types shared by the platform and the framework: rectangles, points, colours, status.
#pragma once
#include <cstdint>

namespace platform {

// Right and bottom are exclusive: width is right - left, and rectangles that touch share no pixel.
struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
};

struct Point { int32_t x = 0, y = 0; };
struct Size { int32_t cx = 0, cy = 0; };

enum class Status : int32_t { ok = 0, surfaceLost, failed };

struct Instance;  // the module: resources and command line

}  // namespace platform

using COLORREF = uint32_t;
constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
constexpr uint8_t GetRValue(COLORREF c) { return uint8_t(c); }
constexpr uint8_t GetGValue(COLORREF c) { return uint8_t(c >> 8); }
constexpr uint8_t GetBValue(COLORREF c) { return uint8_t(c >> 16); }
