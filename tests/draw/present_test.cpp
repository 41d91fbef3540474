// Presentation: transition runs and their lengths, the kinds' geometry at known steps, steps
// beyond the length, the frame reaching the display, and the scroll view's toggle and limits.
#include <cstdlib>

#include "draw/draw_fixture.h"
#include "platform/headless.h"
#include "platform/win32.h"
#include "system/zu_system.h"

namespace drawtest {
namespace {

using zuDraw::objectTable;
using zuDraw::transitionState;

class DrawPresent : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        ASSERT_EQ(startScreen(640, 480), 1);
        zuDraw::SetVBlankWait(0);
        paint(*objectTable[1].surface, 0xFFFFFF);  // the captured old frame
    }
    void startUncover(int32_t kind, int32_t length) {
        transitionState.kind = kind;
        transitionState.length = length;
        transitionState.step = length;
        transitionState.direction = -1;
    }
    // Rows of column x showing the old (white) frame after one step over a black back buffer.
    std::vector<int32_t> oldRowsAfterStep(int32_t x) {
        zuDraw::ClearScreen();
        zuDraw::Present();
        std::vector<int32_t> rows;
        for (int32_t y = 0; y < 480; ++y)
            if (pixelAt(*zuDraw::screenState.back, x, y) == 0xFFFFFFu) rows.push_back(y);
        return rows;
    }
};

TEST_F(DrawPresent, RunsEndAfterTheirSteps) {
    uint32_t shownBefore = platform::headless::framesShown();
    startUncover(2, 20);
    for (int32_t i = 0; i < 20; ++i) {
        EXPECT_NE(transitionState.step, 0) << i;
        zuDraw::Present();
    }
    EXPECT_EQ(transitionState.step, 0);
    EXPECT_EQ(transitionState.direction, 0);
    EXPECT_EQ(platform::headless::framesShown(), shownBefore + 20);

    transitionState.length = 3;
    zuDraw::BeginCover();
    for (int32_t i = 0; i < 10; ++i) zuDraw::Present();
    EXPECT_EQ(transitionState.direction, 0);

    startUncover(13, 7);
    for (int32_t i = 0; i < 6; ++i) zuDraw::Present();
    EXPECT_EQ(transitionState.step, 1);
}

TEST_F(DrawPresent, KindsAtKnownSteps) {
    startUncover(2, 20);
    std::vector<int32_t> rows = oldRowsAfterStep(5);
    EXPECT_EQ(rows.size(), 480u);  // 24 bands of 21 rows cover everything
    transitionState.step = 1;
    rows = oldRowsAfterStep(5);
    ASSERT_EQ(rows.size(), 48u);
    EXPECT_EQ(rows[0], 0);
    EXPECT_EQ(rows[1], 1);
    EXPECT_EQ(rows[2], 20);

    startUncover(1, 20);
    transitionState.step = 2;
    rows = oldRowsAfterStep(0);
    EXPECT_EQ(rows.size(), 240u);
    EXPECT_EQ(rows[0], 1);
    transitionState.step = 1;
    EXPECT_TRUE(oldRowsAfterStep(0).empty());

    startUncover(5, 20);
    rows = oldRowsAfterStep(0);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), 479 - 24);
    transitionState.step = 1;
    EXPECT_TRUE(oldRowsAfterStep(0).empty());
}

TEST_F(DrawPresent, StepsBeyondTheLengthAndEmptyLengthsAreSafe) {
    // A covering run of a jittered kind with length 4 reaches steps 5 to 10: no jitter there.
    for (int32_t kind : {3, 4}) {
        transitionState.kind = kind;
        transitionState.length = 4;
        zuDraw::BeginCover();
        for (int32_t i = 0; i < 4; ++i) zuDraw::Present();
        std::vector<int32_t> rows = oldRowsAfterStep(0);  // step 5, unshifted rows
        EXPECT_FALSE(rows.empty());
        EXPECT_EQ(pixelAt(*zuDraw::screenState.back, 639, rows[0]), 0xFFFFFFu);
    }
    for (int32_t kind = 2; kind <= 12; ++kind) {
        transitionState.kind = kind;
        transitionState.length = 0;
        zuDraw::BeginCover();
        zuDraw::Present();  // would divide or stride by zero
        EXPECT_EQ(transitionState.step, 2);
    }
}

TEST_F(DrawPresent, TheFrameReachesTheDisplay) {
    paint(*zuDraw::screenState.back, 0x00FF00, {10, 10, 20, 20});
    zuDraw::Present();
    const platform::Surface* frame = platform::headless::lastFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(pixelAt(*frame, 15, 15), 0x00FF00u);

    platform::headless::loseAllSurfaces();
    zuDraw::Present();  // lost on the way: restored, frame skipped
    EXPECT_FALSE(platform::isLost(*zuDraw::screenState.back));
}

TEST_F(DrawPresent, ScrollViewTogglesAndScrollsWithinThePage) {
    zuDraw::ToggleScrollView();
    EXPECT_EQ(zuDraw::scrollView.visible, 0);
    zuDraw::scrollView.pageObject = zuDraw::CreateObject(640, 1000, 2);
    zuDraw::scrollView.tileObject = zuDraw::CreateObject(64, 48, 2);
    zuDraw::scrollView.pageHeight = 1000;
    zuDraw::ToggleScrollView();
    ASSERT_EQ(zuDraw::scrollView.visible, 1);

    zuSystem::frameClock.seconds = 1.0f;
    zuSystem::inputState.viewKey = VK_DOWN;
    zuDraw::Present();
    EXPECT_FLOAT_EQ(zuDraw::scrollView.scrollY, 100.0f);
    for (int32_t i = 0; i < 10; ++i) zuDraw::Present();
    EXPECT_FLOAT_EQ(zuDraw::scrollView.scrollY, 520.0f);
    zuSystem::inputState.viewKey = VK_LEFT;
    zuDraw::Present();
    EXPECT_FLOAT_EQ(zuDraw::scrollView.scrollY, 220.0f);
    zuDraw::Present();
    EXPECT_FLOAT_EQ(zuDraw::scrollView.scrollY, 0.0f);
    EXPECT_FLOAT_EQ(zuDraw::scrollView.tileX, -2.0f);  // 13 seconds at 10 per second, wrapped at -64
}

}  // namespace
}  // namespace drawtest
