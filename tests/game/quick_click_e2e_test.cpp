// Clicks and key taps shorter than a frame, headless: the press and the release arrive before the
// same frame, and the game still starts, quits and picks a piece up.
#include <gtest/gtest.h>

#include "game/game_run.h"

namespace {

using namespace gamerun;


TEST(QuickClickE2E, AClickWithinOneFrameStartsTheGame) {
    platform::Image intro = goldenImage("game_intro");
    ASSERT_GT(intro.width, 0);
    GameRun run;
    test::ProcessResult result =
        run.play(wait(3) + move({320, 400}) + "down left; up left\n" + wait(framesToSettle) + shot("intro"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(sameImage(run.shot("intro"), intro));
}

TEST(QuickClickE2E, AnEscapeTapWithinOneFrameQuits) {
    GameRun run;
    test::ProcessResult result = run.play(wait(3) + "key escape down; key escape up\n" + wait(5) + shot("after"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(run.shot("after").width, 0) << "the program ran on after Escape";
}

// The pick shows on the frame after it: the piece drawn from the pointer's cell, a row away from
// where the tray draws it. The release then puts it back.
TEST(QuickClickE2E, AClickWithinOneFrameOnAPiecePicksItUpAndPutsItBack) {
    const platform::Point cell = trayPoint(0, 0);
    const platform::Point onPiece{cell.x, cell.y + 32 < 128 ? cell.y + 32 : cell.y - 32};  // still slot 0
    GameRun run;
    std::string script = wait(3) + click({320, 400}) + wait(framesToPlay) + move(onPiece) + wait(1) + shot("before");
    script += "down left; up left\n" + wait(1) + shot("held") + wait(1) + shot("after");
    test::ProcessResult result = run.play(script);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    platform::Image before = run.shot("before");
    ASSERT_EQ(before.width, 640);
    EXPECT_FALSE(sameImage(run.shot("held"), before)) << "the quick click did not pick the piece up";
    EXPECT_TRUE(sameImage(run.shot("after"), before)) << "the release did not put it back";
}

}  // namespace
