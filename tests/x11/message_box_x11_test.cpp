// The game's error box on a bare X server (no window manager): a missing picture shows its
// Japanese text and caption, drawn by the platform over the picture exactly as the box view
// paints it, and a real Return key closes it and the game goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "platform/sdl/message_box_view.h"
#include "platform/video/image_write.h"
#include "platform/win32.h"
#include "x11/sdl_program.h"

namespace {

namespace fs = std::filesystem;

std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// A copy of the game whose BMP folder lacks TITLE.BMP.
std::string gameWithoutTitlePicture(const std::string& dir) {
    fs::path folder = fs::path(dir) / "program", bin = test::binaryDir();
    fs::create_directories(folder / "BMP");
    fs::copy_file(bin / "tessora", folder / "tessora");
    fs::create_directory_symlink(bin / "SOUND", folder / "SOUND");
    fs::create_directory_symlink(bin / "MOD", folder / "MOD");
    for (const auto& picture : fs::directory_iterator(bin / "BMP"))
        if (picture.path().filename() != "TITLE.BMP")
            fs::create_symlink(picture.path(), folder / "BMP" / picture.path().filename());
    return (folder / "tessora").string();
}

std::vector<uint32_t> crop(const std::vector<uint32_t>& screen, int32_t screenWidth, platform::Rect r) {
    std::vector<uint32_t> out;
    if (screen.empty()) return out;
    for (int32_t y = r.top; y < r.bottom; ++y)
        out.insert(out.end(), screen.begin() + y * screenWidth + r.left, screen.begin() + y * screenWidth + r.right);
    return out;
}

}  // namespace

TEST(MessageBoxX11, AMissingPictureShowsItsJapaneseBoxAndARealReturnClosesIt) {
    test::VirtualDisplay display;
    if (!display.start(1920, 1080)) GTEST_SKIP() << "no X server could be started: " << display.whyNot();
    if (test::findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
    std::string dir = test::makeTempDir();
    test::Process game;
    ASSERT_TRUE(game.start(test::sdlProgram(display, gameWithoutTitlePicture(dir), dir)));

    const std::string caption = utf8(u8"エラー発生"), message = utf8(u8"BMPファイルを読み込めません");
    ASSERT_TRUE(game.waitForOutput(message + "\n", 15000, true)) << game.err();
    size_t line = game.err().find("messagebox: " + caption + ": ");
    ASSERT_NE(line, std::string::npos) << game.err();
    size_t textStart = line + std::string("messagebox: " + caption + ": ").size();
    std::string text = game.err().substr(textStart, game.err().find('\n', textStart) - textStart);
    EXPECT_EQ(text, "zuDraw::LoadObject : " + message);

    // The box as the view paints it, centred on the full-desktop window.
    platform::MessageBoxView view(text, caption, MB_SYSTEMMODAL | MB_ICONWARNING, 1, 1920);
    ASSERT_TRUE(view.drawn());
    const platform::Surface& box = view.picture();
    platform::Rect place{(1920 - box.width) / 2, (1080 - box.height) / 2, 0, 0};
    place.right = place.left + box.width, place.bottom = place.top + box.height;
    std::vector<uint32_t> wanted(box.width * box.height);
    for (int32_t y = 0; y < box.height; ++y)
        for (int32_t x = 0; x < box.width; ++x)
            wanted[size_t(y * box.width + x)] =
                reinterpret_cast<const uint32_t*>(box.memory.data() + y * box.pitch)[x] & 0xFFFFFF;
    std::vector<uint32_t> screen;
    for (int i = 0; i < 100 && crop(screen, 1920, place) != wanted; ++i, usleep(50 * 1000)) screen = display.screenshot();
    platform::writePng(test::binaryDir() + "/message_box_x11.png", 1920, 1080, screen.data());
    EXPECT_EQ(crop(screen, 1920, place), wanted)
        << "the screen shows the box with its caption and text; see " << test::binaryDir() << "/message_box_x11.png";

    size_t before = game.err().size();
    ASSERT_TRUE(test::xdotool(display, {"key", "Return"}));
    EXPECT_TRUE(test::waitForOutputAfter(game, before, "sdl: message box answered 1\n", 5000, true)) << game.err();
    bool gone = false;
    for (int i = 0; i < 100 && !gone; ++i, usleep(50 * 1000)) gone = crop(display.screenshot(), 1920, place) != wanted;
    EXPECT_TRUE(gone) << "the box leaves the screen";

    for (int tries = 0; tries < 10 && !game.exitsWithin(1000); ++tries) ASSERT_TRUE(test::xdotool(display, {"key", "Escape"}));
    test::ProcessResult r = game.finish(15000);
    EXPECT_EQ(r.exitCode, 0) << "the game went on after the box and quits on Escape: " << r.err;
    test::removeTree(dir);
}
