// Golden frames of the game's scenes, shot by the real program headless with a fixed clock.
#include <gtest/gtest.h>

#include "game/game_run.h"
#include "game/playthrough.h"
#include "game/stages.h"
#include "support/golden.h"

namespace {

using namespace playthrough;

std::string wait(int frames) { return "wait " + std::to_string(frames) + "\n"; }
std::string shot(const std::string& name) { return "shot " + name + ".bmp\n"; }

testsupport::Picture pictureOf(const platform::Image& image) { return {image.width, image.height, image.xrgb}; }

TEST(GameGolden, TitleIntroPlayAndEnding) {
    // The prompt shows for the first second and hides for the next 200 ms (frames 63 to 75).
    std::string script = wait(3) + shot("title") + wait(64) + shot("title_hidden");
    script += click({320, 400}) + wait(framesToSettle) + shot("intro") + wait(framesToPlay - framesToSettle);
    script += "move " + std::to_string(trayPoint(0, 1).x) + " " + std::to_string(trayPoint(0, 1).y) + "\n";
    script += "down left\nmove 300 390\n" + wait(2) + shot("held") + "up left\nmove 0 0\n" + wait(1);
    for (int stage = 0; stage < stageCount; ++stage) script += solveStage(stage) + wait(stage < 3 ? framesToPlay : framesToSettle);
    script += shot("ending");

    GameRun run;
    test::ProcessResult result = run.play(script);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const char* names[] = {"title", "title_hidden", "intro", "held", "ending"};
    for (const char* name : names)
        EXPECT_TRUE(testsupport::matchesGolden(std::string("game_") + name, pictureOf(run.shot(std::string(name) + ".bmp"))));
}

}  // namespace
