// The real SDL program on a virtual X server: a real click on the title leads to the first
// stage intro, whose STAGE label then shows on the screen; music starts on a dummy audio device.
#include <gtest/gtest.h>

#include <unistd.h>

#include <vector>

#include "game/board_reader.h"
#include "support/process.h"
#include "x11/virtual_display.h"

namespace {

struct ScreenPoint { int x, y; };

bool bright(uint32_t rgb) { return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) > 320; }
bool dark(uint32_t rgb) { return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF) < 200; }

// Points inside the STAGE word (3 x 3 blocks bright in the intro, dark on the title) mapped onto
// a 1366 x 768 screen, where the 640 x 480 picture is scaled by 1.6 and starts at x = 171.
std::vector<ScreenPoint> stageWordPoints(const platform::Image& intro, const platform::Image& title) {
    std::vector<ScreenPoint> points;
    auto all = [](const platform::Image& image, int x, int y, bool (*test)(uint32_t)) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (!test(image.xrgb[size_t(y + dy) * image.width + x + dx])) return false;
        return true;
    };
    for (int y = 195; y < 285 && points.size() < 8; y += 3)
        for (int x = 192; x < 372 && points.size() < 8; x += 3)
            if (all(intro, x, y, bright) && all(title, x, y, dark))
                points.push_back({171 + x * 16 / 10, y * 16 / 10});
    return points;
}

TEST(GameX11, ARealClickOnTheTitleShowsTheStageLabel) {
    test::VirtualDisplay display;
    if (!display.start(1366, 768)) GTEST_SKIP() << "no X server could be started: " << display.whyNot();
    if (test::findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
    platform::Image intro, title;
    ASSERT_TRUE(boardreader::readImage(std::string(ZU_SOURCE_DIR) + "/tests/golden/game_intro.bmp", intro));
    ASSERT_TRUE(boardreader::readImage(std::string(ZU_SOURCE_DIR) + "/tests/golden/game_title.bmp", title));
    std::vector<ScreenPoint> label = stageWordPoints(intro, title);
    ASSERT_GE(label.size(), 4u);
    auto labelShown = [&] {
        for (ScreenPoint p : label) {
            int64_t rgb = display.pixel(p.x, p.y);
            if (rgb < 0 || !bright(uint32_t(rgb))) return false;
        }
        return true;
    };

    std::string dir = test::makeTempDir();
    test::ProcessSpec spec;
    spec.argv = {test::binaryDir() + "/tessora"};
    spec.env = {{"DISPLAY", display.name()}, {"SDL_AUDIODRIVER", "dummy"}, {"XDG_CONFIG_HOME", dir}, {"HOME", dir}};
    spec.unset = {"TESSORA_PLATFORM", "TESSORA_WINDOWED", "TESSORA_SCRIPT", "WAYLAND_DISPLAY"};
    spec.workDir = dir;
    test::Process game;
    ASSERT_TRUE(game.start(spec));
    ASSERT_TRUE(game.waitForOutput("sdl: renderer", 15000, true)) << game.err();
    usleep(1000 * 1000);  // the loading frame, then the title
    EXPECT_FALSE(labelShown());
    ASSERT_TRUE(test::xdotool(display, {"mousemove", "683", "600"}));
    // A player's click holds the button for a moment; the game polls the button once a frame.
    ASSERT_TRUE(test::xdotool(display, {"mousedown", "1", "sleep", "0.15", "mouseup", "1"}));
    bool shown = false;
    for (int i = 0; i < 160 && !shown; ++i) {
        usleep(25 * 1000);
        shown = labelShown();
    }
    EXPECT_TRUE(shown) << "no STAGE label after the click";
    ASSERT_TRUE(test::xdotool(display, {"key", "Escape"}));
    test::ProcessResult r = game.finish(15000);
    test::removeTree(dir);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err.find("messagebox"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Can't"), std::string::npos) << "the music must start on the dummy device\n" << r.err;
}

}  // namespace
