// Sprite filters that look beyond one pixel: box blur of the sprite, edge smoothing against the
// back buffer, and displacement of the back buffer by the sprite's red.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "draw/draw_internal.h"
#include "draw/effects/effect_frame.h"
#include "draw/effects/five_bit_layouts.h"

namespace zuDraw {

using namespace effects;

namespace {

// The box blur with running sums, on planes of one channel each so that every loop runs on
// whole vectors: per column the sum over the block's rows, moved down a row at a time, and
// per row the windows of `size` of those (below 45² · 31 < 2^16). A pixel costs about the same
// at any size. The quotient is taken in single precision from the window plus a half: the exact
// quotient lies at least 0.5 / size² from an integer, far more than the rounding error.
template <class Layout>
void blurRegion(const Layout& layout, const SpriteRegion& region, int32_t size) {
    const int32_t w = region.width, h = region.height, last = w - size;
    const size_t n = size_t(uint32_t(w));  // w >= 1 here
    const float inverse = 1.0f / float(size * size);
    std::vector<uint16_t> ring(size_t(size) * 3 * n, 0);  // the block's rows, ring by row % size
    std::vector<uint16_t> columns(3 * n, 0), wider[2] = {columns, columns}, window(3 * n),
                                             blurred(3 * n);
    // Row `row` enters the block in the ring slot of the row `size` above it, which leaves.
    auto enter = [&](int32_t row) {
        const uint16_t* s = region.sourceRow(row);
        for (int32_t k = 0; k < 3; ++k) {
            uint16_t* old = &ring[(size_t(row % size) * 3 + size_t(k)) * n];
            uint16_t* sum = &columns[size_t(k) * n];
            for (size_t i = 0; i < n; ++i) {
                const auto v = uint16_t(layout.channel(s[i], k));
                sum[i] = uint16_t(sum[i] + v - old[i]);
                old[i] = v;
            }
        }
    };
    // The block's average at every column. A window of `size` column sums is put together from
    // windows of the powers of two in `size`, each made from two of the one below: a few passes
    // over whole vectors, no pixel waiting on the one before it. The passes run over the three
    // planes as one line; a window that would reach into the next plane is replaced by the
    // plane's last, where the window stays at the right edge.
    auto average = [&] {
        const size_t all = 3 * n, starts = all - size_t(size) + 1;
        const uint16_t* narrow = columns.data();  // sums of `width` neighbouring columns
        for (int32_t width = 1, done = 0, pass = 0;; width *= 2) {
            if (size & width) {
                const uint16_t* part = narrow + done;
                if (done + width == size) {  // the last part goes straight to the quotient
                    for (size_t i = 0; i < starts; ++i)
                        blurred[i] =
                            uint16_t((float((done ? window[i] : 0) + part[i]) + 0.5f) * inverse);
                    break;
                }
                for (size_t i = 0; i < starts; ++i)
                    window[i] = uint16_t((done ? window[i] : 0) + part[i]);
                done += width;
            }
            uint16_t* wide = wider[pass++ & 1].data();
            for (size_t i = 0; i + 2 * size_t(width) <= all; ++i)
                wide[i] = uint16_t(narrow[i] + narrow[i + size_t(width)]);
            narrow = wide;
        }
        for (size_t k = 0; k < 3; ++k)
            std::fill(&blurred[k * n + size_t(last) + 1], &blurred[k * n] + n,
                      blurred[k * n + size_t(last)]);
    };
    for (int32_t row = 0; row < size; ++row) enter(row);
    average();
    const uint16_t *red = blurred.data(), *green = red + n, *blue = green + n;
    for (int32_t row = 0; row < h; ++row) {
        if (row > 0 && row <= h - size) {  // the block moves down with the row
            enter(row - 1 + size);
            average();
        }
        const uint16_t* s = region.sourceRow(row);
        uint16_t* d = region.destRow(row);
        for (size_t i = 0; i < n; ++i) {  // a mask, not a branch, so that the loop vectorises
            const auto transparent = uint16_t(s[i] ? 0 : 0xFFFF);
            d[i] = uint16_t((d[i] & transparent) |
                            (layout.pack5(red[i], green[i], blue[i]) & ~transparent));
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
        withLayout(
            [&](const auto& layout) { blurRegion(layout, region, std::clamp(size, 1, largest)); });
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
