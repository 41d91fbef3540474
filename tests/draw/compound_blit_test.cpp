// Compound blits on a 640 x 480 RGB565 back buffer, drawn over 0x1111 into a clip rectangle.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/video/surface.h"
#include "support/fresh_screen.h"
#include "support/golden.h"

namespace {

using platform::Rect;
using zuDraw::screenState;
using Draw = std::function<void()>;

int32_t p = 0;  // the 64 x 48 picture, keyed on black
uint16_t& at(platform::Surface& s, int32_t x, int32_t y) {
    return reinterpret_cast<uint16_t*>(s.memory.data() + size_t(y) * s.pitch)[x];
}
platform::Surface& object(int32_t n) { return *zuDraw::objectTable[n].surface; }
void paint(int32_t n, auto colour) {  // every pixel of object n from colour(x, y)
    for (int32_t y = 0; y < object(n).height; ++y)
        for (int32_t x = 0; x < object(n).width; ++x) at(object(n), x, y) = uint16_t(colour(x, y));
}
std::vector<uint8_t> drawn(const Draw& draw, Rect clip = {0, 0, 640, 480}) {
    platform::fill(*screenState.back, {0, 0, 640, 480}, 0x1111);
    zuDraw::SetClip(clip.left, clip.top, clip.right, clip.bottom);
    draw();
    return screenState.back->memory;
}
// StretchBlit, or StretchBlitOpaque, on the hardware path (1) or the context path (0).
void stretchOn(int32_t path, bool opaque, auto... args) {
    screenState.canStretch = path;
    (opaque ? zuDraw::StretchBlitOpaque : zuDraw::StretchBlit)(args...);
}

struct CompoundBlit : FreshScreen16 {
    void SetUp() override {
        FreshScreen16::SetUp();
        p = zuDraw::CreateObject(64, 48, 2);  // colours differing pixel to pixel, black specks
        paint(p, [](int32_t x, int32_t y) {
            return (x * 7 + y * 3) % 11 == 0 ? 0 : 0x0841 + x * 0x0801 + y * 0x0040;
        });
    }
};

// Whether `call` draws what `copies` draw, in each clip rectangle.
bool same(const Draw& call, const Draw& copies, std::vector<Rect> clips = {{0, 0, 640, 480}}) {
    return std::ranges::all_of(clips, [&](Rect c) { return drawn(call, c) == drawn(copies, c); });
}

TEST_F(CompoundBlit, PlainCasesAreCopiesBothStretchPathsAgreeAndMirrorsShowTheMirroredPicture) {
    const Draw blit = [] { zuDraw::Blit(100, 50, p, 0, 0, 64, 48); };
    const Draw plain[] = {
        [] { zuDraw::WaveBlit(100, 50, 0, 0, 90.0f, p, 0, 0, 64, 48, 0); },
        [] { zuDraw::WaveBlit(100, 50, 0, 3, 90.0f, p, 0, 0, 64, 48, 1); },
        [] { zuDraw::ScrollWaveBlit(100, 50, 0, 0, 90.0f, 0.0f, p, 0, 0, 64, 48); },
        [] { zuDraw::MosaicBlit(100, 50, 1, p, 0, 0, 64, 48); },
        [] { zuDraw::JitterBlit(100, 50, 0, p, 0, 0, 64, 48); },
        [] { stretchOn(1, false, 100, 50, p, 0, 0, 64, 48, 64, 48); },
        [] { stretchOn(0, false, 100, 50, p, 0, 0, 64, 48, 64, 48); },
    };
    zuSystem::frameClock.seconds = 0.25f;
    for (const Draw& call : plain)
        EXPECT_TRUE(same(call, blit, {{0, 0, 640, 480}, {110, 55, 150, 90}})) << &call - plain;
    EXPECT_TRUE(same([] { zuDraw::TileBlit(0.0f, 0.0f, p, 0, 0, 64, 48); }, [] {
        for (int i = 0; i < 100; ++i) zuDraw::Blit(i % 10 * 64, i / 10 * 48, p, 0, 0, 64, 48);
    })) << "tiles at rest start at (0, 0)";

    // 32 x 32 to 64 x 64 on both paths: (8 + x / 2, 4 + y / 2) lands on (120 + x, 60 + y).
    for (bool opaque : {false, true}) {
        auto on = [=](int32_t path) {
            return [=] { stretchOn(path, opaque, 120, 60, p, 8, 4, 40, 36, 64, 64); };
        };
        EXPECT_TRUE(same(on(0), on(1), {{0, 0, 640, 480}, {130, 0, 160, 90}})) << opaque;
        EXPECT_EQ(at(*screenState.back, 131, 63), at(object(p), 13, 5));
    }

    const int32_t m = zuDraw::CreateObject(64, 48, 2);  // the picture mirrored by hand
    const std::vector<Rect> cuts = {{0, 0, 640, 480}, {210, 0, 640, 480}, {0, 160, 640, 480},
                                    {0, 0, 250, 480}, {0, 0, 640, 180}};
    for (int32_t mode = 0; mode < 4; ++mode) {
        paint(m, [=](int32_t x, int32_t y) {
            return at(object(p), mode & 1 ? 63 - x : x, mode & 2 ? 47 - y : y);
        });
        EXPECT_TRUE(same([=] { zuDraw::MirrorBlit(200, 150, mode, p, 0, 0, 64, 48); },
                         [=] { zuDraw::Blit(200, 150, m, 0, 0, 64, 48); }, cuts))
            << mode;
    }
}

// The alternate wave's rows are in the golden sheet; its sign also counts rows off the screen.
TEST_F(CompoundBlit, AlternateWaveCarriesItsSignIntoTheNextCall) {
    zuDraw::WaveBlit(100, 50, 10, 0, 0.0f, p, 0, 0, 64, 3, 1);
    EXPECT_EQ(zuDraw::blitAnimation.waveSign, -1);  // three rows: the next call starts with -v
    zuDraw::WaveBlit(100, -40, 10, 0, 0.0f, p, 0, 0, 64, 45, 1);
    EXPECT_EQ(zuDraw::blitAnimation.waveSign, 1);
}

TEST_F(CompoundBlit, AfterOneSecondAnimationsStandAtTheSamePhaseAt30And60FramesPerSecond) {
    auto animateFor = [](int32_t fps) {
        zuDraw::blitAnimation = {};
        zuSystem::frameClock.seconds = 1.0f / float(fps);
        zuDraw::SetClip(0, 0, 0, 0);  // nothing drawn, the animations still move
        for (int32_t frame = 0; frame < fps; ++frame) {
            zuDraw::WaveBlit(0, 0, 5, 0, 500.0f, p, 0, 0, 64, 48, 0);
            zuDraw::TileBlit(-100.0f, 75.0f, p, 0, 0, 64, 48);
            zuDraw::ScrollWaveBlit(0, 0, 5, 0, 200.0f, 70.0f, p, 0, 0, 64, 48);
            zuDraw::BandWaveBlit(0, 100, 5, 0, 300.0f, -70.0f, p, 0, 0, 64, 48);
            zuDraw::StretchWaveBlit(0, 0, 0, 100.0f, p, 0, 0, 64, 48);
        }
        const zuDraw::BlitAnimation& a = zuDraw::blitAnimation;
        return std::vector<float>{a.wavePhase,       a.tileX,         a.tileY,
                                  a.scrollWavePhase, a.scrollWaveScroll, a.bandWavePhase,
                                  a.bandWaveScroll,  a.stretchWavePhase};
    };
    const std::vector<float> at30 = animateFor(30), at60 = animateFor(60);
    const float periods[] = {360, 64, 48, 360, 48, 360, 48, 48},
                perFrame[] = {500, 100, 75, 200, 70, 300, 70, 100};
    for (size_t i = 0; i < at30.size(); ++i) {
        float apart = std::fmod(std::fabs(at30[i] - at60[i]), periods[i]);
        EXPECT_LE(std::min(apart, periods[i] - apart), perFrame[i] / 60.0f + 0.01f) << i;
    }
}

// Empty and huge rectangles, cells, gaps and heights below their least, extreme amounts and frame
// times: each call ends at once, reads nothing outside the object (asan) and keeps its animation
// in range; the empty ones draw nothing.
TEST_F(CompoundBlit, SizesThatWouldDivideByZeroOrNeverEndDrawNothingAndPhasesStayInRange) {
    const std::vector<uint8_t> untouched = drawn([] {});
    const Draw nothing[] = {
        [] { zuDraw::TileBlit(5.0f, 5.0f, p, 10, 0, 10, 48); },
        [] { zuDraw::BandWaveBlit(0, 480, 3, 0, 1.0f, 1.0f, p, 0, 20, 64, 20); },
        [] { for (int32_t size : {0, -5}) zuDraw::MosaicBlit(0, 0, size, p, 0, 0, 64, 48); },
        [] { zuDraw::StretchWaveBlit(0, 0, 1, 1.0f, p, 0, 5, 64, 6); },
        [] { zuDraw::ScanlineBlit(0, 0, 0, p, 0, 0, 64, 48); },
        [] { zuDraw::StretchBlit(0, 0, p, 0, 0, 64, 48, -64, 48); },
        [] { zuDraw::MirrorBlit(0, 0, 4, p, 0, 0, 64, 48); },
        [] { zuDraw::SetClip(300, 0, 200, 480), zuDraw::MirrorBlit(250, 0, 3, p, 0, 0, 64, 48); },
    };
    for (const Draw& call : nothing) EXPECT_TRUE(drawn(call) == untouched) << &call - nothing;

    zuSystem::frameClock.seconds = 1e6f;
    constexpr int32_t M = INT_MAX, N = INT_MIN;
    const Draw extreme[] = {
        [] { zuDraw::WaveBlit(M, N, M, -1, 1e30f, p, N, N, M, M, 1); },
        [] { zuDraw::TileBlit(7.0f, 7.0f, p, N, N, M, M); },
        [] { zuDraw::TileBlit(-1e9f, NAN, p, 0, 0, 1, 1); },
        [] { zuDraw::ScrollWaveBlit(0, N, N, 0, 1e9f, -1e9f, p, N, -5, M, M); },
        [] { zuDraw::BandWaveBlit(N, M, M, N, 1e9f, 1e9f, p, -9, N, M, 30); },
        [] { zuDraw::MosaicBlit(0, 0, 7, p, 0, 40, 64, 4000); },  // the last band past the object
        [] { zuDraw::MosaicBlit(N, M, 1, p, N, N, M, M); },
        [] { zuDraw::ScanlineBlit(0, 0, N, p, 0, N, 64, M); },
        [] { zuDraw::ScanlineBlit(0, N, 1, p, 0, N, 64, M); },
        [] { zuDraw::JitterBlit(0, 0, M, p, 0, N, 64, M); },
        [] { zuDraw::StretchWaveBlit(0, 0, 0, 1e30f, p, 0, N, 64, M); },
        [] { zuDraw::StretchBlit(M, M, p, 0, 0, 64, 48, M, M); },
        [] { stretchOn(0, true, -10, -10, p, -5, 0, 90, 48, 5000, 9); },
        [] { zuDraw::MirrorBlit(N, M, 3, p, N, -9, M, 9); },
    };
    for (const Draw& call : extreme) drawn(call);
    const zuDraw::BlitAnimation& a = zuDraw::blitAnimation;
    for (float phase : {a.wavePhase, a.scrollWavePhase, a.bandWavePhase})
        EXPECT_TRUE(phase >= 0 && phase < 360);
    EXPECT_TRUE(a.tileX >= -1 && a.tileX <= 0 && a.tileY >= -1 && a.tileY <= 0);
    EXPECT_TRUE(a.stretchWavePhase >= 0 && a.stretchWavePhase < float(INT_MAX) + 1.0f);
}

TEST_F(CompoundBlit, GoldenSheetOfEveryCompoundBlit) {
    const int32_t s = zuDraw::CreateObject(160, 160, 2);  // rings, the fourth black (keyed)
    paint(s, [](int32_t x, int32_t y) {
        return int32_t(std::hypot(x - 80, y - 80)) / 12 == 3 ? 0 : x / 5 << 11 | x / 3 << 5 | y / 6;
    });
    const Draw blits[] = {
        [=] { zuDraw::WaveBlit(20, 0, 12, 0, 200.0f, s, 0, 0, 120, 160, 0); },
        [=] { zuDraw::WaveBlit(180, 0, 6, 4, 200.0f, s, 0, 0, 120, 160, 1); },
        [=] { zuDraw::TileBlit(-40.0f, 25.0f, s, 60, 60, 100, 100); },
        [=] { zuDraw::ScrollWaveBlit(500, 0, 8, 2, 150.0f, 60.0f, s, 0, 0, 120, 160); },
        [=] { zuDraw::BandWaveBlit(160, 320, 10, 3, 120.0f, 40.0f, s, 20, 20, 140, 80); },
        [=] { zuDraw::MosaicBlit(160, 160, 7, s, 0, 0, 160, 160); },
        [=] { stretchOn(1, false, 320, 160, s, 40, 40, 120, 120, 150, 120); },
        [=] { stretchOn(0, true, 480, 160, s, 0, 0, 160, 160, 100, 150); },
        [=] { zuDraw::MirrorBlit(0, 320, 3, s, 0, 0, 160, 160); },
        [=] { zuDraw::ScanlineBlit(160, 320, -4, s, 0, 0, 160, 160); },
        [=] { zuDraw::JitterBlit(320, 320, 6, s, 0, 0, 160, 160); },
        [=] { zuDraw::StretchWaveBlit(480, 320, 1, 40.0f, s, 0, 0, 160, 160); },
    };
    std::srand(11);
    zuSystem::frameClock.seconds = 1.0f / 60.0f;
    platform::fill(*screenState.back, {0, 0, 640, 480}, 0x2104);
    for (int32_t i = 0; i < 12; ++i)  // nine frames unseen, the tenth in its tile
        for (int32_t frame = 0, x = i % 4 * 160, y = i / 4 * 160; frame < 10; ++frame)
            zuDraw::SetClip(x, y, x + (frame == 9) * 160, y + (frame == 9) * 160), blits[i]();
    EXPECT_TRUE(
        testsupport::matchesGolden("compound_blits", testsupport::pictureOf(*screenState.back)));
}

}  // namespace
