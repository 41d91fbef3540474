// The key poll, the trigger reader and the window procedure's latches and flags.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "draw/zu_draw.h"
#include "platform/os/window.h"
#include "platform/win32.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace zuSystem;
using K = std::vector<int32_t>;

class Input : public FreshProgram {
protected:
    // Polls the left button after each of the given down/up steps, then lets it go.
    K pollSequence(std::initializer_list<bool> downs) {
        K seen;
        int32_t state = KeyEdge::Up;
        bool down = false;
        for (bool d : downs) {
            if (d != down) deliver(d ? WM_LBUTTONDOWN : WM_LBUTTONUP);
            down = d;
            PollKey(VK_LBUTTON, state);
            seen.push_back(state);
        }
        deliver(WM_LBUTTONUP);
        return seen;
    }
};

TEST_F(Input, KeyPollFollowsTheEdgesAndReadsUpDuringATransition) {
    EXPECT_EQ(pollSequence({true, true, false, false}),
              (K{KeyEdge::Pressed, KeyEdge::Held, KeyEdge::Released, KeyEdge::Up}));
    EXPECT_EQ(pollSequence({false, true, false, true}),
              (K{KeyEdge::Up, KeyEdge::Pressed, KeyEdge::Released, KeyEdge::Held}));
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
}

TEST_F(Input, TriggerReportsAListedPressOnceItIsReleased) {
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
    deliver(WM_RBUTTONDOWN);
    deliver(WM_RBUTTONUP);
    deliver(WM_RBUTTONDOWN);
    EXPECT_EQ((K{GetTrigger(2, 0), triggerState.phase}), (K{0, 2}));
    deliver(WM_LBUTTONDOWN);
    EXPECT_EQ((K{GetTrigger(2, 0), triggerState.phase, GetTrigger(3, 0)}), (K{0, 0, 0}));
}

TEST_F(Input, WindowProcedureKeepsTheLatches) {
    const InputState& in = inputState;
    deliver(WM_MOUSEMOVE, 0, MAKELPARAM(0xFFF0, 479));
    EXPECT_EQ(std::tuple(in.mouseX, in.mouseY), std::tuple(0xFFF0, 479));  // taken unsigned
    // Left down, click and pressed latches, and which button is held.
    const auto left = [&] { return std::tuple(in.leftDown, in.leftClick, in.leftPressed, in.buttonHeld); };
    deliver(WM_LBUTTONDOWN);
    deliver(WM_RBUTTONDOWN);
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
    deliver(WM_KEYUP, VK_SHIFT);
    deliver(WM_KEYUP, VK_SHIFT);
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
}

TEST_F(Input, MoveTakesSignedWordsAndSetsThePresentRectangle) {
    zuDraw::screenState.width = 640;
    zuDraw::screenState.height = 480;
    deliver(WM_MOVE, 0, MAKELPARAM(0xFFF6, 0x8000));
    // Only values above 0x8000 turn negative.
    EXPECT_EQ(std::tuple(systemState.clientX, systemState.clientY), std::tuple(-10, 0x8000));
    const platform::Rect dest = zuDraw::screenState.presentDest;
    EXPECT_EQ(std::tuple(dest.left, dest.right, dest.bottom), std::tuple(-10, 630, 0x8000 + 480));
}

TEST_F(Input, SystemKeysAreSwallowedByMode) {
    deliver(WM_SYSKEYDOWN, VK_F4, intptr_t(1) << 29);  // Alt+F4 in mode 0
    EXPECT_EQ(systemState.quitting, 0);
    EXPECT_NE(systemState.window, nullptr);
    SetSystemKeyMode(2);
    deliver(WM_SYSKEYDOWN, VK_MENU);
    EXPECT_EQ(inputState.keyHeld, 0);
    deliver(WM_SYSKEYDOWN, 'X');
    EXPECT_EQ(inputState.keyHeld, 'X');
}

TEST_F(Input, ActivationMovesTheFlagsAndTheCursor) {
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

}  // namespace
