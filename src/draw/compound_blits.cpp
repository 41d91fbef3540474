// Compound blits: waves, tiles, mosaics, scan lines, jitter and stretches made of Blit and
// BlitOpaque rows, animated by the frame time. Positions are worked out in 64 bits and rows are
// limited to the ones that can show (or, where rand() is drawn per row, to the object's rows), so
// no size, phase or frame time overflows or loops for long. MirrorBlit is in mirror_blit.cpp.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "draw/draw_internal.h"
#include "draw/effects/effect_frame.h"
#include "platform/text/draw_context.h"
#include "system/zu_system.h"

namespace zuDraw {

BlitAnimation blitAnimation;

namespace {

constexpr double twoPi = 6.283185307179586;

// A rectangle copy whose parts outside the object are left out first, and which is dropped when
// it lands too far off any screen for Blit's arithmetic.
void copyPart(int64_t x, int64_t y, int32_t object, int64_t left, int64_t top, int64_t right,
              int64_t bottom, bool keyed) {
    const platform::Surface* s = objectSurface(object);
    if (!s) return;
    if (left < 0) x -= left, left = 0;
    if (top < 0) y -= top, top = 0;
    right = std::min<int64_t>(right, s->width);
    bottom = std::min<int64_t>(bottom, s->height);
    if (right <= left || bottom <= top) return;
    constexpr int64_t far = int64_t(1) << 30;
    if (x < -far || x > far || y < -far || y > far) return;
    (keyed ? Blit : BlitOpaque)(int32_t(x), int32_t(y), object, int32_t(left), int32_t(top),
                                int32_t(right), int32_t(bottom));
}

void copyRow(int64_t x, int64_t y, int32_t object, int64_t left, int64_t row, int64_t right,
             bool keyed = true) {
    copyPart(x, y, object, left, row, right, row + 1, keyed);
}

// Destination rows that can show: the clip rectangle on the back buffer (empty when inverted).
struct Rows {
    int64_t first = 0, end = 0;
};
Rows visibleRows() {
    if (!screenState.back) return {};
    platform::Rect clip = effects::clipOnBack();
    return {clip.top, std::max(clip.top, clip.bottom)};
}

int32_t objectHeight(int32_t object) {
    const platform::Surface* s = objectSurface(object);
    return s ? s->height : 0;
}

// A phase or scroll kept in [0, period). The single wrap of one period is tried first, so a value
// it brings into range is exactly what it was; anything further (a fast speed, a long frame) is
// wrapped by a true modulo.
float wrap(float v, float period) {
    if (!std::isfinite(v) || !(period > 0)) return 0.0f;
    if (v >= period)
        v -= period;
    else if (v < 0)
        v += period;
    if (v < 0 || v >= period) {
        v = std::fmod(v, period);
        if (v < 0) v += period;
        if (v >= period) v = 0.0f;
    }
    return v;
}

// TileBlit's offset, kept between -size and 0 (both ends included, as the single wrap leaves it).
float wrapTile(float v, float size) {
    if (!std::isfinite(v)) return 0.0f;
    if (v < -size) v += size;
    if (v > 0) v -= size;
    if (v < -size || v > 0) {
        v = std::fmod(v, size);
        if (v > 0) v -= size;
    }
    return v;
}

float advance(float value, float speed) {
    return value + zuSystem::frameClock.seconds * speed;
}

// cos(a°) of a whole angle, computed as written for every a; the angles a wave meets in an
// object's rows (at most 16384 of them, past a phase below 360) come from a table made once.
double cosOfDegrees(int64_t a) {
    constexpr int64_t lowest = -16384, highest = 16384 + 360;
    static const std::vector<double> table = [] {
        std::vector<double> t;
        for (int64_t d = lowest; d <= highest; ++d)
            t.push_back(std::cos(double(d) * twoPi / 360.0));
        return t;
    }();
    if (a < lowest || a > highest) return std::cos(double(a) * twoPi / 360.0);
    return table[size_t(a - lowest)];
}

// The wave offset of row (or screen row) r: trunc(cos(a°) × amplitude).
int64_t waveOffset(int64_t r, int32_t divisor, float phase, int32_t amplitude) {
    int64_t a = (divisor == 0 ? r : r / divisor) + int64_t(phase);
    return int64_t(cosOfDegrees(a) * amplitude);
}

void stretch(int32_t x, int32_t y, int32_t object, platform::Rect from, int32_t width,
             int32_t height, bool keyed) {
    platform::Surface* source = objectSurface(object);
    platform::Surface* work = objectSurface(0);
    if (!source || !work || !screenState.back) return;
    platform::Rect to{x, y, int32_t(std::clamp<int64_t>(int64_t(x) + width, INT32_MIN, INT32_MAX)),
                      int32_t(std::clamp<int64_t>(int64_t(y) + height, INT32_MIN, INT32_MAX))};
    if (screenState.canStretch) {
        restoreIfLost(platform::bltClipped(*screenState.back, to, *source, from, keyed,
                                           effects::clipOnBack()));
        return;
    }
    // Without the display's stretch: the drawing context's, into object 0, then a copy from there.
    platform::DrawContext* into = platform::getDC(*work);
    platform::DrawContext* out = into ? platform::getDC(*source) : nullptr;
    if (out) platform::stretchBlt(into, {0, 0, width, height}, out, from);
    if (out) platform::releaseDC(out);
    if (into) platform::releaseDC(into);
    copyPart(x, y, 0, 0, 0, width, height, keyed);
}

}  // namespace

void WaveBlit(int32_t x, int32_t y, int32_t amplitude, int32_t divisor, float speed, int32_t object,
              int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t alternate) {
    BlitAnimation& a = blitAnimation;
    // Rows that cannot show are skipped, but still turn the alternate sign.
    Rows shown = visibleRows();
    int64_t first = std::max<int64_t>({top, 0, shown.first - int64_t(y) + top});
    int64_t end = std::min<int64_t>({bottom, objectHeight(object), shown.end - int64_t(y) + top});
    auto flipFor = [&](int64_t rows) {
        if (alternate && rows > 0 && rows % 2) a.waveSign = -a.waveSign;
    };
    if (end > first) {
        flipFor(first - top);
        // Rows that share an offset (a divisor above 1, the flat top of the wave) go as one copy.
        auto copyRun = [&](int64_t from, int64_t to, int64_t offset) {
            copyPart(int64_t(x) + offset, int64_t(y) + from - top, object, left, from, right, to,
                     true);
        };
        int64_t runStart = first, runOffset = 0;
        for (int64_t r = first; r < end; ++r) {
            int64_t v = waveOffset(r, divisor, a.wavePhase, amplitude);
            if (alternate) {
                v *= a.waveSign;
                a.waveSign = -a.waveSign;
            }
            if (r > first && v != runOffset) {
                copyRun(runStart, r, runOffset);
                runStart = r;
            }
            runOffset = v;
        }
        copyRun(runStart, end, runOffset);
        flipFor(int64_t(bottom) - end);
    } else {
        flipFor(int64_t(bottom) - top);
    }
    a.wavePhase = wrap(advance(a.wavePhase, speed), 360.0f);
}

void TileBlit(float speedX, float speedY, int32_t object, int32_t left, int32_t top, int32_t right,
              int32_t bottom) {
    int64_t w = int64_t(right) - left, h = int64_t(bottom) - top;
    if (w <= 0 || h <= 0) return;
    BlitAnimation& a = blitAnimation;
    int64_t offsetX = int64_t(a.tileX), offsetY = int64_t(a.tileY);
    int64_t rows = screenState.height / h + 2, columns = screenState.width / w + 2;
    for (int64_t i = 0; i < rows; ++i)
        for (int64_t j = 0; j < columns; ++j)
            copyPart(j * w + offsetX, i * h + offsetY, object, left, top, right, bottom, true);
    a.tileX = wrapTile(advance(a.tileX, speedX), float(w));
    a.tileY = wrapTile(advance(a.tileY, speedY), float(h));
}

void ScrollWaveBlit(int32_t x, int32_t y, int32_t amplitude, int32_t divisor, float speed,
                    float scrollSpeed, int32_t object, int32_t left, int32_t top, int32_t right,
                    int32_t bottom) {
    BlitAnimation& a = blitAnimation;
    int64_t h = int64_t(bottom) - top;
    if (h <= 0) return;
    Rows shown = visibleRows();
    int64_t first = std::max<int64_t>(top, shown.first - int64_t(y));
    int64_t end = std::min<int64_t>(bottom, shown.end - int64_t(y));
    for (int64_t r = first; r < end; ++r) {
        int64_t v = waveOffset(r, divisor, a.scrollWavePhase, amplitude);
        int64_t s = int64_t(a.scrollWaveScroll) + r;
        if (s >= bottom) s -= h;
        copyRow(int64_t(x) + v, int64_t(y) + r, object, left, s, right);
    }
    a.scrollWavePhase = wrap(advance(a.scrollWavePhase, speed), 360.0f);
    a.scrollWaveScroll = wrap(advance(a.scrollWaveScroll, -scrollSpeed), float(h));
}

void BandWaveBlit(int32_t first, int32_t end, int32_t amplitude, int32_t divisor, float speed,
                  float scrollSpeed, int32_t object, int32_t left, int32_t top, int32_t right,
                  int32_t bottom) {
    BlitAnimation& a = blitAnimation;
    int64_t h = int64_t(bottom) - top, w = int64_t(right) - left;
    if (h <= 0 || w <= 0) return;
    Rows shown = visibleRows();
    int64_t from = std::max<int64_t>(0, shown.first - first);
    int64_t to = std::min<int64_t>(int64_t(end) - first, shown.end - first);
    int64_t columns = screenState.width / w + 2;
    for (int64_t k = from; k < to; ++k) {
        int64_t s = k % h + int64_t(a.bandWaveScroll);
        if (s > h - 1) s -= h;
        int64_t v = waveOffset(k, divisor, a.bandWavePhase, amplitude);
        for (int64_t n = 0; n < columns; ++n)
            copyRow(n * w + v - amplitude, int64_t(first) + k, object, left, int64_t(top) + s,
                    right);
    }
    a.bandWavePhase = wrap(advance(a.bandWavePhase, speed), 360.0f);
    a.bandWaveScroll = wrap(advance(a.bandWaveScroll, -scrollSpeed), float(h));
}

void MosaicBlit(int32_t x, int32_t y, int32_t size, int32_t object, int32_t left, int32_t top,
                int32_t right, int32_t bottom) {
    if (size < 1 || bottom <= top) return;
    // Destination row d shows the first row of its band; the last band is drawn whole.
    int64_t bands = (int64_t(bottom) - top + size - 1) / size;
    Rows shown = visibleRows();
    int64_t first = std::max<int64_t>(0, shown.first - int64_t(y));
    int64_t end = std::min<int64_t>(bands * size, shown.end - int64_t(y));
    for (int64_t d = first; d < end; ++d)
        copyRow(x, int64_t(y) + d, object, left, top + d / size * size, right);
}

void StretchBlit(int32_t x, int32_t y, int32_t object, int32_t left, int32_t top, int32_t right,
                 int32_t bottom, int32_t width, int32_t height) {
    stretch(x, y, object, {left, top, right, bottom}, width, height, true);
}

void StretchBlitOpaque(int32_t x, int32_t y, int32_t object, int32_t left, int32_t top,
                       int32_t right, int32_t bottom, int32_t width, int32_t height) {
    stretch(x, y, object, {left, top, right, bottom}, width, height, false);
}

void ScanlineBlit(int32_t x, int32_t y, int32_t gap, int32_t object, int32_t left, int32_t top,
                  int32_t right, int32_t bottom) {
    if (gap == 0) return;
    // Rows past the object's last one draw nothing: stop there.
    int64_t end = std::min<int64_t>(bottom, objectHeight(object));
    if (gap > 0) {
        Rows shown = visibleRows();
        end = std::min<int64_t>(end, shown.end - int64_t(y) + top);
        int64_t row = int64_t(top) + gap;
        int64_t firstShown = std::max<int64_t>(0, shown.first - int64_t(y) + top);
        if (row < firstShown) row += (firstShown - row + gap - 1) / gap * gap;
        for (; row < end; row += gap) copyRow(x, int64_t(y) + row - top, object, left, row, right);
        return;
    }
    int64_t range = -int64_t(gap);
    for (int64_t row = std::max<int64_t>(top, -1);;) {
        row += std::rand() % range + 1;
        if (row >= end) break;
        copyRow(x, int64_t(y) + row - top, object, left, row, right);
    }
}

void JitterBlit(int32_t x, int32_t y, int32_t amount, int32_t object, int32_t left, int32_t top,
                int32_t right, int32_t bottom) {
    if (amount <= 0) {
        Blit(x, y, object, left, top, right, bottom);
        return;
    }
    int64_t range = 2 * int64_t(amount);
    int64_t first = std::max<int64_t>(top, 0),
            end = std::min<int64_t>(bottom, objectHeight(object));
    for (int64_t r = first; r < end; ++r)
        copyRow(int64_t(x) + std::rand() % range - amount, int64_t(y) + r - top, object, left, r,
                right);
}

void StretchWaveBlit(int32_t x, int32_t y, int32_t forward, float speed, int32_t object,
                     int32_t left, int32_t top, int32_t right, int32_t bottom) {
    BlitAnimation& a = blitAnimation;
    int64_t h = int64_t(bottom) - top;
    if (h < 2) return;
    int64_t half = h / 2;
    auto target = [&](int64_t n) {
        double c = std::cos(double(a.stretchWavePhase + float(n)) * twoPi / double(h - 1));
        return int64_t(double(half) + c * double(half));
    };
    // Source row top + n fills destination rows start .. target(n), start being one past the last
    // row the row before it filled; only source rows on the object are drawn.
    Rows shown = visibleRows();
    int64_t first = std::max<int64_t>(0, -int64_t(top)),
            end = std::min<int64_t>(h, objectHeight(object) - int64_t(top));
    for (int64_t n = first; n < end; ++n) {
        int64_t start = n == 0 ? 0 : target(n - 1) + 1;
        int64_t from = std::max(start, shown.first - y),
                to = std::min(target(n), shown.end - 1 - y);
        for (int64_t d = from; d <= to; ++d)
            copyRow(x, int64_t(y) + d, object, left, int64_t(top) + n, right, false);
    }
    float step = forward ? speed : -speed;
    a.stretchWavePhase = wrap(advance(a.stretchWavePhase, step), float(h));
}

}  // namespace zuDraw
