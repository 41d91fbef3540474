// The SDL programs on a private X server (Xvfb) at 1920 x 1080 without a window manager, where 640 x 480
// shows as 1440 x 1080 between bars in full-desktop mode and as 1280 x 960 in a window: the probe's pointer
// mapping through real X events, bars, Alt+Enter and F12; the game's error box, icon, title, STAGE label and
// music through real keys and clicks; a MIDI file's end reaching the probe's window procedure.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>

#include "game/game_run.h"
#include "platform/sdl/message_box_view.h"
#include "platform/video/image_write.h"
#include "platform/win32.h"
#include "support/midi_writer.h"
#include "support/process.h"
#include "support/wav_writer.h"

// Last: Xlib's macros (Status, None, Bool) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

namespace fs = std::filesystem;

// The picture's place on the screen: its left, top and width there, and its own size in pixels.
struct Layout {
    const char* mode;
    int32_t left, top, width, pictureWidth = 640, pictureHeight = 480;
    // The screen point at the centre of a picture pixel.
    platform::Point onScreen(int32_t px, int32_t py) const {
        return {left + (2 * px + 1) * width / (2 * pictureWidth), top + (2 * py + 1) * width / (2 * pictureWidth)};
    }
};
// Full desktop: 1440 x 1080 between bars. Windowed: the largest whole multiple, 1280 x 960,
// centred, as no window manager moves it.
constexpr Layout fullDesktop{"full desktop", 240, 0, 1440}, windowed{"windowed", 320, 60, 1280};
// Corners, the middle and the point a click follows.
const std::initializer_list<std::pair<int32_t, int32_t>> probePoints = {{0, 0}, {160, 120}, {639, 479}, {417, 33}};

bool bright(uint32_t rgb) { return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) > 320; }

// Screen points of a picture's word: 3 x 3 blocks in the area, bright there and dark in the other.
std::vector<platform::Point> wordPoints(const platform::Image& shown, const platform::Image& other,
                                        platform::Rect area) {
    auto dark = [](uint32_t rgb) { return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF) < 200; };
    auto all = [](const platform::Image& image, int x, int y, bool (*test)(uint32_t)) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (!test(image.xrgb[size_t(y + dy) * image.width + x + dx])) return false;
        return true;
    };
    std::vector<platform::Point> points;
    for (int y = area.top; y < area.bottom && points.size() < 8; y += 3)
        for (int x = area.left; x < area.right && points.size() < 8; x += 3)
            if (all(shown, x, y, bright) && all(other, x, y, dark)) points.push_back(fullDesktop.onScreen(x, y));
    return points;
}

