// The magnifiers Zoom2 and Zoom4: a rectangle of the back buffer enlarged into object 0 (the work
// surface), then drawn back opaque at its own corner. The rectangle is cut to the back buffer and
// to what fits object 0 enlarged, so no read or write leaves either surface.
#include <algorithm>
#include <cstring>

#include "draw/draw_internal.h"
#include "draw/effects/effect_frame.h"

namespace zuDraw {

namespace {

// One row of back-buffer pixels into their K × K blocks of the work surface, whose top-left is
// `out`. A sparse block gets only its top-left pixel (K = 2) or top-left 2 × 2 (K = 4); the rest
// keeps what the work surface held. The first block row is made once, then copied down.
template <int K, bool Sparse>
void enlargeRow(const uint16_t* from, int32_t count, const effects::Pixels16& work, int32_t blockX,
                int32_t blockY) {
    constexpr int32_t filled = Sparse ? K / 2 : K;  // pixels written of each block's rows
    uint16_t* first = work.row(blockY) + size_t(blockX) * K;
    for (int32_t i = 0; i < count; ++i) {
        if constexpr (filled == 1) {
            first[i * K] = from[i];
        } else {  // pixel pairs as one 32-bit store
            const uint32_t pair = from[i] * 0x10001u;
            for (int32_t dx = 0; dx < filled; dx += 2)
                std::memcpy(first + i * K + dx, &pair, sizeof pair);
        }
    }
    for (int32_t dy = 1; dy < filled; ++dy) {
        uint16_t* out = work.row(blockY + dy) + size_t(blockX) * K;
        if constexpr (!Sparse) {
            std::memcpy(out, first, size_t(count) * K * sizeof(uint16_t));
        } else {
            for (int32_t i = 0; i < count; ++i) std::memcpy(out + i * K, first + i * K, 4);
        }
    }
}

int32_t zoom(int32_t k, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sparse) {
    if (!effects::ready()) return 0;
    platform::Surface* work = effects::spriteSurface(0);
    if (!work) return 0;
    platform::Rect part;  // source columns and rows, relative to (x, y)
    {
        effects::EffectLock lock(*work, *screenState.back);
        if (!lock.ok()) return 0;
        const effects::Pixels16& back = lock.dest;
        int64_t left = std::max<int64_t>(0, -int64_t(x)), top = std::max<int64_t>(0, -int64_t(y));
        int64_t right = std::min<int64_t>({w, int64_t(back.width) - x, lock.source.width / k});
        int64_t bottom = std::min<int64_t>({h, int64_t(back.height) - y, lock.source.height / k});
        if (right <= left || bottom <= top) return 1;
        part = {int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
        auto enlarge = k == 2 ? (sparse ? enlargeRow<2, true> : enlargeRow<2, false>)
                              : (sparse ? enlargeRow<4, true> : enlargeRow<4, false>);
        for (int32_t r = part.top; r < part.bottom; ++r)
            enlarge(back.row(y + r) + x + part.left, part.width(), lock.source, part.left, r * k);
    }
    BlitOpaque(x + part.left * k, y + part.top * k, 0, part.left * k, part.top * k, part.right * k,
               part.bottom * k);
    return 1;
}

}  // namespace

int32_t Zoom2(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sparse) {
    return zoom(2, x, y, w, h, sparse);
}

int32_t Zoom4(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sparse) {
    return zoom(4, x, y, w, h, sparse);
}

}  // namespace zuDraw
