// The game's window carries the program's icon resource: xprop reads _NET_WM_ICON with the
// icon's size and its pixels, alpha included.
#include <gtest/gtest.h>

#include <sstream>
#include <unistd.h>

#include "game/game_run.h"
#include "x11/sdl_program.h"

namespace {

// The output of a tool run on the display; empty when it failed.
std::string runOn(const test::VirtualDisplay& display, std::vector<std::string> argv) {
    test::ProcessSpec spec;
    spec.argv = std::move(argv);
    spec.argv[0] = test::findProgram(spec.argv[0]);
    spec.env = {{"DISPLAY", display.name()}};
    spec.timeoutMs = 10000;
    test::ProcessResult r = test::runProcess(spec);
    return r.exitCode == 0 ? r.out : std::string();
}

}  // namespace

TEST(WindowIconX11, TheGameWindowShowsTheProgramIcon) {
    test::VirtualDisplay display;
    if (!display.start(1024, 768)) GTEST_SKIP() << "no X server could be started: " << display.whyNot();
    if (test::findProgram("xdotool").empty() || test::findProgram("xprop").empty())
        GTEST_SKIP() << "xdotool or xprop is not installed";
    platform::Image icon;
    icon = gamerun::readImage(test::binaryDir() + "/MAIN.BMP");
    ASSERT_GT(icon.width, 0);

    std::string dir = test::makeTempDir();
    test::Process game;
    ASSERT_TRUE(game.start(test::sdlProgram(display, "tessora", dir)));
    ASSERT_TRUE(game.waitForOutput("sdl: renderer", 15000, true)) << game.err();
    std::string window = runOn(display, {"xdotool", "search", "--name", "^TESSORA$"});
    ASSERT_FALSE(window.empty()) << "the game's window is found by its title";
    window = window.substr(0, window.find('\n'));

    // The icon follows the window's opening by a moment.
    std::string size = "Icon (" + std::to_string(icon.width) + " x " + std::to_string(icon.height) + ")", shown;
    for (int i = 0; i < 100 && shown.find(size) == std::string::npos; ++i, usleep(50 * 1000))
        shown = runOn(display, {"xprop", "-id", window, "_NET_WM_ICON"});
    EXPECT_NE(shown.find(size), std::string::npos) << size << " in " << shown;

    // "_NET_WM_ICON = width, height, pixel, pixel ..." with each pixel 0xAARRGGBB.
    std::string numbers = runOn(display, {"xprop", "-id", window, "-notype", "32c", "_NET_WM_ICON"});
    std::istringstream in(numbers.substr(numbers.find('=') + 1));
    std::vector<uint32_t> values;
    for (std::string item; std::getline(in, item, ',');) values.push_back(uint32_t(std::stoul(item)));
    std::vector<uint32_t> expected{uint32_t(icon.width), uint32_t(icon.height)};
    expected.insert(expected.end(), icon.xrgb.begin(), icon.xrgb.end());
    EXPECT_EQ(values, expected) << "the icon's pixels with their alpha";

    game.finish(0);
    test::removeTree(dir);
}
