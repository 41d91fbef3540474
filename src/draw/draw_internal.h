// Helpers shared by the zuDraw topic files: the colour-key probe, the load colour-key rule,
// object lookups and the surface-lost translation.
#pragma once
#include <cstdint>

#include "draw/zu_draw.h"
#include "platform/video/surface.h"
#include "platform/win32.h"

namespace zuDraw {

// Sets the surface's source colour key to the raw value of `colour` (a COLORREF), or of the
// top-left pixel when colour is -1, and returns that value (-1 when the surface cannot be locked).
uint32_t probeColorKey(platform::Surface& surface, int32_t colour);

// The load colour-key rule: keys a freshly loaded or created object and records its colorKey.
void applyLoadColorKey(ObjectRecord& record);

// CreateObject into slot `number`, which must hold no surface; 0 after its error report.
int32_t createObjectAt(int32_t number, int32_t width, int32_t height);

// The surface of an object, or null for numbers out of range and slots without one.
platform::Surface* objectSurface(int32_t number);

// A lost surface met during a copy brings every surface back; other results are ignored.
void restoreIfLost(platform::Status status);

// The drawing device's result for a platform status: DD_OK, DDERR_SURFACELOST or DDERR_GENERIC.
int32_t deviceResult(platform::Status status);

// Screen set-up pieces used by more than one file.
void fillPixelFormat(uint32_t redMask, uint32_t greenMask, uint32_t blueMask);
void buildEffectTables(bool sixteenBit);

}  // namespace zuDraw
