// Over the full-screen window the game draws its own pointer, so the system cursor is hidden;
// a framework message box or a windowed program keeps the arrow.
#include <gtest/gtest.h>

#include "platform/headless.h"
#include "platform/os/window.h"
#include "platform/win32.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using zuSystem::systemState;

class SystemCursor : public FreshProgram {};

TEST_F(SystemCursor, HiddenOverTheFullScreenWindowOnly) {
    const struct {
        int32_t fullScreen, messageBoxOpen;
        bool visible;
    } cases[] = {{1, 0, false}, {1, 1, true}, {0, 0, true}, {1, 0, false}};
    for (const auto& c : cases) {
        systemState.fullScreen = c.fullScreen;
        systemState.messageBoxOpen = c.messageBoxOpen;
        deliver(WM_SETCURSOR);
        EXPECT_EQ(platform::headless::systemCursorVisible(), c.visible)
            << "full screen " << c.fullScreen << ", box open " << c.messageBoxOpen;
    }
}

TEST_F(SystemCursor, APointerMoveFromTheScriptHidesIt) {
    ASSERT_TRUE(platform::headless::loadScript("move 10 20\n"));
    platform::waitMessage();  // the script's move comes in as WM_SETCURSOR, WM_MOUSEMOVE
    drainMessages();
    EXPECT_FALSE(platform::headless::systemCursorVisible());
    EXPECT_EQ(zuSystem::inputState.mouseX, 10);
}

}  // namespace
