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
#include "platform/faults.h"
#include "support/fresh_screen.h"
#include "support/golden.h"

namespace {

using zuDraw::effects::pack5;
using Effect = std::function<int32_t(int32_t x, int32_t y, int32_t obj, platform::Rect)>;
struct NamedEffect { const char* name; Effect draw; };
#define E(call) [](int32_t x, int32_t y, int32_t o, platform::Rect r) { return zuDraw::call; }
#define NAMED(call) {#call, E(call)}
#define SRC o, r.left, r.top, r.right, r.bottom

// Operations whose pixels depend on that pixel alone, so cutting the sprite only crops it.
const std::vector<NamedEffect> perPixel = {
    NAMED(HalfBlend(x, y, SRC)), NAMED(AlphaBlend(x, y, 0.5f, SRC)), NAMED(AlphaBlendRGB(x, y, 0.2f, 0.5f, 0.9f, SRC)),
    NAMED(Fade(x, y, 12, SRC)), NAMED(FadeRGB(x, y, 6, 16, 28, SRC)), NAMED(AddBlend(x, y, SRC)),
    NAMED(AddBlendLevel(x, y, 0.6f, SRC)), NAMED(Shadow(x, y, SRC)), NAMED(ChannelMask(x, y, 1, 0, 1, SRC)),
    NAMED(Bright(x, y, 0.6f, SRC)), NAMED(BrightRGB(x, y, 1.0f, 0.5f, 0.2f, SRC)), NAMED(Darken(x, y, 20, SRC)),
    NAMED(DarkenRGB(x, y, 31, 10, 20, SRC)), NAMED(Grey(x, y, SRC))};
const std::vector<NamedEffect> gradients = {  // three settings each
    NAMED(AlphaGradient(x, y, 0, 0.1f, 0.2f, 0, 0, 4, SRC)), NAMED(AlphaGradient(x, y, 0, 0, 0, 0, 40, 2, SRC)),
    NAMED(AlphaGradient(x, y, 0.3f, 0, 0, 0, 80, 1, SRC)), NAMED(FadeGradient(x, y, 0, 5, 10, 1, 0, 3, SRC)),
    NAMED(FadeGradient(x, y, 0, 0, 0, 1, 30, 2, SRC)), NAMED(FadeGradient(x, y, 8, 0, 0, 1, 60, 1, SRC))};
const std::vector<NamedEffect> neighbours = {
    NAMED(Blur(x, y, 5, SRC)), NAMED(Blur(x, y, 2, SRC)), NAMED(SmoothEdge(x, y, SRC)), NAMED(Displace(x, y, 0.7f, SRC)),
    NAMED(Glow(x, y, 1, 1, 2, 0xFF, 1, SRC)), NAMED(Glow(x, y, 0, 2, 2, 0x5A, 0, SRC))};

using PixelRule = std::function<uint16_t(int32_t x, int32_t y)>;

class SpriteEffects : public FreshProgram {
protected:
    void SetUp() override { FreshProgram::SetUp(); ASSERT_EQ(start(false), 1); }
    // The full screen at `depth` bits (16: 5-6-5 or 5-5-5) whose random table follows srand(7).
    static int32_t start(bool rgb555, int32_t depth = 16) {
        platform::headless::useRgb555For16(rgb555), std::srand(7);
        return showFullScreen(depth);
    }
    static platform::Surface& back() { return *zuDraw::screenState.back; }
    static uint16_t& px(platform::Surface& s, int32_t x, int32_t y) { return reinterpret_cast<uint16_t*>(&s.memory[size_t(y * s.pitch)])[x]; }
    static std::vector<uint16_t> paint(platform::Surface& s, const PixelRule& pixel) {  // returns what it painted
        std::vector<uint16_t> painted;
        for (int32_t y = 0; y < s.height; ++y)
            for (int32_t x = 0; x < s.width; ++x) painted.push_back(px(s, x, y) = pixel(x, y));
        return painted;
    }
    static std::vector<uint16_t> readBack() { return paint(back(), [](int32_t x, int32_t y) { return px(back(), x, y); }); }
    static int32_t sprite(int32_t w, int32_t h, const PixelRule& pixel) {
        const int32_t obj = zuDraw::CreateObject(w, h, 2);
        paint(*zuDraw::objectTable[obj].surface, pixel);
        return obj;
    }
    static uint16_t black(int32_t, int32_t) { return 0; }
    // A background with structure everywhere, and an oval sprite with a hole (a quarter clear).
    static uint16_t background(int32_t x, int32_t y) { return pack5(x % 160 / 6 + 2, y % 120 / 5 + 4, (x / 20 + y / 20) % 2 ? 22 : 8); }
    static uint16_t oval(int32_t x, int32_t y) {
        const int32_t dx = x - 70, dy = y - 50, inside = dx * dx * 100 / 49 + dy * dy * 2 <= 4900 && dx * dx + dy * dy >= 150;
        return inside ? pack5(31 - x / 5, y * 31 / 99, (x + y) % 64 / 2 + 1) : 0;
    }
};

TEST_F(SpriteEffects, TablesHoldTheirValuesIn565And555) {
    for (bool rgb555 : {false, true}) {
        ASSERT_EQ(start(rgb555), 1);
        const zuDraw::EffectTables& t = zuDraw::effectTables;
        const uint8_t *green = t.pixelRgb5[rgb555 ? 0x03E0 : 0x07E0], *white = t.pixelRgb5[rgb555 ? 0x7FFF : 0xFFFF];
        EXPECT_EQ(std::vector<int32_t>({t.sine[0], t.sine[30], t.sine[90], t.sine[270], t.sine[449], green[0], green[1],
                                        green[2], white[0], white[1], white[2], t.greyTable[93], t.greyTable[2]}),
                  std::vector<int32_t>({0, 179, 360, -360, 359, 0, 31, 0, 31, 31, 31, 31, 0}));
        const int32_t shifts[3] = {rgb555 ? 10 : 11, rgb555 ? 5 : 6, 0};
        for (int32_t at = 0; at < 3 << 10; ++at) {  // channel, high and low value
            const int32_t c = at >> 10, hi = at >> 5 & 31, lo = at & 31, fade = (c << 15) | (hi << 5) | lo;
            ASSERT_EQ(std::vector<int32_t>({t.fadeTable[fade], t.fadeTable[fade | 31 << 10], t.addTable[fade]}),
                      std::vector<int32_t>({hi << shifts[c], lo << shifts[c], std::min(hi + lo, 31) << shifts[c]}));
        }
        std::srand(7);
        for (int8_t entry : t.randomTable) ASSERT_EQ(entry, std::rand() % 3);
    }
}

TEST_F(SpriteEffects, WorkedPixelsOfEachOperationWithLevelsAndAlphasClamped) {
    const uint16_t grey = pack5(20, 20, 20), odd = 0x1235, oddFive = 0x1215;  // green 17, 5-bit 8
    const struct { uint16_t source, dest, expected; Effect draw; } cases[] = {
        {0xFFFF, 0, 0x7BEF, E(HalfBlend(x, y, SRC))}, {0xFFFF, 0, 0xF81F, E(AlphaBlendRGB(x, y, 1.0f, -3.0f, 9.0f, SRC))},
        {0x1234, 0xABCD, 0x1234, E(AlphaBlend(x, y, 1.0f, SRC))}, {0x1234, 0xABCD, 0xABCD, E(AlphaBlend(x, y, 0.0f, SRC))},
        {0x1234, 0xABCD, 0x1234, E(AlphaBlend(x, y, 2.0f, SRC))}, {0x1234, 0xABCD, 0xABCD, E(AlphaBlend(x, y, -1.0f, SRC))},
        {odd, 0xABED, oddFive, E(Fade(x, y, 31, SRC))}, {odd, 0xABED, 0xABCD, E(Fade(x, y, 0, SRC))}, {odd, 0xABED, 0xABCD, E(Fade(x, y, -5, SRC))},
        {odd, 0xABED, oddFive, E(FadeRGB(x, y, 99, 32, 1000, SRC))}, {grey, 0xABED, 0xABCD, E(AddBlendLevel(x, y, -0.5f, SRC))},
        {grey, pack5(20, 5, 0), pack5(31, 25, 20), E(AddBlend(x, y, SRC))}, {grey, pack5(20, 5, 0), pack5(31, 25, 20), E(AddBlendLevel(x, y, 5.0f, SRC))},
        {pack5(10, 0, 0), pack5(31, 5, 12), pack5(21, 0, 2), E(Shadow(x, y, SRC))}, {pack5(31, 0, 2), 1, pack5(11, 11, 11), E(Grey(x, y, SRC))},
        {0xFFFF, 1, 0xF800, E(ChannelMask(x, y, 1, 0, 0, SRC))}, {0xFFFF, 1, 0x7BEF, E(Bright(x, y, 0.5f, SRC))},
        {0xFFFF, 1, 0xFFE0, E(BrightRGB(x, y, 3.0f, 1.0f, -1.0f, SRC))}, {0xFFFF, 1, 0xF81F, E(DarkenRGB(x, y, 40, -3, 31, SRC))},
        {odd, 1, oddFive, E(Darken(x, y, 31, SRC))}, {odd, 1, 0, E(Darken(x, y, 0, SRC))}, {0, 0xABCD, 0xABCD, E(Grey(x, y, SRC))},
        {0, 0xABCD, 0xABCD, E(AlphaBlend(x, y, 1.0f, SRC))},  // transparent sources leave the back buffer
    };
    const int32_t n = sprite(1, 1, black);
    for (const auto& c : cases) {
        px(*zuDraw::objectTable[n].surface, 0, 0) = c.source, px(back(), 5, 5) = c.dest;
        EXPECT_EQ(c.draw(5, 5, n, {0, 0, 1, 1}), 1);
        EXPECT_EQ(px(back(), 5, 5), c.expected) << "case " << &c - cases;
    }
}

TEST_F(SpriteEffects, GradientsReachTheSourceInThirtyTwoStepsAfterStart) {
    auto green = [](int32_t, int32_t) { return uint16_t(0x07E0); };  // green 63: 1/32 of it shows
    const int32_t row = sprite(100, 1, green), column = sprite(1, 100, green);
    for (bool v : {false, true}) {
        auto along = [&](std::vector<int32_t> at) { for (int32_t& p : at) p = v ? px(back(), 0, p) : px(back(), p, 0); return at; };
        for (int32_t start : {10, 0x7000A}) {  // only the low 16 bits count
            paint(back(), black);
            zuDraw::AlphaGradient(0, 0, 0, 0, 0, v, start, 2, v ? column : row, 0, 0, 100, 100);
            EXPECT_EQ(along({11, 12, 73, 74}), std::vector<int32_t>({0, 1 << 5, 61 << 5, 63 << 5}));
        }
        paint(back(), black);
        zuDraw::FadeGradient(0, 0, 0, 0, 0, v, 10, 2, v ? column : row, 0, 0, 100, 100);
        EXPECT_EQ(along({11, 12, 74}), std::vector<int32_t>({0, 1 << 6, 31 << 6}));
    }
}

TEST_F(SpriteEffects, NeighbourFiltersAverageBlocksAndEdgesAndDisplaceByRed) {
    paint(back(), black);
    const int32_t block = sprite(6, 3, [](int32_t x, int32_t y) { return x == 4 && y == 1 ? 0 : pack5(9, 9, 9); });
    for (int32_t size : {3, 1000}) {  // clamped to the region's 3 rows
        EXPECT_EQ(zuDraw::Blur(0, 0, size, block, 0, 0, 6, 3), 1);
        EXPECT_EQ(std::vector<int32_t>({px(back(), 0, 0), px(back(), 5, 0), px(back(), 4, 1)}),
                  std::vector<int32_t>({pack5(9, 9, 9), pack5(8, 8, 8), 0}));  // the last column's block holds the hole
    }
    const int32_t odd = sprite(4, 4, [](int32_t x, int32_t y) { return 0x0021 + x + 64 * y; });  // odd 6-bit greens
    zuDraw::Blur(10, 10, 1, odd, 0, 0, 4, 4);
    EXPECT_EQ(px(back(), 12, 13), (0x0021 + 2 + 64 * 3) & 0xFFDF);
    zuDraw::SmoothEdge(10, 10, odd, 0, 0, 4, 4);  // nothing clear around: copied as it is
    EXPECT_EQ(px(back(), 12, 13), 0x0021 + 2 + 64 * 3);
    zuDraw::SmoothEdge(20, 20, sprite(3, 3, [](int32_t x, int32_t y) { return x == 1 && y == 1 ? 0xFFFF : 0; }), 0, 0, 3, 3);
    EXPECT_EQ(px(back(), 21, 21), pack5(6, 6, 6));  // alone on black: a fifth
    paint(back(), [](int32_t x, int32_t y) { return x + 16 * y; });
    const int32_t haze = sprite(1, 5, [](int32_t, int32_t y) { return y == 0 ? pack5(2, 0, 0) : y == 3 ? 0xF800 : 0; });
    for (auto [f, top] : {std::pair(0.0f, 0), {1.0f, 32}, {4.0f, 32}}) {  // red 2 reads two rows down at f 1 (and above)
        zuDraw::Displace(0, 0, f, haze, 0, 0, 1, 5);
        EXPECT_EQ(std::vector<int32_t>({px(back(), 0, 0), px(back(), 0, 3)}), std::vector<int32_t>({top, 48}));  // red 31 would leave
    }
}

TEST_F(SpriteEffects, GlowRaysFadeOneUnitAStepTakeTheRandomAndStayInTheClip) {
    const int8_t* random = zuDraw::effectTables.randomTable;
    const int32_t red = sprite(1, 1, [](int32_t, int32_t) { return 0xF800; });
    zuDraw::effects::glowRandom.position = 9999;
    for (int32_t n : {random[9999], random[0]}) {  // then back to the first entry
        paint(back(), black);
        EXPECT_EQ(zuDraw::Glow(100, 100, 0, 0, 0, 0x02, 1, red, 0, 0, 1, 1), 1);
        EXPECT_EQ(std::vector<int32_t>({px(back(), 100, 100), px(back(), 100, 101), px(back(), 100, 130 - n), px(back(), 100, 131 - n)}),
                  std::vector<int32_t>({0xF800, pack5(30 - n, 0, 0), pack5(1, 0, 0), 0}));
    }
    const std::vector<uint16_t> dark = paint(back(), black);
    EXPECT_EQ(zuDraw::Glow(100, 100, 99, 99, 99, 0xFF, 0, red, 0, 0, 1, 1), 1);  // shifts clamped to 15: no light
    EXPECT_TRUE(readBack() == dark);
    zuDraw::SetClip(95, 97, 105, 140);
    EXPECT_EQ(zuDraw::Glow(100, 100, -4, 0, 0, 0xFF, 0, red, 0, 0, 1, 1), 1);
    EXPECT_EQ(px(back(), 96, 100), pack5(26 - random[2], 0, 0));  // the left ray's fifth step
    for (int32_t y = 97; y < 140; ++y) std::fill_n(&px(back(), 95, y), 10, 0);
    EXPECT_TRUE(readBack() == dark);  // nothing outside the clip
    zuDraw::SetClip(-500, -500, 5000, 5000);  // rays off every edge of the back buffer
    const int32_t frame = sprite(640, 480, [](int32_t x, int32_t y) { return x % 637 < 3 || y % 477 < 3 ? 0xFFFF : 0; });
    EXPECT_EQ(zuDraw::Glow(0, 0, 0, 0, 0, 0xFF, 1, frame, 0, 0, 640, 480), 1);
}

TEST_F(SpriteEffects, CutSpritesDrawTheUncutPixelsCroppedAndLocksNeverStay) {
    const int32_t obj = sprite(140, 100, oval);
    platform::Surface& object = *zuDraw::objectTable[obj].surface;
    const std::vector<uint16_t> untouched = paint(back(), background);
    for (const NamedEffect& e : perPixel) {
        SCOPED_TRACE(e.name);  // each ends with the whole screen as the clip
        EXPECT_EQ(e.draw(60, 50, obj, {0, 0, 140, 100}), 1);
        const std::vector<uint16_t> uncut = readBack();
        for (platform::Rect cut : {platform::Rect{110, 0, 640, 480}, {0, 95, 640, 480}, {0, 0, 170, 480}, {0, 0, 640, 120}}) {
            paint(back(), background);
            zuDraw::SetClip(cut.left, cut.top, cut.right, cut.bottom);
            EXPECT_EQ(e.draw(40, 30, obj, {-20, -20, 500, 500}), 1);  // the source reaches past the object
            std::vector<uint16_t> cropped = untouched;
            for (size_t y = size_t(cut.top); y < size_t(cut.bottom); ++y)
                std::copy_n(&uncut[y * 640 + size_t(cut.left)], cut.width(), &cropped[y * 640 + size_t(cut.left)]);
            EXPECT_TRUE(readBack() == cropped);
        }
        zuDraw::SetClip(0, 0, 640, 480);
        platform::headless::failNextLocks(1);  // wholly outside: no lock is taken to fail
        EXPECT_EQ(e.draw(-150, 10, obj, {0, 0, 140, 100}), 1);
        EXPECT_EQ(e.draw(60, 50, obj, {0, 0, 140, 100}), 0);
        platform::headless::loseSurface(&back());  // the second lock fails
        EXPECT_EQ(e.draw(60, 50, obj, {0, 0, 140, 100}), 0);
        EXPECT_EQ(std::tuple(object.lockCount, back().lockCount), std::tuple(0, 0));
        platform::restore(back()), paint(back(), background);
        EXPECT_EQ(e.draw(60, 50, 1024, {0, 0, 140, 100}) + e.draw(60, 50, 900, {0, 0, 140, 100}), 0);  // none, empty
        EXPECT_TRUE(readBack() == untouched);
    }
    ASSERT_EQ(start(false, 32), 1);  // no 16-bit tables: nothing drawn
    const int32_t wide = zuDraw::CreateObject(140, 100, 2);
    const testsupport::Picture before = testsupport::pictureOf(back());
    for (const auto* family : {&perPixel, &gradients, &neighbours})
        for (const NamedEffect& e : *family) EXPECT_EQ(e.draw(60, 50, wide, {0, 0, 140, 100}), 0) << e.name;
    EXPECT_EQ(testsupport::pictureOf(back()).xrgb, before.xrgb);
}

// Plain per-pixel forms, written from the formulas channel by channel, hold the eight-pixel rows
// (5-6-5), the table loops (5-5-5) and the running-sum blur to account on random pictures, sizes,
// positions and clip rectangles.
TEST_F(SpriteEffects, FastRowsAndRunningSumBlurEqualPlainPerPixelForms) {
    std::mt19937 random(5);
    auto any = [&](int32_t n) { return int32_t(random() % uint32_t(n)); };
    for (bool rgb555 : {false, true}) {
        ASSERT_EQ(start(rgb555), 1);
        const int32_t shift[3] = {rgb555 ? 10 : 11, 5, 0}, sixBitGreen = rgb555 ? 0 : 1;
        auto exact = [&](uint16_t p, int32_t c) { return p >> shift[c] & (c == 1 && sixBitGreen ? 63 : 31); };
        auto five = [&](uint16_t p, int32_t c) { return exact(p, c) >> (c == 1 ? sixBitGreen : 0); };
        auto join = [&](int32_t greenUp, auto c) { return uint16_t(c(0) << shift[0] | c(1) << (5 + greenUp * sixBitGreen) | c(2)); };
        for (int32_t round = 0; round < 12; ++round) {
            const int32_t w = 1 + any(70), h = 1 + any(50), x = any(700) - 40, y = any(540) - 30;
            const int32_t obj = sprite(w, h, [&](int32_t, int32_t) { return any(4) ? random() & (rgb555 ? 0x7FFF : 0xFFFF) : 0; });
            auto source = [&](int32_t X, int32_t Y) { return px(*zuDraw::objectTable[obj].surface, X - x, Y - y); };
            platform::Rect clip{-100, -100, 1000, 1000};
            if (round % 3) clip.left = x - 10 + any(w + 20), clip.top = y - 10 + any(h + 20),
                           clip.right = clip.left + 1 + any(w + 20), clip.bottom = clip.top + 1 + any(h + 20);
            const platform::Rect r{std::max({x, clip.left, 0}), std::max({y, clip.top, 0}),
                                   std::min({x + w, clip.right, 640}), std::min({y + h, clip.bottom, 480})};
            const int32_t level[3] = {any(32), any(32), any(32)}, size = any(50) - 2;
            const float a[3] = {float(any(1025)) / 1024, float(any(1025)) / 1024, float(any(1025)) / 1024};
            const int32_t j = int32_t(31.0f - a[0] * 31.0f), k = std::clamp(size, 1, std::max(1, std::min({r.width(), r.height(), 45})));
            auto blur = [&](int32_t X, int32_t Y, int32_t c) {  // the k x k block from (X, Y), kept inside r
                const int32_t left = std::min(X, r.right - k), top = std::min(Y, r.bottom - k);
                int32_t sum = 0;
                for (int32_t v = top; v < top + k; ++v)
                    for (int32_t u = left; u < left + k; ++u) sum += five(source(u, v), c);
                return sum / (k * k);
            };
            const std::pair<std::function<int32_t()>, std::function<uint16_t(uint16_t s, uint16_t d, int32_t X, int32_t Y)>> pairs[] = {
                {[&] { return zuDraw::FadeRGB(x, y, level[0], level[1], level[2], obj, 0, 0, w, h); }, [&](uint16_t s, uint16_t d, int32_t, int32_t) {
                     return join(1, [&](int32_t c) { return std::max(five(s, c) - 31 + level[c], 0) + std::max(five(d, c) - level[c], 0); }); }},
                {[&] { return zuDraw::AddBlendLevel(x, y, a[0], obj, 0, 0, w, h); }, [&](uint16_t s, uint16_t d, int32_t, int32_t) {
                     return join(1, [&](int32_t c) { return std::min(std::max(five(s, c) - j, 0) + five(d, c), 31); }); }},
                {[&] { return zuDraw::Shadow(x, y, obj, 0, 0, w, h); }, [&](uint16_t s, uint16_t d, int32_t, int32_t) {
                     return join(1, [&](int32_t c) { return std::max(five(d, c) - five(s, 0), 0); }); }},
                {[&] { return zuDraw::AlphaBlendRGB(x, y, a[0], a[1], a[2], obj, 0, 0, w, h); }, [&](uint16_t s, uint16_t d, int32_t, int32_t) {
                     return join(0, [&](int32_t c) { return int32_t(a[c] * float(exact(s, c)) + (1.0f - a[c]) * float(exact(d, c))); }); }},
                {[&] { return zuDraw::Blur(x, y, size, obj, 0, 0, w, h); },
                 [&](uint16_t, uint16_t, int32_t X, int32_t Y) { return join(1, [&](int32_t c) { return blur(X, Y, c); }); }},
            };
            for (const auto& [draw, plain] : pairs) {
                const std::vector<uint16_t> picture = paint(back(), [&](int32_t, int32_t) { return uint16_t(random() & (rgb555 ? 0x7FFF : 0xFFFF)); });
                zuDraw::SetClip(clip.left, clip.top, clip.right, clip.bottom);
                ASSERT_EQ(draw(), 1);
                std::vector<uint16_t> expected = picture;
                for (int32_t Y = r.top; Y < r.bottom; ++Y)
                    for (int32_t X = r.left; X < r.right; ++X)
                        if (uint16_t s = source(X, Y)) expected[size_t(Y) * 640 + X] = plain(s, picture[size_t(Y) * 640 + X], X, Y);
                ASSERT_TRUE(readBack() == expected) << (rgb555 ? "555" : "565") << " round " << round << " pair " << &draw - &pairs[0].first;
            }
            zuDraw::ReleaseObject(obj);
        }
    }
}

// One sheet per family: every operation at known parameters in a 160 x 120 cell of its own over
// the same background, the gradients at three settings each; a few again in 5-5-5.
using SpriteEffectsGolden = SpriteEffects;
TEST_F(SpriteEffectsGolden, SheetsOfBlendsFiltersAnd555) {
    auto sheet = [&](const std::string& name, const std::vector<const NamedEffect*>& cells) {
        paint(back(), background);
        const int32_t obj = sprite(140, 100, oval);
        zuDraw::effects::glowRandom.position = 0;
        for (int32_t i = 0, left = 0, top = 0; i < int32_t(cells.size()); ++i, left = i % 4 * 160, top = i / 4 * 120) {
            zuDraw::SetClip(left, top, left + 160, top + 120);
            EXPECT_EQ(cells[size_t(i)]->draw(left + 10, top + 10, obj, {0, 0, 140, 100}), 1) << cells[size_t(i)]->name;
        }
        EXPECT_TRUE(testsupport::matchesGolden(name, testsupport::pictureOf(back())));
    };
    std::vector<const NamedEffect*> blends, filters;
    for (size_t i = 0; i < perPixel.size(); ++i) (i < 8 ? blends : filters).push_back(&perPixel[i]);
    for (size_t i = 0; i < 6; ++i) blends.push_back(&gradients[i]), filters.push_back(&neighbours[i]);
    sheet("effects_blends", blends);
    sheet("effects_filters", filters);
    ASSERT_EQ(start(true), 1);
    sheet("effects_555", {&perPixel[0], &perPixel[1], &perPixel[3], &perPixel[5], &perPixel[7], &perPixel[13], &gradients[0],
                          &gradients[4], &neighbours[0], &neighbours[2], &neighbours[3], &neighbours[4]});
}

}  // namespace
