// The blends' eight-pixel loops: the channel arithmetic of the tables done in 16-bit lanes
// (saturating subtraction, minimum), the alpha mix in single-precision lanes.
#include "draw/effects/blend_rows.h"

#include "draw/draw_internal.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zuDraw::effects {

#if defined(__SSE2__)

namespace {

struct Lanes {
    __m128i r, g, b;
};

Lanes fiveBit(__m128i p) {
    const __m128i five = _mm_set1_epi16(31);
    return {_mm_srli_epi16(p, 11), _mm_and_si128(_mm_srli_epi16(p, 6), five),
            _mm_and_si128(p, five)};
}

__m128i packFiveBit(__m128i r, __m128i g, __m128i b) {
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(r, 11), _mm_slli_epi16(g, 6)), b);
}

// Runs mix(s, d) over eight pixels at a time, keeping d where s is 0.
template <class Mix>
int32_t eachEight(const uint16_t* s, uint16_t* d, int32_t n, Mix mix) {
    int32_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i clear = _mm_cmpeq_epi16(sv, _mm_setzero_si128());
        const __m128i out =
            _mm_or_si128(_mm_and_si128(clear, dv), _mm_andnot_si128(clear, mix(sv, dv)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), out);
    }
    return i;
}

// trunc(a·s + inv·d) of eight channel values in 16-bit lanes.
__m128i alphaLanes(__m128i s, __m128i d, float a, float inv) {
    const __m128i zero = _mm_setzero_si128();
    const __m128 av = _mm_set1_ps(a), iv = _mm_set1_ps(inv);
    auto half = [&](__m128i sh, __m128i dh) {
        return _mm_cvttps_epi32(
            _mm_add_ps(_mm_mul_ps(av, _mm_cvtepi32_ps(sh)), _mm_mul_ps(iv, _mm_cvtepi32_ps(dh))));
    };
    return _mm_packs_epi32(half(_mm_unpacklo_epi16(s, zero), _mm_unpacklo_epi16(d, zero)),
                           half(_mm_unpackhi_epi16(s, zero), _mm_unpackhi_epi16(d, zero)));
}

}  // namespace

bool fastRowsApply() {
    const PixelFormat& f = pixelFormat;
    return f.redMask == 0xF800 && f.greenMask == 0x07E0 && f.blueMask == 0x001F;
}

int32_t fadeRow565(const uint16_t* s, uint16_t* d, int32_t n, const int32_t j[3]) {
    const __m128i jr = _mm_set1_epi16(int16_t(j[0])), jg = _mm_set1_epi16(int16_t(j[1])),
                  jb = _mm_set1_epi16(int16_t(j[2]));
    const __m128i lr = _mm_set1_epi16(int16_t(31 - j[0])), lg = _mm_set1_epi16(int16_t(31 - j[1])),
                  lb = _mm_set1_epi16(int16_t(31 - j[2]));
    return eachEight(s, d, n, [&](__m128i sv, __m128i dv) {
        const Lanes a = fiveBit(sv), b = fiveBit(dv);
        return packFiveBit(_mm_add_epi16(_mm_subs_epu16(a.r, jr), _mm_subs_epu16(b.r, lr)),
                           _mm_add_epi16(_mm_subs_epu16(a.g, jg), _mm_subs_epu16(b.g, lg)),
                           _mm_add_epi16(_mm_subs_epu16(a.b, jb), _mm_subs_epu16(b.b, lb)));
    });
}

int32_t addRow565(const uint16_t* s, uint16_t* d, int32_t n, int32_t j) {
    const __m128i jv = _mm_set1_epi16(int16_t(j)), top = _mm_set1_epi16(31);
    return eachEight(s, d, n, [&](__m128i sv, __m128i dv) {
        const Lanes a = fiveBit(sv), b = fiveBit(dv);
        auto add = [&](__m128i x, __m128i y) {
            return _mm_min_epi16(_mm_add_epi16(_mm_subs_epu16(x, jv), y), top);
        };
        return packFiveBit(add(a.r, b.r), add(a.g, b.g), add(a.b, b.b));
    });
}

int32_t shadowRow565(const uint16_t* s, uint16_t* d, int32_t n) {
    return eachEight(s, d, n, [](__m128i sv, __m128i dv) {
        const __m128i dark = _mm_srli_epi16(sv, 11);
        const Lanes b = fiveBit(dv);
        return packFiveBit(_mm_subs_epu16(b.r, dark), _mm_subs_epu16(b.g, dark),
                           _mm_subs_epu16(b.b, dark));
    });
}

int32_t alphaRow565(const uint16_t* s, uint16_t* d, int32_t n, const float a[3],
                    const float inv[3]) {
    const __m128i five = _mm_set1_epi16(31), six = _mm_set1_epi16(63);
    return eachEight(s, d, n, [&](__m128i sv, __m128i dv) {
        const __m128i r = alphaLanes(_mm_srli_epi16(sv, 11), _mm_srli_epi16(dv, 11), a[0], inv[0]);
        const __m128i g = alphaLanes(_mm_and_si128(_mm_srli_epi16(sv, 5), six),
                                     _mm_and_si128(_mm_srli_epi16(dv, 5), six), a[1], inv[1]);
        const __m128i b =
            alphaLanes(_mm_and_si128(sv, five), _mm_and_si128(dv, five), a[2], inv[2]);
        return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(r, 11), _mm_slli_epi16(g, 5)), b);
    });
}

#else

bool fastRowsApply() {
    return false;
}
int32_t fadeRow565(const uint16_t*, uint16_t*, int32_t, const int32_t*) {
    return 0;
}
int32_t addRow565(const uint16_t*, uint16_t*, int32_t, int32_t) {
    return 0;
}
int32_t shadowRow565(const uint16_t*, uint16_t*, int32_t) {
    return 0;
}
int32_t alphaRow565(const uint16_t*, uint16_t*, int32_t, const float*, const float*) {
    return 0;
}

#endif

}  // namespace zuDraw::effects
