// Region effects on a 640 x 480 RGB565 back buffer: their exact results, their cut at the buffer's
// edges, one golden sheet; clip wipes on a fixed frame time: every shape's rectangles worked out
// by hand, the refusals, HideAll, and a scene change in the middle of a wipe.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <tuple>
#include <vector>

#include "draw/zu_draw.h"
#include "game/game.h"
#include "platform/headless.h"
#include "platform/video/surface.h"
#include "support/fresh_program.h"
#include "support/golden.h"
#include "system/zu_system.h"

namespace {

using platform::Rect;
using zuDraw::screenState;

class Region : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        ASSERT_EQ(startScreen(16), 1);
    }
    static int32_t startScreen(int32_t bits) {
        zuDraw::Release();
        zuSystem::systemState.fullScreen = 1;
        zuDraw::SetColorDepth(bits, 0, 0);
        zuDraw::SetVBlankWait(0);
        return zuDraw::Screen(640, 480, 1);
    }
    static uint16_t& at(int32_t x, int32_t y,
                        const std::vector<uint8_t>& m = screenState.back->memory) {
        return const_cast<uint16_t*>(
            reinterpret_cast<const uint16_t*>(m.data() + size_t(y) * 1280))[x];
    }
    // A busy picture, black in its top-left 64 x 64; returns the back buffer's bytes.
    static std::vector<uint8_t> paintPattern() {
        for (int32_t y = 0; y < 480; ++y)
            for (int32_t x = 0; x < 640; ++x)
                at(x, y) = x < 64 && y < 64 ? 0 : uint16_t((x * 37 + y * 101) ^ (x * y));
        return screenState.back->memory;
    }
    static const uint8_t* rgb5(uint16_t p) { return zuDraw::effectTables.pixelRgb5[p]; }
};

TEST_F(Region, SoftenKeepsOneColourFireFadesWhatItDoesNotCarryAndNoiseRaisesByAtMostTwo) {
    platform::fill(*screenState.back, {0, 0, 640, 480}, 0x8A52);  // (17, 18 of 63, 18)
    EXPECT_EQ(zuDraw::Soften(10, 10, 100, 50), 1);
    EXPECT_EQ(std::tuple(at(11, 11), at(108, 57), at(10, 10)),
              std::tuple(0x8A52 & ~0x20, 0x8A52 & ~0x20, 0x8A52));

    platform::fill(*screenState.back, {0, 0, 640, 480}, 0xFFFF);
    EXPECT_EQ(zuDraw::FireRGB(1, 1, 1, 0, 0, 640, 480), 1);
    int32_t carried = 0, faded = 0;
    for (int32_t y = 1; y <= 477; ++y)
        for (int32_t x = 1; x <= 638; ++x) {
            uint16_t p = at(x, y);
            carried += p == 0xFFFF, faded += p == (30 << 11 | 30 << 6 | 30);
        }  // the centre row over the bottom's row lifts nothing:
    EXPECT_EQ(carried + faded, 477 * 638);
    EXPECT_GT(carried, 477 * 638 / 3);
    EXPECT_EQ(std::pair(faded > 0, at(320, 478)), std::pair(true, uint16_t(0xFFFF)));

    std::vector<uint8_t> before = paintPattern();
    EXPECT_EQ(zuDraw::Noise(0, 0, 0, 640, 480), 1);
    int32_t blackRaised = 0;
    for (int32_t y = 0; y < 480; ++y)
        for (int32_t x = 0; x < 640; ++x) {
            const uint8_t *a = rgb5(at(x, y, before)), *b = rgb5(at(x, y));
            for (int c = 0; c < 3; ++c)
                ASSERT_TRUE(b[c] >= a[c] && b[c] <= std::min(a[c] + 2, 31)) << x << "," << y;
            blackRaised += at(x, y, before) == 0 && at(x, y) != 0;
        }
    EXPECT_GT(blackRaised, 1000);
}

