// The error report, the formatted boxes and the display-depth check.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "draw/zu_draw.h"
#include "platform/headless.h"
#include "platform/sjis.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace zuSystem;
namespace headless = platform::headless;

class Messages : public FreshProgram {};

TEST_F(Messages, ErrorReportJoinsItsTextsBeepsAndRaisesTheFlag) {
    int32_t beeps = headless::beepCount();
    EXPECT_EQ(ReportError("zuDraw::Screen", "DirectDrawが使用できません", 42), 0);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::Screen : DirectDrawが使用できません"));
    EXPECT_EQ(headless::beepCount(), beeps + 1);
    EXPECT_EQ(HasError(), 1);
    EXPECT_EQ(systemState.messageBoxOpen, 0);

    // An over-long message is cut at 255 bytes without splitting a double-byte character.
    std::string message;
    for (int i = 0; i < 200; ++i) message += "ソ";
    ReportError("zuSound::Play", message.c_str(), 0);
    std::string shown = headless::lastMessageBox();
    std::string expected = utf8(u8"エラー発生: zuSound::Play : ");
    for (int i = 0; i < (255 - 16) / 2; ++i) expected += utf8(u8"ソ");
    EXPECT_EQ(shown, expected);
}

TEST_F(Messages, QuitOnErrorQuitsOnlyAfterAReport) {
    EXPECT_EQ(QuitOnError(), 0);
    EXPECT_EQ(systemState.quitting, 0);
    ReportError("a", "b", 0);
    EXPECT_EQ(QuitOnError(), 1);
    EXPECT_EQ(systemState.quitting, 1);
    EXPECT_TRUE(drainMessages());  // the posted close ends the loop
}

TEST_F(Messages, MessageAppendsALineBreakShowsTheCursorAndResetsTheClock) {
    systemState.cursorShown = 0;
    frameClock.seconds = 2.0f;
    headless::setClock(777);
    Message("%d", 5);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"メッセージ: 5\r\n"));
    EXPECT_EQ(systemState.cursorShown, 1);
    EXPECT_EQ(systemState.messageBoxOpen, 0);
    EXPECT_EQ(frameClock.seconds, 0.0f);
    EXPECT_EQ(frameClock.lastTick, 777u);

    std::string longText(400, 'x');
    Message("%s", longText.c_str());
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"メッセージ: ") + std::string(253, 'x') + "\r\n");

    EXPECT_EQ(YesNo("?"), 1);
    headless::setAnswerNo(true);
    EXPECT_EQ(YesNo("?"), 0);
}

TEST_F(Messages, DepthCheckAsksOnlyInAWindowOnAShallowDesktop) {
    EXPECT_EQ(CheckDisplayDepth("mode.txt"), 1);  // full screen
    EXPECT_EQ(headless::messageBoxCount(), 0);

    systemState.fullScreen = 0;
    headless::setDesktopBits(32);
    EXPECT_EQ(CheckDisplayDepth("mode.txt"), 1);  // deep enough
    zuDraw::screenState.colorDepth = 12;
    headless::setDesktopBits(8);
    EXPECT_EQ(CheckDisplayDepth("mode.txt"), 1);  // a depth with no index
    EXPECT_EQ(headless::messageBoxCount(), 0);
    zuDraw::screenState.colorDepth = 16;

    EXPECT_EQ(CheckDisplayDepth("*"), 1);  // asked, answered Yes, nothing written
    EXPECT_NE(headless::lastMessageBox().find(utf8(u8"フルスクリーンに切り換えますか？")), std::string::npos);
    EXPECT_EQ(systemState.fullScreen, 1);
    EXPECT_FALSE(std::filesystem::exists(programFolder / "*"));

    systemState.fullScreen = 0;
    int32_t boxes = headless::messageBoxCount();
    EXPECT_EQ(CheckDisplayDepth("mode.txt"), 1);
    EXPECT_EQ(headless::messageBoxCount(), boxes + 2);
    EXPECT_EQ(ReadNumber("mode.txt"), 1);

    systemState.fullScreen = 0;
    headless::setAnswerNo(true);
    EXPECT_EQ(CheckDisplayDepth("mode.txt"), 0);
    EXPECT_EQ(systemState.quitting, 1);
}

TEST_F(Messages, DepthCheckWithoutAQuestionExplainsAndQuits) {
    systemState.fullScreen = 0;
    headless::setDesktopBits(8);
    EXPECT_EQ(CheckDisplayDepth(""), 0);
    EXPECT_EQ(headless::messageBoxCount(), 1);
    std::string shown = headless::lastMessageBox();
    EXPECT_NE(shown.find(utf8(u8"画面が256色以下に設定されています。\n")), std::string::npos);
    EXPECT_NE(shown.find(utf8(u8"65536色以上に設定するか、")), std::string::npos);
    EXPECT_EQ(systemState.quitting, 1);
}

}  // namespace
