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

// Points of a picture's word (3 x 3 blocks bright there, dark in the other picture) in the given
// rectangle, mapped onto a 1366 x 768 screen, where 640 x 480 is scaled by 1.6 from x = 171.
std::vector<ScreenPoint> wordPoints(const platform::Image& shown, const platform::Image& other, platform::Rect area) {
    std::vector<ScreenPoint> points;
    auto all = [](const platform::Image& image, int x, int y, bool (*test)(uint32_t)) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (!test(image.xrgb[size_t(y + dy) * image.width + x + dx])) return false;
        return true;
    };
    for (int y = area.top; y < area.bottom && points.size() < 8; y += 3)
        for (int x = area.left; x < area.right && points.size() < 8; x += 3)
            if (all(shown, x, y, bright) && all(other, x, y, dark))
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
    std::vector<ScreenPoint> label = wordPoints(intro, title, {192, 195, 372, 285});
    std::vector<ScreenPoint> name = wordPoints(title, intro, {125, 85, 515, 225});
    ASSERT_GE(label.size(), 4u);
    ASSERT_GE(name.size(), 4u);
    auto shows = [&](const std::vector<ScreenPoint>& points) {
        for (ScreenPoint p : points) {
            int64_t rgb = display.pixel(p.x, p.y);
            if (rgb < 0 || !bright(uint32_t(rgb))) return false;
        }
        return true;
    };
    // Frames come slowly on a loaded machine, where the intro may end before its opening blinds
    // do: poll for up to ten seconds and count a point once it has shown.
    auto becomes = [&](const std::vector<ScreenPoint>& points) {
        std::vector<bool> seen(points.size());
        for (int i = 0; i < 400; ++i) {
            bool all = true;
            for (size_t p = 0; p < points.size(); ++p) {
                int64_t rgb = seen[p] ? 0 : display.pixel(points[p].x, points[p].y);
                seen[p] = seen[p] || (rgb >= 0 && bright(uint32_t(rgb)));
                all = all && seen[p];
            }
            if (all) return true;
            usleep(25 * 1000);
        }
        return false;
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
    ASSERT_TRUE(becomes(name)) << "the title never showed";
    EXPECT_FALSE(shows(label));
    ASSERT_TRUE(test::xdotool(display, {"mousemove", "683", "600"}));
    // A player's click holds the button for a moment; the game polls it once a frame, so a press
    // and release drained before the same frame would go unseen on a slow (loaded) machine.
    ASSERT_TRUE(test::xdotool(display, {"mousedown", "1", "sleep", "0.5", "mouseup", "1"}));
    EXPECT_TRUE(becomes(label)) << "no STAGE label after the click";
    ASSERT_TRUE(test::xdotool(display, {"key", "Escape"}));
    test::ProcessResult r = game.finish(30000);
    test::removeTree(dir);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err.find("messagebox"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Can't"), std::string::npos) << "the music must start on the dummy device\n" << r.err;
}

}  // namespace
