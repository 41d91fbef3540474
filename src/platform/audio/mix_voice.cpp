// The mixer's inner loops: linear interpolation on a 32.32 cursor folded into the gain, one loop
// per source format, with the end of the buffer (the loop seam) handled outside the fast loop.
//
// Each output sample is a * (m - w) + b * w, rounded and shifted down by the gain's shift: a and
// b the neighbouring source samples at 16-bit scale, m the gain's 15-bit mantissa and
// w = f * m / 2^16 for the cursor's 16-bit fraction f. The weights sum to m, so a constant stays
// constant, and every path (scalar, SSE2, seam) computes the same value.
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

inline int32_t fractionOf(uint64_t cursor) { return int32_t(uint32_t(cursor) >> 16); }

// Rounds to nearest. The shift is at least 8, so the accumulation keeps 6 bits below a 16-bit
// step and an exact half (the only biased case) is too rare to leave an offset.
inline int32_t roundShift(int32_t x, int32_t bits) { return (x + (1 << (bits - 1))) >> bits; }

inline int32_t weighed(int32_t a, int32_t b, int32_t f, const Gain& g) {
    const int32_t w = (f * g.mantissa) >> 16;
    return roundShift(a * (g.mantissa - w) + b * w, g.shift);
}

#if defined(__SSE2__)
// 16-bit sources, four output frames per step: one vector holds the left channel's four
// neighbour pairs and one the right's, each multiplied by its channel's weight pairs in one
// multiply-add and shifted by that channel's own shift, then interleaved into the accumulation.

// Weight pairs (m - w, w) of four frames from their fractions (f in each lane's high half).
inline __m128i weightsOf(__m128i fractions, __m128i mantissa16, __m128i whole) {
    const __m128i far = _mm_mulhi_epu16(fractions, mantissa16);  // (0, w)
    return _mm_add_epi16(_mm_sub_epi16(whole, _mm_srli_epi32(far, 16)), far);
}

// (a b) of both channels of a frame as (La Lb Ra Rb).
inline __m128i stereoPairs(const int16_t* s, uint32_t i0, uint32_t i1) {
    const __m128i both = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i0)),
                                            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i1)));
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(both, _MM_SHUFFLE(3, 1, 2, 0)), _MM_SHUFFLE(3, 1, 2, 0));
}

inline __m128i monoPairs(const int16_t* s, uint32_t i0, uint32_t i1) {
    int32_t m0, m1;
    __builtin_memcpy(&m0, s + i0, 4);
    __builtin_memcpy(&m1, s + i1, 4);
    return _mm_unpacklo_epi32(_mm_cvtsi32_si128(m0), _mm_cvtsi32_si128(m1));
}

inline __m128i pick(__m128i x, __m128i y, int lanes) {
    return _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(x), _mm_castsi128_ps(y), lanes));
}

template <int Channels>
uint32_t mixInside16(Voice& v, int32_t* acc, uint32_t count) {
    const int16_t* s = reinterpret_cast<const int16_t*>(v.samples);
    uint64_t c = v.cursor;
    const uint64_t step = v.step;
    const __m128i mantissaLeft = _mm_set1_epi16(int16_t(v.left.mantissa));
    const __m128i mantissaRight = _mm_set1_epi16(int16_t(v.right.mantissa));
    const __m128i wholeLeft = _mm_set1_epi32(v.left.mantissa), wholeRight = _mm_set1_epi32(v.right.mantissa);
    const __m128i halfLeft = _mm_set1_epi32(1 << (v.left.shift - 1));
    const __m128i halfRight = _mm_set1_epi32(1 << (v.right.shift - 1));
    const __m128i shiftLeft = _mm_cvtsi32_si128(v.left.shift), shiftRight = _mm_cvtsi32_si128(v.right.shift);
    // The low 32 bits of the cursor advance by the step's low bits modulo 2^32, so the four
    // frames' fractions are kept in a vector instead of being rebuilt from scalars each step.
    __m128i low = _mm_setr_epi32(int32_t(uint32_t(c)), int32_t(uint32_t(c + step)), int32_t(uint32_t(c + 2 * step)),
                                 int32_t(uint32_t(c + 3 * step)));
    const __m128i lowStep = _mm_set1_epi32(int32_t(uint32_t(4 * step)));
    const __m128i fractionBits = _mm_set1_epi32(int32_t(0xFFFF0000u));
    uint32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        const uint64_t c1 = c + step, c2 = c1 + step, c3 = c2 + step;
        const uint32_t i0 = uint32_t(c >> 32) * Channels, i1 = uint32_t(c1 >> 32) * Channels;
        const uint32_t i2 = uint32_t(c2 >> 32) * Channels, i3 = uint32_t(c3 >> 32) * Channels;
        __m128i left, right;
        if constexpr (Channels == 2) {
            const __m128i x = stereoPairs(s, i0, i1), y = stereoPairs(s, i2, i3);
            left = pick(x, y, _MM_SHUFFLE(2, 0, 2, 0));
            right = pick(x, y, _MM_SHUFFLE(3, 1, 3, 1));
        } else {
            left = right = _mm_unpacklo_epi64(monoPairs(s, i0, i1), monoPairs(s, i2, i3));
        }
        const __m128i fractions = _mm_and_si128(low, fractionBits);
        low = _mm_add_epi32(low, lowStep);
        left = _mm_madd_epi16(left, weightsOf(fractions, mantissaLeft, wholeLeft));
        right = _mm_madd_epi16(right, weightsOf(fractions, mantissaRight, wholeRight));
        left = _mm_sra_epi32(_mm_add_epi32(left, halfLeft), shiftLeft);
        right = _mm_sra_epi32(_mm_add_epi32(right, halfRight), shiftRight);
        __m128i* out = reinterpret_cast<__m128i*>(acc + 2 * k);
        _mm_storeu_si128(out, _mm_add_epi32(_mm_loadu_si128(out), _mm_unpacklo_epi32(left, right)));
        _mm_storeu_si128(out + 1, _mm_add_epi32(_mm_loadu_si128(out + 1), _mm_unpackhi_epi32(left, right)));
        c = c3 + step;
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
    const Gain gl = v.left, gr = v.right;
    for (uint32_t k = 0; k < count; ++k) {
        const uint32_t i = uint32_t(c >> 32) * Channels;
        const int32_t f = fractionOf(c);
        if constexpr (Channels == 2) {
            acc[2 * k] += weighed(Sample::at(s, i), Sample::at(s, i + 2), f, gl);
            acc[2 * k + 1] += weighed(Sample::at(s, i + 1), Sample::at(s, i + 3), f, gr);
        } else {
            const int32_t a = Sample::at(s, i), b = Sample::at(s, i + 1);
            acc[2 * k] += weighed(a, b, f, gl);
            acc[2 * k + 1] += weighed(a, b, f, gr);
        }
        c += step;
    }
    v.cursor = c;
}

// One frame in the last source frame: interpolates toward frame 0 when looping, else holds.
template <class Sample, int Channels>
void mixSeamFrame(Voice& v, int32_t* acc) {
    const uint32_t last = (v.frames - 1) * Channels;
    const uint32_t next = v.looping ? 0 : last;
    const int32_t f = fractionOf(v.cursor);
    const uint32_t r = Channels == 2 ? 1 : 0;
    acc[0] += weighed(Sample::at(v.samples, last), Sample::at(v.samples, next), f, v.left);
    acc[1] += weighed(Sample::at(v.samples, last + r), Sample::at(v.samples, next + r), f, v.right);
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
