// Fuzzes the BMP decoder: any input must be decoded or refused without a fault, and a decoded
// picture must hold exactly width x height pixels.
#include <cstdint>
#include <cstdlib>

#include "platform/video/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::Image img;
    if (platform::decodeBmp({data, size}, img)) {
        if (img.width <= 0 || img.height <= 0 || img.xrgb.size() != size_t(img.width) * img.height)
            std::abort();
    } else if (!img.xrgb.empty()) {
        std::abort();
    }
    return 0;
}