// One X server (Xvfb, on a display number it picks itself) for the suite; each test has a folder
// of its own for settings and pictures.
class SdlX11 : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = std::make_unique<test::Process>();
        if (server->start({.argv = {"/usr/bin/env", "Xvfb", "-displayfd", "1", "-screen", "0", "1920x1080x24", "-nolisten", "tcp"}}) &&
            server->waitForOutput("\n", 15000))
            display = ":" + server->out().substr(0, server->out().find('\n'));
    }
    static void TearDownTestSuite() { server.reset(); }
    void SetUp() override {
        if (display.empty()) GTEST_SKIP() << "no X server (Xvfb) could be started: " << server->err();
        if (!run({"xdotool", "version"}) || !run({"xprop", "-version"})) GTEST_SKIP() << "xdotool or xprop is missing";
        dir = test::makeTempDir();
    }
    void TearDown() override { test::removeTree(dir); }

    // An area's pixels (by default the whole screen's) as 0xRRGGBB; empty when they cannot be read.
    static std::vector<uint32_t> screenshot(int x = 0, int y = 0, int width = 1920, int height = 1080) {
        std::vector<uint32_t> pixels;
        Display* d = XOpenDisplay(display.c_str());
        XImage* image = d ? XGetImage(d, DefaultRootWindow(d), x, y, width, height, AllPlanes, ZPixmap) : nullptr;
        for (int row = 0; image && row < height; ++row)
            for (int column = 0; column < width; ++column)
                pixels.push_back(uint32_t(XGetPixel(image, column, row) & 0xFFFFFF));
        if (image) XDestroyImage(image);
        if (d) XCloseDisplay(d);
        return pixels;
    }
    static int64_t pixel(int x, int y) { const auto p = screenshot(x, y, 1, 1); return p.empty() ? -1 : p[0]; }  // -1: unreadable
    static std::optional<std::string> run(std::vector<std::string> argv) {
        argv.insert(argv.begin(), "/usr/bin/env");
        const test::ProcessResult r = test::runProcess({.argv = std::move(argv), .env = {{"DISPLAY", display}}, .timeoutMs = 10000});
        return r.exitCode == 0 ? std::optional(r.out) : std::nullopt;
    }
    // A program of the build (or the path given) with silent audio, none of the headless switches and
    // not SDL's dummy video driver, which SDL tests earlier in this process leave set.
    test::ProcessSpec program(const std::string& name) const {
        return {.argv = {name.find('/') == std::string::npos ? test::binaryDir() + "/" + name : name},
                .env = {{"DISPLAY", display}, {"SDL_AUDIODRIVER", "dummy"},
                        {"XDG_CONFIG_HOME", dir + "/config"}, {"XDG_PICTURES_DIR", dir}, {"HOME", dir}},
                .unset = {"SDL_VIDEODRIVER", "WAYLAND_DISPLAY", "ZU_PLATFORM", "TESSORA_PLATFORM", "ZU_WINDOWED",
                          "TESSORA_WINDOWED", "ZU_SCRIPT", "TESSORA_SCRIPT"},
                .workDir = dir};
    }
    static bool moveTo(platform::Point p) { return run({"xdotool", "mousemove", std::to_string(p.x), std::to_string(p.y)}).has_value(); }
    static bool outputAfter(test::Process& p, size_t from, const std::string& text, bool inError = false) {
        return test::eventually([&] {
            p.waitForOutput("\x01", 10, inError);  // reads what came; the text never does
            return (inError ? p.err() : p.out()).find(text, from) != std::string::npos;
        });
    }
    // Every point passes the test once, not necessarily at the same time: a scene may end before
    // its opening blinds do.
    static bool shows(std::vector<platform::Point> unseen, bool (*test)(uint32_t)) {
        return test::eventually([&] {
            std::erase_if(unseen, [&](platform::Point p) { const int64_t rgb = pixel(p.x, p.y); return rgb >= 0 && test(uint32_t(rgb)); });
            return unseen.empty();
        });
    }
    // The probe's frame is white inside a red one-pixel border; the corners show where it is.
    static bool pictureIsAt(const Layout& l) {
        int32_t right = l.left + l.width - 1, bottom = l.top + l.width * l.pictureHeight / l.pictureWidth - 1;
        auto red = [](int64_t p) { return p >= 0 && (p >> 16) > 0xC0 && ((p >> 8) & 0xFF) < 0x40; };
        return test::eventually([&] {
            return red(pixel(l.left, l.top)) && red(pixel(right, bottom)) &&
                   pixel(right + 1, bottom) != pixel(right, bottom);
        });
    }
    static void expectPointerMapping(test::Process& probe, const Layout& l,
                                     std::initializer_list<std::pair<int32_t, int32_t>> points) {
        for (auto [px, py] : points) {
            platform::Point at = l.onScreen(px, py);
            size_t from = probe.out().size();
            ASSERT_TRUE(moveTo(at));
            std::string expected = "WM_MOUSEMOVE " + std::to_string(px) + " " + std::to_string(py) + "\n";
            EXPECT_TRUE(outputAfter(probe, from, expected))
                << l.mode << ": screen " << at.x << "," << at.y << " must land on " << expected << probe.out().substr(from);
        }
    }
    // A press can come before the window takes keys; a player would press again.
    static test::ProcessResult quitWithEscape(test::Process& program) {
        for (int tries = 0; tries < 10 && (tries == 0 || !program.exitsWithin(1000)); ++tries)
            EXPECT_TRUE(run({"xdotool", "key", "Escape"}));
        return program.finish(30000);
    }

    static inline std::unique_ptr<test::Process> server;
    static inline std::string display;
    std::string dir;
};

