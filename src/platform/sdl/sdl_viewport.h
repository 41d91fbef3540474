// Where the 640 x 480 picture lands in the window's drawable and back: aspect-correct, centred
// between bars, drawn sharp. Plain arithmetic, kept free of SDL so it can be tested alone.
#pragma once
#include <algorithm>
#include <cstdint>

#include "platform/types.h"

namespace platform {

struct Viewport {
    Size drawable;
    Size picture{640, 480};
    Rect placed;              // the picture's rectangle in drawable pixels; bars fill the rest
    bool wholeScale = true;   // placed is an exact whole multiple: nearest-neighbour straight on
    int32_t enlarge = 1;      // otherwise: nearest-neighbour to this multiple, then smoothed
};

// The largest aspect-correct fit of the picture into the drawable, centred.
inline Viewport fitPicture(Size drawable, Size picture = {640, 480}) {
    Viewport v{drawable, picture, {}, true, 1};
    if (drawable.cx <= 0 || drawable.cy <= 0 || picture.cx <= 0 || picture.cy <= 0) return v;
    int64_t w = drawable.cx, h = drawable.cy;
    if (w * picture.cy <= h * picture.cx)
        h = std::max<int64_t>(1, (w * picture.cy + picture.cx / 2) / picture.cx);
    else
        w = std::max<int64_t>(1, (h * picture.cx + picture.cy / 2) / picture.cy);
    int32_t left = int32_t((drawable.cx - w) / 2), top = int32_t((drawable.cy - h) / 2);
    v.placed = Rect{left, top, left + int32_t(w), top + int32_t(h)};
    v.wholeScale = w % picture.cx == 0 && w / picture.cx == h / picture.cy && h % picture.cy == 0;
    v.enlarge = int32_t((w + picture.cx - 1) / picture.cx);
    return v;
}

// A drawable position to picture coordinates; positions over the bars are clamped to the edge.
inline Point toPicture(const Viewport& v, Point p) {
    int32_t w = v.placed.width(), h = v.placed.height();
    if (w <= 0 || h <= 0) return {};
    int64_t x = std::clamp(p.x - v.placed.left, 0, w - 1), y = std::clamp(p.y - v.placed.top, 0, h - 1);
    // The picture pixel under the drawable pixel's centre.
    return Point{int32_t((2 * x + 1) * v.picture.cx / (2 * w)), int32_t((2 * y + 1) * v.picture.cy / (2 * h))};
}

// The drawable position of a picture pixel's centre (for warping and clipping the pointer).
inline Point fromPicture(const Viewport& v, Point p) {
    int64_t w = v.placed.width(), h = v.placed.height();
    int64_t x = std::clamp(p.x, 0, v.picture.cx - 1), y = std::clamp(p.y, 0, v.picture.cy - 1);
    return Point{v.placed.left + int32_t((2 * x + 1) * w / (2 * v.picture.cx)),
                 v.placed.top + int32_t((2 * y + 1) * h / (2 * v.picture.cy))};
}

// The largest whole multiple of the picture that fits in the given area (at least 1).
inline Size largestWholeWindow(Size area, Size picture = {640, 480}) {
    int32_t k = std::max(1, std::min(area.cx / picture.cx, area.cy / picture.cy));
    return Size{picture.cx * k, picture.cy * k};
}

}  // namespace platform
