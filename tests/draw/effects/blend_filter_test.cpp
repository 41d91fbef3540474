// Sprite blends and colour filters on the headless 640 x 480 screen: the tables in both 16-bit
// layouts, worked pixels, gradients, neighbour filters, rays, the frame's clipping and locks,
// the fast rows and the running-sum blur against plain per-pixel forms, and golden sheets.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "draw/effects/effect_frame.h"
#include "draw/zu_draw.h"
#include "platform/faults.h"
#include "support/fresh_program.h"
#include "support/golden.h"
#include "system/zu_system.h"

namespace {

using zuDraw::effects::pack5;
using Effect = std::function<int32_t(int32_t x, int32_t y, int32_t obj, platform::Rect)>;
struct NamedEffect {
    const char* name;
    Effect draw;
};
#define EFFECT(call) {#call, [](int32_t x, int32_t y, int32_t o, platform::Rect r) { return zuDraw::call; }}
#define SRC o, r.left, r.top, r.right, r.bottom

// Operations whose pixels depend on that pixel alone, so cutting the sprite only crops it.
const std::vector<NamedEffect> perPixel = {
    EFFECT(HalfBlend(x, y, SRC)), EFFECT(AlphaBlend(x, y, 0.5f, SRC)), EFFECT(AlphaBlendRGB(x, y, 0.2f, 0.5f, 0.9f, SRC)),
    EFFECT(Fade(x, y, 12, SRC)), EFFECT(FadeRGB(x, y, 6, 16, 28, SRC)), EFFECT(AddBlend(x, y, SRC)),
    EFFECT(AddBlendLevel(x, y, 0.6f, SRC)), EFFECT(Shadow(x, y, SRC)), EFFECT(ChannelMask(x, y, 1, 0, 1, SRC)),
    EFFECT(Bright(x, y, 0.6f, SRC)), EFFECT(BrightRGB(x, y, 1.0f, 0.5f, 0.2f, SRC)), EFFECT(Darken(x, y, 20, SRC)),
    EFFECT(DarkenRGB(x, y, 31, 10, 20, SRC)), EFFECT(Grey(x, y, SRC))};
const std::vector<NamedEffect> gradients = {
    EFFECT(AlphaGradient(x, y, 0, 0.1f, 0.2f, 0, 0, 4, SRC)), EFFECT(AlphaGradient(x, y, 0, 0, 0, 0, 40, 2, SRC)),
    EFFECT(AlphaGradient(x, y, 0.3f, 0, 0, 0, 80, 1, SRC)), EFFECT(FadeGradient(x, y, 0, 5, 10, 1, 0, 3, SRC)),
    EFFECT(FadeGradient(x, y, 0, 0, 0, 1, 30, 2, SRC)), EFFECT(FadeGradient(x, y, 8, 0, 0, 1, 60, 1, SRC))};
const std::vector<NamedEffect> neighbours = {
    EFFECT(Blur(x, y, 5, SRC)), EFFECT(Blur(x, y, 2, SRC)), EFFECT(SmoothEdge(x, y, SRC)), EFFECT(Displace(x, y, 0.7f, SRC)),
    EFFECT(Glow(x, y, 1, 1, 2, 0xFF, 1, SRC)), EFFECT(Glow(x, y, 0, 2, 2, 0x5A, 0, SRC))};

class SpriteEffects : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        ASSERT_EQ(start(false), 1);
    }
    // A 640 x 480 screen of `depth` bits (16: 5-6-5 or 5-5-5) whose random table follows srand(7).
    static int32_t start(bool rgb555, int32_t depth = 16) {
        platform::headless::useRgb555For16(rgb555);
        zuSystem::systemState.fullScreen = 1;
        zuDraw::SetColorDepth(depth, 0, 0);
        zuDraw::Release();
        std::srand(7);
        return zuDraw::Screen(640, 480, 1);
    }
    static platform::Surface& back() { return *zuDraw::screenState.back; }
    static uint16_t& px(platform::Surface& s, int32_t x, int32_t y) {
        return reinterpret_cast<uint16_t*>(s.memory.data() + size_t(y) * size_t(s.pitch))[x];
    }
    template <class Pixel>
    static void paint(platform::Surface& s, Pixel pixel) {
        for (int32_t y = 0; y < s.height; ++y)
            for (int32_t x = 0; x < s.width; ++x) px(s, x, y) = uint16_t(pixel(x, y));
    }
    template <class Pixel>
    static int32_t sprite(int32_t w, int32_t h, Pixel pixel) {
        int32_t obj = zuDraw::CreateObject(w, h, 2);
        paint(*zuDraw::objectTable[obj].surface, pixel);
        return obj;
    }
    static std::vector<uint16_t> pixels(platform::Surface& s) {
        std::vector<uint16_t> all;
        for (int32_t y = 0; y < s.height; ++y) all.insert(all.end(), &px(s, 0, y), &px(s, 0, y) + s.width);
        return all;
    }
    // A background with structure everywhere, and an oval sprite with a hole (a quarter clear).
    static uint16_t background(int32_t x, int32_t y) {
        return pack5(x % 160 / 6 + 2, y % 120 / 5 + 4, (x / 20 + y / 20) % 2 ? 22 : 8);
    }
    static uint16_t oval(int32_t x, int32_t y) {
        const int32_t dx = x - 70, dy = y - 50, r2 = dx * dx * 100 / 49 + dy * dy * 2;
        if (r2 > 4900 || (dx * dx + dy * dy < 150)) return 0;
        return pack5(31 - x / 5, y * 31 / 99, (x + y) % 64 / 2 + 1);
    }
};

