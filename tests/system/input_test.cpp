// The key poll and presses shorter than a frame, the trigger reader, the window procedure's latches
// and flags, the input-method switch and the system cursor over a full-screen window; the frame
// loop: the scene machine's first-frame flag, the blink timer and the frame clock on the virtual clock.
#include <string>
#include <tuple>
#include <vector>

#include "draw/zu_draw.h"
#include "game/game.h"
#include "platform/os/window.h"
#include "platform/win32.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace zuSystem;
namespace headless = platform::headless;
using K = std::vector<int32_t>;
using Input = FreshProgram;

TEST_F(Input, KeyPollFollowsTheEdgesReadingUpDuringATransitionAndTheTriggerReportsAListedPressOnceReleased) {
    // Held down through a transition: Up while it runs, Pressed on the first poll after it, and
    // Up again while keys are captured.
    auto poll = [state = int32_t(KeyEdge::Up)]() mutable {
        PollKey(VK_SPACE, state);
        return state;
    };
    deliver(WM_KEYDOWN, VK_SPACE);
    zuDraw::transitionState.step = 5;
    EXPECT_EQ((K{poll(), poll(), poll()}), (K{KeyEdge::Up, KeyEdge::Up, KeyEdge::Up}));
    zuDraw::transitionState.step = 0;
    EXPECT_EQ(poll(), KeyEdge::Pressed);
    BeginCapture();
    EXPECT_EQ(poll(), KeyEdge::Up);
    EndCapture();

    // A key pressed and held: nothing until the release, then its code once (armed, candidate
    // and complete in one call), clearing the last key.
    deliver(WM_KEYDOWN, 'A');
    EXPECT_EQ((K{GetTrigger('B', 'A', 0), GetTrigger('B', 'A', 0)}), (K{0, 0}));
    deliver(WM_KEYUP, 'A');
    EXPECT_EQ((K{GetTrigger('B', 'A', 0), inputState.lastKey, GetTrigger('B', 'A', 0)}), (K{'A', 0, 0}));
    deliver(WM_LBUTTONDOWN);
    EXPECT_EQ(GetTrigger(1, 0), 0);  // the button is still held: not armed
    deliver(WM_LBUTTONUP);
    EXPECT_EQ((K{GetTrigger(1, 0), inputState.lastButton, GetTrigger(1, 0)}), (K{1, 0, 0}));
    // A press of another button cancels the candidate; codes not listed never report.
    for (uint32_t message : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDOWN}) deliver(message);
    EXPECT_EQ((K{GetTrigger(2, 0), triggerState.phase}), (K{0, 2}));
    deliver(WM_LBUTTONDOWN);
    EXPECT_EQ((K{GetTrigger(2, 0), triggerState.phase, GetTrigger(3, 0)}), (K{0, 0, 0}));
}

