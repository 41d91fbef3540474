// What every pixel effect shares: the readiness test, the clip rectangle cut to the back buffer,
// the two locks (object first, then back buffer, given back in that order), the sprite frame that
// clips a source rectangle and a destination position, the two ways of taking a 16-bit pixel
// apart, and the read positions into the random table.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "draw/zu_draw.h"
#include "platform/types.h"
#include "platform/video/surface.h"

namespace zuDraw::effects {

// A locked 16-bit surface; pitch counts pixels.
struct Pixels16 {
    uint16_t* bits = nullptr;
    int32_t pitch = 0;
    int32_t width = 0, height = 0;
    uint16_t* row(int32_t y) const { return bits + size_t(y) * size_t(pitch); }
};

// True on a 16-bit back buffer whose tables are built: the effects draw nothing otherwise.
bool ready();

// The surface of an object 0 to 1023 in the back buffer's 16-bit format, or null (no surface,
// or other pixels: the tables are made for the back buffer's format).
platform::Surface* spriteSurface(int32_t object);

// The clip rectangle cut to the back buffer; it may come out empty (right <= left).
platform::Rect clipOnBack();

// Locks an object's surface, then the back buffer; the destructor unlocks in the same order.
// When either lock fails, ok() is false and nothing stays locked.
class EffectLock {
public:
    EffectLock(platform::Surface& object, platform::Surface& back);
    ~EffectLock();
    EffectLock(const EffectLock&) = delete;
    EffectLock& operator=(const EffectLock&) = delete;
    bool ok() const { return objectLocked_ && backLocked_; }
    Pixels16 source, dest;

private:
    platform::Surface& object_;
    platform::Surface& back_;
    bool objectLocked_ = false, backLocked_ = false;
};

// A sprite effect's region after clipping: width × height pixels whose source starts at
// `source`, drawn at (x, y) of the back buffer `dest`. Both surfaces are whole, for effects that
// look beyond the region.
struct SpriteRegion {
    Pixels16 sourcePixels, dest;
    const uint16_t* source = nullptr;  // source pixel (0, 0) of the region
    int32_t x = 0, y = 0;              // its place on the back buffer
    int32_t width = 0, height = 0;
    platform::Rect clip;               // the clip rectangle cut to the back buffer
    const uint16_t* sourceRow(int32_t row) const { return source + size_t(row) * size_t(sourcePixels.pitch); }
    uint16_t* destRow(int32_t row) const { return dest.row(y + row) + x; }
};

// Clips the source rectangle to the object's surface and the destination to the clip
// rectangle (the destination moves with the source). false: nothing to draw.
bool clipSprite(int32_t& x, int32_t& y, const platform::Surface& object, platform::Rect& source,
                const platform::Rect& clip);
// As above, for a surface of width × height pixels (an effect that reads only part of its
// region may widen it past the surface).
bool clipSprite(int32_t& x, int32_t& y, int32_t width, int32_t height, platform::Rect& source,
                const platform::Rect& clip);

// Runs a sprite effect: 0 when not ready, for a bad object or a failed lock; 1 when the region
// is empty (no lock taken) or after body(region) ran with both surfaces locked.
template <class Body>
int32_t runSpriteEffect(int32_t x, int32_t y, int32_t object, platform::Rect source, Body&& body) {
    if (!ready()) return 0;
    platform::Surface* surface = spriteSurface(object);
    if (!surface) return 0;
    platform::Rect clip = clipOnBack();
    if (!clipSprite(x, y, *surface, source, clip)) return 1;
    EffectLock lock(*surface, *screenState.back);
    if (!lock.ok()) return 0;
    SpriteRegion region;
    region.sourcePixels = lock.source;
    region.dest = lock.dest;
    region.source = lock.source.row(source.top) + source.left;
    region.x = x;
    region.y = y;
    region.width = source.width();
    region.height = source.height();
    region.clip = clip;
    body(region);
    return 1;
}

// Exact channels: 5 or 6 bits each, in the pixel format's own widths.
struct Channels {
    int32_t r = 0, g = 0, b = 0;
};
inline Channels exactChannels(uint16_t p) {
    const PixelFormat& f = pixelFormat;
    return {int32_t((p >> f.redShift) & f.redMax), int32_t((p >> f.greenShift) & f.greenMax),
            int32_t((p >> f.blueShift) & f.blueMax)};
}
inline uint16_t packExact(int32_t r, int32_t g, int32_t b) {
    const PixelFormat& f = pixelFormat;
    return uint16_t((uint32_t(r) << f.redShift) | (uint32_t(g) << f.greenShift) |
                    (uint32_t(b) << f.blueShift));
}

// Five-bit channels through pixelRgb5, and back with the 5-bit shifts.
inline const uint8_t* rgb5(uint16_t p) { return effectTables.pixelRgb5[p]; }
inline uint16_t pack5(int32_t r, int32_t g, int32_t b) {
    const PixelFormat& f = pixelFormat;
    return uint16_t((uint32_t(r) << f.red5Shift) | (uint32_t(g) << f.green5Shift) |
                    (uint32_t(b) << f.blue5Shift));
}

// A read position into randomTable that lives as long as the program. After entry 9999 it goes
// on at rand() % 1000, or at 0 for readers made with backToZero.
struct RandomReader {
    int32_t position = 0;
    bool backToZero = false;
    int32_t next() {  // inline: the region effects read one entry per pixel
        int32_t value = effectTables.randomTable[position];
        if (position == 9999)
            position = backToZero ? 0 : std::rand() % 1000;
        else
            ++position;
        return value;
    }
};

// Glow's reader; it starts over at 0 after the last entry.
extern RandomReader glowRandom;

// Clamps that keep table indices and channel arithmetic in range.
inline int32_t clampLevel(int32_t level) { return level < 0 ? 0 : level > 31 ? 31 : level; }
inline float clampUnit(float a) { return a >= 0.0f ? (a <= 1.0f ? a : 1.0f) : 0.0f; }  // NaN → 0

}  // namespace zuDraw::effects
