// The effect frame: readiness, the clip rectangle on the back buffer, the paired locks, sprite
// clipping and the random read positions.
#include "draw/effects/effect_frame.h"

#include <algorithm>
#include <cstdlib>

#include "draw/draw_internal.h"

namespace zuDraw::effects {

namespace {

bool isSixteenBit(const platform::Surface& s) { return platform::bytesPerPixel(s.format) == 2; }

bool lockPixels(platform::Surface& surface, Pixels16& out) {
    platform::LockedRect locked;
    if (platform::lock(surface, locked) != platform::Status::ok) return false;
    out = {reinterpret_cast<uint16_t*>(locked.bits), locked.pitch >> 1, locked.width, locked.height};
    return true;
}

}  // namespace

bool ready() {
    return effectTables.built16 && screenState.back && isSixteenBit(*screenState.back);
}

platform::Surface* spriteSurface(int32_t object) {
    platform::Surface* s = objectSurface(object);
    return s && screenState.back && s->format == screenState.back->format ? s : nullptr;
}

platform::Rect clipOnBack() {
    const ScreenState& s = screenState;
    return {std::max(s.clipLeft, 0), std::max(s.clipTop, 0), std::min(s.clipRight, s.back->width),
            std::min(s.clipBottom, s.back->height)};
}

EffectLock::EffectLock(platform::Surface& object, platform::Surface& back)
    : object_(object), back_(back) {
    objectLocked_ = lockPixels(object_, source);
    if (objectLocked_) backLocked_ = lockPixels(back_, dest);
}

EffectLock::~EffectLock() {
    if (objectLocked_) platform::unlock(object_);
    if (backLocked_) platform::unlock(back_);
}

bool clipSprite(int32_t& x, int32_t& y, const platform::Surface& object, platform::Rect& source,
                const platform::Rect& clip) {
    return clipSprite(x, y, object.width, object.height, source, clip);
}

bool clipSprite(int32_t& x, int32_t& y, int32_t width, int32_t height, platform::Rect& source,
                const platform::Rect& clip) {
    // 64-bit so that positions near the ends of int never wrap.
    int64_t left = source.left, top = source.top, dx = x, dy = y;
    if (left < 0) dx -= left, left = 0;
    if (top < 0) dy -= top, top = 0;
    int64_t w = std::min<int64_t>(source.right, width) - left;
    int64_t h = std::min<int64_t>(source.bottom, height) - top;
    if (dx + w > clip.right) w = clip.right - dx;
    if (dy + h > clip.bottom) h = clip.bottom - dy;
    if (dx < clip.left) left += clip.left - dx, w -= clip.left - dx, dx = clip.left;
    if (dy < clip.top) top += clip.top - dy, h -= clip.top - dy, dy = clip.top;
    if (w < 0 || h < 0) return false;
    source = {int32_t(left), int32_t(top), int32_t(left + w), int32_t(top + h)};
    x = int32_t(dx);
    y = int32_t(dy);
    return true;
}

}  // namespace zuDraw::effects
