// Sized fonts and their glyphs: FreeType renders each glyph once, in grey levels, turned
// by the escapement, slanted or thickened where the face lacks the style; later uses hit the cache.
#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/text/draw_context.h"

namespace platform {

struct Glyph {
    int32_t left = 0, top = 0;  // bitmap corner from the pen: right, and up
    int32_t width = 0, height = 0;
    std::vector<uint8_t> ink;   // width x height coverage: 0 none .. 255 fully inked
    int32_t advanceX = 0, advanceY = 0;  // 26.6 pixels, y pointing down
};

struct FontMetrics {
    int32_t ascent = 0, descent = 0;  // pixels; their sum is the cell height
    int32_t underlineOffset = 1, underlineThickness = 1;  // below the baseline
    int32_t escapement = 0;           // tenths of a degree, anticlockwise
};

class SizedFont {
public:
    virtual ~SizedFont() = default;
    virtual const FontMetrics& metrics() const = 0;
    virtual const Glyph& glyph(char32_t codepoint) = 0;
};

// Shared between fonts made from equal records, and kept for a while after the last is deleted.
std::shared_ptr<SizedFont> sizedFont(const LogFont&);

}  // namespace platform
