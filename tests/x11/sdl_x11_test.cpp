// The SDL backend on a real (virtual) X server at 1366 x 768, a scale that is not whole:
// pointer mapping through real X events, the bars on screen, Alt+Enter, and the game's Escape.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "support/process.h"
#include "x11/virtual_display.h"

namespace {

class SdlX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (!display.start(1366, 768)) GTEST_SKIP() << "no X server could be started: " << display.whyNot();
        if (test::findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
        dir = test::makeTempDir();
    }
    void TearDown() override { test::removeTree(dir); }

    test::ProcessSpec sdlProgram(const std::string& name) const {
        test::ProcessSpec spec;
        spec.argv = {test::binaryDir() + "/" + name};
        spec.env = {{"DISPLAY", display.name()}, {"SDL_AUDIODRIVER", "dummy"},
                    {"XDG_CONFIG_HOME", dir + "/config"}, {"XDG_PICTURES_DIR", dir}, {"HOME", dir}};
        spec.unset = {"TESSORA_PLATFORM", "TESSORA_WINDOWED", "TESSORA_SCRIPT", "WAYLAND_DISPLAY"};
        spec.workDir = dir;
        return spec;
    }
    bool key(const std::string& k) { return test::xdotool(display, {"key", k}); }
    bool moveTo(int x, int y) {
        return test::xdotool(display, {"mousemove", std::to_string(x), std::to_string(y)});
    }
    // Polls the screen until the pixel has the colour, give or take the rounding of 16-bit
    // channels (frames arrive every few milliseconds).
    bool pixelBecomes(int x, int y, int64_t rgb) {
        auto near = [](int64_t a, int64_t b) {
            for (int shift : {0, 8, 16})
                if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > 8) return false;
            return a >= 0;
        };
        for (int i = 0; i < 100; ++i) {
            if (near(display.pixel(x, y), rgb)) return true;
            usleep(50 * 1000);
        }
        return false;
    }

    test::VirtualDisplay display;
    std::string dir;
};

}  // namespace

TEST_F(SdlX11, ProbeMapsThePointerThroughTheBarsAndShowsThePictureBetweenThem) {
    test::Process probe;
    ASSERT_TRUE(probe.start(sdlProgram("zuprobe")));
    ASSERT_TRUE(probe.waitForOutput("ready", 15000)) << probe.err();
    EXPECT_NE(probe.err().find("sdl: renderer"), std::string::npos) << probe.err();

    // 640 x 480 at 1.6 lands on 171..1195 x 0..768.
    ASSERT_TRUE(moveTo(683, 384));
    EXPECT_TRUE(probe.waitForOutput("WM_SETCURSOR", 5000));
    EXPECT_TRUE(probe.waitForOutput("WM_MOUSEMOVE 320 240\n", 5000)) << probe.out();
    ASSERT_TRUE(moveTo(427, 192));
    EXPECT_TRUE(probe.waitForOutput("WM_MOUSEMOVE 160 120\n", 5000)) << probe.out();
    ASSERT_TRUE(test::xdotool(display, {"click", "1"}));
    EXPECT_TRUE(probe.waitForOutput("WM_LBUTTONDOWN 160 120\nWM_LBUTTONUP 160 120\n", 5000)) << probe.out();
    ASSERT_TRUE(moveTo(1300, 700));
    EXPECT_TRUE(probe.waitForOutput("WM_MOUSEMOVE 639 437\n", 5000)) << "clamped over the bar\n" << probe.out();

    EXPECT_TRUE(pixelBecomes(683, 384, 0xFFFFFF)) << "the picture's white middle, not " << std::hex << display.pixel(683, 384);
    EXPECT_EQ(display.pixel(60, 384), 0) << "left bar";
    EXPECT_EQ(display.pixel(1300, 100), 0) << "right bar";
    EXPECT_EQ(display.pixel(169, 384), 0) << "bar up to the picture";
    int64_t edge = display.pixel(172, 384);
    EXPECT_GT(edge >> 16, (edge >> 8) & 0xFF) << "the red frame at the picture's edge";

    ASSERT_TRUE(key("alt+Return"));
    EXPECT_TRUE(probe.waitForOutput("WM_SYSKEYDOWN 0x0d\n", 5000)) << "the keys still arrive";
    std::ifstream remembered(dir + "/config/zuprobe/windowed");
    std::string choice;
    EXPECT_TRUE(std::getline(remembered, choice));
    EXPECT_EQ(choice, "1");

    ASSERT_TRUE(key("F12"));
    ASSERT_TRUE(probe.waitForOutput("sdl: screenshot " + dir + "/tessora-", 5000, true)) << probe.err();
    size_t at = probe.err().find(dir + "/tessora-");
    std::ifstream png(probe.err().substr(at, probe.err().find('\n', at) - at), std::ios::binary);
    char magic[4] = {};
    png.read(magic, 4);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");

    ASSERT_TRUE(key("Escape"));
    test::ProcessResult r = probe.finish(10000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("WM_DESTROY"), std::string::npos);
}

TEST_F(SdlX11, TheGameOpensItsWindowAndQuitsOnARealEscapeKey) {
    test::Process game;
    ASSERT_TRUE(game.start(sdlProgram("tessora")));
    ASSERT_TRUE(game.waitForOutput("sdl: renderer", 15000, true)) << "exit " << game.finish(0).exitCode << ": " << game.err();
    // The first press can come before the window takes keys; a player would press again.
    ASSERT_TRUE(moveTo(683, 384));
    for (int tries = 0; tries < 10 && (tries == 0 || !game.exitsWithin(1000)); ++tries)
        ASSERT_TRUE(key("Escape"));
    test::ProcessResult r = game.finish(15000);
    EXPECT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
}
