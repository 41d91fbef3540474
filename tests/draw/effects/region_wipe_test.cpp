// Region effects on a 640 x 480 RGB565 back buffer and clip wipes on a fixed frame time.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "draw/effects/effect_frame.h"
#include "game/game.h"
#include "platform/headless.h"
#include "platform/video/surface.h"
#include "support/fresh_screen.h"
#include "support/golden.h"

namespace {

using platform::Rect;
using zuDraw::screenState;
using Bytes = std::vector<uint8_t>;
using Rgb = std::array<int32_t, 3>;  // 5-bit channels
using Clip = std::tuple<int32_t, int32_t, int32_t, int32_t>;

uint16_t& at(int32_t x, int32_t y, const Bytes& m = screenState.back->memory) {
    return reinterpret_cast<uint16_t*>(const_cast<uint8_t*>(m.data()))[y * 640 + x];
}
void each(Rect r, auto f) {  // f(x, y) for every pixel of r, row by row
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x) f(x, y);
}
void fill(uint16_t colour, Rect r = {0, 0, 640, 480}) {
    platform::fill(*screenState.back, r, colour);
}
Bytes paintPattern(uint32_t seed = 0) {  // a busy picture, black in its top-left 64 x 64
    each({0, 0, 640, 480}, [&](int32_t x, int32_t y) {
        at(x, y) = x < 64 && y < 64 ? 0 : uint16_t((x * 37 + y * 101 + seed) ^ (x * y));
    });
    return screenState.back->memory;
}
Rgb split(uint16_t p) { return {p >> 11, p >> 6 & 31, p & 31}; }
uint16_t join(Rgb c) { return uint16_t(c[0] << 11 | c[1] << 6 | c[2]); }
Clip clipOf(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
Clip clipNow() {
    const zuDraw::ScreenState& s = screenState;
    return {s.clipLeft, s.clipTop, s.clipRight, s.clipBottom};
}
auto wipeNow() { return std::tuple(clipNow(), zuDraw::clipWipe.state); }
int32_t stepsWhile(int32_t state) {  // StepWipe calls until the wipe leaves `state`, at most 1000
    int32_t frames = 0;
    while (zuDraw::clipWipe.state == state && frames < 1000 && zuDraw::StepWipe()) ++frames;
    return frames;
}

using Region = FreshScreen16;
using Wipe = FreshScreen16;

TEST_F(Region, SoftenKeepsOneColourFireFadesWhatItDoesNotCarryNoiseRaisesByAtMostTwo) {
    fill(0x8A52);  // (17, 18 of 63, 18): the green's low bit is below the 5-bit precision
    EXPECT_EQ(zuDraw::Soften(10, 10, 100, 50), 1);
    EXPECT_EQ(std::tuple(at(11, 11), at(108, 57), at(10, 10)),
              std::tuple(0x8A52 & ~0x20, 0x8A52 & ~0x20, 0x8A52));
    fill(0xFFFF);
    EXPECT_EQ(zuDraw::FireRGB(1, 1, 1, 0, 0, 640, 480), 1);
    std::set<uint16_t> seen;  // the centre row over the bottom's row lifts nothing
    for (int32_t y = 1; y <= 477; ++y) seen.insert(&at(1, y), &at(639, y));
    EXPECT_EQ(seen, (std::set<uint16_t>{30 << 11 | 30 << 6 | 30, 0xFFFF}));
    EXPECT_EQ(at(320, 478), 0xFFFF);

    Bytes before = paintPattern();
    EXPECT_EQ(zuDraw::Noise(0, 0, 0, 640, 480), 1);
    int32_t blackRaised = 0;
    each({0, 0, 640, 480}, [&](int32_t x, int32_t y) {
        Rgb a = split(at(x, y, before)), b = split(at(x, y));
        for (int c = 0; c < 3; ++c) EXPECT_TRUE(b[c] >= a[c] && b[c] <= std::min(a[c] + 2, 31));
        blackRaised += a == Rgb{} && b != Rgb{};
    });
    EXPECT_GT(blackRaised, 1000);
    before = paintPattern();
    EXPECT_EQ(zuDraw::CircleMosaic(320, 240, 50, 8), 1);
    each({260, 180, 380, 300}, [&](int32_t x, int32_t y) {
        int32_t dx = x - 320, dy = y - 240;
        EXPECT_TRUE(dx * dx + dy * dy < 50 * 50 || at(x, y) == at(x, y, before)) << x << "," << y;
    });
}

// A random picture, rectangle and read position near the table's end; the fast form, then the
// plain one on the same picture and state.
TEST_F(Region, FastRegionEffectsEqualTheirPlainPerPixelForms) {
    zuDraw::RegionEffectState& s = zuDraw::regionEffectState;
    Bytes before;
    Rect r;  // this round's rectangle
    auto around = [](Rgb fade, int32_t x, int32_t y, int32_t into) {  // the neighbours' mean
        Rgb m{}, n[] = {split(at(x - 1, y)), split(at(x + 1, y)), split(at(x, y - 1)),
                        split(at(x, y + 1))};
        for (int c = 0; c < 3; ++c)
            m[c] = (n[0][c] + n[1][c] + n[2][c] + n[3][c]) / 4, m[c] -= fade[c] && m[c] > 0;
        at(x, into) = join(m);
    };
    auto fire = [&](Rgb fade, int32_t& step, int32_t& read) {
        zuDraw::effects::RandomReader random{read};
        each({r.left + 1, r.top + 2, r.right - 1, r.bottom}, [&](int32_t x, int32_t y) {
            if (++step < zuDraw::effectTables.randomTable[random.position])
                return around(fade, x, y, y - 1);
            at(x, y - 1) = at(x, y), step = 0, random.next();
        });
        read = random.position;
    };
    auto soften = [&](Rgb fade) {
        each({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1},
             [&](int32_t x, int32_t y) { around(fade, x, y, y); });
    };
    auto noise = [&](Rgb on, int32_t shift, int32_t& read) {
        zuDraw::effects::RandomReader random{read};
        each(r, [&](int32_t x, int32_t y) {
            Rgb c = split(at(x, y));
            int32_t n = std::min(random.next() << shift, 31);
            for (int i = 0; i < 3; ++i) c[i] = on[i] ? std::min(c[i] + n, 31) : c[i];
            at(x, y) = join(c);
        });
        read = random.position;
    };
    auto zoom = [&](int32_t k, int32_t sparse) {  // sparse: 3 of 4 work pixels (0x1234) kept
        each({0, 0, r.width() / k * k, r.height() / k * k}, [&](int32_t x, int32_t y) {
            bool kept = !sparse || (x % k < k / 2 && y % k < k / 2);
            at(r.left + x, r.top + y) = kept ? at(r.left + x / k, r.top + y / k, before) : 0x1234;
        });
    };
    using Row = std::pair<std::function<int32_t(int32_t, int32_t, int32_t, int32_t)>,
                          std::function<void()>>;
    auto zoomRow = [&](auto fast, int32_t k, int32_t sparse) {
        return Row{[=](auto x, auto y, auto w, auto h) { return fast(x, y, w / k, h / k, sparse); },
                   [=] { zoom(k, sparse); }};
    };
    using std::bind_front;
    const Row rows[] = {
        {zuDraw::Fire, [&] { fire({}, s.fireStep, s.fireRead); }},
        {bind_front(zuDraw::FireRGB, 0, 1, 1), [&] { fire({0, 1, 1}, s.fireRgbStep, s.fireRgbRead); }},
        {zuDraw::Soften, [&] { soften({}); }},
        {bind_front(zuDraw::SoftenRGB, 1, 0, 1), [&] { soften({1, 0, 1}); }},
        {bind_front(zuDraw::Noise, 0), [&] { noise({1, 1, 1}, 0, s.noiseRead); }},
        {bind_front(zuDraw::NoiseRGB, 1, 0, 1, 2), [&] { noise({1, 0, 1}, 2, s.noiseRgbRead); }},
        zoomRow(zuDraw::Zoom2, 2, 0),
        zoomRow(zuDraw::Zoom2, 2, 1),
        zoomRow(zuDraw::Zoom4, 4, 1),
    };
    std::mt19937 random(5);
    for (int32_t round = 0; round < 12; ++round)
        for (const auto& [fast, plain] : rows) {
            SCOPED_TRACE(testing::Message() << "row " << &fast - &rows[0].first << " / 2");
            int32_t x = int32_t(random() % 600), y = int32_t(random() % 440);
            r = {x, y, x + 3 + int32_t(random() % (637 - x)),
                 y + 3 + int32_t(random() % (477 - y))};
            before = paintPattern(random());
            for (int8_t& entry : zuDraw::effectTables.randomTable) entry = int8_t(random() % 3);  // a new table each time
            platform::fill(*zuDraw::objectTable[0].surface, {0, 0, 640, 480}, 0x1234);
            const zuDraw::RegionEffectState start = s = {round % 3, 9990, 0, 9995, 9000, 10};
            std::srand(round);  // where a reader goes after entry 9999
            EXPECT_EQ(fast(x, y, r.width(), r.height()), 1);
            const Bytes fastPicture = screenState.back->memory;
            const auto fastState = s;
            screenState.back->memory = before, s = start;
            std::srand(round);
            plain();
            ASSERT_TRUE(screenState.back->memory == fastPicture);
            EXPECT_EQ(std::memcmp(&fastState, &s, sizeof s), 0);
        }
}

TEST_F(Region, FireCallsContinueOneRandomSequence) {
    auto flames = [&](std::vector<std::pair<int32_t, int32_t>> calls, bool restart) {
        fill(0), fill(0xFFFF, {0, 102, 640, 103});
        for (auto [x, w] : calls) {  // one row of centres, 102, written into row 101
            if (restart || x == 0) zuDraw::regionEffectState = {};
            zuDraw::Fire(x, 100, w, 3);
        }
        return std::vector<uint16_t>(&at(1, 101), &at(201, 101));
    };
    std::vector<uint16_t> once = flames({{0, 202}}, false);  // centres 1 to 200 in one call
    EXPECT_EQ(flames({{0, 102}, {100, 102}}, false), once);
    EXPECT_NE(flames({{0, 102}, {100, 102}}, true), once);
}

TEST_F(Region, InvertTwiceRestoresThePictureAt16And32Bits) {
    for (int32_t bits : {16, 32}) {
        ASSERT_EQ(showFullScreen(bits), 1);
        Bytes& m = screenState.back->memory;
        for (size_t i = 0; i < m.size(); ++i) m[i] = bits == 32 && i % 4 == 3 ? 0 : uint8_t(i * 7);
        const Bytes b = m;
        const size_t row = 640 * size_t(bits) / 8;
        EXPECT_EQ(zuDraw::Invert(-20, 10, 700, 20), 1);  // cut to the surface: rows 10 to 19
        EXPECT_EQ(std::tuple(m[10 * row - 1], m[10 * row], m[20 * row - 2], m[20 * row]),
                  std::tuple(b[10 * row - 1], uint8_t(~b[10 * row]), uint8_t(~b[20 * row - 2]),
                             b[20 * row]));
        zuDraw::Invert(-20, 10, 700, 20);
        EXPECT_TRUE(m == b) << bits;
    }
}

// Each runs, stays inside the back buffer and object 0 (the asan preset checks): rectangles cut
// at every edge (fire at the bottom row), huge sizes, a mosaic cell below 1, noise shifts out of
// range; a failed lock leaves nothing locked.
TEST_F(Region, RegionEffectsCutTheirRectanglesAndRefuseSizesThatWouldNeverEnd) {
    using namespace zuDraw;
    constexpr int32_t M = INT_MAX, N = INT_MIN;
    const int32_t ran[] = {  // in order: a braced list is worked out left to right
        Fire(-5, -5, 700, 500), FireRGB(1, 0, 1, 600, 470, 100, 100), Fire(M - 2, N, M, M),
        Soften(630, -3, 50, 600), SoftenRGB(1, 1, 1, N, N, M, M), Noise(99, -10, 470, 700, 50),
        NoiseRGB(1, 1, 0, -7, 630, -5, 50, 50), CircleMosaic(320, 240, 50, 0),
        CircleMosaic(-10, 470, M, 7), CircleMosaic(N, M, M, 1), Zoom2(600, 400, 200, 200, 0),
        Zoom4(-50, -50, 640, 480, 1), Zoom2(N, M, M, M, 0), Invert(N, N, M, M)};
    for (const int32_t& r : ran) EXPECT_EQ(r, 1) << &r - ran;
    for (int32_t n : {1, 2}) {
        platform::headless::failNextLocks(n);
        EXPECT_EQ(Zoom2(0, 0, 10, 10, 0), 0);
        EXPECT_EQ(screenState.back->lockCount + objectTable[0].surface->lockCount, 0);
    }
}

TEST_F(Region, GoldenSheetOfEveryRegionEffect) {
    std::srand(7);
    zuDraw::Screen(640, 480, 1);  // the random table from the fixed seed
    each({0, 0, 640, 480}, [](int32_t x, int32_t y) {
        at(x, y) = uint16_t(((x / 4) & 31) << 11 | ((y / 4) & 63) << 5 | ((x + y) / 20 & 31));
    });
    fill(0xFFFF, {20, 120, 140, 150}), fill(0xFFFF, {180, 120, 300, 150});  // fuel for the flames
    for (int i = 0; i < 12; ++i) zuDraw::Fire(10, 10, 140, 140);  // one after the other: they
    for (int i = 0; i < 12; ++i) zuDraw::FireRGB(0, 1, 1, 170, 10, 140, 140);  // share rand()
    for (int i = 0; i < 4; ++i)  // side by side
        zuDraw::Soften(330, 10, 140, 140), zuDraw::SoftenRGB(1, 0, 0, 490, 10, 140, 140);
    zuDraw::Noise(1, 10, 170, 140, 140), zuDraw::NoiseRGB(0, 1, 0, 3, 170, 170, 140, 140);
    zuDraw::CircleMosaic(400, 240, 70, 9), zuDraw::Invert(490, 170, 630, 310);
    zuDraw::Zoom2(10, 330, 70, 70, 0), zuDraw::Zoom2(170, 330, 70, 70, 1);
    zuDraw::Zoom4(330, 330, 35, 35, 0), zuDraw::Zoom4(490, 330, 35, 35, 1);
    EXPECT_TRUE(
        testsupport::matchesGolden("region_effects", testsupport::pictureOf(*screenState.back)));
}

// Full clip (0, 0, 640, 480), centre (320, 240); 0.1 s frames at 90 px/s move each side 10 px.
// Rows: closing, shape, frame count, the middle frame checked, the first, middle, last rectangle.
TEST_F(Wipe, EveryShapeOpensAndClosesThroughRectanglesWorkedOutByHand) {
    const std::tuple<int32_t, int32_t, size_t, size_t, Clip, Clip, Clip> rows[] = {
        {0, 1, 48, 24, {0, 470, 640, 480}, {0, 240, 640, 480}, {0, 0, 640, 480}},
        {0, 2, 48, 24, {0, 0, 640, 10}, {0, 0, 640, 240}, {0, 0, 640, 480}},
        {0, 3, 64, 32, {630, 0, 640, 480}, {320, 0, 640, 480}, {0, 0, 640, 480}},
        {0, 4, 64, 32, {0, 0, 10, 480}, {0, 0, 320, 480}, {0, 0, 640, 480}},
        {0, 5, 24, 12, {0, 230, 640, 250}, {0, 120, 640, 360}, {0, 0, 640, 480}},
        {0, 6, 32, 16, {310, 0, 330, 480}, {160, 0, 480, 480}, {0, 0, 640, 480}},
        {0, 7, 32, 24, {310, 230, 330, 250}, {80, 0, 560, 480}, {0, 0, 640, 480}},
        {0, 8, 51, 30, {270, 230, 370, 250}, {210, 0, 430, 480}, {0, 0, 640, 480}},
        {0, 9, 51, 40, {310, 190, 330, 290}, {0, 110, 640, 370}, {0, 0, 640, 480}},
        {1, 1, 48, 24, {0, 10, 640, 480}, {0, 240, 640, 480}, {0, 480, 640, 480}},
        {1, 2, 48, 24, {0, 0, 640, 470}, {0, 0, 640, 240}, {0, 0, 640, 0}},
        {1, 3, 64, 32, {10, 0, 640, 480}, {320, 0, 640, 480}, {640, 0, 640, 480}},
        {1, 4, 64, 32, {0, 0, 630, 480}, {0, 0, 320, 480}, {0, 0, 0, 480}},
        {1, 5, 24, 12, {0, 10, 640, 470}, {0, 120, 640, 360}, {0, 240, 640, 240}},
        {1, 6, 32, 16, {10, 0, 630, 480}, {160, 0, 480, 480}, {320, 0, 320, 480}},
        {1, 7, 32, 16, {10, 10, 630, 470}, {160, 160, 480, 320}, {320, 240, 320, 240}},
        {1, 8, 51, 30, {10, 0, 630, 480}, {270, 30, 370, 450}, {270, 240, 370, 240}},
        {1, 9, 51, 25, {0, 10, 640, 470}, {60, 190, 580, 290}, {320, 190, 320, 290}},
    };
    zuSystem::frameClock.seconds = 0.1f;
    for (const auto& [closing, shape, frames, middle, first, atMiddle, last] : rows) {
        SCOPED_TRACE(testing::Message() << (closing ? "closing " : "opening ") << shape);
        zuDraw::clipWipe = {}, zuDraw::SetClip(0, 0, 640, 480);
        ASSERT_EQ(zuDraw::StartWipe(closing, shape, 90.0f, 100), 1);
        std::vector<Clip> seen;
        while (zuDraw::StepWipe() && seen.size() < 1000) seen.push_back(clipNow());
        ASSERT_EQ(seen.size(), frames);
        const zuDraw::ClipWipe& w = zuDraw::clipWipe;
        EXPECT_EQ(std::tuple(seen[0], seen[middle - 1], seen.back(), w.state, w.opened, w.closed),
                  std::tuple(first, atMiddle, last, -closing, 1 - closing, closing));
    }
}

TEST_F(Wipe, ARefusedOrIdleWipeChangesNothingAndAClosedScreenOpensFromTheSavedRectangle) {
    zuSystem::frameClock.seconds = 0.016f;
    zuDraw::SetClip(0, 0, 640, 480);
    EXPECT_EQ(zuDraw::StepWipe() + zuDraw::StartWipe(0, 10, 0, 0) + zuDraw::StartWipe(0, -1, 0, 0),
              0);
    EXPECT_EQ(wipeNow(), std::tuple(Clip(0, 0, 640, 480), 0));
    ASSERT_EQ(zuDraw::StartWipe(0, 1, 0.0f, 0), 1);  // speed 0: one row a frame, 480 frames
    EXPECT_EQ(zuDraw::StartWipe(1, 2, 0.0f, 0), 0);  // one runs
    EXPECT_EQ((std::tuple{stepsWhile(1), clipNow()}), std::tuple(480, Clip(0, 0, 640, 480)));

    // Closing by 7 a frame passes the bottom: the rectangle is left inverted, copies draw nothing.
    ASSERT_EQ(zuDraw::StartWipe(1, 1, 6.5f / 0.016f, 0), 1);
    EXPECT_EQ((std::tuple{stepsWhile(2), clipNow()}), std::tuple(69, Clip(0, 483, 640, 480)));
    fill(0xFFFF);
    const Bytes before = screenState.back->memory;
    zuDraw::BlitOpaque(0, 470, 1, 0, 0, 32, 32);  // object 1 is black
    EXPECT_TRUE(screenState.back->memory == before);

    // Hiding, while closed or while a wipe runs, keeps the full rectangle for the next opening.
    zuDraw::HideAll();
    ASSERT_EQ(zuDraw::StartWipe(0, 5, 1e30f, 0), 1);  // too fast to count: one frame
    EXPECT_EQ((std::tuple{zuDraw::StepWipe(), clipNow(), zuDraw::clipWipe.state}),
              std::tuple(1, Clip(0, 0, 640, 480), 0));
    ASSERT_EQ(zuDraw::StartWipe(0, 6, -50.0f, 0), 1);  // moves as speed 0: 1 a side
    EXPECT_EQ((std::tuple{clipNow(), zuDraw::StepWipe(), clipNow()}),
              std::tuple(Clip(320, 0, 320, 480), 1, Clip(319, 0, 321, 480)));
    zuDraw::HideAll();
    EXPECT_EQ(clipOf(zuDraw::clipWipe.savedClip), Clip(0, 0, 640, 480));
    EXPECT_EQ(wipeNow(), std::tuple(Clip(319, 0, 319, 0), -1));

    zuDraw::clipWipe = {}, zuDraw::SetClip(300, 0, 200, 480);  // inverted: wipes end at once
    for (int32_t closing : {1, 0}) {
        ASSERT_EQ(zuDraw::StartWipe(closing, 6, 0.0f, 0), 1);
        EXPECT_EQ((std::tuple{zuDraw::StepWipe(), zuDraw::clipWipe.state}),
                  std::tuple(1, -closing));
    }
    EXPECT_EQ(clipNow(), Clip(300, 0, 200, 480));
    std::set<int32_t> picked;  // shape 0: one of the nine at random
    for (int i = 0; i < 20; ++i)
        zuDraw::clipWipe = {}, zuDraw::StartWipe(1, 0, 0, 0), picked.insert(zuDraw::clipWipe.shape);
    EXPECT_TRUE(*picked.begin() >= 1 && *picked.rbegin() <= 9 && picked.size() > 3);
}

// The wipe is stepped by a scene as a program would; the game's loop gives the clip back.
TEST_F(Wipe, ASceneChangeInTheMiddleOfAWipeRestoresTheClipThroughTheLoop) {
    SceneFunction saved[sceneCount];
    std::copy(std::begin(sceneTable), std::end(sceneTable), saved);
    static int32_t framesBeforeChange = 100;
    sceneTable[1] = [] {
        zuDraw::StepWipe();
        if (--framesBeforeChange == 0) changeScene(3);
    };
    sceneTable[2] = [] {};
    zuDraw::SetClip(10, 20, 630, 460);
    ASSERT_EQ(zuDraw::StartWipe(0, 7, 0.0f, 0), 1);
    sceneState = {2};
    for (int i = 0; i < 99; ++i) runFrame();
    EXPECT_EQ(clipNow(), Clip(221, 141, 419, 339));  // 99 px out from (320, 240)
    runFrame();
    EXPECT_EQ(wipeNow(), std::tuple(Clip(10, 20, 630, 460), 0));
    std::copy(std::begin(saved), std::end(saved), sceneTable);
}

}  // namespace
