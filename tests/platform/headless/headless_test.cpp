// The headless backend: its clock, frames, audio and boxes (and the stand-in's boxes), and its
// script, parsed with line-numbered errors and run between frames (commands joined by ';' before
// the same frame); and the real program run
// headless through its script, ending once, bad scripts stopping it. (A second copy handing the
// first a front request is proven by the framework's instance-guard test.)
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <tuple>
#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/headless/script.h"
#include "platform/os/clock.h"
#include "platform/os/window.h"
#include "platform/video/surface.h"
#include "platform/win32.h"
#include "support/process.h"

using namespace platform;

namespace {

// The program's loop in small: drain the queue, then run one frame that shows a picture.
struct Runner {
    Surface frame{.width = 4, .height = 2, .pitch = 8, .memory = std::vector<uint8_t>(16)};
    std::vector<Message> messages;

    explicit Runner(std::string_view script) {
        useHeadless();
        EXPECT_TRUE(headless::loadScript(script));
        createWindow({.title = "T", .proc = [](Window* w, uint32_t m, uintptr_t wp, intptr_t lp) {
                          return m == WM_CLOSE ? 0 : defWindowProc(w, m, wp, lp);
                      }});
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

TEST(HeadlessScript, ParsesEveryCommandSkipsCommentsAndNamesBadLinesByNumber) {
    std::vector<ScriptCommand> c;
    std::string error;
    ASSERT_TRUE(parseScript("# a stage\n\nwait 5\r\nmove 320 -4  # pointer\ndown left\nup right\n"
                            "key 0x1B down\nkey a up\nshot out.bmp\nclose\njoy 1 connect\njoy 0 y 65535\njoy 1 button 32 down",
                            c, error))
        << error;
    using K = ScriptCommand::Kind;
    using Row = std::tuple<K, int32_t, int32_t, int32_t, bool, std::string>;  // kind, line, a, b
    std::vector<Row> got;
    for (const ScriptCommand& s : c) got.emplace_back(s.kind, s.line, s.a, s.b, s.pressed, s.file);
    EXPECT_EQ(got, (std::vector<Row>{{K::wait, 3, 5, 0, false, ""},   {K::move, 4, 320, -4, false, ""},
                                     {K::down, 5, 0, 0, false, ""},   {K::up, 6, 1, 0, false, ""},
                                     {K::key, 7, VK_ESCAPE, 0, true, ""}, {K::key, 8, 'A', 0, false, ""},
                                     {K::shot, 9, 0, 0, false, "out.bmp"}, {K::close, 10, 0, 0, false, ""},
                                     {K::joyConnect, 11, 1, 0, false, ""}, {K::joyY, 12, 0, 65535, false, ""},
                                     {K::joyButton, 13, 1, 32, true, ""}}));

    const std::pair<const char*, const char*> cases[] = {
        {"wait\n", "script:1: wait needs a frame count"},
        {"\n\nwait -1", "script:3: wait needs a frame count"},
        {"wait 3x", "script:1: wait needs a frame count"},
        {"move 1", "script:1: move needs X and Y"},
        {"down middle", "script:1: expected left or right"},
        {"key escape", "script:1: key needs NAME down|up"},
        {"key bogus down", "script:1: unknown key 'bogus'"},
        {"close now", "script:1: close takes nothing"},
        {"Wait 1", "script:1: unknown command 'Wait'"},
        {"joy 2 connect", "script:1: joy needs an id 0 or 1"}, {"joy 0 button 0 up", "script:1: joy N button needs B (1 to 32) down|up"},
        {"joy 0 z 5", "script:1: joy N needs connect, disconnect, x, y or button"}};
    for (const auto& [text, message] : cases) {
        std::vector<ScriptCommand> commands;
        std::string error;
        EXPECT_FALSE(parseScript(text, commands, error)) << text;
        EXPECT_EQ(error, message);
    }
}

TEST(HeadlessScript, OneInputCommandAFrameWaitsCountShownFramesOrLapseWhenInactiveThenTheWindowCloses) {
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
    EXPECT_EQ(std::pair(headless::scriptFinished(), headless::scriptFailed()), std::pair(true, false));

    // Waiting for a message, as an inactive program does, lets a wait lapse.
    Runner idle("wait 100\nkey space down\n");
    idle.frames(1);
    waitMessage();
    Message m;
    ASSERT_TRUE(peekMessage(m));
    EXPECT_EQ(m.message, WM_KEYDOWN);
}

// What a shot writes is read back by every golden picture of the game.
TEST(HeadlessScript, AShotFailsTheRunBeforeAnyFrameOrWhenItCannotWrite) {
    const std::string dir = test::makeTempDir();
    Runner early("shot " + dir + "/frame.bmp\n");
    early.frames(1);
    EXPECT_TRUE(headless::scriptFailed()) << "no frame had been shown";

    Runner run("wait 1\nshot " + dir + "/missing/x.bmp\nmove 1 1\n");
    run.frames(3);
    EXPECT_TRUE(headless::scriptFailed());
    EXPECT_EQ(run.ids(), (std::vector<uint32_t>{WM_CLOSE})) << "the run stops at the failure";
    test::removeTree(dir);
}

TEST(HeadlessScript, CommandsJoinedBySemicolonsParseInOrderAndArriveBeforeTheSameFrame) {
    using K = ScriptCommand::Kind;
    std::vector<ScriptCommand> c;
    std::string error;
    ASSERT_TRUE(parseScript("move 1 2\ndown left;up left ; key escape down # a tap\n", c, error)) << error;
    std::vector<std::tuple<K, bool, int32_t>> got;  // kind, joined to the command before, line
    for (const ScriptCommand& s : c) got.emplace_back(s.kind, s.sameFrame, s.line);
    EXPECT_EQ(got, (decltype(got){{K::move, false, 1}, {K::down, false, 2}, {K::up, true, 2}, {K::key, true, 2}}));
    for (const char* bad : {"down left;\n", "; up left\n", "down left;; up left\n"}) {
        EXPECT_FALSE(parseScript(bad, c, error)) << bad;
        EXPECT_EQ(error, "script:1: empty command beside ';'") << bad;
    }
    EXPECT_FALSE(parseScript("down left; jump\n", c, error));
    EXPECT_EQ(error, "script:1: unknown command 'jump'");

    Runner run("down left; up left\ndown right\n");
    run.frames(1);
    EXPECT_EQ(run.ids(), (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    run.frames(1);
    EXPECT_EQ(run.ids(), (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN}));
}

TEST(HeadlessBackend, BoxesAreAnsweredAsToldAndEachShownFrameMovesTheClockAndRendersItsShareOfAudio) {
    installBackend(nullptr);  // the stand-in serving until a backend is installed
    EXPECT_EQ(std::pair(backend().messageBox("a", "b", MB_YESNO), backend().messageBox("a", "b", MB_OK)), std::pair(IDYES, IDOK));
    useHeadless();  // its log, count and beeps are read throughout the framework's tests
    headless::setAnswerNo(true);
    EXPECT_EQ(std::pair(backend().messageBox("t", "c", MB_YESNO), backend().messageBox("t", "c", MB_OK)), std::pair(IDNO, IDOK));
    HeadlessOptions options;
    options.startTicks = 0xFFFFFFF0u, options.wallSeconds = 1234.0, options.frameMs = 16;
    useHeadless(options);
    EXPECT_EQ(std::pair(ticks(), wallSeconds()), std::pair(0xFFFFFFF0u, 1234.0));
    AudioSpec spec;  // 44100 Hz, stereo, 16 bits
    uint32_t filled = 0;
    ASSERT_TRUE(backend().openAudioDevice(spec, [&](uint8_t* out, uint32_t bytes) {
        std::fill(out, out + bytes, uint8_t(1));
        filled += bytes;
    }));
    headless::captureAudio(true);
    Surface frame;
    for (int i = 0; i < 5; ++i) backend().showFrame(frame);  // 80 ms of 705.6 audio frames each
    EXPECT_EQ(std::pair(ticks(), headless::framesShown()), std::pair(0x40u, 5u)) << "wrapped";
    EXPECT_EQ(std::pair(filled, uint32_t(headless::takeCapturedAudio().size())), std::pair(3528u * 4, 3528u * 4));
    EXPECT_EQ(headless::renderAudio(10).size(), 40u);
    EXPECT_EQ(filled, 3538u * 4);
    sleepUntil(0xFFFFFFF8u);
    EXPECT_EQ(ticks(), 0x40u) << "a tick in the past does not move the clock back";
    sleepUntil(0x60);
    EXPECT_EQ(ticks(), 0x60u);

    backend().closeAudioDevice();
    EXPECT_TRUE(headless::renderAudio(10).empty());
    headless::removeAudioDevice(true);
    EXPECT_FALSE(backend().openAudioDevice(spec, [](uint8_t*, uint32_t) {}));
    HeadlessOptions none;
    none.audio = false;
    useHeadless(none);
    EXPECT_FALSE(backend().openAudioDevice(spec, [](uint8_t*, uint32_t) {}));
}

TEST(HeadlessE2E, ScriptsEndTheProgramOnceAndBadOnesStopItWithStatus2) {
    struct Row { const char* script; const char* platform; int exitCode; const char* error; int closings; };
    const Row rows[] = {
        {"wait 5\nclose\n", "headless", 0, "", 1},
        {"", "headless", 0, "", 1},
        {"# start\nwait 2\njump 3 4\n", "headless", 2, "script:3: unknown command 'jump'", 0},
        {"wait 3\nshot no/such/folder/frame.bmp\nwait 100\n", "headless", 2, "script:2: cannot write", 1},
        {"close\n", "mainframe", 2, "TESSORA_PLATFORM", 0},
        {nullptr, "headless", 2, "script:0: cannot read", 0},  // no script file
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.script ? row.script : "(none)");
        std::string dir = test::makeTempDir();
        if (row.script) std::ofstream(dir + "/script.txt") << row.script;
        test::ProcessSpec spec;
        spec.argv = {test::binaryDir() + "/tessora"};
        spec.env = {{"TESSORA_PLATFORM", row.platform}, {"TESSORA_SCRIPT", dir + "/script.txt"},
                    {"XDG_CONFIG_HOME", dir + "/config"}, {"HOME", dir}};
        spec.unset = {"TESSORA_AUDIO", "TESSORA_ANSWER", "TESSORA_FRAME_MS", "DISPLAY"};
        spec.workDir = dir;
        test::ProcessResult r = test::runProcess(spec);
        int closings = 0;
        for (size_t at = 0; (at = r.err.find("headless: window closed", at)) != std::string::npos; ++at) ++closings;
        EXPECT_EQ(r.exitCode, row.exitCode) << r.err;
        EXPECT_NE(r.err.find(row.error), std::string::npos) << r.err;
        EXPECT_EQ(closings, row.closings) << r.err;
        EXPECT_TRUE(row.exitCode != 0 || r.seconds < 2.0) << "a quit ends the program at once: " << r.seconds;
        test::removeTree(dir);
    }
}
