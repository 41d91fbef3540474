// The key poll, the trigger reader and the window procedure's latches and flags.
#include <gtest/gtest.h>

#include <vector>

#include "draw/zu_draw.h"
#include "platform/win32.h"
#include "platform/os/window.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace zuSystem;

class Input : public FreshProgram {
protected:
    // Polls the left button after each of the given down/up steps.
    std::vector<int32_t> pollSequence(std::initializer_list<bool> downs) {
        std::vector<int32_t> seen;
        int32_t state = KeyEdge::Up;
        bool down = false;
        for (bool d : downs) {
            if (d != down) deliver(d ? WM_LBUTTONDOWN : WM_LBUTTONUP);
            down = d;
            PollKey(VK_LBUTTON, state);
            seen.push_back(state);
        }
        return seen;
    }
};

TEST_F(Input, KeyPollFollowsTheEdgesAndReadsUpDuringATransition) {
    using K = std::vector<int32_t>;
    EXPECT_EQ(pollSequence({true, true, false, false}),
              (K{KeyEdge::Pressed, KeyEdge::Held, KeyEdge::Released, KeyEdge::Up}));
    deliver(WM_LBUTTONUP);
    EXPECT_EQ(pollSequence({false, true, false, true}),
              (K{KeyEdge::Up, KeyEdge::Pressed, KeyEdge::Released, KeyEdge::Held}));
    deliver(WM_LBUTTONUP);

    // Held down through a transition: Up while it runs, Pressed on the first poll after it.
    int32_t state = KeyEdge::Up;
    deliver(WM_KEYDOWN, VK_SPACE);
    zuDraw::transitionState.step = 5;
    for (int i = 0; i < 3; ++i) {
        PollKey(VK_SPACE, state);
        EXPECT_EQ(state, KeyEdge::Up);
    }
    zuDraw::transitionState.step = 0;
    PollKey(VK_SPACE, state);
    EXPECT_EQ(state, KeyEdge::Pressed);

    BeginCapture();
    PollKey(VK_SPACE, state);
    EXPECT_EQ(state, KeyEdge::Up);
}

TEST_F(Input, TriggerReportsAListedPressOnceItIsReleased) {
    // A key pressed and held: nothing until the release, then its code once.
    deliver(WM_KEYDOWN, 'A');
    EXPECT_EQ(GetTrigger('B', 'A', 0), 0);
    EXPECT_EQ(GetTrigger('B', 'A', 0), 0);
    deliver(WM_KEYUP, 'A');
    EXPECT_EQ(GetTrigger('B', 'A', 0), 'A');  // armed, candidate and complete in one call
    EXPECT_EQ(inputState.lastKey, 0);
    EXPECT_EQ(GetTrigger('B', 'A', 0), 0);

    deliver(WM_LBUTTONDOWN);
    EXPECT_EQ(GetTrigger(1, 0), 0);  // the button is still held: not armed
    deliver(WM_LBUTTONUP);
    EXPECT_EQ(GetTrigger(1, 0), 1);
    EXPECT_EQ(inputState.lastButton, 0);
    EXPECT_EQ(GetTrigger(1, 0), 0);  // reported once

    // A press of another button cancels the candidate.
    deliver(WM_RBUTTONDOWN);
    deliver(WM_RBUTTONUP);
    deliver(WM_RBUTTONDOWN);
    EXPECT_EQ(GetTrigger(2, 0), 0);
    EXPECT_EQ(triggerState.phase, 2);
    deliver(WM_LBUTTONDOWN);
    EXPECT_EQ(GetTrigger(2, 0), 0);
    EXPECT_EQ(triggerState.phase, 0);
    EXPECT_EQ(GetTrigger(3, 0), 0);  // codes not listed never report
}

