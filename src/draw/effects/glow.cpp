// Light rays: every opaque sprite pixel sends fading rays of its colour in up to eight
// directions, added onto the back buffer.
#include <algorithm>
#include <cstdint>

#include "draw/draw_internal.h"
#include "draw/effects/effect_frame.h"

namespace zuDraw {

namespace effects {
RandomReader glowRandom{0, true};
}
using namespace effects;

namespace {

// A ray direction: its bit in `directions` and the target of step k as
// (col + dx·k, row + dy·(k + 1)).
struct RayDirection {
    int32_t bit, dx, dy;
};
constexpr RayDirection rayDirections[] = {
    {0x40, 0, -1}, {0x20, -1, -1}, {0x80, 1, -1}, {0x02, 0, 1},
    {0x01, -1, 1}, {0x04, 1, 1},   {0x08, -1, 0}, {0x10, 1, 0},
};

// Adds the ray colour to the back-buffer pixel (px, py) when it lies inside the clip rectangle.
void addLight(const SpriteRegion& region, int32_t px, int32_t py, const int32_t ray[3]) {
    const platform::Rect& clip = region.clip;
    if (px < clip.left || px >= clip.right || py < clip.top || py >= clip.bottom) return;
    uint16_t& target = region.dest.row(py)[px];
    const uint8_t* c = rgb5(target);
    target = pack5(std::min(c[0] + ray[0], 31), std::min(c[1] + ray[1], 31),
                   std::min(c[2] + ray[2], 31));
}

}  // namespace

int32_t Glow(int32_t x, int32_t y, int32_t shiftR, int32_t shiftG, int32_t shiftB,
             int32_t directions, int32_t drawSource, int32_t obj, int32_t sL, int32_t sT,
             int32_t sR, int32_t sB) {
    const int32_t shifts[3] = {std::clamp(shiftR, 0, 15), std::clamp(shiftG, 0, 15),
                               std::clamp(shiftB, 0, 15)};
    return runSpriteEffect(x, y, obj, {sL, sT, sR, sB}, [&](const SpriteRegion& region) {
        for (int32_t row = 0; row < region.height; ++row) {
            const uint16_t* s = region.sourceRow(row);
            for (int32_t col = 0; col < region.width; ++col) {
                if (!s[col]) continue;
                if (drawSource) region.destRow(row)[col] = s[col];
                const uint8_t* c = rgb5(s[col]);
                const int32_t n = glowRandom.next();
                int32_t ray[3];
                for (int32_t k = 0; k < 3; ++k) ray[k] = std::max((c[k] >> shifts[k]) - n, 0);
                const int32_t px = region.x + col, py = region.y + row;
                for (int32_t k = 0; k <= 30; ++k) {
                    for (int32_t& channel : ray)
                        if (channel) --channel;
                    if (!ray[0] && !ray[1] && !ray[2]) break;
                    for (const RayDirection& r : rayDirections)
                        if (directions & r.bit)
                            addLight(region, px + r.dx * k, py + r.dy * (k + 1), ray);
                }
            }
        }
    });
}

}  // namespace zuDraw
