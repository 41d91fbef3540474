// The scene machine's first-frame flag, the blink timer and the frame clock on the virtual clock.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "draw/zu_draw.h"
#include "game/game.h"
#include "platform/headless.h"
#include "platform/win32.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

namespace headless = platform::headless;

// Each scene writes down the first-frame flag it saw; loading hands over to the title itself,
// and the title to titleHandsOverTo when that is set.
using Seen = std::vector<std::pair<int32_t, int32_t>>;
Seen seen;
int32_t titleHandsOverTo = 0;
void record(int32_t scene) { seen.emplace_back(scene, sceneState.firstFrame); }

class FrameLoop : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        std::copy(std::begin(sceneTable), std::end(sceneTable), saved);
        sceneTable[0] = [] { record(1); sceneState.current = 2; sceneState.previous = 0; };
        sceneTable[1] = [] { record(2); if (titleHandsOverTo) changeScene(titleHandsOverTo); };
        sceneTable[2] = [] { record(3); };
        seen.clear();
        titleHandsOverTo = 0;
    }
    void TearDown() override {
        std::copy(std::begin(saved), std::end(saved), sceneTable);
        FreshProgram::TearDown();
    }
    SceneFunction saved[sceneCount];
};

TEST_F(FrameLoop, FirstFrameIsSetOnceForEveryScene) {
    sceneState.current = 1;
    for (int i = 0; i < 3; ++i) runFrame();
    EXPECT_EQ(seen, (Seen{{1, 1}, {2, 1}, {2, 0}}));
    seen.clear();
    changeScene(3);
    const zuDraw::TransitionState& t = zuDraw::transitionState;
    EXPECT_EQ(std::tuple(t.kind, t.step, t.direction), std::tuple(2, 20, -1));
    runFrame();
    runFrame();
    EXPECT_EQ(seen, (Seen{{3, 1}, {3, 0}}));
    // A scene number outside 1..5 runs nothing.
    seen.clear();
    sceneState = {};
    sceneState.current = 9;
    runFrame();
    EXPECT_TRUE(seen.empty());
}

TEST_F(FrameLoop, CoveringRunPresentsOnlyAndTakesThePendingSceneAtItsEnd) {
    sceneState.current = 2;
    sceneState.previous = 2;
    sceneState.pending = 3;
    zuDraw::BeginCover();
    for (int step = 1; step <= zuDraw::coverSteps; ++step) {
        SCOPED_TRACE(step);
        runFrame();
        const bool last = step == zuDraw::coverSteps;
        EXPECT_EQ(zuDraw::transitionState.direction, last ? 0 : 1);
        EXPECT_EQ(sceneState.current, last ? 3 : 2);
    }
    runFrame();
    EXPECT_EQ(seen, (Seen{{3, 1}}));  // no scene ran while covering; then the pending one begins
}

TEST_F(FrameLoop, FinishedClipWipeGivesTheClipBack) {
    sceneState.current = 2;
    zuDraw::clipWipe.state = 1;
    zuDraw::clipWipe.savedClip = {1, 2, 3, 4};
    runFrame();  // first frame of the scene: current differs from the reset previous
    runFrame();
    EXPECT_EQ(zuDraw::clipWipe.state, 1);  // only a scene change ends it
    titleHandsOverTo = 3;
    runFrame();
    const zuDraw::ScreenState& s = zuDraw::screenState;
    EXPECT_EQ(zuDraw::clipWipe.state, 0);
    EXPECT_EQ(std::tuple(s.clipLeft, s.clipTop, s.clipRight, s.clipBottom), std::tuple(1, 2, 3, 4));
}

TEST_F(FrameLoop, BlinkIsOnForASecondAndOffFor200Milliseconds) {
    headless::setClock(5000);
    blinkState = {1, 5000 + 1000};
    std::vector<std::pair<uint32_t, int32_t>> flips;
    int32_t last = blinkState.on;
    for (uint32_t t = 5000; t <= 7500; t += 10) {
        headless::setClock(t);
        runFrame();
        if (blinkState.on != last) flips.emplace_back(t, blinkState.on);
        last = blinkState.on;
    }
    EXPECT_EQ(flips, (decltype(flips){{6000, 0}, {6200, 1}, {7200, 0}, {7400, 1}}));
}

TEST_F(FrameLoop, FramesClearTheClicksAndMeasureTheClockWhichStartsAtZeroAfterReactivation) {
    deliver(WM_LBUTTONDOWN);
    deliver(WM_RBUTTONDBLCLK);
    headless::setClock(0xFFFFFFF0u);  // across the wrap
    zuSystem::ResetClock();
    headless::setClock(0x10);
    runFrame();  // clicks last one frame
    const zuSystem::InputState& in = zuSystem::inputState;
    EXPECT_EQ(std::tuple(in.leftClick, in.rightDoubleClick, in.leftDown), std::tuple(0, 0, 1));
    EXPECT_FLOAT_EQ(zuSystem::frameClock.seconds, 0.032f);
    deliver(WM_ACTIVATEAPP, 0);
    headless::setClock(60000);  // a minute in the background
    deliver(WM_ACTIVATEAPP, 1);
    runFrame();
    EXPECT_LT(zuSystem::frameClock.seconds, 0.001f);
}

}  // namespace
