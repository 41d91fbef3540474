// WinMain's loop, run in this process on the headless backend: an inactive program handles its
// messages but runs no frames, and a failed screen set-up is reported and ends the program in
// order without a single frame.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "game/game.h"
#include "platform/headless.h"
#include "platform/os/instance.h"
#include "platform/os/resources.h"
#include "platform/os/window.h"
#include "platform/win32.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

namespace headless = platform::headless;

int framesRun = 0;
int deactivateAfter = 0;  // the scene posts WM_ACTIVATEAPP 0 after this many frames (0: never)

void countingScene() {
    if (++framesRun == deactivateAfter) platform::postMessage(zuSystem::systemState.window, WM_ACTIVATEAPP, 0, 0);
}

class ProgramLoop : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        // WinMain opens its own window and takes the instance guard under its own name.
        if (platform::Window* w = platform::currentWindow()) platform::destroyWindow(w);
        platform::resetMessageQueue();
        setenv("TESSORA_INSTANCE", ("program-loop-" + std::to_string(::getpid())).c_str(), 1);
        std::copy(std::begin(sceneTable), std::end(sceneTable), saved);
        for (SceneFunction& scene : sceneTable) scene = countingScene;
        framesRun = 0;
        deactivateAfter = 0;
    }
    void TearDown() override {
        std::copy(std::begin(saved), std::end(saved), sceneTable);
        unsetenv("TESSORA_INSTANCE");
        FreshProgram::TearDown();
    }
    int32_t runProgram() {
        platform::Instance instance{{}, ""};
        return WinMain(&instance, nullptr, "", SW_SHOWNORMAL);
    }
    SceneFunction saved[sceneCount];
};

TEST_F(ProgramLoop, NoFrameRunsWhileTheProgramIsInactive) {
    deactivateAfter = 3;
    ASSERT_TRUE(headless::loadScript("wait 10\nmove 100 100\nmove 200 150\n"));
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(framesRun, 3);
    EXPECT_EQ(zuSystem::inputState.mouseX, 200);  // its messages were still handled
    EXPECT_EQ(zuSystem::inputState.mouseY, 150);
}

TEST_F(ProgramLoop, AFailedScreenSetUpIsReportedAndEndsTheProgramInOrder) {
    headless::refuseDepth(16);
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(headless::messageBoxCount(), 1);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::Screen : 解像度が変更できません"));
    EXPECT_EQ(framesRun, 0);
    EXPECT_EQ(headless::framesShown(), 0u);
    EXPECT_EQ(zuSystem::systemState.closeState, 2);
    EXPECT_EQ(platform::currentWindow(), nullptr);
}

}  // namespace
