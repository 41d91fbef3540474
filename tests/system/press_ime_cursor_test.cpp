// Input edges of a fresh program: presses shorter than a frame, the input-method switch, the frame
// clock's start tick, and the system cursor hidden over the full-screen window (the game draws its own).
#include <string>
#include <vector>

#include "draw/zu_draw.h"
#include "platform/os/window.h"
#include "platform/win32.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace zuSystem;
using SystemInput = FreshProgram;

// A press and its release that both left the queue before a poll read Pressed, then Released on
// the poll after, for buttons and keys alike; during a transition the press is dropped for good.
// Rows: the key, the presses ('D') and releases ('U') before each poll, whether the first poll
// falls in a transition, and the edges the polls read.
TEST_F(SystemInput, AQuickPressReadsPressedThenReleasedUnlessInATransition) {
    constexpr int32_t P = KeyEdge::Pressed, H = KeyEdge::Held, R = KeyEdge::Released, U = KeyEdge::Up;
    const struct { int32_t vk; std::vector<std::string> steps; bool transition; std::vector<int32_t> seen; } rows[] = {
        {VK_LBUTTON, {"DU", "", ""}, false, {P, R, U}},
        {VK_RBUTTON, {"DU", "", ""}, false, {P, R, U}},
        {VK_SPACE, {"DU", "", ""}, false, {P, R, U}},
        {VK_LBUTTON, {"DUD", "", "U"}, false, {P, H, R}},     // pressed again: the usual rules go on
        {VK_SPACE, {"D", "", "U", ""}, false, {P, H, R, U}},  // a held key's press is not seen again
        {VK_LBUTTON, {"DU", "", ""}, true, {U, U, U}},
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

TEST_F(SystemInput, EnableImeReturnsWhetherTheSwitchWasOn) {
    const struct { int32_t flag, result; } steps[] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& step : steps) {
        EXPECT_EQ(EnableIme(step.flag), step.result) << "switching to " << step.flag;
        EXPECT_EQ(systemState.imeEnabled, step.flag);
    }
}

TEST_F(SystemInput, TheFirstMeasuredFrameCountsFromTheStartTick) {
    platform::headless::setClock(90000);
    frameClock = {};
    EXPECT_EQ(frameClock.lastTick, 90000u);
    platform::headless::setClock(90050);
    UpdateClock();
    EXPECT_FLOAT_EQ(frameClock.seconds, 0.05f);
}

// A framework message box or a windowed program keeps the arrow; a pointer move from the script
// over the full-screen window hides it again.
TEST_F(SystemInput, TheSystemCursorIsHiddenOverTheFullScreenWindowOnly) {
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

}  // namespace