TEST_F(SpriteEffects, TablesHoldTheirValuesIn565And555) {
    for (bool rgb555 : {false, true}) {
        SCOPED_TRACE(rgb555 ? "555" : "565");
        ASSERT_EQ(start(rgb555), 1);
        const zuDraw::EffectTables& t = zuDraw::effectTables;
        EXPECT_EQ(std::vector<int32_t>({t.sine[0], t.sine[30], t.sine[90], t.sine[270], t.sine[449]}),
                  std::vector<int32_t>({0, 179, 360, -360, 359}));
        const uint8_t* green = t.pixelRgb5[rgb555 ? 0x03E0 : 0x07E0];
        const uint8_t* white = t.pixelRgb5[rgb555 ? 0x7FFF : 0xFFFF];
        EXPECT_EQ(std::vector<int32_t>({green[0], green[1], green[2], white[0], white[1], white[2]}),
                  std::vector<int32_t>({0, 31, 0, 31, 31, 31}));
        const int32_t shifts[3] = {rgb555 ? 10 : 11, rgb555 ? 5 : 6, 0};
        for (int32_t c = 0; c < 3; ++c)
            for (int32_t hi = 0; hi < 32; ++hi)
                for (int32_t lo = 0; lo < 32; ++lo) {
                    const int32_t at = (c << 15) | (hi << 5) | lo;
                    ASSERT_EQ(t.fadeTable[at], hi << shifts[c]);  // j = 0: the first
                    ASSERT_EQ(t.fadeTable[at | (31 << 10)], lo << shifts[c]);  // j = 31: the second
                    ASSERT_EQ(t.addTable[at], std::min(hi + lo, 31) << shifts[c]);
                }
        EXPECT_EQ(t.greyTable[93], 31);
        EXPECT_EQ(t.greyTable[2], 0);
        std::srand(7);
        for (int8_t entry : t.randomTable) ASSERT_EQ(entry, std::rand() % 3);
    }
}

