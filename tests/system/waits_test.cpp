// Numbered waits, the delay and the frame clock's resets.
#include <gtest/gtest.h>

#include <cstring>

#include "draw/zu_draw.h"
#include "platform/os/clock.h"
#include "platform/headless.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace zuSystem;
namespace headless = platform::headless;

class Waits : public FreshProgram {};

TEST_F(Waits, OutOfRangeNumbersReportAndChangeNothing) {
    StartUp();
    WaitTable before = waitTable;
    EXPECT_EQ(SetWait(0, 100), 0);
    EXPECT_EQ(SetWait(11, 100), 0);
    EXPECT_EQ(InitWait(-1), 0);
    EXPECT_EQ(headless::messageBoxCount(), 3);
    EXPECT_EQ(headless::lastMessageBox(),
              utf8(u8"エラー発生: zuSystem::InitWait : ウェイトNoが範囲外です"));
    EXPECT_EQ(HasError(), 1);
    EXPECT_EQ(0, std::memcmp(&before, &waitTable, sizeof before));
    EXPECT_EQ(IsWaitOver(11), 0);
    EXPECT_EQ(SetWait(10, 100), 1);
}

TEST_F(Waits, WaitsRunOutAndInitStopsThem) {
    headless::setClock(1000);
    StartUp();
    EXPECT_EQ(IsWaitOver(3), 0);
    SetWait(3, 500);
    headless::setClock(1499);
    EXPECT_EQ(IsWaitOver(3), 0);
    headless::setClock(1500);
    EXPECT_EQ(IsWaitOver(3), 1);
    headless::setClock(90000);
    EXPECT_EQ(IsWaitOver(3), 1);
    InitWait(3);
    EXPECT_EQ(IsWaitOver(3), 0);
    headless::setClock(waitNotRunning);
    EXPECT_EQ(IsWaitOver(3), 1);
}

TEST_F(Waits, DelaySleepsPastItsDeadlineAndResetsTheClock) {
    headless::setClock(0xFFFFFF00u);  // the deadline lies after the wrap
    frameClock.seconds = 3.0f;
    Delay(0x200);
    uint32_t now = platform::ticks();
    EXPECT_EQ(now, 0x101u);
    EXPECT_EQ(frameClock.seconds, 0.0f);
    EXPECT_EQ(frameClock.lastTick, now);
}

TEST_F(Waits, StartUpResetsWaitsCaptureAndSystemKeys) {
    waitTable.due[4] = 7;
    BeginCapture();
    inputState.keyHeld = 'A';
    SetSystemKeyMode(3);
    zuDraw::screenState.width = 640;
    zuDraw::screenState.height = 480;
    EXPECT_EQ(StartUp(), 1);
    EXPECT_EQ(waitTable.due[4], waitNotRunning);
    EXPECT_EQ(inputState.captureMode + inputState.keyHeld + systemState.systemKeyMode, 0);
    EXPECT_EQ(IsClipped(), 1);
}

}  // namespace
