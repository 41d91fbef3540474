// The mixer's inner loops: linear interpolation on a 32.32 cursor, one loop per source format,
// with the end of the buffer (the loop seam) handled outside the fast loop.
#include <algorithm>
#include <type_traits>

#include "platform/audio/mixer.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {
namespace {

struct Signed16 {
    static constexpr uint32_t bytes = 2;
    static int32_t at(const uint8_t* p, uint32_t i) { return reinterpret_cast<const int16_t*>(p)[i]; }
};
struct Unsigned8 {
    static constexpr uint32_t bytes = 1;
    static int32_t at(const uint8_t* p, uint32_t i) { return (int32_t(p[i]) - 128) << 8; }
};

// 15-bit interpolation fraction from the cursor's 32-bit fraction.
inline int32_t fractionOf(uint64_t cursor) { return int32_t(uint32_t(cursor) >> 17); }
inline int32_t lerp(int32_t a, int32_t b, int32_t f) { return a + (((b - a) * f) >> 15); }

#if defined(__SSE2__)
// 16-bit sources, two output frames per step: each channel's two neighbours are weighed by
// (G - W, W) with W = f * G and G the gain in 13 bits, so one multiply-add per pair gives the
// interpolated, attenuated sample, and the weights always sum to G (a constant stays constant).

template <int Channels>
uint32_t mixInside16(Voice& v, int32_t* acc, uint32_t count) {
    const int16_t* s = reinterpret_cast<const int16_t*>(v.samples);
    uint64_t c = v.cursor;
    const uint64_t step = v.step;
    const int16_t gl = int16_t(uint16_t(v.gainLeft)), gr = int16_t(uint16_t(v.gainRight));
    const __m128i gains = _mm_setr_epi16(gl, gl, gr, gr, gl, gl, gr, gr);
    const int16_t ql = int16_t(uint16_t(v.gainLeft) >> 2), qr = int16_t(uint16_t(v.gainRight) >> 2);
    const __m128i wholeGains = _mm_setr_epi16(ql, 0, qr, 0, ql, 0, qr, 0);
    // The low 32 bits of the cursor advance by the step's low bits modulo 2^32, so both frames'
    // fractions are kept in a vector instead of being rebuilt from scalars each step.
    const uint32_t lo0 = uint32_t(c), lo1 = uint32_t(c + step);
    __m128i low = _mm_setr_epi32(int32_t(lo0), int32_t(lo0), int32_t(lo1), int32_t(lo1));
    const __m128i lowStep = _mm_set1_epi32(int32_t(uint32_t(2 * step)));
    uint32_t k = 0;
    for (; k + 2 <= count; k += 2) {
        const uint64_t c1 = c + step;
        const uint32_t i0 = uint32_t(c >> 32) * Channels, i1 = uint32_t(c1 >> 32) * Channels;
        __m128i pairs;
        if constexpr (Channels == 2) {
            // (L0 R0 L1 R1) of both frames, regrouped as (L0 L1 R0 R1).
            pairs = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i0)),
                                       _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i1)));
            pairs = _mm_shufflehi_epi16(_mm_shufflelo_epi16(pairs, _MM_SHUFFLE(3, 1, 2, 0)), _MM_SHUFFLE(3, 1, 2, 0));
        } else {
            int32_t m0, m1;
            __builtin_memcpy(&m0, s + i0, 4);
            __builtin_memcpy(&m1, s + i1, 4);
            const __m128i both = _mm_unpacklo_epi32(_mm_cvtsi32_si128(m0), _mm_cvtsi32_si128(m1));
            pairs = _mm_unpacklo_epi32(both, both);  // (M0 M1) for left and right of each frame
        }
        const __m128i fractions = _mm_slli_epi32(_mm_srli_epi32(low, 18), 16);
        low = _mm_add_epi32(low, lowStep);
        const __m128i far = _mm_mulhi_epu16(fractions, gains);  // (0, W)
        const __m128i weights = _mm_add_epi16(_mm_sub_epi16(wholeGains, _mm_srli_epi32(far, 16)), far);
        const __m128i mixed = _mm_srai_epi32(_mm_madd_epi16(pairs, weights), 13);
        __m128i* out = reinterpret_cast<__m128i*>(acc + 2 * k);
        _mm_storeu_si128(out, _mm_add_epi32(_mm_loadu_si128(out), mixed));
        c = c1 + step;
    }
    v.cursor = c;
    return k;
}
#endif

// Frames [0, count) where the sample after the cursor lies inside the buffer.
// A block reads only a few cache lines of each voice: too many streams for the hardware
// prefetcher to follow, so the lines of the voice's next block are asked for now.
template <class Sample, int Channels>
void prefetchNextBlock(const Voice& v, uint32_t count) {
    constexpr uint32_t frameBytes = Channels * Sample::bytes;
    const uint64_t span = uint64_t(count) * v.step;
    const uint8_t* next = v.samples + uint64_t((v.cursor + span) >> 32) * frameBytes;
    const uint64_t bytes = ((span >> 32) + 2) * frameBytes;
    for (uint64_t offset = 0; offset < bytes; offset += 64) __builtin_prefetch(next + offset);
}

template <class Sample, int Channels>
void mixInside(Voice& v, int32_t* acc, uint32_t count) {
    prefetchNextBlock<Sample, Channels>(v, count);
#if defined(__SSE2__)
    if constexpr (std::is_same_v<Sample, Signed16>) {
        const uint32_t done = mixInside16<Channels>(v, acc, count);
        acc += 2 * done;
        count -= done;
    }
#endif
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
            // Usually the whole block lies before the seam; only near it is the count divided out.
            const bool wholeBlock = v.cursor + uint64_t(frames) * v.step <= seam;
            const uint32_t inside =
                wholeBlock ? frames : uint32_t(std::min<uint64_t>(frames, (seam - v.cursor + v.step - 1) / v.step));
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
