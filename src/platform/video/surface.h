// Pixel surfaces in the display's format: lock, colour key, loss and restore, copies and fills.
// Every copy and fill is clipped to both surfaces; pixels are reached only through lock().
#pragma once
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace platform {

enum class Format : uint8_t { rgb565, rgb555, xrgb8888 };

struct FormatMasks {
    uint32_t red = 0, green = 0, blue = 0;
    int32_t bitsPerPixel = 16;
};
FormatMasks masksOf(Format);
inline int32_t bytesPerPixel(Format f) { return f == Format::xrgb8888 ? 4 : 2; }

// COLORREF to a raw pixel truncates each channel to its field; back, the field's bits are
// replicated into the low bits, so 16-bit white reads 255, 255, 255.
uint32_t pixelFromColor(Format, COLORREF);
COLORREF colorFromPixel(Format, uint32_t raw);

struct Surface {
    int32_t width = 0, height = 0;
    int32_t pitch = 0;  // bytes per row
    Format format = Format::rgb565;
    bool hasKey = false;
    uint32_t key = 0;
    bool lost = false;
    int32_t lockCount = 0;
    bool primary = false;  // the display's picture: a write shows a frame
    std::vector<uint8_t> memory;
};

struct LockedRect {
    uint8_t* bits = nullptr;
    int32_t pitch = 0;
    int32_t width = 0, height = 0;
    Format format = Format::rgb565;
};

// Surfaces are made in the format of the current display mode.
Surface* createSurface(int32_t w, int32_t h);
Surface* createSurface(int32_t w, int32_t h, Format);
void destroySurface(Surface*);

Status lock(Surface&, LockedRect& out);
void unlock(Surface&);
void setColorKey(Surface&, uint32_t raw);
void clearColorKey(Surface&);
bool isLost(const Surface&);
Status restore(Surface&);  // a lost surface comes back with its pixels zeroed
int32_t liveSurfaceCount();

Status bltFast(Surface& d, int32_t x, int32_t y, const Surface& s, Rect from, bool keyed);
Status blt(Surface& d, Rect to, const Surface& s, Rect from, bool keyed);  // scales, nearest
// As blt, writing only the part of `to` inside `clip`; the picture is the one blt would make.
Status bltClipped(Surface& d, Rect to, const Surface& s, Rect from, bool keyed, Rect clip);

// The source offset a nearest-neighbour stretch reads for destination offset d: the pixel under
// d's centre, floor((2d + 1) * fromLength / (2 * toLength)). Both stretches (blt, and stretchBlt
// of a drawing context) use it, so they make the same picture; negative lengths mirror.
int64_t nearestSource(int64_t d, int64_t fromLength, int64_t toLength);
Status fill(Surface& d, Rect, uint32_t raw);

}  // namespace platform
