// Sprite blends: half-and-half, by float alpha, by integer fade level, additive and subtractive,
// and the alpha and fade gradients.
#include <cstdint>

#include "draw/draw_internal.h"
#include "draw/effects/effect_frame.h"
#include "draw/effects/opaque_pixels.h"

namespace zuDraw {

using namespace effects;

namespace {

platform::Rect sourceRect(int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    return {sL, sT, sR, sB};
}

// Exact channels mixed by float weights: trunc(a·s + inv·d) per channel.
struct AlphaMix {
    float a[3], inv[3];
    uint16_t operator()(uint16_t s, uint16_t d) const {
        Channels cs = exactChannels(s), cd = exactChannels(d);
        return packExact(int32_t(a[0] * float(cs.r) + inv[0] * float(cd.r)),
                         int32_t(a[1] * float(cs.g) + inv[1] * float(cd.g)),
                         int32_t(a[2] * float(cs.b) + inv[2] * float(cd.b)));
    }
};

AlphaMix alphaMix(float aR, float aG, float aB) {
    aR = clampUnit(aR), aG = clampUnit(aG), aB = clampUnit(aB);
    return {{aR, aG, aB}, {1.0f - aR, 1.0f - aG, 1.0f - aB}};
}

// The counting of a gradient: every position past `start` advances a counter, and each time it
// reaches `step` the gradient moves one step.
struct GradientSteps {
    uint32_t start;
    int32_t step;
    int32_t counter = 0;
    bool advance(int32_t position) {
        if (uint32_t(position) <= start) return false;
        if (++counter < step) return false;
        counter = 0;
        return true;
    }
};

// Runs a gradient over the region: `reset` gives the starting state, `lower` moves it one step,
// `pixel(state)` makes the per-pixel function of that state. Vertical gradients count rows once
// for the call; horizontal ones count columns and start again on every row.
template <class State, class Lower, class Pixel>
void runGradient(const SpriteRegion& region, bool vertical, int32_t start, int32_t step,
                 const State& first, Lower&& lower, Pixel&& pixel) {
    GradientSteps steps{uint32_t(uint16_t(start)), step};
    State state = first;
    for (int32_t row = 0; row < region.height; ++row) {
        const uint16_t* s = region.sourceRow(row);
        uint16_t* d = region.destRow(row);
        if (vertical) {
            if (steps.advance(row)) lower(state);
        } else {
            state = first;
            steps.counter = 0;
        }
        for (int32_t col = 0; col < region.width; ++col) {
            if (!vertical && steps.advance(col)) lower(state);
            if (s[col]) d[col] = pixel(state)(s[col], d[col]);
        }
    }
}

}  // namespace

int32_t HalfBlend(int32_t x, int32_t y, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                  int32_t sB) {
    return runSpriteEffect(x, y, obj, sourceRect(sL, sT, sR, sB), [](const SpriteRegion& region) {
        const uint16_t half = uint16_t(pixelFormat.halfMask);
        for (int32_t row = 0; row < region.height; ++row) {
            const uint16_t* s = region.sourceRow(row);
            uint16_t* d = region.destRow(row);
            for (int32_t col = 0; col < region.width; ++col) {  // branch-free: vectorises
                uint16_t mixed = uint16_t(((s[col] >> 1) & half) + ((d[col] >> 1) & half));
                d[col] = s[col] ? mixed : d[col];
            }
        }
    });
}

int32_t AlphaBlend(int32_t x, int32_t y, float a, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                   int32_t sB) {
    return AlphaBlendRGB(x, y, a, a, a, obj, sL, sT, sR, sB);
}

int32_t AlphaBlendRGB(int32_t x, int32_t y, float aR, float aG, float aB, int32_t obj, int32_t sL,
                      int32_t sT, int32_t sR, int32_t sB) {
    const AlphaMix mix = alphaMix(aR, aG, aB);
    auto fast = [&](const uint16_t* s, uint16_t* d, int32_t n) {
        return alphaRow565(s, d, n, mix.a, mix.inv);
    };
    return runSpriteEffect(x, y, obj, sourceRect(sL, sT, sR, sB),
                           [&](const SpriteRegion& region) { mapOpaque(region, fast, mix); });
}

int32_t AlphaGradient(int32_t x, int32_t y, float aR, float aG, float aB, int32_t vertical,
                      int32_t start, int32_t step, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                      int32_t sB) {
    const AlphaMix first = alphaMix(aR, aG, aB);
    auto lower = [](AlphaMix& m) {  // weights fall by 1/32 to 0; the alphas are what is left
        for (int32_t c = 0; c < 3; ++c) {
            m.inv[c] -= 0.03125f;
            if (m.inv[c] < 0.0f) m.inv[c] = 0.0f;
            m.a[c] = 1.0f - m.inv[c];
        }
    };
    return runSpriteEffect(x, y, obj, sourceRect(sL, sT, sR, sB), [&](const SpriteRegion& region) {
        runGradient(region, vertical != 0, start, step, first, lower,
                    [](const AlphaMix& m) -> const AlphaMix& { return m; });
    });
}

int32_t Fade(int32_t x, int32_t y, int32_t level, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
             int32_t sB) {
    return FadeRGB(x, y, level, level, level, obj, sL, sT, sR, sB);
}

int32_t FadeRGB(int32_t x, int32_t y, int32_t levelR, int32_t levelG, int32_t levelB, int32_t obj,
                int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    const int32_t j[3] = {31 - clampLevel(levelR), 31 - clampLevel(levelG),
                          31 - clampLevel(levelB)};
    const ChannelTables fade = channelTables(effectTables.fadeTable, j[0], j[1], j[2]);
    auto fast = [&](const uint16_t* s, uint16_t* d, int32_t n) { return fadeRow565(s, d, n, j); };
    return runSpriteEffect(x, y, obj, sourceRect(sL, sT, sR, sB), [&](const SpriteRegion& region) {
        mapOpaque(region, fast, [&](uint16_t s, uint16_t d) { return fade(rgb5(s), rgb5(d)); });
    });
}

int32_t FadeGradient(int32_t x, int32_t y, int32_t levelR, int32_t levelG, int32_t levelB,
                     int32_t vertical, int32_t start, int32_t step, int32_t obj, int32_t sL,
                     int32_t sT, int32_t sR, int32_t sB) {
    struct Levels {
        int32_t j[3];
    };
    const Levels first{{31 - clampLevel(levelR), 31 - clampLevel(levelG), 31 - clampLevel(levelB)}};
    auto lower = [](Levels& l) {
        for (int32_t& j : l.j)
            if (j > 0) --j;
    };
    auto pixel = [](const Levels& l) {
        const ChannelTables fade = channelTables(effectTables.fadeTable, l.j[0], l.j[1], l.j[2]);
        return [fade](uint16_t s, uint16_t d) { return fade(rgb5(s), rgb5(d)); };
    };
    return runSpriteEffect(x, y, obj, sourceRect(sL, sT, sR, sB), [&](const SpriteRegion& region) {
        runGradient(region, vertical != 0, start, step, first, lower, pixel);
    });
}

int32_t AddBlend(int32_t x, int32_t y, int32_t obj, int32_t sL, int32_t sT, int32_t sR,
                 int32_t sB) {
    return AddBlendLevel(x, y, 1.0f, obj, sL, sT, sR, sB);
}

int32_t AddBlendLevel(int32_t x, int32_t y, float a, int32_t obj, int32_t sL, int32_t sT,
                      int32_t sR, int32_t sB) {
    const int32_t j = int32_t(31.0f - clampUnit(a) * 31.0f);
    const ChannelTables add = channelTables(effectTables.addTable, j, j, j);
    auto fast = [&](const uint16_t* s, uint16_t* d, int32_t n) { return addRow565(s, d, n, j); };
    return runSpriteEffect(x, y, obj, sourceRect(sL, sT, sR, sB), [&](const SpriteRegion& region) {
        mapOpaque(region, fast, [&](uint16_t s, uint16_t d) { return add(rgb5(s), rgb5(d)); });
    });
}

int32_t Shadow(int32_t x, int32_t y, int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    const uint16_t* sub = effectTables.subTable;
    return runSpriteEffect(x, y, obj, sourceRect(sL, sT, sR, sB), [&](const SpriteRegion& region) {
        mapOpaque(region, shadowRow565, [&](uint16_t s, uint16_t d) {
            const uint8_t* c = rgb5(d);
            const int32_t dark = rgb5(s)[0];
            return uint16_t(sub[(0 << 10) | (c[0] << 5) | dark] |
                            sub[(1 << 10) | (c[1] << 5) | dark] |
                            sub[(2 << 10) | (c[2] << 5) | dark]);
        });
    });
}

}  // namespace zuDraw
