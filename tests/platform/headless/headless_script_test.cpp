// The headless script: parsing with line-numbered errors, and running it between frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/headless/script.h"
#include "platform/video/surface.h"
#include "platform/win32.h"
#include "platform/os/window.h"

namespace {

using Kind = platform::ScriptCommand::Kind;

std::string parseError(std::string_view text) {
    std::vector<platform::ScriptCommand> commands;
    std::string error;
    EXPECT_FALSE(platform::parseScript(text, commands, error)) << text;
    return error;
}

intptr_t quietProc(platform::Window* w, uint32_t m, uintptr_t wp, intptr_t lp) {
    return m == WM_CLOSE ? 0 : platform::defWindowProc(w, m, wp, lp);
}

// The program's loop in small: drain the queue, then run one frame that shows a picture.
struct Runner {
    platform::Surface frame;
    std::vector<platform::Message> messages;

    explicit Runner(std::string_view script) {
        platform::useHeadless();
        EXPECT_TRUE(platform::headless::loadScript(script));
        platform::createWindow({.title = "T", .proc = quietProc});
        frame.width = 4, frame.height = 2, frame.pitch = 8;
        frame.memory.assign(16, 0);
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            platform::Message m;
            while (platform::peekMessage(m)) messages.push_back(m);
            platform::backend().showFrame(frame);
        }
    }
    // What the script sent, in order, from the given message on (creation messages left out).
    std::vector<uint32_t> ids(uint32_t from = 0) const {
        std::vector<uint32_t> out;
        for (const platform::Message& m : messages)
            if (m.message != WM_MOVE && m.message != WM_ACTIVATEAPP) out.push_back(m.message);
        auto start = std::find(out.begin(), out.end(), from);
        return from == 0 ? out : std::vector<uint32_t>(start, out.end());
    }
};

}  // namespace

TEST(HeadlessScript, ParsesEveryCommandAndSkipsComments) {
    std::vector<platform::ScriptCommand> c;
    std::string error;
    ASSERT_TRUE(platform::parseScript(
        "# a stage\n\nwait 5\r\nmove 320 -4  # pointer\ndown left\nup right\nkey 0x1B down\n"
        "key a up\nshot out.bmp\nclose",
        c, error))
        << error;
    ASSERT_EQ(c.size(), 8u);
    EXPECT_EQ(c[0].kind, Kind::wait);
    EXPECT_EQ(c[0].a, 5);
    EXPECT_EQ(c[0].line, 3);
    EXPECT_EQ(c[1].kind, Kind::move);
    EXPECT_EQ(c[1].b, -4);
    EXPECT_EQ(c[2].kind, Kind::down);
    EXPECT_EQ(c[3].a, 1);
    EXPECT_EQ(c[4].a, VK_ESCAPE);
    EXPECT_TRUE(c[4].pressed);
    EXPECT_FALSE(c[5].pressed);
    EXPECT_EQ(c[6].file, "out.bmp");
    EXPECT_EQ(c[7].kind, Kind::close);
    EXPECT_EQ(c[7].line, 10);
}

TEST(HeadlessScript, BadLinesAreNamedByNumber) {
    EXPECT_EQ(parseError("wait 1\njump 3\n"), "script:2: unknown command 'jump'");
    EXPECT_EQ(parseError("wait\n"), "script:1: wait needs a frame count");
    EXPECT_EQ(parseError("\n\nwait -1"), "script:3: wait needs a frame count");
    EXPECT_EQ(parseError("wait 3x"), "script:1: wait needs a frame count");
    EXPECT_EQ(parseError("move 1"), "script:1: move needs X and Y");
    EXPECT_EQ(parseError("down middle"), "script:1: expected left or right");
    EXPECT_EQ(parseError("key escape"), "script:1: key needs NAME down|up");
    EXPECT_EQ(parseError("key bogus down"), "script:1: unknown key 'bogus'");
    EXPECT_EQ(parseError("close now"), "script:1: close takes nothing");
    EXPECT_EQ(parseError("Wait 1"), "script:1: unknown command 'Wait'");
}

TEST(HeadlessScript, OneInputCommandAFrameWaitsCountShownFramesThenTheWindowCloses) {
    Runner run("move 700 -5\nwait 3\ndown left\nup left\ndown left\nkey alt down\nkey f4 down\n");
    run.frames(1);
    EXPECT_EQ(run.ids(), (std::vector<uint32_t>{WM_SETCURSOR, WM_MOUSEMOVE}));
    EXPECT_EQ(run.messages.back().lParam, MAKELPARAM(639, 0)) << "clamped to the picture";
    run.frames(3);
    EXPECT_EQ(run.ids().size(), 2u) << "the wait holds the next command back";
    run.frames(3);
    EXPECT_EQ(run.ids(WM_LBUTTONDOWN),
              (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}));
    run.frames(3);
    EXPECT_EQ(run.ids(WM_SYSKEYDOWN), (std::vector<uint32_t>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_CLOSE}));
    EXPECT_TRUE(platform::headless::scriptFinished());
    EXPECT_FALSE(platform::headless::scriptFailed());
}

TEST(HeadlessScript, ShotWritesTheLastFrameAndFailsTheRunWhenItCannot) {
    std::string dir = std::filesystem::temp_directory_path() / "zutest-shot";
    std::filesystem::create_directories(dir);
    std::string file = dir + "/frame.bmp";
    std::filesystem::remove(file);
    Runner early("shot " + file + "\n");
    early.frames(1);
    EXPECT_TRUE(platform::headless::scriptFailed()) << "no frame had been shown";

    Runner run("wait 1\nshot " + file + "\nshot " + dir + "/missing/x.bmp\nmove 1 1\n");
    run.frames(3);
    EXPECT_EQ(std::filesystem::file_size(file), 54u + 4 * 3 * 2) << "4 x 2 pixels, 24-bit rows";
    EXPECT_TRUE(platform::headless::scriptFailed());
    EXPECT_EQ(run.ids(), (std::vector<uint32_t>{WM_CLOSE})) << "the run stops at the failure";
    std::filesystem::remove_all(dir);
}

TEST(HeadlessScript, InactiveWaitingLetsAWaitLapse) {
    Runner run("wait 100\nkey space down\n");
    run.frames(1);
    platform::waitMessage();
    platform::Message m;
    ASSERT_TRUE(platform::peekMessage(m));
    EXPECT_EQ(m.message, WM_KEYDOWN);
}
