// The drawing core in a window at sizes other than 640 x 480 on a bare X server at 1366 x 768:
// the window is the largest whole multiple of the screen's size, centred, the whole picture is
// on it, and a real pointer lands on the picture pixel under it. Then the audio device is closed
// under the program, which carries on on a new one.
#include <gtest/gtest.h>

#include <unistd.h>

#include "x11/sdl_program.h"

namespace {

struct Case {
    int32_t width, height;
    int32_t scale, left, top;  // where the window lies on the 1366 x 768 screen
};
// 800 x 600 fits once, 320 x 240 three times (960 x 720).
constexpr Case cases[] = {{800, 600, 1, 283, 84}, {320, 240, 3, 203, 24}};

class ScreenSizeX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (!display.start(1366, 768)) GTEST_SKIP() << "no X server could be started: " << display.whyNot();
        if (test::findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
        dir = test::makeTempDir();
    }
    void TearDown() override { test::removeTree(dir); }

    test::ProcessSpec probeAt(const Case& c) const {
        test::ProcessSpec spec = test::sdlProgram(display, "zuprobe", dir);
        spec.argv.insert(spec.argv.end(), {"screen", std::to_string(c.width), std::to_string(c.height)});
        spec.env.push_back({"ZU_WINDOWED", "1"});
        return spec;
    }
    // The probe's picture is white inside a red one-pixel border: red at both corners, and the
    // screen beyond the bottom-right corner is no longer the picture.
    bool pictureIsAt(const Case& c) const {
        const int32_t right = c.left + c.width * c.scale - 1, bottom = c.top + c.height * c.scale - 1;
        auto red = [](int64_t p) { return p >= 0 && (p >> 16) > 0xC0 && ((p >> 8) & 0xFF) < 0x40; };
        for (int i = 0; i < 100; ++i) {
            if (red(display.pixel(c.left, c.top)) && red(display.pixel(right, bottom)) &&
                display.pixel(right + 1, bottom + 1) != display.pixel(right, bottom))
                return true;
            usleep(50 * 1000);
        }
        return false;
    }

    test::VirtualDisplay display;
    std::string dir;
};

}  // namespace

TEST_F(ScreenSizeX11, AWindowedScreenShowsItsWholePictureAndMapsThePointerOntoIt) {
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        test::Process probe;
        ASSERT_TRUE(probe.start(probeAt(c)));
        ASSERT_TRUE(probe.waitForOutput("ready", 15000)) << probe.err();
        const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        EXPECT_NE(probe.out().find("screen primary " + size + " back " + size), std::string::npos) << probe.out();
        EXPECT_TRUE(pictureIsAt(c)) << "the window is " << c.scale << " times the screen's size";

        const int32_t points[][2] = {{0, 0}, {c.width - 1, c.height - 1}, {c.width / 3, c.height / 2}};
        for (auto [px, py] : points) {
            const int32_t sx = c.left + px * c.scale + c.scale / 2, sy = c.top + py * c.scale + c.scale / 2;
            const size_t from = probe.out().size();
            ASSERT_TRUE(test::xdotool(display, {"mousemove", std::to_string(sx), std::to_string(sy)}));
            const std::string expected = "WM_MOUSEMOVE " + std::to_string(px) + " " + std::to_string(py) + "\n";
            EXPECT_TRUE(test::waitForOutputAfter(probe, from, expected, 5000))
                << "screen " << sx << "," << sy << " must land on " << expected << probe.out().substr(from);
        }
        ASSERT_TRUE(test::xdotool(display, {"key", "Escape"}));
        EXPECT_EQ(probe.finish(10000).exitCode, 0);
    }
}

TEST_F(ScreenSizeX11, TheProgramCarriesOnWhenItsAudioDeviceIsClosedUnderIt) {
    test::Process probe;
    ASSERT_TRUE(probe.start(probeAt(cases[0])));
    ASSERT_TRUE(probe.waitForOutput("ready", 15000)) << probe.err();
    ASSERT_TRUE(probe.err().find("sdl: audio driver") != std::string::npos) << "the screen opened the sound device";
    const size_t errFrom = probe.err().size();
    ASSERT_TRUE(test::xdotool(display, {"key", "d"}));
    ASSERT_TRUE(probe.waitForOutput("pulled", 5000)) << probe.out();
    EXPECT_TRUE(test::waitForOutputAfter(probe, errFrom, "sdl: audio driver", 5000, true))
        << "a new device is opened: " << probe.err().substr(errFrom);
    EXPECT_EQ(probe.err().find("messagebox", errFrom), std::string::npos);

    const size_t from = probe.out().size();
    ASSERT_TRUE(test::xdotool(display, {"key", "x"}));
    EXPECT_TRUE(test::waitForOutputAfter(probe, from, "WM_KEYDOWN 0x58", 5000)) << "still serving its window";
    ASSERT_TRUE(test::xdotool(display, {"key", "Escape"}));
    EXPECT_EQ(probe.finish(10000).exitCode, 0);
}
