// BMP decoding into plain 32-bit pixels, and their conversion into a surface's format.
// decodeBmp has no dependencies, so the fuzz target compiles it alone.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "platform/types.h"

namespace platform {

struct Surface;

// Top row first; each pixel 0xAARRGGBB, where alpha comes only from 32-bit files (else 0).
struct Image {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> xrgb;
};

// 1, 4, 8, 16, 24 and 32 bits, RLE4, RLE8, BITFIELDS, either row order, OS/2 core headers and
// short palettes. Anything malformed or truncated returns false and leaves `out` empty.
bool decodeBmp(std::span<const uint8_t> file, Image& out);

// Writes the image at (x, y) of the surface, clipped, each 8-bit channel truncated to its field.
Status copyImage(const Image&, Surface&, int32_t x = 0, int32_t y = 0);

}  // namespace platform