TEST_F(Region, FireCallsContinueOneRandomSequence) {
    auto flames = [&](const std::vector<std::pair<int32_t, int32_t>>& calls, bool restart) {
        platform::fill(*screenState.back, {0, 0, 640, 480}, 0);
        platform::fill(*screenState.back, {0, 102, 640, 103}, 0xFFFF);
        zuDraw::regionEffectState = {};
        for (auto [x, w] : calls) {
            if (restart) zuDraw::regionEffectState = {};
            zuDraw::Fire(x, 100, w, 3);  // one row of centres, 102, written into row 101
        }
        std::vector<uint16_t> row;
        for (int32_t x = 1; x <= 200; ++x) row.push_back(at(x, 101));
        return row;
    };
    std::vector<uint16_t> once = flames({{0, 202}}, false);  // centres 1 to 200 in one call
    EXPECT_EQ(flames({{0, 102}, {100, 102}}, false), once);
    EXPECT_NE(flames({{0, 102}, {100, 102}}, true), once);
}

TEST_F(Region, CircleMosaicPaintsCellsInsideTheRadiusAndZoomEnlargesThroughObjectZero) {
    std::vector<uint8_t> before = paintPattern();
    auto was = [&](int32_t x, int32_t y) { return at(x, y, before); };
    EXPECT_EQ(zuDraw::CircleMosaic(320, 240, 50, 8), 1);
    for (int32_t dy = -60; dy < 60; ++dy)
        for (int32_t dx = -60; dx < 60; ++dx) {
            bool inside = int32_t(std::sqrt(double(dx * dx + dy * dy))) < 50;
            int32_t ox = -50 + (dx + 50) / 8 * 8, oy = -50 + (dy + 50) / 8 * 8;
            ASSERT_EQ(at(320 + dx, 240 + dy),
                      inside ? was(320 + ox, 240 + oy) : was(320 + dx, 240 + dy));
        }

    const struct { int32_t k, sparse; } zooms[] = {{2, 1}, {2, 0}, {4, 1}, {4, 0}};
    for (auto [k, sparse] : zooms) {
        before = paintPattern();
        platform::fill(*zuDraw::objectTable[0].surface, {0, 0, 640, 480}, 0x1234);
        EXPECT_EQ((k == 2 ? zuDraw::Zoom2 : zuDraw::Zoom4)(100, 100, 50, 40, sparse), 1);
        for (int32_t y = 0; y < 40 * k; ++y)
            for (int32_t x = 0; x < 50 * k; ++x) {
                bool written = !sparse || (x % k < k / 2 && y % k < k / 2);
                ASSERT_EQ(at(100 + x, 100 + y), written ? was(100 + x / k, 100 + y / k) : 0x1234)
                    << k << sparse;
            }
    }
}

TEST_F(Region, InvertTwiceRestoresThePictureAt16And32Bits) {
    for (int32_t bits : {16, 32}) {
        ASSERT_EQ(startScreen(bits), 1);
        std::vector<uint8_t>& m = screenState.back->memory;
        for (size_t i = 0; i < m.size(); ++i) m[i] = bits == 32 && i % 4 == 3 ? 0 : uint8_t(i * 7);
        std::vector<uint8_t> before = m;
        EXPECT_EQ(zuDraw::Invert(-20, 10, 700, 20), 1);  // cut to the surface: rows 10 to 19
        const int32_t rowBytes = 640 * bits / 8;
        for (int32_t i = 0; i < 2 * rowBytes; ++i) {
            size_t in = size_t(10 * rowBytes + i * 5), out = size_t(20 * rowBytes + i);
            ASSERT_EQ(m[in], bits == 32 && in % 4 == 3 ? 0 : uint8_t(~before[in])) << bits;
            ASSERT_EQ(m[out], before[out]);
        }
        zuDraw::Invert(-20, 10, 700, 20);
        EXPECT_TRUE(m == before) << bits;
        EXPECT_EQ(zuDraw::Fire(0, 0, 64, 64), bits == 16 ? 1 : 0);  // the others are 16-bit only
    }
}

