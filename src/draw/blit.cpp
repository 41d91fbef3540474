// The four copies: clipped against the screen's clip rectangle (also into objects), then one
// platform copy, keyed or opaque. A lost surface brings everything back; the copy is dropped.
#include "draw/draw_internal.h"
#include "platform/video/surface.h"

namespace zuDraw {

namespace {

void clippedCopy(platform::Surface* destination, int32_t x, int32_t y, int32_t object,
                 platform::Rect from, bool keyed) {
    platform::Surface* source = objectSurface(object);
    if (!destination || !source) return;
    const ScreenState& s = screenState;
    if (x + from.width() > s.clipRight) from.right = from.left + s.clipRight - x;
    if (y + from.height() > s.clipBottom) from.bottom = from.top + s.clipBottom - y;
    if (x < s.clipLeft) {
        from.left += s.clipLeft - x;
        x = s.clipLeft;
    }
    if (y < s.clipTop) {
        from.top += s.clipTop - y;
        y = s.clipTop;
    }
    if (from.right < from.left || from.bottom < from.top) return;
    restoreIfLost(platform::bltFast(*destination, x, y, *source, from, keyed));
}

}  // namespace

void Blit(int32_t x, int32_t y, int32_t object, int32_t left, int32_t top, int32_t right,
          int32_t bottom) {
    clippedCopy(screenState.back, x, y, object, {left, top, right, bottom}, true);
}

void BlitOpaque(int32_t x, int32_t y, int32_t object, int32_t left, int32_t top, int32_t right,
                int32_t bottom) {
    clippedCopy(screenState.back, x, y, object, {left, top, right, bottom}, false);
}

void BlitToObject(int32_t destination, int32_t x, int32_t y, int32_t source, int32_t left,
                  int32_t top, int32_t right, int32_t bottom) {
    clippedCopy(objectSurface(destination), x, y, source, {left, top, right, bottom}, true);
}

void BlitOpaqueToObject(int32_t destination, int32_t x, int32_t y, int32_t source, int32_t left,
                        int32_t top, int32_t right, int32_t bottom) {
    clippedCopy(objectSurface(destination), x, y, source, {left, top, right, bottom}, false);
}

}  // namespace zuDraw
