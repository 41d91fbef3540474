// Decoded pictures into surfaces: each 8-bit channel truncated to its field by pixelFromColor,
// the conversion a COLORREF key gets too, so key colours match the loaded pixels.
#include <algorithm>

#include "platform/video/bmp.h"
#include "platform/video/surface.h"

namespace platform {
namespace {

template <typename P>
void copyPixels(const Image& img, const LockedRect& to, Rect area, int32_t x, int32_t y) {
    Format f = to.format;
    for (int32_t row = area.top; row < area.bottom; ++row) {
        const uint32_t* in = img.xrgb.data() + size_t(row - y) * img.width - x;
        P* out = reinterpret_cast<P*>(to.bits + size_t(row) * to.pitch);
        for (int32_t col = area.left; col < area.right; ++col) {
            uint32_t v = in[col];
            out[col] = P(pixelFromColor(f, RGB(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v))));
        }
    }
}

}  // namespace

Status copyImage(const Image& img, Surface& s, int32_t x, int32_t y) {
    LockedRect to;
    if (Status st = lock(s, to); st != Status::ok) return st;
    Rect area{std::max(x, 0), std::max(y, 0), std::min(x + img.width, to.width),
              std::min(y + img.height, to.height)};
    if (!area.empty()) {
        if (bytesPerPixel(to.format) == 4)
            copyPixels<uint32_t>(img, to, area, x, y);
        else
            copyPixels<uint16_t>(img, to, area, x, y);
    }
    unlock(s);
    return Status::ok;
}

}  // namespace platform