// Rectangles over every edge, cells and shifts out of range: each runs, stays inside the back
// buffer and object 0 (the asan preset checks), and a failed lock leaves nothing locked.
TEST_F(Region, RegionEffectsCutTheirRectanglesAndRefuseSizesThatWouldNeverEnd) {
    const std::function<int32_t()> calls[] = {
        [] { return zuDraw::Fire(-5, -5, 700, 500); },
        [] { return zuDraw::FireRGB(1, 0, 1, 600, 470, 100, 100); },
        [] { return zuDraw::Fire(INT_MAX - 2, INT_MIN, INT_MAX, INT_MAX); },
        [] { return zuDraw::Soften(630, -3, 50, 600); },
        [] { return zuDraw::SoftenRGB(1, 1, 1, INT_MIN, INT_MIN, INT_MAX, INT_MAX); },
        [] { return zuDraw::Noise(99, -10, 470, 700, 50); },
        [] { return zuDraw::NoiseRGB(1, 1, 0, -7, 630, -5, 50, 50); },
        [] { return zuDraw::CircleMosaic(320, 240, 50, 0); },
        [] { return zuDraw::CircleMosaic(-10, 470, INT_MAX, 7); },
        [] { return zuDraw::CircleMosaic(INT_MIN, INT_MAX, INT_MAX, 1); },
        [] { return zuDraw::Zoom2(600, 400, 200, 200, 0); },
        [] { return zuDraw::Zoom4(-50, -50, 640, 480, 1); },
        [] { return zuDraw::Zoom2(INT_MIN, INT_MAX, INT_MAX, INT_MAX, 0); },
        [] { return zuDraw::Invert(INT_MIN, INT_MIN, INT_MAX, INT_MAX); },
    };
    for (const auto& call : calls) EXPECT_EQ(call(), 1) << &call - calls;

    std::vector<uint8_t> before =
        paintPattern();  // the centre row over the bottom's row is left out
    zuDraw::Fire(0, 470, 640, 10);
    EXPECT_TRUE(std::equal(&at(0, 478), &at(0, 480), &at(0, 478, before)));
    EXPECT_FALSE(std::equal(&at(0, 477), &at(0, 478), &at(0, 477, before)));

    for (int32_t n : {1, 2}) {
        platform::headless::failNextLocks(n);
        EXPECT_EQ(zuDraw::Zoom2(0, 0, 10, 10, 0), 0);
        EXPECT_EQ(screenState.back->lockCount + zuDraw::objectTable[0].surface->lockCount, 0);
    }
}

TEST_F(Region, GoldenSheetOfEveryRegionEffect) {
    std::srand(7);
    zuDraw::Screen(640, 480, 1);  // the random table from the fixed seed
    for (int32_t y = 0; y < 480; ++y)
        for (int32_t x = 0; x < 640; ++x)
            at(x, y) = uint16_t(((x / 4) & 31) << 11 | ((y / 4) & 63) << 5 | ((x + y) / 20 & 31));
    platform::fill(*screenState.back, {20, 120, 140, 150}, 0xFFFF);  // fuel for the flames
    for (int i = 0; i < 12; ++i) zuDraw::Fire(10, 10, 140, 140);
    platform::fill(*screenState.back, {180, 120, 300, 150}, 0xFFFF);
    for (int i = 0; i < 12; ++i) zuDraw::FireRGB(0, 1, 1, 170, 10, 140, 140);
    for (int i = 0; i < 4; ++i) zuDraw::Soften(330, 10, 140, 140);
    for (int i = 0; i < 4; ++i) zuDraw::SoftenRGB(1, 0, 0, 490, 10, 140, 140);
    zuDraw::Noise(1, 10, 170, 140, 140);
    zuDraw::NoiseRGB(0, 1, 0, 3, 170, 170, 140, 140);
    zuDraw::CircleMosaic(400, 240, 70, 9);
    zuDraw::Invert(490, 170, 630, 310);
    zuDraw::Zoom2(10, 330, 70, 70, 0);
    zuDraw::Zoom2(170, 330, 70, 70, 1);
    zuDraw::Zoom4(330, 330, 35, 35, 0);
    zuDraw::Zoom4(490, 330, 35, 35, 1);
    EXPECT_TRUE(
        testsupport::matchesGolden("region_effects", testsupport::pictureOf(*screenState.back)));
}

// --- clip wipes ---

using Wipe = Region;
using Clip = std::tuple<int32_t, int32_t, int32_t, int32_t>;

Clip clipNow() {
    const zuDraw::ScreenState& s = screenState;
    return {s.clipLeft, s.clipTop, s.clipRight, s.clipBottom};
}

