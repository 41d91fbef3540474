// What the drawing device reports and keeps: fills and colour keys give 0 or a negative device
// result, a transition step with direction 0 is drawn every frame, and releasing the screen in
// full screen shows the window as an icon.
#include <functional>

#include "draw/zu_draw.h"
#include "platform/video/image_write.h"
#include "platform/video/surface.h"
#include "support/fresh_program.h"
#include "platform/headless.h"
#include "platform/win32.h"
#include "system/zu_system.h"

namespace drawtest {
namespace {

using zuDraw::objectTable;
using zuDraw::screenState;

static_assert(DDERR_GENERIC < 0 && DDERR_SURFACELOST < 0, "callers test failures for a negative result");

class DeviceResults : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        ASSERT_EQ(startScreen(640, 480), 1);
    }
    static int32_t startScreen(int32_t width, int32_t height) {
        zuDraw::Release();
        return zuDraw::Screen(width, height, 1);
    }
    static void paint(platform::Surface& s, uint32_t rgb) {
        COLORREF c = RGB(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
        platform::fill(s, {0, 0, s.width, s.height}, platform::pixelFromColor(s.format, c));
    }
    static uint32_t pixelAt(const platform::Surface& s, int32_t x, int32_t y) {
        return platform::surfacePixels(s)[size_t(y) * s.width + x];
    }
};

TEST_F(DeviceResults, FillsAndKeysReturnZeroOrANegativeDeviceResult) {
    const int32_t object = zuDraw::CreateObject(32, 32, 2);
    const struct {
        const char* name;
        std::function<int32_t()> run;
    } fills[] = {
        {"ClearScreen", [] { return zuDraw::ClearScreen(); }},
        {"ClearRect", [] { return zuDraw::ClearRect(0, 0, 10, 10); }},
        {"FrameRect", [] { return zuDraw::FrameRect(0, 0, 10, 10); }},
        {"WhiteScreen", [] { return zuDraw::WhiteScreen(); }},
        {"WhiteRect", [] { return zuDraw::WhiteRect(0, 0, 10, 10); }},
        {"FillRect", [] { return zuDraw::FillRect(0, 0, 10, 10, 0x1234); }},
    };
    for (const auto& fill : fills) {
        EXPECT_EQ(fill.run(), DD_OK) << fill.name;
        platform::LockedRect locked;
        ASSERT_EQ(platform::lock(*screenState.back, locked), platform::Status::ok);
        EXPECT_EQ(fill.run(), DDERR_GENERIC) << fill.name << " on a locked surface";
        platform::unlock(*screenState.back);
        platform::headless::loseSurface(screenState.back);
        EXPECT_EQ(fill.run(), DDERR_SURFACELOST) << fill.name << " on a lost surface";
        platform::restore(*screenState.back);
    }

    const int32_t unused = object + 1;
    EXPECT_EQ(zuDraw::ClearObject(object), DD_OK);
    EXPECT_EQ(zuDraw::ClearObject(unused), DDERR_GENERIC);
    EXPECT_EQ(zuDraw::SetObjectColorKey(object, RGB(255, 0, 0)), DD_OK);
    EXPECT_EQ(zuDraw::SetObjectColorKey(unused, RGB(255, 0, 0)), DDERR_GENERIC);
    EXPECT_EQ(zuDraw::SetObjectColorKeyFromPixel(unused), DDERR_GENERIC);
    EXPECT_EQ(zuDraw::CopyColorKey(object, 0), DD_OK);
    EXPECT_EQ(zuDraw::CopyColorKey(object, unused), DDERR_GENERIC);
}

// Kind 11 at step 5 of 10 wipes the left half with the captured frame.
TEST_F(DeviceResults, AStepWithDirectionZeroIsDrawnEveryFrame) {
    paint(*objectTable[1].surface, 0xFFFFFF);
    zuDraw::transitionState.kind = 11;
    zuDraw::transitionState.length = 10;
    zuDraw::transitionState.step = 5;
    zuDraw::transitionState.direction = 0;
    for (int frame = 0; frame < 3; ++frame) {
        paint(*screenState.back, 0x000000);
        zuDraw::Present();
        EXPECT_EQ(pixelAt(*screenState.back, 319, 240), 0xFFFFFFu) << "frame " << frame;
        EXPECT_EQ(pixelAt(*screenState.back, 320, 240), 0u) << "frame " << frame;
        EXPECT_EQ(zuDraw::transitionState.step, 5);
        EXPECT_EQ(zuDraw::transitionState.direction, 0);
    }
}

TEST_F(DeviceResults, ReleaseInFullScreenShowsTheWindowAsAnIcon) {
    const int32_t before = platform::headless::minimizeCount();
    zuDraw::Release();
    EXPECT_EQ(platform::headless::minimizeCount(), before + 1);
    EXPECT_EQ(screenState.ddraw, nullptr);
    zuDraw::Release();  // with nothing left to release, still
    EXPECT_EQ(platform::headless::minimizeCount(), before + 2);

    zuSystem::systemState.fullScreen = 0;
    ASSERT_EQ(startScreen(640, 480), 1);
    const int32_t windowed = platform::headless::minimizeCount();
    zuDraw::Release();
    EXPECT_EQ(platform::headless::minimizeCount(), windowed);
}

}  // namespace
}  // namespace drawtest
