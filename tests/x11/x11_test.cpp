// The SDL programs on a private X server (Xvfb) at 1366 x 768, where 640 x 480 is scaled by 1.6
// between bars from x = 171: the probe's pointer mapping through real X events, the bars on
// screen, Alt+Enter and F12; the game's title, a real click on it leading to the STAGE label, its
// music on the dummy audio device, and a real Escape ending it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <sstream>

#include "game/game_run.h"
#include "support/process.h"
#include "x11/virtual_display.h"

// Last: Xlib's macros (Status, None, Bool) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

class SdlX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
        if (!screen.start(1366, 768)) GTEST_SKIP() << screen.whyNot();
        display = screen.name();
        dir = test::makeTempDir();
    }
    void TearDown() override {
        if (!dir.empty()) test::removeTree(dir);
    }

    test::ProcessSpec sdlProgram(const std::string& name) const {
        test::ProcessSpec spec;
        spec.argv = {test::binaryDir() + "/" + name};
        spec.env = {{"DISPLAY", display}, {"SDL_AUDIODRIVER", "dummy"},
                    {"XDG_CONFIG_HOME", dir + "/config"}, {"XDG_PICTURES_DIR", dir}, {"HOME", dir}};
        spec.unset = {"TESSORA_PLATFORM", "TESSORA_WINDOWED", "TESSORA_SCRIPT", "WAYLAND_DISPLAY"};
        spec.workDir = dir;
        return spec;
    }
    bool xdotool(const std::vector<std::string>& args) const { return test::xdotool(screen, args); }
    bool moveTo(int x, int y) const { return xdotool({"mousemove", std::to_string(x), std::to_string(y)}); }
    int64_t pixel(int x, int y) const { return screen.pixel(x, y); }
    // Polls the screen for up to ten seconds until every point has passed the test once: frames
    // come slowly on a loaded machine, where a scene may end before its opening blinds do.
    bool shows(const std::vector<platform::Point>& points, const std::function<bool(uint32_t)>& test) const {
        std::vector<bool> seen(points.size());
        for (int i = 0; i < 400; ++i) {
            bool all = true;
            for (size_t p = 0; p < points.size(); ++p) {
                int64_t rgb = seen[p] ? 0 : pixel(points[p].x, points[p].y);
                seen[p] = seen[p] || (rgb >= 0 && test(uint32_t(rgb)));
                all = all && seen[p];
            }
            if (all) return true;
            usleep(25 * 1000);
        }
        return false;
    }

    test::VirtualDisplay screen;
    std::string display, dir;
};

bool bright(uint32_t rgb) { return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) > 320; }
bool dark(uint32_t rgb) { return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF) < 200; }

// Screen points of a picture's word: 3 x 3 blocks in the area, bright there and dark in the other.
std::vector<platform::Point> wordPoints(const platform::Image& shown, const platform::Image& other,
                                        platform::Rect area) {
    auto all = [](const platform::Image& image, int x, int y, bool (*test)(uint32_t)) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (!test(image.xrgb[size_t(y + dy) * image.width + x + dx])) return false;
        return true;
    };
    std::vector<platform::Point> points;
    for (int y = area.top; y < area.bottom && points.size() < 8; y += 3)
        for (int x = area.left; x < area.right && points.size() < 8; x += 3)
            if (all(shown, x, y, bright) && all(other, x, y, dark)) points.push_back({171 + x * 16 / 10, y * 16 / 10});
    return points;
}

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
    ASSERT_TRUE(xdotool({"click", "1"}));
    EXPECT_TRUE(probe.waitForOutput("WM_LBUTTONDOWN 160 120\nWM_LBUTTONUP 160 120\n", 5000)) << probe.out();
    ASSERT_TRUE(moveTo(1300, 700));
    EXPECT_TRUE(probe.waitForOutput("WM_MOUSEMOVE 639 437\n", 5000)) << "clamped over the bar\n" << probe.out();

    // The picture's white middle, give or take the rounding of 16-bit channels.
    auto white = [](uint32_t rgb) { return (rgb & 0xFF) >= 0xF7 && (rgb >> 8 & 0xFF) >= 0xF7 && rgb >> 16 >= 0xF7; };
    EXPECT_TRUE(shows({{683, 384}}, white)) << "not " << std::hex << pixel(683, 384);
    for (auto [x, y] : {std::pair(60, 384), {1300, 100}, {169, 384}}) EXPECT_EQ(pixel(x, y), 0) << "bar at " << x;
    int64_t edge = pixel(172, 384);
    EXPECT_GT(edge >> 16, (edge >> 8) & 0xFF) << "the red frame at the picture's edge";

    ASSERT_TRUE(xdotool({"key", "alt+Return"}));
    EXPECT_TRUE(probe.waitForOutput("WM_SYSKEYDOWN 0x0d\n", 5000)) << "the keys still arrive";
    EXPECT_EQ(gamerun::readFile(dir + "/config/zuprobe/windowed"), "1\n") << "windowed remembered";

    ASSERT_TRUE(xdotool({"key", "F12"}));
    ASSERT_TRUE(probe.waitForOutput("sdl: screenshot " + dir + "/tessora-", 5000, true)) << probe.err();
    size_t at = probe.err().find(dir + "/tessora-");
    std::string png = gamerun::readFile(probe.err().substr(at, probe.err().find('\n', at) - at));
    EXPECT_EQ(png.substr(0, 4), "\x89PNG");

    ASSERT_TRUE(xdotool({"key", "Escape"}));
    test::ProcessResult r = probe.finish(10000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("WM_DESTROY"), std::string::npos);
}

TEST_F(SdlX11, TheGameShowsTheStageLabelAfterARealClickAndQuitsOnARealEscape) {
    platform::Image intro = gamerun::goldenImage("game_intro"), title = gamerun::goldenImage("game_title");
    ASSERT_EQ(intro.width, 640);
    ASSERT_EQ(title.width, 640);
    std::vector<platform::Point> label = wordPoints(intro, title, {192, 195, 372, 285});
    std::vector<platform::Point> name = wordPoints(title, intro, {125, 85, 515, 225});
    ASSERT_GE(label.size(), 4u);
    ASSERT_GE(name.size(), 4u);

    test::Process game;
    ASSERT_TRUE(game.start(sdlProgram("tessora")));
    ASSERT_TRUE(game.waitForOutput("sdl: renderer", 15000, true)) << "exit " << game.finish(0).exitCode << ": " << game.err();
    ASSERT_TRUE(shows(name, bright)) << "the title never showed";
    for (platform::Point p : label) {
        int64_t rgb = pixel(p.x, p.y);
        EXPECT_TRUE(rgb >= 0 && !bright(uint32_t(rgb))) << "a STAGE label on the title at " << p.x << "," << p.y;
    }
    ASSERT_TRUE(moveTo(683, 600));
    // A player's click holds the button for a moment; the game polls it once a frame, so a press
    // and release drained before the same frame would go unseen on a slow (loaded) machine.
    ASSERT_TRUE(xdotool({"mousedown", "1", "sleep", "0.5", "mouseup", "1"}));
    EXPECT_TRUE(shows(label, bright)) << "no STAGE label after the click";
    // A press can come before the window takes keys; a player would press again.
    for (int tries = 0; tries < 10 && (tries == 0 || !game.exitsWithin(1000)); ++tries)
        ASSERT_TRUE(xdotool({"key", "Escape"}));
    test::ProcessResult r = game.finish(30000);
    EXPECT_FALSE(r.timedOut) << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err.find("messagebox"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Can't"), std::string::npos) << "the music must start on the dummy device\n" << r.err;
}

}  // namespace