TEST_F(SdlX11, ProbeMapsARealPointerInBothModesAndAltEnterTwiceGivesBackTheSameFrame) {
    test::Process probe;
    ASSERT_TRUE(probe.start(program("zuprobe")));
    ASSERT_TRUE(probe.waitForOutput("ready", 15000)) << probe.err();
    ASSERT_TRUE(pictureIsAt(fullDesktop)) << "the first frame covers the display's height";
    const std::vector<uint32_t> first = screenshot();
    ASSERT_EQ(first.size(), size_t(1920 * 1080));
    // The picture's white middle, give or take the rounding of 16-bit channels, between black bars.
    const uint32_t middle = first[540 * 1920 + 960];
    EXPECT_TRUE((middle & 0xFF) >= 0xF7 && (middle >> 8 & 0xFF) >= 0xF7 && middle >> 16 >= 0xF7) << std::hex << middle;
    for (auto [x, y] : {std::pair(60, 540), {238, 540}, {1681, 540}, {1900, 100}})
        EXPECT_EQ(first[size_t(y) * 1920 + x], 0u) << "bar at " << x << "," << y;

    expectPointerMapping(probe, fullDesktop, probePoints);
    EXPECT_TRUE(probe.waitForOutput("WM_SETCURSOR", 5000));
    size_t from = probe.out().size();
    ASSERT_TRUE(run({"xdotool", "click", "1"}));  // where the mapping ended
    EXPECT_TRUE(outputAfter(probe, from, "WM_LBUTTONDOWN 417 33\nWM_LBUTTONUP 417 33\n")) << probe.out();
    from = probe.out().size();
    ASSERT_TRUE(moveTo({1900, fullDesktop.onScreen(0, 437).y}));
    EXPECT_TRUE(outputAfter(probe, from, "WM_MOUSEMOVE 639 437\n")) << "clamped over the bar\n" << probe.out();

    ASSERT_TRUE(run({"xdotool", "key", "alt+Return"}));
    EXPECT_TRUE(pictureIsAt(windowed)) << "the window and its picture shrink together";
    EXPECT_TRUE(probe.waitForOutput("WM_SYSKEYDOWN 0x0d\n", 5000)) << "the keys still arrive";
    EXPECT_EQ(gamerun::readFile(dir + "/config/zuprobe/windowed"), "1\n") << "windowed remembered";
    expectPointerMapping(probe, windowed, probePoints);
    ASSERT_TRUE(run({"xdotool", "key", "alt+Return"}));
    EXPECT_TRUE(test::eventually([&] { return screenshot() == first; }))
        << "back in full desktop the screen is the first frame again";
    expectPointerMapping(probe, fullDesktop, probePoints);

    ASSERT_TRUE(run({"xdotool", "key", "F12"}));
    ASSERT_TRUE(probe.waitForOutput("sdl: screenshot " + dir + "/tessora-", 5000, true)) << probe.err();
    size_t at = probe.err().find(dir + "/tessora-");
    std::string png = gamerun::readFile(probe.err().substr(at, probe.err().find('\n', at) - at));
    EXPECT_EQ(png.substr(0, 4), "\x89PNG");

    test::ProcessResult r = quitWithEscape(probe);
    EXPECT_EQ(r.exitCode, 0) << "the quit that follows WM_DESTROY\n" << r.err;
}

