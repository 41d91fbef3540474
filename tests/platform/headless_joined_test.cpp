// Script commands joined by ';': parsed in order, marked as arriving with the command before,
// and run before the same frame.
#include <gtest/gtest.h>

#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/headless/script.h"
#include "platform/os/window.h"
#include "platform/video/surface.h"
#include "platform/win32.h"

namespace {

using Kind = platform::ScriptCommand::Kind;

TEST(HeadlessJoined, CommandsJoinedBySemicolonsParseInOrderAndEmptyOnesAreNamed) {
    std::vector<platform::ScriptCommand> c;
    std::string error;
    ASSERT_TRUE(platform::parseScript("move 1 2\ndown left;up left ; key escape down # a tap\n", c, error)) << error;
    ASSERT_EQ(c.size(), 4u);
    const Kind kinds[] = {Kind::move, Kind::down, Kind::up, Kind::key};
    const bool joined[] = {false, false, true, true};
    for (size_t i = 0; i < c.size(); ++i) {
        EXPECT_EQ(c[i].kind, kinds[i]) << i;
        EXPECT_EQ(c[i].sameFrame, joined[i]) << i;
        EXPECT_EQ(c[i].line, i == 0 ? 1 : 2) << i;
    }
    for (const char* bad : {"down left;\n", "; up left\n", "down left;; up left\n"}) {
        EXPECT_FALSE(platform::parseScript(bad, c, error)) << bad;
        EXPECT_EQ(error, "script:1: empty command beside ';'") << bad;
    }
    EXPECT_FALSE(platform::parseScript("down left; jump\n", c, error));
    EXPECT_EQ(error, "script:1: unknown command 'jump'");
}

intptr_t quietProc(platform::Window* w, uint32_t m, uintptr_t wp, intptr_t lp) {
    return m == WM_CLOSE ? 0 : platform::defWindowProc(w, m, wp, lp);
}

TEST(HeadlessJoined, JoinedCommandsArriveBeforeTheSameFrame) {
    platform::useHeadless();
    ASSERT_TRUE(platform::headless::loadScript("down left; up left\ndown right\n"));
    platform::createWindow({.title = "T", .proc = quietProc});
    platform::Surface frame;
    frame.width = 1, frame.height = 1, frame.pitch = 4;
    frame.memory.assign(4, 0);
    std::vector<std::vector<uint32_t>> perFrame;
    for (int i = 0; i < 2; ++i) {
        std::vector<uint32_t> ids;
        for (platform::Message m; platform::peekMessage(m);)
            if (m.message != WM_MOVE && m.message != WM_ACTIVATEAPP) ids.push_back(m.message);
        perFrame.push_back(ids);
        platform::backend().showFrame(frame);
    }
    EXPECT_EQ(perFrame[0], (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(perFrame[1], (std::vector<uint32_t>{WM_RBUTTONDOWN}));
    platform::destroyWindow(platform::currentWindow());
}

}  // namespace
