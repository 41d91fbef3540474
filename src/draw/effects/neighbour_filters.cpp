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

// The box blur with running sums: per column the sums of the block's rows, moved down one row
// at a time, then per row the prefix sums of those, so each pixel costs the same at any size.
// A table of quotients replaces the three divisions per pixel.
void blurRegion(const SpriteRegion& region, int32_t size) {
    const int32_t w = region.width, h = region.height;
    const int32_t area = size * size;
    std::vector<uint8_t> quotient(size_t(area) * 31 + 1);
    for (size_t v = 0; v < quotient.size(); ++v) quotient[v] = uint8_t(v / size_t(area));
    std::vector<int32_t> columnSums(size_t(w) * 3, 0), prefix(size_t(w + 1) * 3, 0);
    auto addRow = [&](int32_t row, int32_t sign) {
        const uint16_t* s = region.sourceRow(row);
        for (int32_t col = 0; col < w; ++col) {
            const uint8_t* c = rgb5(s[col]);
            for (int32_t k = 0; k < 3; ++k) columnSums[size_t(col) * 3 + k] += sign * c[k];
        }
    };
    for (int32_t row = 0; row < size; ++row) addRow(row, 1);
    int32_t blockTop = 0;
    for (int32_t row = 0; row < h; ++row) {
        for (; blockTop < std::min(row, h - size); ++blockTop) {
            addRow(blockTop, -1);
            addRow(blockTop + size, 1);
        }
        for (int32_t i = 0; i < w * 3; ++i) prefix[size_t(i) + 3] = prefix[size_t(i)] + columnSums[size_t(i)];
        const uint16_t* s = region.sourceRow(row);
        uint16_t* d = region.destRow(row);
        for (int32_t col = 0; col < w; ++col) {
            if (!s[col]) continue;
            const size_t left = size_t(std::min(col, w - size)) * 3, right = left + size_t(size) * 3;
            d[col] = pack5(quotient[size_t(prefix[right] - prefix[left])],
                           quotient[size_t(prefix[right + 1] - prefix[left + 1])],
                           quotient[size_t(prefix[right + 2] - prefix[left + 2])]);
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
                if (count > 1) d[col] = pack5(sum[0] / count, sum[1] / count, sum[2] / count);
                else d[col] = s[col];
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
                if (v < 1 || v >= region.height - row) v = 0;  // lower rows not yet written: the background
                d[col] = region.destRow(row + v)[col];
            }
        }
    });
}

}  // namespace zuDraw