// A copy of the game without THEEND.BMP, which it loads at the start: its error box is drawn by
// the platform exactly as the box view paints it and a real Return closes it; the game goes on.
TEST_F(SdlX11, TheGameShowsItsBoxForAMissingPictureThenItsIconTitleAndStageLabelThroughRealInput) {
    platform::Image intro = gamerun::goldenImage("game_intro"), title = gamerun::goldenImage("game_title");
    platform::Image icon = gamerun::readImage(test::binaryDir() + "/MAIN.BMP");
    ASSERT_EQ(std::pair(intro.width, title.width), std::pair(640, 640));
    std::vector<platform::Point> label = wordPoints(intro, title, {192, 195, 372, 285});
    std::vector<platform::Point> name = wordPoints(title, intro, {125, 85, 515, 225});
    ASSERT_GE(std::min(label.size(), name.size()), 4u);
    fs::path folder = fs::path(dir) / "program", bin = test::binaryDir();
    fs::create_directories(folder / "BMP");
    fs::copy_file(bin / "tessora", folder / "tessora");
    fs::create_directory_symlink(bin / "SOUND", folder / "SOUND");
    fs::create_directory_symlink(bin / "MOD", folder / "MOD");
    for (const auto& picture : fs::directory_iterator(bin / "BMP"))
        if (picture.path().filename() != "THEEND.BMP")
            fs::create_symlink(picture.path(), folder / "BMP" / picture.path().filename());
    test::Process game;
    ASSERT_TRUE(game.start(program((folder / "tessora").string())));

    const std::string caption = reinterpret_cast<const char*>(u8"エラー発生");
    const std::string message = reinterpret_cast<const char*>(u8"BMPファイルを読み込めません");
    const std::string prefix = "messagebox: " + caption + ": ";
    ASSERT_TRUE(game.waitForOutput(message + "\n", 15000, true)) << game.err();
    size_t line = game.err().find(prefix);
    ASSERT_NE(line, std::string::npos) << game.err();
    std::string text = game.err().substr(line + prefix.size(), game.err().find('\n', line) - line - prefix.size());
    EXPECT_EQ(text, "zuDraw::LoadObject : " + message);
    platform::MessageBoxView view(text, caption, MB_SYSTEMMODAL | MB_ICONWARNING, 1, 1920);
    ASSERT_TRUE(view.drawn());
    const platform::Surface& box = view.picture();
    const std::vector<uint32_t> wanted = platform::surfacePixels(box);
    auto boxArea = [&] { return screenshot((1920 - box.width) / 2, (1080 - box.height) / 2, box.width, box.height); };
    test::eventually([&] { return boxArea() == wanted; });
    const std::string picture = test::binaryDir() + "/message_box_x11.png";
    platform::writePng(picture, 1920, 1080, screenshot().data());
    EXPECT_EQ(boxArea(), wanted) << "the box centred on the screen with its caption and text; see " << picture;
    size_t before = game.err().size();
    ASSERT_TRUE(run({"xdotool", "key", "Return"}));
    EXPECT_TRUE(outputAfter(game, before, "sdl: message box answered 1\n", true)) << game.err();
    EXPECT_TRUE(test::eventually([&] { return boxArea() != wanted; })) << "the box leaves the screen";

    std::string window = run({"xdotool", "search", "--name", "^TESSORA$"}).value_or("");
    ASSERT_FALSE(window.empty()) << "the game's window is found by its title";
    window = window.substr(0, window.find('\n'));
    // "_NET_WM_ICON = width, height, pixel, pixel ..." with each pixel 0xAARRGGBB, in decimal.
    std::string expected = "_NET_WM_ICON = " + std::to_string(icon.width) + ", " + std::to_string(icon.height);
    for (uint32_t argb : icon.xrgb) expected += ", " + std::to_string(argb);
    auto iconProperty = [&] { return run({"xprop", "-id", window, "-notype", "32c", "_NET_WM_ICON"}).value_or(""); };
    EXPECT_TRUE(test::eventually([&] { return iconProperty() == expected + "\n"; }))  // it follows the window by a moment
        << "the program's icon with its size and alpha:\n" << iconProperty();

    ASSERT_TRUE(shows(name, bright)) << "the title never showed";
    for (platform::Point p : label) {
        int64_t rgb = pixel(p.x, p.y);
        EXPECT_TRUE(rgb >= 0 && !bright(uint32_t(rgb))) << "a STAGE label on the title at " << p.x << "," << p.y;
    }
    ASSERT_TRUE(moveTo(fullDesktop.onScreen(320, 400)));
    // A player's click holds the button for a moment; the game polls it once a frame, so a press
    // and release drained before the same frame would go unseen on a slow (loaded) machine.
    ASSERT_TRUE(run({"xdotool", "mousedown", "1", "sleep", "0.5", "mouseup", "1"}));
    EXPECT_TRUE(shows(label, bright)) << "no STAGE label after the click";
    test::ProcessResult r = quitWithEscape(game);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err.find("messagebox", line + 1), std::string::npos) << "one box only\n" << r.err;
    EXPECT_EQ(r.err.find("Can't"), std::string::npos) << "the music must start on the dummy device\n" << r.err;
}

