// Bitmaps into new surfaces: from a resource named by the whole text, else from the file it
// names. Stands in for the original's image loading plus the copy into the surface.
#pragma once
#include <cstdint>

#include "draw/zu_draw.h"

namespace zuDraw {

enum class BitmapSource { resourceThenFile, resourceOnly };

// Fills record.surface, width and height; false (record untouched) when nothing loads.
bool loadBitmapInto(ObjectRecord& record, const char* name, BitmapSource source);

}  // namespace zuDraw
