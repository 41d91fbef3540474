// The mixer's inner loops: linear interpolation on a 32.32 cursor, one loop per source format,
// with the end of the buffer (the loop seam) handled outside the fast loop.
#include <algorithm>

#include "platform/mixer.h"

namespace platform {
namespace {

struct Signed16 {
    static int32_t at(const uint8_t* p, uint32_t i) { return reinterpret_cast<const int16_t*>(p)[i]; }
};
struct Unsigned8 {
    static int32_t at(const uint8_t* p, uint32_t i) { return (int32_t(p[i]) - 128) << 8; }
};

// 15-bit interpolation fraction from the cursor's 32-bit fraction.
inline int32_t fractionOf(uint64_t cursor) { return int32_t(uint32_t(cursor) >> 17); }
inline int32_t lerp(int32_t a, int32_t b, int32_t f) { return a + (((b - a) * f) >> 15); }

// Frames [0, count) where the sample after the cursor lies inside the buffer.
template <class Sample, int Channels>
void mixInside(Voice& v, int32_t* acc, uint32_t count) {
    const uint8_t* s = v.samples;
    uint64_t c = v.cursor;
    const uint64_t step = v.step;
    const int32_t gl = v.gainLeft, gr = v.gainRight;
    for (uint32_t k = 0; k < count; ++k) {
        const uint32_t i = uint32_t(c >> 32) * Channels;
        const int32_t f = fractionOf(c);
        if constexpr (Channels == 2) {
            const int32_t l = lerp(Sample::at(s, i), Sample::at(s, i + 2), f);
            const int32_t r = lerp(Sample::at(s, i + 1), Sample::at(s, i + 3), f);
            acc[2 * k] += (l * gl) >> 15;
            acc[2 * k + 1] += (r * gr) >> 15;
        } else {
            const int32_t m = lerp(Sample::at(s, i), Sample::at(s, i + 1), f);
            acc[2 * k] += (m * gl) >> 15;
            acc[2 * k + 1] += (m * gr) >> 15;
        }
        c += step;
    }
    v.cursor = c;
}

// One frame in the last source frame: interpolates toward frame 0 when looping, else holds.
template <class Sample, int Channels>
void mixSeamFrame(Voice& v, int32_t* acc) {
    const uint32_t last = v.frames - 1;
    const uint32_t next = v.looping ? 0 : last;
    const int32_t f = fractionOf(v.cursor);
    const int32_t l = lerp(Sample::at(v.samples, last * Channels), Sample::at(v.samples, next * Channels), f);
    const int32_t r = Channels == 2
        ? lerp(Sample::at(v.samples, last * Channels + 1), Sample::at(v.samples, next * Channels + 1), f)
        : l;
    acc[0] += (l * v.gainLeft) >> 15;
    acc[1] += (r * v.gainRight) >> 15;
    v.cursor += v.step;
}

template <class Sample, int Channels>
void mixVoice(Voice& v, int32_t* acc, uint32_t frames) {
    const uint64_t end = uint64_t(v.frames) << 32;
    const uint64_t seam = uint64_t(v.frames - 1) << 32;
    while (frames > 0) {
        if (v.cursor >= end) {
            if (!v.looping) {
                v.playing = false;
                v.cursor = 0;
                return;
            }
            v.cursor -= end * (v.cursor / end);
            continue;
        }
        if (v.cursor < seam) {
            const uint32_t inside = uint32_t(std::min<uint64_t>(frames, (seam - v.cursor + v.step - 1) / v.step));
            mixInside<Sample, Channels>(v, acc, inside);
            acc += 2 * inside;
            frames -= inside;
        } else {
            mixSeamFrame<Sample, Channels>(v, acc);
            acc += 2;
            frames -= 1;
        }
    }
    if (v.cursor >= end && !v.looping) {  // ended exactly with the block: stop now, not later
        v.playing = false;
        v.cursor = 0;
    }
}

}  // namespace

VoiceMixer voiceMixerFor(int32_t channels, int32_t bits) {
    if (bits == 16) return channels == 2 ? mixVoice<Signed16, 2> : mixVoice<Signed16, 1>;
    return channels == 2 ? mixVoice<Unsigned8, 2> : mixVoice<Unsigned8, 1>;
}

}  // namespace platform