// The drawing core in a window at other sizes: the largest whole multiple that fits 1920 x 1080,
// centred; the whole picture is on screen and a real pointer lands on the pixel under it.
TEST_F(SdlX11, AWindowedScreenOfAnySizeShowsItsWholePictureAndMapsThePointer) {
    for (const Layout& l : {Layout{"800x600", 560, 240, 800, 800, 600}, Layout{"320x240", 320, 60, 1280, 320, 240}}) {
        SCOPED_TRACE(l.mode);
        test::ProcessSpec spec = program("zuprobe");
        spec.argv.insert(spec.argv.end(), {"screen", std::to_string(l.pictureWidth), std::to_string(l.pictureHeight)});
        spec.env.push_back({"ZU_WINDOWED", "1"});
        test::Process probe;
        ASSERT_TRUE(probe.start(spec));
        ASSERT_TRUE(probe.waitForOutput("ready", 15000)) << probe.err();
        EXPECT_NE(probe.out().find("screen primary " + std::string(l.mode) + " back " + l.mode), std::string::npos)
            << probe.out();
        EXPECT_TRUE(pictureIsAt(l)) << "the window is a whole multiple of the screen's size";
        const int32_t w = l.pictureWidth, h = l.pictureHeight;
        expectPointerMapping(probe, l, {{0, 0}, {w - 1, h - 1}, {w / 3, h / 2}});
        if (l.width == w) {  // the audio device closed under the program: it opens a new one and goes on
            const size_t errFrom = probe.err().size();
            ASSERT_TRUE(run({"xdotool", "key", "d"}));
            ASSERT_TRUE(probe.waitForOutput("pulled", 5000)) << probe.out();
            EXPECT_TRUE(outputAfter(probe, errFrom, "sdl: audio driver", true)) << probe.err().substr(errFrom);
            EXPECT_EQ(probe.err().find("messagebox", errFrom), std::string::npos);
        }
        EXPECT_EQ(quitWithEscape(probe).exitCode, 0);
    }
}

// The real SDL backend plays a MIDI file on SDL's dummy device; its end reaches the window procedure.
TEST_F(SdlX11, AMidiFileEndsWithItsNotificationAtTheWindowProcedure) {
    test::ProcessSpec spec = program("zuprobe");
    spec.argv.insert(spec.argv.end(), {"midi", dir + "/piece.mid"});  // a quarter of a second
    ASSERT_TRUE(test::writeBytes(spec.argv.back(), test::midiFile(0, 480, {test::MidiTrack().event(0, {0x90, 60, 100}).end(240)})));
    test::Process probe;
    ASSERT_TRUE(probe.start(spec));
    ASSERT_TRUE(probe.waitForOutput("midi open 0 play 0\n", 30000)) << probe.out() << probe.err();
    EXPECT_TRUE(probe.waitForOutput("MM_MCINOTIFY 1\n", 10000)) << probe.out() << probe.err();
    EXPECT_EQ(quitWithEscape(probe).exitCode, 0);
}

}  // namespace
