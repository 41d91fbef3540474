// Sprite filters that look beyond one pixel: box blur of the sprite, edge smoothing against the
// back buffer, and displacement of the back buffer by the sprite's red.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "draw/draw_internal.h"
#include "draw/effects/effect_frame.h"

namespace zuDraw {

using namespace effects;

namespace {

// Three 16-bit channel sums in one word, red lowest. A lane never overflows (at most 45² · 31),
// and since every sum is exact modulo 2^64, a borrow between lanes in the middle of a sum is
// undone by its end.
uint64_t packedChannels(uint16_t p) {
    const uint8_t* c = rgb5(p);
    return uint64_t(c[0]) | uint64_t(c[1]) << 16 | uint64_t(c[2]) << 32;
}

// The box blur with running sums: per column the sum over the block's rows, moved down a row at
// a time, and along each row a window of `size` of those, so a pixel costs the same at any size.
// A table of quotients replaces the three divisions per pixel.
void blurRegion(const SpriteRegion& region, int32_t size) {
    const int32_t w = region.width, h = region.height, area = size * size;
    std::vector<uint8_t> quotient(size_t(area) * 31 + 1);
    for (size_t v = 0; v < quotient.size(); ++v) quotient[v] = uint8_t(v / size_t(area));
    std::vector<uint64_t> blockRows(size_t(size) * size_t(w));  // packed rows, ring by row % size
    std::vector<uint64_t> columns(size_t(w), 0);
    auto addRow = [&](int32_t row) {
        uint64_t* packed = &blockRows[size_t(row % size) * size_t(w)];
        const uint16_t* s = region.sourceRow(row);
        for (int32_t col = 0; col < w; ++col)
            columns[size_t(col)] += packed[col] = packedChannels(s[col]);
    };
    auto dropRow = [&](int32_t row) {
        const uint64_t* packed = &blockRows[size_t(row % size) * size_t(w)];
        for (int32_t col = 0; col < w; ++col) columns[size_t(col)] -= packed[col];
    };
    for (int32_t row = 0; row < size; ++row) addRow(row);
    for (int32_t row = 0, blockTop = 0; row < h; ++row) {
        for (; blockTop < std::min(row, h - size); ++blockTop) {
            dropRow(blockTop);
            addRow(blockTop + size);
        }
        uint64_t window = 0;
        for (int32_t col = 0; col < size; ++col) window += columns[size_t(col)];
        const uint16_t* s = region.sourceRow(row);
        uint16_t* d = region.destRow(row);
        for (int32_t col = 0, left = 0; col < w; ++col) {
            for (; left < std::min(col, w - size); ++left)
                window += columns[size_t(left + size)] - columns[size_t(left)];
            if (s[col])
                d[col] = pack5(quotient[window & 0xFFFF], quotient[(window >> 16) & 0xFFFF],
                               quotient[(window >> 32) & 0xFFFF]);
        }
    }
}

}  // namespace

int32_t Blur(int32_t x, int32_t y, int32_t size, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
             int32_t sB) {
    return runSpriteEffect(x, y, obj, {sL, sT, sR, sB}, [&](const SpriteRegion& region) {
        // 0 would divide by zero, more than the region moves the block before it, more than 45
        // overflows 16-bit sums.
        const int32_t largest = std::min({region.width, region.height, 45});
        if (largest < 1) return;
        blurRegion(region, std::clamp(size, 1, largest));
    });
}

int32_t SmoothEdge(int32_t x, int32_t y, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                   int32_t sB) {
    return runSpriteEffect(x, y, obj, {sL, sT, sR, sB}, [](const SpriteRegion& region) {
        const int32_t w = region.width, h = region.height;
        for (int32_t row = 0; row < h; ++row) {
            const uint16_t* s = region.sourceRow(row);
            uint16_t* d = region.destRow(row);
            for (int32_t col = 0; col < w; ++col) {
                if (!s[col]) continue;
                const uint8_t* own = rgb5(s[col]);
                int32_t sum[3] = {own[0], own[1], own[2]}, count = 1;
                auto take = [&](bool inside, int32_t dc, int32_t dr) {
                    if (!inside || region.sourceRow(row + dr)[col + dc]) return;
                    const uint8_t* c = rgb5(region.destRow(row + dr)[col + dc]);
                    for (int32_t k = 0; k < 3; ++k) sum[k] += c[k];
                    ++count;
                };
                take(col > 0, -1, 0);
                take(col + 1 < w, 1, 0);
                take(row > 0, 0, -1);
                take(row + 1 < h, 0, 1);
                if (count > 1)
                    d[col] = pack5(sum[0] / count, sum[1] / count, sum[2] / count);
                else
                    d[col] = s[col];
            }
        }
    });
}

int32_t Displace(int32_t x, int32_t y, float f, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                 int32_t sB) {
    const int32_t j = int32_t(31.0f - clampUnit(f) * 31.0f);
    return runSpriteEffect(x, y, obj, {sL, sT, sR, sB}, [j](const SpriteRegion& region) {
        for (int32_t row = 0; row < region.height; ++row) {
            const uint16_t* s = region.sourceRow(row);
            uint16_t* d = region.destRow(row);
            for (int32_t col = 0; col < region.width; ++col) {
                if (!s[col]) continue;
                int32_t v = rgb5(s[col])[0] - j;
                if (v < 1 || v >= region.height - row)
                    v = 0;  // lower rows not yet written: the background
                d[col] = region.destRow(row + v)[col];
            }
        }
    });
}

}  // namespace zuDraw
