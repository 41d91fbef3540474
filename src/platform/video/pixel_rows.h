// The row loops behind every copy and fill: one opaque and one keyed copy per pixel width, and
// one fill. Rectangles arrive clipped; the caller passes the first pixel of each side.
#pragma once
#include <cstdint>

namespace platform {

struct PixelRows {
    uint8_t* bits;   // first pixel of the first row
    int32_t pitch;   // bytes from one row to the next
};

struct SourceRows {
    const uint8_t* bits;
    int32_t pitch;
};

void copyOpaque(PixelRows to, SourceRows from, int32_t rowBytes, int32_t height);
// Source pixels equal to key leave the destination as it is; the whole pixel is compared
// (16 bits, or the low 24 bits of a 32-bit pixel).
void copyKeyed16(PixelRows to, SourceRows from, int32_t width, int32_t height, uint16_t key);
void copyKeyed32(PixelRows to, SourceRows from, int32_t width, int32_t height, uint32_t key);
void fill16(PixelRows to, int32_t width, int32_t height, uint16_t value);
void fill32(PixelRows to, int32_t width, int32_t height, uint32_t value);

}  // namespace platform
