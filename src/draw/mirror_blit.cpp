// MirrorBlit: a rectangle copied as is or mirrored across either axis, pixel 0 left out, on
// 16-bit screens. Clipping keeps the part of the mirrored picture that falls inside the clip
// rectangle, and source pixels outside the object's surface are never read.
#include <algorithm>

#include "draw/effects/effect_frame.h"

namespace zuDraw {

namespace {

// One axis: destination offsets i in [first, end) and the source position of offset i, which
// runs forwards from `start` or backwards when mirrored.
struct AxisCut {
    int64_t first = 0, end = 0, start = 0, step = 1;
    int64_t sourceAt(int64_t i) const { return start + step * i; }
};

// Offsets i of a `length`-pixel run at `position` whose destination lies in [clipLow, clipHigh)
// and whose source, low + i (or low + length - 1 - i mirrored), lies in [0, size).
AxisCut cutAxis(int64_t position, int64_t low, int64_t length, bool mirrored, int64_t clipLow,
                int64_t clipHigh, int64_t size) {
    AxisCut a;
    a.start = mirrored ? low + length - 1 : low;
    a.step = mirrored ? -1 : 1;
    a.first = std::max<int64_t>(0, clipLow - position);
    a.end = std::min<int64_t>(length, clipHigh - position);
    if (mirrored) {  // start - i in [0, size)
        a.first = std::max(a.first, a.start - size + 1);
        a.end = std::min(a.end, a.start + 1);
    } else {  // start + i in [0, size)
        a.first = std::max(a.first, -a.start);
        a.end = std::min(a.end, size - a.start);
    }
    return a;
}

}  // namespace

int32_t MirrorBlit(int32_t x, int32_t y, int32_t mode, int32_t object, int32_t left, int32_t top,
                   int32_t right, int32_t bottom) {
    if (!effects::ready()) return 0;
    platform::Surface* surface = effects::spriteSurface(object);
    if (!surface) return 0;
    if (mode < 0 || mode > 3) return 1;
    platform::Rect clip = effects::clipOnBack();
    AxisCut columns =
        cutAxis(x, left, int64_t(right) - left, mode & 1, clip.left, clip.right, surface->width);
    AxisCut rows =
        cutAxis(y, top, int64_t(bottom) - top, mode & 2, clip.top, clip.bottom, surface->height);
    if (columns.end <= columns.first || rows.end <= rows.first) return 1;
    effects::EffectLock lock(*surface, *screenState.back);
    if (!lock.ok()) return 0;
    int64_t count = columns.end - columns.first;
    for (int64_t j = rows.first; j < rows.end; ++j) {
        const uint16_t* in =
            lock.source.row(int32_t(rows.sourceAt(j))) + columns.sourceAt(columns.first);
        uint16_t* out = lock.dest.row(int32_t(y + j)) + x + columns.first;
        if (columns.step > 0) {
            for (int64_t i = 0; i < count; ++i) out[i] = in[i] ? in[i] : out[i];
        } else {
            for (int64_t i = 0; i < count; ++i) out[i] = in[-i] ? in[-i] : out[i];
        }
    }
    return 1;
}

}  // namespace zuDraw
