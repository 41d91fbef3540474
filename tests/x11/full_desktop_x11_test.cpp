// Alt+Enter on a bare X server (no window manager) at 1920 x 1080: the window really covers the
// display in full-desktop mode, the picture is laid out for the size the window has, and a real
// pointer lands on the picture pixel under it in both modes.
#include <gtest/gtest.h>

#include <unistd.h>

#include "x11/sdl_program.h"

namespace {

struct Layout {
    const char* mode;
    int32_t left, top, width;  // the picture's place on the screen; its height is 3/4 of width
};
// Full desktop: 1440 x 1080 between bars. Windowed: the largest whole multiple, 1280 x 960,
// centred, as no window manager moves it.
constexpr Layout fullDesktop{"full desktop", 240, 0, 1440}, windowed{"windowed", 320, 60, 1280};

// The screen point at the centre of a picture pixel.
int32_t onScreen(int32_t origin, int32_t width, int32_t p) { return origin + (2 * p + 1) * width / (2 * 640); }

class FullDesktopX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (!display.start(1920, 1080)) GTEST_SKIP() << "no X server could be started: " << display.whyNot();
        if (test::findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
        dir = test::makeTempDir();
    }
    void TearDown() override { test::removeTree(dir); }

    // The probe's frame is white inside a red one-pixel border; the corners show where it is.
    bool pictureIsAt(const Layout& l) {
        int32_t right = l.left + l.width - 1, bottom = l.top + l.width * 3 / 4 - 1;
        auto red = [](int64_t p) { return p >= 0 && (p >> 16) > 0xC0 && ((p >> 8) & 0xFF) < 0x40; };
        for (int i = 0; i < 100; ++i) {
            if (red(display.pixel(l.left, l.top)) && red(display.pixel(right, bottom)) &&
                display.pixel(right + 1, bottom) != display.pixel(right, bottom))
                return true;
            usleep(50 * 1000);
        }
        return false;
    }
    void expectPointerMapping(test::Process& probe, const Layout& l) {
        const int32_t points[][2] = {{0, 0}, {160, 120}, {639, 479}, {417, 33}};
        for (auto [px, py] : points) {
            int32_t sx = onScreen(l.left, l.width, px), sy = onScreen(l.top, l.width, py);
            size_t from = probe.out().size();
            ASSERT_TRUE(test::xdotool(display, {"mousemove", std::to_string(sx), std::to_string(sy)}));
            std::string expected = "WM_MOUSEMOVE " + std::to_string(px) + " " + std::to_string(py) + "\n";
            EXPECT_TRUE(test::waitForOutputAfter(probe, from, expected, 5000))
                << l.mode << ": screen " << sx << "," << sy << " must land on " << expected << probe.out().substr(from);
        }
    }
    bool screenBecomes(const std::vector<uint32_t>& wanted) {
        for (int i = 0; i < 100; ++i) {
            if (display.screenshot() == wanted) return true;
            usleep(50 * 1000);
        }
        return false;
    }

    test::VirtualDisplay display;
    std::string dir;
};

}  // namespace

TEST_F(FullDesktopX11, AltEnterTwiceWithoutAWindowManagerGivesBackTheSameFrameAndPointer) {
    test::Process probe;
    ASSERT_TRUE(probe.start(test::sdlProgram(display, "zuprobe", dir)));
    ASSERT_TRUE(probe.waitForOutput("ready", 15000)) << probe.err();
    ASSERT_TRUE(pictureIsAt(fullDesktop)) << "the first frame covers the display's height";
    std::vector<uint32_t> first = display.screenshot();
    ASSERT_EQ(first.size(), size_t(1920 * 1080));
    expectPointerMapping(probe, fullDesktop);

    ASSERT_TRUE(test::xdotool(display, {"key", "alt+Return"}));
    EXPECT_TRUE(pictureIsAt(windowed)) << "the window and its picture shrink together";
    expectPointerMapping(probe, windowed);

    ASSERT_TRUE(test::xdotool(display, {"key", "alt+Return"}));
    EXPECT_TRUE(screenBecomes(first)) << "back in full desktop the screen is the first frame again";
    expectPointerMapping(probe, fullDesktop);

    ASSERT_TRUE(test::xdotool(display, {"key", "Escape"}));
    EXPECT_EQ(probe.finish(10000).exitCode, 0);
}