// Full clip (0, 0, 640, 480), centre (320, 240); 0.1 s frames at 90 px/s move each side 10 px.
TEST_F(Wipe, EveryShapeOpensAndClosesThroughRectanglesWorkedOutByHand) {
    const struct {
        int32_t closing, shape, middle;  // middle: the frame whose rectangle is checked
        Clip first, atMiddle, last;
        int32_t frames;
    } rows[] = {
        {0, 1, 24, {0, 470, 640, 480}, {0, 240, 640, 480}, {0, 0, 640, 480}, 48},
        {0, 2, 24, {0, 0, 640, 10}, {0, 0, 640, 240}, {0, 0, 640, 480}, 48},
        {0, 3, 32, {630, 0, 640, 480}, {320, 0, 640, 480}, {0, 0, 640, 480}, 64},
        {0, 4, 32, {0, 0, 10, 480}, {0, 0, 320, 480}, {0, 0, 640, 480}, 64},
        {0, 5, 12, {0, 230, 640, 250}, {0, 120, 640, 360}, {0, 0, 640, 480}, 24},
        {0, 6, 16, {310, 0, 330, 480}, {160, 0, 480, 480}, {0, 0, 640, 480}, 32},
        {0, 7, 24, {310, 230, 330, 250}, {80, 0, 560, 480}, {0, 0, 640, 480}, 32},
        {0, 8, 30, {270, 230, 370, 250}, {210, 0, 430, 480}, {0, 0, 640, 480}, 51},
        {0, 9, 40, {310, 190, 330, 290}, {0, 110, 640, 370}, {0, 0, 640, 480}, 51},
        {1, 1, 24, {0, 10, 640, 480}, {0, 240, 640, 480}, {0, 480, 640, 480}, 48},
        {1, 2, 24, {0, 0, 640, 470}, {0, 0, 640, 240}, {0, 0, 640, 0}, 48},
        {1, 3, 32, {10, 0, 640, 480}, {320, 0, 640, 480}, {640, 0, 640, 480}, 64},
        {1, 4, 32, {0, 0, 630, 480}, {0, 0, 320, 480}, {0, 0, 0, 480}, 64},
        {1, 5, 12, {0, 10, 640, 470}, {0, 120, 640, 360}, {0, 240, 640, 240}, 24},
        {1, 6, 16, {10, 0, 630, 480}, {160, 0, 480, 480}, {320, 0, 320, 480}, 32},
        {1, 7, 16, {10, 10, 630, 470}, {160, 160, 480, 320}, {320, 240, 320, 240}, 32},
        {1, 8, 30, {10, 0, 630, 480}, {270, 30, 370, 450}, {270, 240, 370, 240}, 51},
        {1, 9, 25, {0, 10, 640, 470}, {60, 190, 580, 290}, {320, 190, 320, 290}, 51},
    };
    zuSystem::frameClock.seconds = 0.1f;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << (row.closing ? "closing" : "opening") << " shape " << row.shape);
        zuDraw::clipWipe = {};
        zuDraw::SetClip(0, 0, 640, 480);
        ASSERT_EQ(zuDraw::StartWipe(row.closing, row.shape, 90.0f, 100), 1);
        std::vector<Clip> seen;
        while (zuDraw::StepWipe() && seen.size() < 1000) seen.push_back(clipNow());
        ASSERT_EQ(int32_t(seen.size()), row.frames);
        EXPECT_EQ(seen.front(), row.first);
        EXPECT_EQ(seen[row.middle - 1], row.atMiddle);
        EXPECT_EQ(seen[row.frames - 1], row.last);
        EXPECT_EQ(zuDraw::clipWipe.state, row.closing ? -1 : 0);
        EXPECT_EQ(std::pair(zuDraw::clipWipe.opened, zuDraw::clipWipe.closed),
                  std::pair(1 - row.closing, row.closing));
    }
}

