// Picture files out: 24-bit BMP (frames, goldens) and PNG (screenshots, icons).
// Self-contained apart from zlib, so build-time tools compile it alone.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct Surface;

// A surface's pixels as 0x00RRGGBB, top row first, low bits filled by replication.
std::vector<uint32_t> surfacePixels(const Surface&);

std::vector<uint8_t> encodeBmp24(int32_t width, int32_t height, const uint32_t* xrgb);
// 8-bit RGB, or RGBA when withAlpha (alpha from bits 24-31).
std::vector<uint8_t> encodePng(int32_t width, int32_t height, const uint32_t* xrgb,
                               bool withAlpha = false);

// Paths are the host's own (UTF-8). False when the file cannot be written whole.
bool writeBmp24(const std::string& path, int32_t width, int32_t height, const uint32_t* xrgb);
bool writeBmp24(const std::string& path, const Surface&);
bool writePng(const std::string& path, int32_t width, int32_t height, const uint32_t* xrgb,
              bool withAlpha = false);
bool writePng(const std::string& path, const Surface&);

}  // namespace platform
