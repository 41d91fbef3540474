// The headless script: parsing with line-numbered errors, and running it between frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>
#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/headless/script.h"
#include "platform/os/window.h"
#include "platform/video/surface.h"
#include "platform/win32.h"

using namespace platform;

namespace {

intptr_t quietProc(Window* w, uint32_t m, uintptr_t wp, intptr_t lp) {
    return m == WM_CLOSE ? 0 : defWindowProc(w, m, wp, lp);
}

// The program's loop in small: drain the queue, then run one frame that shows a picture.
struct Runner {
    Surface frame{.width = 4, .height = 2, .pitch = 8, .memory = std::vector<uint8_t>(16)};
    std::vector<Message> messages;

    explicit Runner(std::string_view script) {
        useHeadless();
        EXPECT_TRUE(headless::loadScript(script));
        createWindow({.title = "T", .proc = quietProc});
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            for (Message m; peekMessage(m);) messages.push_back(m);
            backend().showFrame(frame);
        }
    }
    // What the script sent, in order, from the first `from` on (creation messages left out).
    std::vector<uint32_t> ids(uint32_t from = 0) const {
        std::vector<uint32_t> out;
        for (const Message& m : messages)
            if (m.message != WM_MOVE && m.message != WM_ACTIVATEAPP) out.push_back(m.message);
        return {from ? std::find(out.begin(), out.end(), from) : out.begin(), out.end()};
    }
};

}  // namespace

TEST(HeadlessScript, ParsesEveryCommandAndSkipsComments) {
    std::vector<ScriptCommand> c;
    std::string error;
    ASSERT_TRUE(parseScript("# a stage\n\nwait 5\r\nmove 320 -4  # pointer\ndown left\nup right\n"
                            "key 0x1B down\nkey a up\nshot out.bmp\nclose",
                            c, error))
        << error;
    using K = ScriptCommand::Kind;
    using Row = std::tuple<K, int32_t, int32_t, int32_t, bool, std::string>;  // kind, line, a, b
    std::vector<Row> got;
    for (const ScriptCommand& s : c) got.emplace_back(s.kind, s.line, s.a, s.b, s.pressed, s.file);
    EXPECT_EQ(got, (std::vector<Row>{{K::wait, 3, 5, 0, false, ""},   {K::move, 4, 320, -4, false, ""},
                                     {K::down, 5, 0, 0, false, ""},   {K::up, 6, 1, 0, false, ""},
                                     {K::key, 7, VK_ESCAPE, 0, true, ""}, {K::key, 8, 'A', 0, false, ""},
                                     {K::shot, 9, 0, 0, false, "out.bmp"}, {K::close, 10, 0, 0, false, ""}}));
}

TEST(HeadlessScript, BadLinesAreNamedByNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"wait 1\njump 3\n", "script:2: unknown command 'jump'"},
        {"wait\n", "script:1: wait needs a frame count"},
        {"\n\nwait -1", "script:3: wait needs a frame count"},
        {"wait 3x", "script:1: wait needs a frame count"},
        {"move 1", "script:1: move needs X and Y"},
        {"down middle", "script:1: expected left or right"},
        {"key escape", "script:1: key needs NAME down|up"},
        {"key bogus down", "script:1: unknown key 'bogus'"},
        {"close now", "script:1: close takes nothing"},
        {"Wait 1", "script:1: unknown command 'Wait'"}};
    for (const auto& [text, message] : cases) {
        std::vector<ScriptCommand> commands;
        std::string error;
        EXPECT_FALSE(parseScript(text, commands, error)) << text;
        EXPECT_EQ(error, message);
    }
}

TEST(HeadlessScript, OneInputCommandAFrameWaitsCountShownFramesThenTheWindowCloses) {
    Runner run("move 700 -5\nwait 3\ndown left\nup left\ndown left\nkey alt down\nkey f4 down\n");
    run.frames(1);
    EXPECT_EQ(run.ids(), (std::vector<uint32_t>{WM_SETCURSOR, WM_MOUSEMOVE}));
    EXPECT_EQ(run.messages.back().lParam, MAKELPARAM(639, 0)) << "clamped to the picture";
    run.frames(3);
    EXPECT_EQ(run.ids().size(), 2u) << "the wait holds the next command back";
    run.frames(3);
    EXPECT_EQ(run.ids(WM_LBUTTONDOWN), (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}));
    run.frames(3);
    EXPECT_EQ(run.ids(WM_SYSKEYDOWN), (std::vector<uint32_t>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_CLOSE}));
    EXPECT_TRUE(headless::scriptFinished());
    EXPECT_FALSE(headless::scriptFailed());
}

TEST(HeadlessScript, ShotWritesTheLastFrameAndFailsTheRunWhenItCannot) {
    std::string dir = std::filesystem::temp_directory_path() / "zutest-shot";
    std::filesystem::create_directories(dir);
    std::string file = dir + "/frame.bmp";
    std::filesystem::remove(file);
    Runner early("shot " + file + "\n");
    early.frames(1);
    EXPECT_TRUE(headless::scriptFailed()) << "no frame had been shown";

    Runner run("wait 1\nshot " + file + "\nshot " + dir + "/missing/x.bmp\nmove 1 1\n");
    run.frames(3);
    EXPECT_EQ(std::filesystem::file_size(file), 54u + 4 * 3 * 2) << "4 x 2 pixels, 24-bit rows";
    EXPECT_TRUE(headless::scriptFailed());
    EXPECT_EQ(run.ids(), (std::vector<uint32_t>{WM_CLOSE})) << "the run stops at the failure";
    std::filesystem::remove_all(dir);
}

TEST(HeadlessScript, InactiveWaitingLetsAWaitLapse) {
    Runner run("wait 100\nkey space down\n");
    run.frames(1);
    waitMessage();
    Message m;
    ASSERT_TRUE(peekMessage(m));
    EXPECT_EQ(m.message, WM_KEYDOWN);
}
