// Colour keys: the probe that turns a COLORREF into the surface's own key value, the load rule,
// and the per-object key operations.
#include <cstring>

#include "draw/draw_internal.h"
#include "platform/text/draw_context.h"
#include "platform/video/surface.h"

namespace zuDraw {

namespace {

// The first 32-bit word of the surface, cut to its pixel width; -1 when it cannot be locked.
uint32_t readTopLeftPixel(platform::Surface& surface) {
    platform::LockedRect locked;
    if (platform::lock(surface, locked) != platform::Status::ok) return 0xFFFFFFFFu;
    uint32_t word = 0;
    std::memcpy(&word, locked.bits, platform::bytesPerPixel(locked.format));
    platform::unlock(surface);
    return word;
}

}  // namespace

uint32_t probeColorKey(platform::Surface& surface, int32_t colour) {
    // The colour is put into the top-left pixel through the drawing context, read back raw,
    // and the pixel it replaced is put back: the context does the COLORREF conversion.
    COLORREF saved = 0;
    bool convert = colour != -1;
    if (convert) {
        if (platform::DrawContext* dc = platform::getDC(surface)) {
            saved = platform::getPixel(dc, 0, 0);
            platform::setPixel(dc, 0, 0, COLORREF(colour));
            platform::releaseDC(dc);
        } else {
            convert = false;
        }
    }
    uint32_t value = readTopLeftPixel(surface);
    if (convert) {
        if (platform::DrawContext* dc = platform::getDC(surface)) {
            platform::setPixel(dc, 0, 0, saved);
            platform::releaseDC(dc);
        }
    }
    platform::setColorKey(surface, value);
    return value;
}

void applyLoadColorKey(ObjectRecord& record) {
    int32_t colour = screenState.loadKeyFromPixel == 1 ? -1 : int32_t(screenState.loadKeyColor);
    if (record.surface) probeColorKey(*record.surface, colour);
    record.colorKey = colour;
}

void SetLoadColorKey(COLORREF colour) {
    screenState.loadKeyColor = colour;
    screenState.loadKeyFromPixel = 0;
}

void SetLoadColorKeyFromPixel() { screenState.loadKeyFromPixel = 1; }

// The key operations return DD_OK, or DDERR_GENERIC for a slot without surface (or, copying,
// a source without key).
int32_t SetObjectColorKey(int32_t number, COLORREF colour) {
    platform::Surface* surface = objectSurface(number);
    if (!surface) return DDERR_GENERIC;
    objectTable[number].colorKey = int32_t(colour);
    probeColorKey(*surface, int32_t(colour));
    return DD_OK;
}

int32_t SetObjectColorKeyFromPixel(int32_t number) {
    platform::Surface* surface = objectSurface(number);
    if (!surface) return DDERR_GENERIC;
    objectTable[number].colorKey = -1;
    probeColorKey(*surface, -1);
    return DD_OK;
}

int32_t CopyColorKey(int32_t destination, int32_t source) {
    platform::Surface* to = objectSurface(destination);
    platform::Surface* from = objectSurface(source);
    if (!to || !from || !from->hasKey) return DDERR_GENERIC;
    platform::setColorKey(*to, from->key);
    return DD_OK;
}

}  // namespace zuDraw
