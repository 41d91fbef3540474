// Fills of the back buffer (clipped to the surface; DD_OK, or a negative device result) and the
// 50/50 blend HalfRect.
#include <algorithm>

#include "draw/draw_internal.h"
#include "platform/video/surface.h"

namespace zuDraw {

namespace {

int32_t fillBack(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t raw) {
    if (!screenState.back) return DDERR_GENERIC;
    return deviceResult(platform::fill(*screenState.back, {left, top, right, bottom}, raw));
}

void blendRow(uint16_t* row, int32_t count, uint16_t half, uint16_t colourHalf) {
    for (int32_t i = 0; i < count; ++i) row[i] = uint16_t(((row[i] >> 1) & half) + colourHalf);
}

}  // namespace

int32_t ClearScreen() { return fillBack(0, 0, screenState.width, screenState.height, 0); }

int32_t ClearRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return fillBack(left, top, right, bottom, 0);
}

int32_t FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    fillBack(left, top, right, top + 1, 0);
    fillBack(left, bottom - 1, right, bottom, 0);
    fillBack(left, top, left + 1, bottom, 0);
    return fillBack(right - 1, top, right, bottom, 0);
}

int32_t WhiteScreen() {
    return fillBack(0, 0, screenState.width, screenState.height, pixelFormat.whiteValue);
}

int32_t WhiteRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return fillBack(left, top, right, bottom, pixelFormat.whiteValue);
}

int32_t FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t value) {
    return fillBack(left, top, right, bottom, uint32_t(value) & 0xFFFFu);
}

// 16-bit screens only; the rectangle is kept inside the clip rectangle and the surface.
int32_t HalfRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t value) {
    const ScreenState& s = screenState;
    platform::Surface* back = s.back;
    if (!back || platform::bytesPerPixel(back->format) != 2) return 0;
    right = std::min({right, s.clipRight, back->width});
    bottom = std::min({bottom, s.clipBottom, back->height});
    left = std::max({left, s.clipLeft, 0});
    top = std::max({top, s.clipTop, 0});
    if (right < left || bottom < top) return 1;
    platform::LockedRect locked;
    if (platform::lock(*back, locked) != platform::Status::ok) return 0;
    uint16_t half = uint16_t(pixelFormat.halfMask);
    uint16_t colourHalf = uint16_t((uint32_t(value) >> 1) & half);
    for (int32_t y = top; y < bottom; ++y) {
        auto* row = reinterpret_cast<uint16_t*>(locked.bits + size_t(y) * locked.pitch) + left;
        blendRow(row, right - left, half, colourHalf);
    }
    platform::unlock(*back);
    return 1;
}

}  // namespace zuDraw
