// The pixel format record: shifts, maxima, 5-bit shifts, half mask and white of three RGB masks.
#include "draw/draw_internal.h"

namespace zuDraw {

namespace {

uint16_t lowestSetBit(uint32_t mask) {
    uint16_t shift = 0;
    while (mask != 0 && (mask & 1u) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

}  // namespace

void fillPixelFormat(uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
    PixelFormat& f = pixelFormat;
    f.redMask = redMask;
    f.greenMask = greenMask;
    f.blueMask = blueMask;
    f.redShift = lowestSetBit(redMask);
    f.greenShift = lowestSetBit(greenMask);
    f.blueShift = lowestSetBit(blueMask);
    f.redMax = redMask >> f.redShift;
    f.greenMax = greenMask >> f.greenShift;
    f.blueMax = blueMask >> f.blueShift;
    f.red5Shift = uint16_t(f.redShift + (f.redMax == 63 ? 1 : 0));
    f.green5Shift = uint16_t(f.greenShift + (f.greenMax == 63 ? 1 : 0));
    f.blue5Shift = uint16_t(f.blueShift + (f.blueMax == 63 ? 1 : 0));
    f.halfMask = ((f.redMax >> 1) << f.redShift) | ((f.greenMax >> 1) << f.greenShift) |
                 ((f.blueMax >> 1) << f.blueShift);
    f.halfMaskPair = (f.halfMask << 16) | f.halfMask;
    f.whiteValue = (f.redMax << f.redShift) | (f.greenMax << f.greenShift) |
                   (f.blueMax << f.blueShift);
}

}  // namespace zuDraw
