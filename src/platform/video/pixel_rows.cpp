// Copies work 32 bytes at a time (two SSE2 or one AVX2 operation, chosen when the program
// starts); an opaque copy of whole rows is a single memcpy.
#include "platform/video/pixel_rows.h"

#include <cstdint>
#include <cstring>

namespace platform {
namespace {

constexpr int32_t prefetchRows = 4;

// ThreadSanitizer cannot start a program whose function clones are resolved before it is.
#if defined(__SANITIZE_THREAD__)
#define ZU_CLONES_AVX2
#else
#define ZU_CLONES_AVX2 __attribute__((target_clones("avx2", "default")))
#endif

// A keyed copy of a pixel gives the same result when done twice, so a row is done in whole
// vectors that may overlap: one at its start and one ending at its end, both worked out first
// and stored last (a load that overlaps a waiting store stalls), and between them vectors on
// whole vectors of the destination (a store split over two cache lines costs about two).
template <typename P, typename Vector>
inline void keyedRows(PixelRows to, SourceRows from, int32_t width, int32_t height, P key, P mask) {
    constexpr int32_t lanes = int32_t(sizeof(Vector) / sizeof(P));
    for (int32_t row = 0; row < height; ++row) {
        auto* d = reinterpret_cast<P*>(to.bits + size_t(row) * to.pitch);
        const auto* s = reinterpret_cast<const P*>(from.bits + size_t(row) * from.pitch);
        if (row + prefetchRows < height)  // rows land a pitch apart, beyond the hardware's guess
            __builtin_prefetch(to.bits + size_t(row + prefetchRows) * to.pitch, 1);
        if (width < lanes) {
            for (int32_t i = 0; i < width; ++i) d[i] = P(s[i] & mask) == key ? d[i] : s[i];
            continue;
        }
        // Results go out through a reference: a vector returned by value changes the ABI of the
        // clone built without AVX.
        auto keyed = [&](int32_t i, Vector& result) {
            Vector source, destination;
            std::memcpy(&source, s + i, sizeof source);
            std::memcpy(&destination, d + i, sizeof destination);
            result = (source & mask) == key ? destination : source;
        };
        Vector first, last, result;
        keyed(0, first);
        keyed(width - lanes, last);
        const size_t misaligned = reinterpret_cast<uintptr_t>(d) % sizeof(Vector);
        int32_t i =
            misaligned % sizeof(P) ? lanes : int32_t((sizeof(Vector) - misaligned) / sizeof(P));
        for (; i + lanes <= width; i += lanes) {
            keyed(i, result);
            std::memcpy(d + i, &result, sizeof result);
        }
        std::memcpy(d, &first, sizeof first);
        std::memcpy(d + width - lanes, &last, sizeof last);
    }
}

// Blocks of a fixed length let GCC vectorise at -O2; the tail runs one pixel at a time.
template <typename P>
inline void fillRows(PixelRows to, int32_t width, int32_t height, P value) {
    constexpr int32_t block = 16;
    for (int32_t row = 0; row < height; ++row) {
        auto* __restrict d = reinterpret_cast<P*>(to.bits + size_t(row) * to.pitch);
        int32_t i = 0;
        for (; i + block <= width; i += block)
            for (int32_t k = 0; k < block; ++k) d[i + k] = value;
        for (; i < width; ++i) d[i] = value;
    }
}

using Pixels16 = uint16_t __attribute__((vector_size(32)));
using Pixels32 = uint32_t __attribute__((vector_size(32)));

}  // namespace

void copyOpaque(PixelRows to, SourceRows from, int32_t rowBytes, int32_t height) {
    if (rowBytes == to.pitch && rowBytes == from.pitch) {
        std::memcpy(to.bits, from.bits, size_t(rowBytes) * height);
        return;
    }
    for (int32_t row = 0; row < height; ++row)
        std::memcpy(to.bits + size_t(row) * to.pitch, from.bits + size_t(row) * from.pitch,
                    size_t(rowBytes));
}

ZU_CLONES_AVX2
void copyKeyed16(PixelRows to, SourceRows from, int32_t width, int32_t height, uint16_t key) {
    keyedRows<uint16_t, Pixels16>(to, from, width, height, key, 0xFFFF);
}

ZU_CLONES_AVX2
void copyKeyed32(PixelRows to, SourceRows from, int32_t width, int32_t height, uint32_t key) {
    keyedRows<uint32_t, Pixels32>(to, from, width, height, key & 0xFFFFFF, 0xFFFFFF);
}

void fill16(PixelRows to, int32_t width, int32_t height, uint16_t value) {
    fillRows<uint16_t>(to, width, height, value);
}

void fill32(PixelRows to, int32_t width, int32_t height, uint32_t value) {
    fillRows<uint32_t>(to, width, height, value);
}

}  // namespace platform