TEST_F(Wipe, ARefusedOrIdleWipeChangesNothingAndAClosedScreenOpensFromTheSavedRectangle) {
    zuSystem::frameClock.seconds = 0.016f;
    zuDraw::SetClip(0, 0, 640, 480);
    EXPECT_EQ(zuDraw::StepWipe() + zuDraw::StartWipe(0, 10, 0, 0) + zuDraw::StartWipe(0, -1, 0, 0),
              0);
    EXPECT_EQ(std::tuple(clipNow(), zuDraw::clipWipe.state), std::tuple(Clip(0, 0, 640, 480), 0));

    ASSERT_EQ(zuDraw::StartWipe(0, 1, 0.0f, 0), 1);  // speed 0: one row a frame, 480 frames
    EXPECT_EQ(zuDraw::StartWipe(1, 2, 0.0f, 0), 0);  // one runs
    int32_t frames = 0;
    while (zuDraw::clipWipe.state == 1 && frames < 1000) frames += zuDraw::StepWipe();
    EXPECT_EQ(std::tuple(frames, clipNow()), std::tuple(480, Clip(0, 0, 640, 480)));

    // Closing by 7 a frame passes the bottom: the rectangle is left inverted and copies draw
    // nothing.
    ASSERT_EQ(zuDraw::StartWipe(1, 1, 6.5f / 0.016f, 0), 1);
    for (frames = 0; zuDraw::clipWipe.state == 2 && frames < 1000;) frames += zuDraw::StepWipe();
    EXPECT_EQ(std::tuple(frames, clipNow()), std::tuple(69, Clip(0, 483, 640, 480)));
    platform::fill(*screenState.back, {0, 0, 640, 480}, 0xFFFF);
    std::vector<uint8_t> before = screenState.back->memory;
    zuDraw::BlitOpaque(0, 470, 1, 0, 0, 32, 32);  // object 1 is black
    EXPECT_TRUE(screenState.back->memory == before);

    // Hiding, while closed or while a wipe runs, keeps the full rectangle for the next opening.
    zuDraw::HideAll();
    ASSERT_EQ(zuDraw::StartWipe(0, 5, 1e30f, 0), 1);  // too fast to count: one frame
    EXPECT_EQ(zuDraw::StepWipe(), 1);
    EXPECT_EQ(std::tuple(clipNow(), zuDraw::clipWipe.state), std::tuple(Clip(0, 0, 640, 480), 0));
    ASSERT_EQ(zuDraw::StartWipe(0, 6, -50.0f, 0), 1);  // moves as speed 0
    EXPECT_EQ(clipNow(), Clip(320, 0, 320, 480));
    zuDraw::StepWipe();
    EXPECT_EQ(clipNow(), Clip(319, 0, 321, 480));
    zuDraw::HideAll();
    const Rect& saved = zuDraw::clipWipe.savedClip;
    EXPECT_EQ(std::tuple(saved.left, saved.top, saved.right, saved.bottom), Clip(0, 0, 640, 480));
    EXPECT_EQ(std::tuple(clipNow(), zuDraw::clipWipe.state), std::tuple(Clip(319, 0, 319, 0), -1));

    // A wipe on an inverted rectangle ends at its first step.
    zuDraw::clipWipe = {};
    zuDraw::SetClip(300, 0, 200, 480);
    for (int32_t closing : {1, 0}) {
        ASSERT_EQ(zuDraw::StartWipe(closing, 6, 0.0f, 0), 1);
        EXPECT_EQ(zuDraw::StepWipe(), 1);
        EXPECT_EQ(zuDraw::clipWipe.state, closing ? -1 : 0);
    }
    EXPECT_EQ(clipNow(), Clip(300, 0, 200, 480));

    std::set<int32_t> picked;  // shape 0: one of the nine at random
    for (int i = 0; i < 20; ++i) {
        zuDraw::clipWipe = {};
        zuDraw::StartWipe(1, 0, 0.0f, 0);
        picked.insert(zuDraw::clipWipe.shape);
    }
    EXPECT_TRUE(*picked.begin() >= 1 && *picked.rbegin() <= 9 && picked.size() > 3);
}

// The wipe is stepped by a scene as a program would; the game's loop gives the clip back.
TEST_F(Wipe, ASceneChangeInTheMiddleOfAWipeRestoresTheClipThroughTheLoop) {
    SceneFunction saved[sceneCount];
    std::copy(std::begin(sceneTable), std::end(sceneTable), saved);
    static int32_t framesBeforeChange;
    sceneTable[1] = [] {
        zuDraw::StepWipe();
        if (--framesBeforeChange == 0) changeScene(3);
    };
    sceneTable[2] = [] {};
    zuDraw::SetClip(10, 20, 630, 460);
    ASSERT_EQ(zuDraw::StartWipe(0, 7, 0.0f, 0), 1);
    sceneState = {2};
    framesBeforeChange = 100;
    for (int i = 0; i < 99; ++i) runFrame();
    EXPECT_EQ(clipNow(), Clip(221, 141, 419, 339));  // 99 px out from (320, 240)
    runFrame();
    EXPECT_EQ(clipNow(), Clip(10, 20, 630, 460));
    EXPECT_EQ(zuDraw::clipWipe.state, 0);
    std::copy(std::begin(saved), std::end(saved), sceneTable);
}

}  // namespace