TEST_F(Input, WindowProcedureKeepsLatchesFlagsAndTheClientPositionAndSwallowsSystemKeysByMode) {
    const InputState& in = inputState;
    deliver(WM_MOUSEMOVE, 0, MAKELPARAM(0xFFF0, 479));
    EXPECT_EQ(std::tuple(in.mouseX, in.mouseY), std::tuple(0xFFF0, 479));  // taken unsigned
    // Left down, click and pressed latches, and which button is held.
    const auto left = [&] { return std::tuple(in.leftDown, in.leftClick, in.leftPressed, in.buttonHeld); };
    for (uint32_t message : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) deliver(message);
    EXPECT_EQ(left(), std::tuple(1, 1, 1, 2));
    deliver(WM_LBUTTONUP);  // the left up leaves the right button's hold alone
    EXPECT_EQ(left(), std::tuple(0, 1, 1, 2));
    deliver(WM_RBUTTONUP);
    EXPECT_EQ(in.buttonHeld, 0);
    deliver(WM_LBUTTONDBLCLK);
    EXPECT_EQ(in.leftDoubleClick, 1);
    WatchKey(VK_SHIFT);
    deliver(WM_KEYDOWN, VK_SHIFT);
    EXPECT_EQ(in.keyHeld, VK_SHIFT);
    for (int i = 0; i < 2; ++i) deliver(WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(std::tuple(in.keyHeld, in.shiftToggle, WatchedKeyCount()), std::tuple(0, 0, 2));
    zuDraw::scrollView.visible = 1;
    deliver(WM_KEYDOWN, 'Z');
    EXPECT_EQ(std::tuple(in.viewKey, in.lastKey), std::tuple('Z', VK_SHIFT));
    zuDraw::scrollView.visible = 0;
    BeginCapture();
    deliver(WM_KEYDOWN, 'Q');
    deliver(WM_LBUTTONDOWN);
    EXPECT_EQ(std::tuple(in.capturedKey, in.capturedClick, in.lastButton), std::tuple('Q', 1, 2));
    deliver(WM_LBUTTONUP);
    EXPECT_EQ(in.capturedClick, 0);
    EndCapture();
    EXPECT_EQ(in.captureMode, 0);
    zuDraw::screenState.width = 640;
    zuDraw::screenState.height = 480;
    deliver(WM_MOVE, 0, MAKELPARAM(0xFFF6, 0x8000));
    // Only values above 0x8000 turn negative.
    EXPECT_EQ(std::tuple(systemState.clientX, systemState.clientY), std::tuple(-10, 0x8000));
    const platform::Rect dest = zuDraw::screenState.presentDest;
    EXPECT_EQ(std::tuple(dest.left, dest.right, dest.bottom), std::tuple(-10, 630, 0x8000 + 480));
    deliver(WM_SYSKEYDOWN, VK_F4, intptr_t(1) << 29);  // Alt+F4 in mode 0
    EXPECT_EQ(std::tuple(systemState.quitting, systemState.window != nullptr), std::tuple(0, true));
    SetSystemKeyMode(2);
    deliver(WM_SYSKEYDOWN, VK_MENU);
    EXPECT_EQ(inputState.keyHeld, 0);
    deliver(WM_SYSKEYDOWN, 'X');
    EXPECT_EQ(inputState.keyHeld, 'X');

    // Activation moves the flags, the cursor and the clip.
    systemState.cursorShown = 0;
    deliver(WM_ACTIVATEAPP, 0);
    EXPECT_EQ(std::tuple(systemState.active, systemState.cursorShown), std::tuple(0, 1));
    systemState.clipFollowsWindow = 1;
    ClipToScreen();
    deliver(WM_ACTIVATEAPP, 0);
    EXPECT_EQ(IsClipped(), 0);
    deliver(WM_ACTIVATEAPP, 1);
    EXPECT_EQ(std::tuple(systemState.active, IsClipped()), std::tuple(1, 1));
    deliver(WM_RBUTTONDBLCLK);  // toggles the clip when it follows the window
    EXPECT_EQ(std::tuple(IsClipped(), inputState.rightDoubleClick), std::tuple(0, 1));
}

// A press and its release that both left the queue before a poll read Pressed, then Released on
// the poll after, for buttons and keys alike; during a transition the press is dropped for good.
// Rows: the key, the presses ('D') and releases ('U') before each poll, whether the first poll
// falls in a transition, and the edges the polls read.
TEST_F(Input, AQuickPressReadsPressedThenReleasedUnlessInATransition) {
    constexpr int32_t P = KeyEdge::Pressed, H = KeyEdge::Held, R = KeyEdge::Released, U = KeyEdge::Up;
    const struct { int32_t vk; std::vector<std::string> steps; bool transition; std::vector<int32_t> seen; } rows[] = {
        {VK_LBUTTON, {"DU", "", ""}, false, {P, R, U}},
        {VK_RBUTTON, {"DU", "", ""}, false, {P, R, U}},
        {VK_SPACE, {"DU", "", ""}, false, {P, R, U}},
        {VK_LBUTTON, {"DUD", "", "U"}, false, {P, H, R}},     // pressed again: the usual rules go on
        {VK_SPACE, {"D", "", "U", ""}, false, {P, H, R, U}},  // a held key's press is not seen again
        {VK_LBUTTON, {"DU", "", ""}, true, {U, U, U}},
        {VK_LBUTTON, {"D", "", "U", ""}, false, {P, H, R, U}},  // the plain edges, press by press
        {VK_LBUTTON, {"", "D", "U", "D"}, false, {U, P, R, H}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows);
        const auto [down, up] = row.vk == VK_LBUTTON   ? std::pair(WM_LBUTTONDOWN, WM_LBUTTONUP)
                                : row.vk == VK_RBUTTON ? std::pair(WM_RBUTTONDOWN, WM_RBUTTONUP)
                                                       : std::pair(WM_KEYDOWN, WM_KEYUP);
        std::vector<int32_t> seen;
        int32_t state = U;
        for (const std::string& step : row.steps) {
            for (char c : step) deliver(c == 'D' ? down : up, uintptr_t(row.vk));
            zuDraw::transitionState.step = row.transition && seen.empty() ? 5 : 0;
            PollKey(row.vk, state);
            seen.push_back(state);
        }
        EXPECT_EQ(seen, row.seen);
    }
}

TEST_F(Input, EnableImeReturnsWhetherTheSwitchWasOn) {
    const struct { int32_t flag, result; } steps[] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& step : steps) {
        EXPECT_EQ(EnableIme(step.flag), step.result) << "switching to " << step.flag;
        EXPECT_EQ(systemState.imeEnabled, step.flag);
    }
}

