// Bitmaps into new surfaces: from a resource named by the whole text, else from the file it
// names. Decoding and the conversion into the display format happen in one step.
#pragma once
#include <cstdint>

#include "draw/zu_draw.h"

namespace zuDraw {

enum class BitmapSource { resourceThenFile, resourceOnly };

// Fills record.surface, width and height; false (record untouched) when nothing loads.
bool loadBitmapInto(ObjectRecord& record, const char* name, BitmapSource source);

}  // namespace zuDraw