TEST_F(SpriteEffects, WorkedPixelsOfEachOperationWithLevelsAndAlphasClamped) {
    struct Case {
        uint16_t source, dest, expected;
        std::function<int32_t(int32_t)> draw;  // of object n at (5, 5)
    };
    using namespace zuDraw;
    const uint16_t grey20 = pack5(20, 20, 20), odd = 0x1235, oddFive = 0x1215;  // green 17 -> 5-bit 8
    const Case cases[] = {
        {0xFFFF, 0, 0x7BEF, [](int32_t n) { return HalfBlend(5, 5, n, 0, 0, 1, 1); }},
        {0x1234, 0xABCD, 0x1234, [](int32_t n) { return AlphaBlend(5, 5, 1.0f, n, 0, 0, 1, 1); }},
        {0x1234, 0xABCD, 0xABCD, [](int32_t n) { return AlphaBlend(5, 5, 0.0f, n, 0, 0, 1, 1); }},
        {0x1234, 0xABCD, 0x1234, [](int32_t n) { return AlphaBlend(5, 5, 2.0f, n, 0, 0, 1, 1); }},
        {0x1234, 0xABCD, 0xABCD, [](int32_t n) { return AlphaBlend(5, 5, -1.0f, n, 0, 0, 1, 1); }},
        {0xFFFF, 0, 0xF81F, [](int32_t n) { return AlphaBlendRGB(5, 5, 1.0f, -3.0f, 9.0f, n, 0, 0, 1, 1); }},
        {odd, 0xABED, oddFive, [](int32_t n) { return Fade(5, 5, 31, n, 0, 0, 1, 1); }},
        {odd, 0xABED, 0xABCD, [](int32_t n) { return Fade(5, 5, 0, n, 0, 0, 1, 1); }},
        {odd, 0xABED, oddFive, [](int32_t n) { return FadeRGB(5, 5, 99, 32, 1000, n, 0, 0, 1, 1); }},
        {odd, 0xABED, 0xABCD, [](int32_t n) { return Fade(5, 5, -5, n, 0, 0, 1, 1); }},
        {grey20, pack5(20, 5, 0), pack5(31, 25, 20), [](int32_t n) { return AddBlend(5, 5, n, 0, 0, 1, 1); }},
        {grey20, pack5(20, 5, 0), pack5(31, 25, 20), [](int32_t n) { return AddBlendLevel(5, 5, 5.0f, n, 0, 0, 1, 1); }},
        {grey20, 0xABED, 0xABCD, [](int32_t n) { return AddBlendLevel(5, 5, -0.5f, n, 0, 0, 1, 1); }},
        {pack5(10, 0, 0), pack5(31, 5, 12), pack5(21, 0, 2), [](int32_t n) { return Shadow(5, 5, n, 0, 0, 1, 1); }},
        {0xFFFF, 1, 0xF800, [](int32_t n) { return ChannelMask(5, 5, 1, 0, 0, n, 0, 0, 1, 1); }},
        {0xFFFF, 1, 0x7BEF, [](int32_t n) { return Bright(5, 5, 0.5f, n, 0, 0, 1, 1); }},
        {0xFFFF, 1, 0xFFE0, [](int32_t n) { return BrightRGB(5, 5, 3.0f, 1.0f, -1.0f, n, 0, 0, 1, 1); }},
        {odd, 1, oddFive, [](int32_t n) { return Darken(5, 5, 31, n, 0, 0, 1, 1); }},
        {odd, 1, 0, [](int32_t n) { return Darken(5, 5, 0, n, 0, 0, 1, 1); }},
        {0xFFFF, 1, 0xF81F, [](int32_t n) { return DarkenRGB(5, 5, 40, -3, 31, n, 0, 0, 1, 1); }},
        {pack5(31, 0, 2), 1, pack5(11, 11, 11), [](int32_t n) { return Grey(5, 5, n, 0, 0, 1, 1); }},
        {0, 0xABCD, 0xABCD, [](int32_t n) { return AlphaBlend(5, 5, 1.0f, n, 0, 0, 1, 1); }},
        {0, 0xABCD, 0xABCD, [](int32_t n) { return Grey(5, 5, n, 0, 0, 1, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const int32_t n = sprite(1, 1, [&](int32_t, int32_t) { return c.source; });
        px(back(), 5, 5) = c.dest;
        EXPECT_EQ(c.draw(n), 1);
        EXPECT_EQ(px(back(), 5, 5), c.expected);
        zuDraw::ReleaseObject(n);
    }
}

TEST_F(SpriteEffects, GradientsReachTheSourceInThirtyTwoStepsAfterStart) {
    const int32_t row = sprite(100, 1, [](int32_t, int32_t) { return 0x07E0; });  // green 63: 1/32 of it shows
    const int32_t column = sprite(1, 100, [](int32_t, int32_t) { return 0x07E0; });
    auto along = [](bool vertical, int32_t p) { return vertical ? px(back(), 0, p) : px(back(), p, 0); };
    for (bool vertical : {false, true}) {
        for (int32_t start : {10, 0x7000A}) {  // only the low 16 bits count
            paint(back(), [](int32_t, int32_t) { return 0; });
            zuDraw::AlphaGradient(0, 0, 0, 0, 0, vertical, start, 2, vertical ? column : row, 0, 0, 100, 100);
            EXPECT_EQ(std::vector<int32_t>({along(vertical, 11), along(vertical, 12), along(vertical, 73), along(vertical, 74)}),
                      std::vector<int32_t>({0, 1 << 5, 61 << 5, 63 << 5}));
        }
        paint(back(), [](int32_t, int32_t) { return 0; });
        zuDraw::FadeGradient(0, 0, 0, 0, 0, vertical, 10, 2, vertical ? column : row, 0, 0, 100, 100);
        EXPECT_EQ(std::vector<int32_t>({along(vertical, 11), along(vertical, 12), along(vertical, 74)}),
                  std::vector<int32_t>({0, 1 << 6, 31 << 6}));
        paint(back(), [](int32_t, int32_t) { return 0; });  // a step below 1 steps at every position
        zuDraw::FadeGradient(0, 0, 0, 0, 0, vertical, 10, -5, vertical ? column : row, 0, 0, 100, 100);
        EXPECT_EQ(std::vector<int32_t>({along(vertical, 10), along(vertical, 11), along(vertical, 41)}),
                  std::vector<int32_t>({0, 1 << 6, 31 << 6}));
    }
}

TEST_F(SpriteEffects, NeighbourFiltersAverageBlocksAndEdgesAndDisplaceByRed) {
    paint(back(), [](int32_t, int32_t) { return 0; });
    const int32_t block = sprite(6, 3, [](int32_t x, int32_t y) { return x == 4 && y == 1 ? 0 : pack5(9, 9, 9); });
    for (int32_t size : {3, 1000}) {  // clamped to the region's 3 rows
        EXPECT_EQ(zuDraw::Blur(0, 0, size, block, 0, 0, 6, 3), 1);
        EXPECT_EQ(std::vector<int32_t>({px(back(), 0, 0), px(back(), 5, 0), px(back(), 4, 1)}),
                  std::vector<int32_t>({pack5(9, 9, 9), pack5(8, 8, 8), 0}));  // the last column's block holds the hole
    }
    const int32_t odd = sprite(4, 4, [](int32_t x, int32_t y) { return 0x0021 + x + 64 * y; });  // 6-bit greens odd
    for (int32_t size : {1, 0, -7}) {
        zuDraw::Blur(10, 10, size, odd, 0, 0, 4, 4);
        EXPECT_EQ(px(back(), 12, 13), (0x0021 + 2 + 64 * 3) & 0xFFDF);
    }
    zuDraw::SmoothEdge(10, 10, odd, 0, 0, 4, 4);  // nothing clear around: copied as it is
    EXPECT_EQ(px(back(), 12, 13), 0x0021 + 2 + 64 * 3);
    const int32_t dot = sprite(3, 3, [](int32_t x, int32_t y) { return x == 1 && y == 1 ? 0xFFFF : 0; });
    zuDraw::SmoothEdge(20, 20, dot, 0, 0, 3, 3);
    EXPECT_EQ(px(back(), 21, 21), pack5(6, 6, 6));

    paint(back(), [](int32_t x, int32_t y) { return x + 16 * y; });
    const int32_t haze = sprite(1, 5, [](int32_t, int32_t y) { return y == 0 ? pack5(2, 0, 0) : y == 3 ? 0xF800 : 0; });
    zuDraw::Displace(0, 0, 0.0f, haze, 0, 0, 1, 5);
    EXPECT_EQ(px(back(), 0, 0), 0);
    for (float f : {1.0f, 4.0f}) {  // red 2 reads two rows down; red 31 would leave the region
        zuDraw::Displace(0, 0, f, haze, 0, 0, 1, 5);
        EXPECT_EQ(std::vector<int32_t>({px(back(), 0, 0), px(back(), 0, 3)}), std::vector<int32_t>({32, 48}));
    }
}

TEST_F(SpriteEffects, GlowRaysFadeOneUnitAStepTakeTheRandomAndStayInTheClip) {
    using zuDraw::effects::glowRandom;
    const zuDraw::EffectTables& t = zuDraw::effectTables;
    paint(back(), [](int32_t, int32_t) { return 0; });
    const int32_t red = sprite(1, 1, [](int32_t, int32_t) { return 0xF800; });
    glowRandom.position = 9999;
    for (int32_t n : {t.randomTable[9999], t.randomTable[0]}) {  // then back to the first entry
        paint(back(), [](int32_t, int32_t) { return 0; });
        EXPECT_EQ(zuDraw::Glow(100, 100, 0, 0, 0, 0x02, 1, red, 0, 0, 1, 1), 1);
        EXPECT_EQ(std::vector<int32_t>({px(back(), 100, 100), px(back(), 100, 101), px(back(), 100, 130 - n), px(back(), 100, 131 - n)}),
                  std::vector<int32_t>({0xF800, pack5(30 - n, 0, 0), pack5(1, 0, 0), 0}));
    }
    EXPECT_EQ(glowRandom.position, 1);
    paint(back(), [](int32_t, int32_t) { return 0; });
    EXPECT_EQ(zuDraw::Glow(100, 100, 99, 99, 99, 0xFF, 0, red, 0, 0, 1, 1), 1);  // shifts clamped to 15: no light
    EXPECT_EQ(pixels(back()), std::vector<uint16_t>(640 * 480, 0));
    zuDraw::SetClip(95, 97, 105, 140);
    EXPECT_EQ(zuDraw::Glow(100, 100, -4, 0, 0, 0xFF, 0, red, 0, 0, 1, 1), 1);
    EXPECT_EQ(px(back(), 96, 100), pack5(26 - t.randomTable[2], 0, 0));  // the left ray's fifth step
    for (int32_t y = 0; y < 480; ++y)
        for (int32_t x = 0; x < 640; ++x)
            ASSERT_TRUE((x >= 95 && x < 105 && y >= 97 && y < 140) || px(back(), x, y) == 0) << x << "," << y;
    zuDraw::SetClip(-500, -500, 5000, 5000);  // rays off every edge of the back buffer
    const int32_t white = sprite(640, 480, [](int32_t x, int32_t y) { return x % 637 < 3 || y % 477 < 3 ? 0xFFFF : 0; });
    EXPECT_EQ(zuDraw::Glow(0, 0, 0, 0, 0, 0xFF, 1, white, 0, 0, 640, 480), 1);
}

TEST_F(SpriteEffects, CutSpritesDrawTheUncutPixelsCroppedAndLocksNeverStay) {
    const int32_t obj = sprite(140, 100, oval);
    const platform::Rect cuts[] = {{110, 0, 640, 480}, {0, 95, 640, 480}, {0, 0, 170, 480}, {0, 0, 640, 120}};
    platform::Surface& object = *zuDraw::objectTable[obj].surface;
    paint(back(), background);
    const std::vector<uint16_t> untouched = pixels(back());
    for (const NamedEffect& e : perPixel) {
        SCOPED_TRACE(e.name);
        paint(back(), background);
        zuDraw::SetClip(0, 0, 640, 480);
        EXPECT_EQ(e.draw(60, 50, obj, {0, 0, 140, 100}), 1);
        const std::vector<uint16_t> uncut = pixels(back());
        for (const platform::Rect& cut : cuts) {
            paint(back(), background);
            zuDraw::SetClip(cut.left, cut.top, cut.right, cut.bottom);
            EXPECT_EQ(e.draw(40, 30, obj, {-20, -20, 500, 500}), 1);  // the source reaches past the object
            for (int32_t y = 0; y < 480; ++y)
                for (int32_t x = 0; x < 640; ++x) {
                    const bool inside = x >= cut.left && x < cut.right && y >= cut.top && y < cut.bottom;
                    ASSERT_EQ(px(back(), x, y), inside ? uncut[size_t(y) * 640 + x] : background(x, y)) << x << "," << y;
                }
        }
        zuDraw::SetClip(0, 0, 640, 480);
        platform::headless::failNextLocks(1);  // wholly outside: no lock is taken to fail
        EXPECT_EQ(e.draw(-150, 10, obj, {0, 0, 140, 100}), 1);
        EXPECT_EQ(e.draw(60, 50, obj, {0, 0, 140, 100}), 0);
        platform::headless::loseSurface(&back());
        EXPECT_EQ(e.draw(60, 50, obj, {0, 0, 140, 100}), 0);
        platform::restore(back());
        paint(back(), background);
        EXPECT_EQ(std::tuple(object.lockCount, back().lockCount), std::tuple(0, 0));
        EXPECT_EQ(e.draw(60, 50, 1024, {0, 0, 140, 100}), 0);
        EXPECT_EQ(e.draw(60, 50, 900, {0, 0, 140, 100}), 0);
        EXPECT_EQ(pixels(back()), untouched);
    }
    ASSERT_EQ(start(false, 32), 1);  // no 16-bit tables: nothing drawn
    const int32_t wide = zuDraw::CreateObject(140, 100, 2);
    const testsupport::Picture before = testsupport::pictureOf(back());
    for (const auto* family : {&perPixel, &gradients, &neighbours})
        for (const NamedEffect& e : *family) EXPECT_EQ(e.draw(60, 50, wide, {0, 0, 140, 100}), 0) << e.name;
    EXPECT_EQ(testsupport::pictureOf(back()).xrgb, before.xrgb);
}

// Plain per-pixel forms of the blends, written from their formulas channel by channel, hold the
// eight-pixel rows (5-6-5), the table loops (5-5-5) and the running-sum blur to account on random
// pictures, sizes, positions and clip rectangles.
TEST_F(SpriteEffects, FastRowsAndRunningSumBlurEqualPlainPerPixelForms) {
    std::mt19937 random(5);
    auto any = [&](int32_t n) { return int32_t(random() % uint32_t(n)); };
    for (bool rgb555 : {false, true}) {
        ASSERT_EQ(start(rgb555), 1);
        const zuDraw::PixelFormat& f = zuDraw::pixelFormat;
        const int32_t shift[3] = {f.redShift, f.greenShift, f.blueShift};
        const int32_t max[3] = {int32_t(f.redMax), int32_t(f.greenMax), int32_t(f.blueMax)};
        const uint16_t valid = uint16_t(f.redMask | f.greenMask | f.blueMask);
        auto exact = [&](uint16_t p, int32_t c) { return (p >> shift[c]) & max[c]; };
        auto five = [&](uint16_t p, int32_t c) { return exact(p, c) >> (max[c] == 63); };
        auto from = [&](bool fiveBit, auto channel) {
            int32_t p = 0;
            for (int32_t c = 0; c < 3; ++c) p |= channel(c) << (shift[c] + (fiveBit && max[c] == 63));
            return uint16_t(p);
        };
        for (int32_t round = 0; round < 20; ++round) {
            const int32_t w = 1 + any(70), h = 1 + any(50), x = any(700) - 40, y = any(540) - 30;
            const int32_t obj = sprite(w, h, [&](int32_t, int32_t) { return any(4) ? random() & valid : 0; });
            std::vector<uint16_t> picture(640 * 480);
            for (uint16_t& p : picture) p = uint16_t(random() & valid);
            platform::Rect clip{-100, -100, 1000, 1000};
            if (round % 3) clip = {x - 10 + any(w + 20), y - 10 + any(h + 20), 0, 0}, clip.right = clip.left + 1 + any(w + 20),
                           clip.bottom = clip.top + 1 + any(h + 20);
            const platform::Rect r{std::max({x, clip.left, 0}), std::max({y, clip.top, 0}), std::min({x + w, clip.right, 640}),
                                   std::min({y + h, clip.bottom, 480})};
            auto source = [&](int32_t X, int32_t Y) { return px(*zuDraw::objectTable[obj].surface, X - x, Y - y); };
            const int32_t level[3] = {any(32), any(32), any(32)}, size = any(50) - 2;
            const float a[3] = {float(any(1025)) / 1024, float(any(1025)) / 1024, float(any(1025)) / 1024};
            const int32_t j = int32_t(31.0f - a[0] * 31.0f);
            const int32_t blockSize = std::clamp(size, 1, std::max(1, std::min({r.width(), r.height(), 45})));
            auto blur = [&](int32_t X, int32_t Y, int32_t c) {
                const int32_t left = r.left + std::min(X - r.left, r.width() - blockSize);
                const int32_t top = r.top + std::min(Y - r.top, r.height() - blockSize);
                int32_t sum = 0;
                for (int32_t v = top; v < top + blockSize; ++v)
                    for (int32_t u = left; u < left + blockSize; ++u) sum += five(source(u, v), c);
                return sum / (blockSize * blockSize);
            };
            struct Pair {
                std::function<int32_t()> draw;
                std::function<uint16_t(uint16_t s, uint16_t d, int32_t X, int32_t Y)> plain;
            };
            const Pair pairs[] = {
                {[&] { return zuDraw::FadeRGB(x, y, level[0], level[1], level[2], obj, 0, 0, w, h); },
                 [&](uint16_t s, uint16_t d, int32_t, int32_t) {
                     return from(true, [&](int32_t c) { return std::max(five(s, c) - (31 - level[c]), 0) + std::max(five(d, c) - level[c], 0); });
                 }},
                {[&] { return zuDraw::AddBlendLevel(x, y, a[0], obj, 0, 0, w, h); },
                 [&](uint16_t s, uint16_t d, int32_t, int32_t) {
                     return from(true, [&](int32_t c) { return std::min(std::max(five(s, c) - j, 0) + five(d, c), 31); });
                 }},
                {[&] { return zuDraw::Shadow(x, y, obj, 0, 0, w, h); },
                 [&](uint16_t s, uint16_t d, int32_t, int32_t) { return from(true, [&](int32_t c) { return std::max(five(d, c) - five(s, 0), 0); }); }},
                {[&] { return zuDraw::AlphaBlendRGB(x, y, a[0], a[1], a[2], obj, 0, 0, w, h); },
                 [&](uint16_t s, uint16_t d, int32_t, int32_t) {
                     return from(false, [&](int32_t c) { return int32_t(a[c] * float(exact(s, c)) + (1.0f - a[c]) * float(exact(d, c))); });
                 }},
                {[&] { return zuDraw::Blur(x, y, size, obj, 0, 0, w, h); },
                 [&](uint16_t, uint16_t, int32_t X, int32_t Y) { return from(true, [&](int32_t c) { return blur(X, Y, c); }); }},
            };
            for (const Pair& pair : pairs) {
                SCOPED_TRACE(testing::Message() << (rgb555 ? "555" : "565") << " round " << round << " pair " << &pair - pairs);
                paint(back(), [&](int32_t X, int32_t Y) { return picture[size_t(Y) * 640 + X]; });
                zuDraw::SetClip(clip.left, clip.top, clip.right, clip.bottom);
                ASSERT_EQ(pair.draw(), 1);
                std::vector<uint16_t> expected = picture;
                for (int32_t Y = r.top; Y < r.bottom; ++Y)
                    for (int32_t X = r.left; X < r.right; ++X)
                        if (uint16_t s = source(X, Y)) expected[size_t(Y) * 640 + X] = pair.plain(s, picture[size_t(Y) * 640 + X], X, Y);
                ASSERT_EQ(pixels(back()), expected);
            }
            zuDraw::ReleaseObject(obj);
        }
    }
}

// One sheet per family: every operation at known parameters in a 160 x 120 cell of its own over
// the same background, the gradients at three settings each; a few again in 5-5-5.
TEST_F(SpriteEffects, GoldenSheetsOfBlendsFiltersAnd555) {
    auto sheet = [&](const std::string& name, const std::vector<const NamedEffect*>& cells) {
        paint(back(), background);
        const int32_t obj = sprite(140, 100, oval);
        zuDraw::effects::glowRandom.position = 0;
        for (size_t i = 0; i < cells.size(); ++i) {
            const int32_t left = int32_t(i % 4) * 160, top = int32_t(i / 4) * 120;
            zuDraw::SetClip(left, top, left + 160, top + 120);
            EXPECT_EQ(cells[i]->draw(left + 10, top + 10, obj, {0, 0, 140, 100}), 1) << cells[i]->name;
        }
        EXPECT_TRUE(testsupport::matchesGolden(name, testsupport::pictureOf(back())));
    };
    std::vector<const NamedEffect*> blends, filters, mixed;
    for (size_t i = 0; i < perPixel.size(); ++i) (i < 8 ? blends : filters).push_back(&perPixel[i]);
    for (const NamedEffect& e : gradients) blends.push_back(&e);
    for (const NamedEffect& e : neighbours) filters.push_back(&e);
    for (size_t i : {0, 1, 3, 5, 7, 13}) mixed.push_back(&perPixel[i]);
    for (size_t i : {0, 4}) mixed.push_back(&gradients[i]);
    for (size_t i : {0, 2, 3, 4}) mixed.push_back(&neighbours[i]);
    sheet("effects_blends", blends);
    sheet("effects_filters", filters);
    ASSERT_EQ(start(true), 1);
    sheet("effects_555", mixed);
}

}  // namespace