TEST_F(Input, TheFirstMeasuredFrameCountsFromTheStartTick) {
    platform::headless::setClock(90000);
    frameClock = {};
    EXPECT_EQ(frameClock.lastTick, 90000u);
    platform::headless::setClock(90050);
    UpdateClock();
    EXPECT_FLOAT_EQ(frameClock.seconds, 0.05f);
}

// A framework message box or a windowed program keeps the arrow; a pointer move from the script
// over the full-screen window hides it again.
TEST_F(Input, TheSystemCursorIsHiddenOverTheFullScreenWindowOnly) {
    const struct { int32_t fullScreen, boxOpen; bool visible; } cases[] = {{1, 0, false}, {1, 1, true}, {0, 0, true}};
    for (const auto& c : cases) {
        systemState.fullScreen = c.fullScreen;
        systemState.messageBoxOpen = c.boxOpen;
        deliver(WM_SETCURSOR);
        EXPECT_EQ(platform::headless::systemCursorVisible(), c.visible) << "row " << &c - cases;
    }
    systemState.fullScreen = 1;
    ASSERT_TRUE(platform::headless::loadScript("move 10 20\n"));
    platform::waitMessage();  // the script's move comes in as WM_SETCURSOR, WM_MOUSEMOVE
    drainMessages();
    EXPECT_FALSE(platform::headless::systemCursorVisible());
    EXPECT_EQ(inputState.mouseX, 10);
}

// Each scene writes down the first-frame flag it saw; loading hands over to the title itself,
// and the title to titleHandsOverTo when that is set.
using Seen = std::vector<std::pair<int32_t, int32_t>>;
Seen seen;
int32_t titleHandsOverTo = 0;
void record(int32_t scene) { seen.emplace_back(scene, sceneState.firstFrame); }
using FrameLoop = FreshProgram;

TEST_F(FrameLoop, ScenesSeeOneFirstFrameCoveringOnlyPresentsAndAClipWipeEndsWithTheScene) {
    SceneFunction saved[sceneCount];
    std::copy(std::begin(sceneTable), std::end(sceneTable), saved);
    sceneTable[0] = [] { record(1); sceneState.current = 2; sceneState.previous = 0; };
    sceneTable[1] = [] { record(2); if (titleHandsOverTo) changeScene(titleHandsOverTo); };
    sceneTable[2] = [] { record(3); };
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
    sceneState = {9};
    runFrame();
    EXPECT_TRUE(seen.empty());

    // Covering: no scene runs until the run ends, then the pending one begins.
    zuDraw::transitionState = {};
    sceneState = {2, 2, 3};
    zuDraw::BeginCover();
    for (int step = 1; step <= zuDraw::coverSteps; ++step) {
        SCOPED_TRACE(step);
        runFrame();
        const bool last = step == zuDraw::coverSteps;
        EXPECT_EQ(zuDraw::transitionState.direction, last ? 0 : 1);
        EXPECT_EQ(sceneState.current, last ? 3 : 2);
    }
    runFrame();
    EXPECT_EQ(seen, (Seen{{3, 1}}));

    // A clip wipe lasts until a scene change, then gives the clip back.
    sceneState = {2};
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
    std::copy(std::begin(saved), std::end(saved), sceneTable);
}

TEST_F(FrameLoop, BlinkIsOnForASecondAndOffFor200MillisecondsAndTheClockMeasuresFrames) {
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

    // Frames clear the clicks and measure the clock, which starts at zero after reactivation.
    for (uint32_t message : {WM_LBUTTONDOWN, WM_RBUTTONDBLCLK}) deliver(message);
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
