// Writing the generated files: pictures as 24-bit BMP, the window icon as a 32-bit BMP with
// alpha, the desktop icon as PNG, and raw bytes.
#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "assets/canvas.h"

namespace assets {

bool writeBytes(const std::filesystem::path&, const std::vector<uint8_t>&);
bool writePicture(const std::filesystem::path&, const Canvas&);  // alpha dropped
// BITMAPV4HEADER, 32 bits, bit fields with an alpha mask, bottom row first.
std::vector<uint8_t> iconBmp(const Canvas&);
bool writeIconPng(const std::filesystem::path&, const Canvas&);

}  // namespace assets
