// The drawing core's own path for the common copies: 16-bit surfaces, rectangles wholly inside
// both, distinct surfaces. Anything else is left to the platform copy.
#pragma once
#include "platform/video/surface.h"

namespace zuDraw {

// True when the copy was done here; false when the caller must use the platform copy.
bool fastCopy(platform::Surface& destination, int32_t x, int32_t y, platform::Surface& source,
              platform::Rect from, bool keyed);

}  // namespace zuDraw