TEST_F(Input, WindowProcedureKeepsTheLatches) {
    deliver(WM_MOUSEMOVE, 0, MAKELPARAM(0xFFF0, 479));
    EXPECT_EQ(inputState.mouseX, 0xFFF0);  // taken unsigned
    EXPECT_EQ(inputState.mouseY, 479);

    deliver(WM_LBUTTONDOWN);
    deliver(WM_RBUTTONDOWN);
    EXPECT_EQ(inputState.leftDown + inputState.leftClick + inputState.leftPressed, 3);
    EXPECT_EQ(inputState.buttonHeld, 2);
    deliver(WM_LBUTTONUP);  // the left up leaves the right button's hold alone
    EXPECT_EQ(inputState.buttonHeld, 2);
    EXPECT_EQ(inputState.leftDown, 0);
    EXPECT_EQ(inputState.leftPressed, 1);
    deliver(WM_RBUTTONUP);
    EXPECT_EQ(inputState.buttonHeld, 0);
    deliver(WM_LBUTTONDBLCLK);
    EXPECT_EQ(inputState.leftDoubleClick, 1);

    WatchKey(VK_SHIFT);
    deliver(WM_KEYDOWN, VK_SHIFT);
    EXPECT_EQ(inputState.keyHeld, VK_SHIFT);
    deliver(WM_KEYUP, VK_SHIFT);
    deliver(WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(inputState.keyHeld, 0);
    EXPECT_EQ(inputState.shiftToggle, 0);
    EXPECT_EQ(WatchedKeyCount(), 2);

    zuDraw::scrollView.visible = 1;
    deliver(WM_KEYDOWN, 'Z');
    EXPECT_EQ(inputState.viewKey, 'Z');
    EXPECT_EQ(inputState.lastKey, VK_SHIFT);
    zuDraw::scrollView.visible = 0;

    BeginCapture();
    deliver(WM_KEYDOWN, 'Q');
    deliver(WM_LBUTTONDOWN);
    EXPECT_EQ(inputState.capturedKey, 'Q');
    EXPECT_EQ(inputState.capturedClick, 1);
    EXPECT_EQ(inputState.lastButton, 2);
    deliver(WM_LBUTTONUP);
    EXPECT_EQ(inputState.capturedClick, 0);
    EndCapture();
    EXPECT_EQ(inputState.captureMode, 0);
}

TEST_F(Input, MoveTakesSignedWordsAndSetsThePresentRectangle) {
    zuDraw::screenState.width = 640;
    zuDraw::screenState.height = 480;
    deliver(WM_MOVE, 0, MAKELPARAM(0xFFF6, 0x8000));
    EXPECT_EQ(systemState.clientX, -10);
    EXPECT_EQ(systemState.clientY, 0x8000);  // only values above 0x8000 turn negative
    platform::Rect dest = zuDraw::screenState.presentDest;
    EXPECT_EQ(dest.left, -10);
    EXPECT_EQ(dest.right, 630);
    EXPECT_EQ(dest.bottom, 0x8000 + 480);
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

TEST_F(Input, EscapeAndCloseQuitOnceAndEndTheLoop) {
    EXPECT_TRUE(deliver(WM_KEYDOWN, VK_ESCAPE));  // quit, WM_CLOSE, destroy, WM_QUIT
    EXPECT_EQ(systemState.closeState, 2);
    EXPECT_EQ(systemState.quitting, 1);
    EXPECT_EQ(platform::currentWindow(), nullptr);
}

TEST_F(Input, ActivationMovesTheFlagsAndTheCursor) {
    systemState.cursorShown = 0;
    deliver(WM_ACTIVATEAPP, 0);
    EXPECT_EQ(systemState.active, 0);
    EXPECT_EQ(systemState.cursorShown, 1);
    systemState.clipFollowsWindow = 1;
    ClipToScreen();
    deliver(WM_ACTIVATEAPP, 0);
    EXPECT_EQ(IsClipped(), 0);
    deliver(WM_ACTIVATEAPP, 1);
    EXPECT_EQ(systemState.active, 1);
    EXPECT_EQ(IsClipped(), 1);
    deliver(WM_RBUTTONDBLCLK);  // toggles the clip when it follows the window
    EXPECT_EQ(IsClipped(), 0);
    EXPECT_EQ(inputState.rightDoubleClick, 1);
}

}  // namespace
