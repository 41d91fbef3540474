/// @file
/// Plain value types shared by the platform and the framework: rectangles, points, colours, status.
#pragma once
#include <cstdint>

/// The layer under the families: value types, the program's instance and its resources.
namespace platform {

/// @defgroup types Value types and colours
/// Rectangles, points, sizes, status and COLORREF colours.
/// @{

/// A rectangle in pixels. Right and bottom are exclusive: width is right - left, and rectangles
/// that touch share no pixel.
struct Rect {
    int32_t left = 0;    ///< first column
    int32_t top = 0;     ///< first row
    int32_t right = 0;   ///< column after the last
    int32_t bottom = 0;  ///< row after the last
    /// Width in pixels: right - left (negative when inverted).
    int32_t width() const { return right - left; }
    /// Height in pixels: bottom - top (negative when inverted).
    int32_t height() const { return bottom - top; }
    /// True when the rectangle holds no pixel.
    bool empty() const { return right <= left || bottom <= top; }
};

/// A position in pixels.
struct Point {
    int32_t x = 0;  ///< column
    int32_t y = 0;  ///< row
};
/// A size in pixels.
struct Size {
    int32_t cx = 0;  ///< width
    int32_t cy = 0;  ///< height
};

/// Result of a platform surface operation.
enum class Status : int32_t {
    ok = 0,       ///< done
    surfaceLost,  ///< the surface lost its pixels; zuDraw::Restore brings it back
    failed        ///< any other failure
};

struct Instance;  // the module: resources and command line (os/resources.h)

/// @}

}  // namespace platform

/// @addtogroup types
/// @{

/// A colour for text, keys and GDI-style calls: 0x00BBGGRR. Raw pixel values (fills, HalfRect,
/// zuDraw::PixelFormat) are in the screen's own format instead.
using COLORREF = uint32_t;
/// The COLORREF of red, green and blue, 0 to 255 each.
constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
/// The red part of a COLORREF, 0 to 255.
constexpr uint8_t GetRValue(COLORREF c) { return uint8_t(c); }
/// The green part of a COLORREF, 0 to 255.
constexpr uint8_t GetGValue(COLORREF c) { return uint8_t(c >> 8); }
/// The blue part of a COLORREF, 0 to 255.
constexpr uint8_t GetBValue(COLORREF c) { return uint8_t(c >> 16); }

/// @}
