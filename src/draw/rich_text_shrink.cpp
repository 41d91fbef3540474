// Shrink2: the font buffer halved into the font sprite with coverage, the missing samples taken
// from the back buffer so glyph edges carry the colour of the place the text goes. Samples are
// read only inside the source rectangle and the font buffer; pixels are written only inside the
// clip rectangle, the font sprite and the back buffer.
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "draw/draw_internal.h"
#include "draw/effects/effect_frame.h"
#include "draw/rich_text.h"

namespace zuDraw {

namespace {

using richtext::fontBuffer;
using richtext::fontSprite;

// Locks surfaces in the order given and unlocks them in the same order.
class Locks {
public:
    explicit Locks(std::initializer_list<platform::Surface*> surfaces) {
        for (platform::Surface* s : surfaces) {
            if (platform::lock(*s, pixels_[count_]) != platform::Status::ok) return;
            surfaces_[count_++] = s;
        }
        ok_ = true;
    }
    ~Locks() {
        for (int32_t i = 0; i < count_; ++i) platform::unlock(*surfaces_[i]);
    }
    bool ok() const { return ok_; }
    const platform::LockedRect& operator[](int32_t i) const { return pixels_[i]; }

private:
    platform::Surface* surfaces_[3] = {};
    platform::LockedRect pixels_[3];
    int32_t count_ = 0;
    bool ok_ = false;
};

// Channel access of one pixel size: 5-bit fields at 16 bits, bytes at 32.
struct Channels16 {
    using Pixel = uint16_t;
    static constexpr Pixel used = 0xFFFF;
    static constexpr int32_t full = 31;
    int32_t shift[3];
    explicit Channels16(const PixelFormat& f) : shift{f.red5Shift, f.green5Shift, f.blue5Shift} {}
};
struct Channels32 {
    using Pixel = uint32_t;
    static constexpr Pixel used = 0xFFFFFF;  // the top byte is padding
    static constexpr int32_t full = 255;
    int32_t shift[3];
    explicit Channels32(const PixelFormat& f) : shift{f.redShift, f.greenShift, f.blueShift} {}
};

template <class Pixel>
Pixel* rowOf(const platform::LockedRect& r, int64_t y) {
    return reinterpret_cast<Pixel*>(r.bits + y * r.pitch);
}

struct Region {
    int32_t x, y, width, height;  // output, on the font sprite and the back buffer
    int64_t sourceX, sourceY;     // source pixel of output (0, 0)
    int64_t sampleLeft, sampleTop, sampleRight, sampleBottom;  // where samples may be read
};

// Per output row, each source column's set samples among the three source rows are counted
// and summed once; an output pixel then adds its three columns.
template <class C>
void shrink(const C& c, const Locks& locks, const Region& g) {
    using Pixel = typename C::Pixel;
    constexpr int32_t mask = C::full;
    struct Column {
        int32_t n, sum[3];
    };
    static std::vector<Column> columns;
    const int64_t firstColumn = g.sampleLeft, width = std::max<int64_t>(g.sampleRight - g.sampleLeft, 0);
    columns.assign(size_t(width), Column{});
    auto column = [&](int64_t sx) -> Column& { return columns[size_t(sx - firstColumn)]; };
    for (int32_t j = 0; j < g.height; ++j) {
        int64_t cy = g.sourceY + 2 * int64_t(j);
        int64_t y0 = std::max(cy - 1, g.sampleTop), y1 = std::min(cy + 2, g.sampleBottom);
        for (Column& k : columns) k = {};
        for (int64_t sy = y0; sy < y1; ++sy) {
            const Pixel* in = rowOf<Pixel>(locks[0], sy);
            for (int64_t sx = firstColumn; sx < firstColumn + width; ++sx) {
                Pixel p = in[sx] & C::used;
                if (!p) continue;
                Column& k = column(sx);
                ++k.n;
                for (int32_t ch = 0; ch < 3; ++ch) k.sum[ch] += (p >> c.shift[ch]) & mask;
            }
        }
        Pixel* out = rowOf<Pixel>(locks[1], g.y + j) + g.x;
        const Pixel* under = rowOf<Pixel>(locks[2], g.y + j) + g.x;
        for (int32_t i = 0; i < g.width; ++i) {
            int64_t cx = g.sourceX + 2 * int64_t(i);
            int64_t x0 = std::max(cx - 1, g.sampleLeft), x1 = std::min(cx + 2, g.sampleRight);
            int32_t n = 0, sum[3] = {};
            for (int64_t sx = x0; sx < x1; ++sx) {
                n += column(sx).n;
                for (int32_t ch = 0; ch < 3; ++ch) sum[ch] += column(sx).sum[ch];
            }
            if (n == 0) continue;
            int32_t backSamples = std::max(8 - n, 0);
            Pixel result = 0;
            for (int32_t ch = 0; ch < 3; ++ch) {
                int32_t v = sum[ch] + C::full + backSamples * int32_t((under[i] >> c.shift[ch]) & mask);
                result |= Pixel(std::min(v >> 3, C::full) << c.shift[ch]);
            }
            out[i] = result;
        }
    }
}

}  // namespace

int32_t Shrink2(int32_t x, int32_t y, int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    platform::Surface* buffer = objectSurface(fontBuffer);
    platform::Surface* sprite = objectSurface(fontSprite);
    platform::Surface* back = screenState.back;
    if (!buffer || !sprite || !back) return 0;
    platform::Rect clip = effects::clipOnBack();
    clip.right = std::min(clip.right, sprite->width);
    clip.bottom = std::min(clip.bottom, sprite->height);
    int64_t w = (int64_t(sR) - sL) >> 1, h = (int64_t(sB) - sT) >> 1;
    int64_t dx = x, dy = y, left = sL, top = sT;
    if (dx + w > clip.right) w = clip.right - dx;
    if (dy + h > clip.bottom) h = clip.bottom - dy;
    if (dx < clip.left) left += 2 * (clip.left - dx), w -= clip.left - dx, dx = clip.left;
    if (dy < clip.top) top += 2 * (clip.top - dy), h -= clip.top - dy, dy = clip.top;
    if (w < 0 || h < 0) return 1;
    Locks locks{buffer, sprite, back};
    if (!locks.ok()) return 0;
    Region g{int32_t(dx), int32_t(dy), int32_t(w), int32_t(h), left, top,
             std::max<int64_t>(left, 0), std::max<int64_t>(top, 0),
             std::min<int64_t>(left + 2 * w, buffer->width), std::min<int64_t>(top + 2 * h, buffer->height)};
    bool sameFormat = buffer->format == sprite->format && sprite->format == back->format;
    int32_t bytes = platform::bytesPerPixel(back->format);
    if (sameFormat && bytes == 2) shrink(Channels16(pixelFormat), locks, g);
    if (sameFormat && bytes == 4) shrink(Channels32(pixelFormat), locks, g);
    return 1;
}

}  // namespace zuDraw
