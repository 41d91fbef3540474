// Script commands joined by ';': parsed in order (an empty one named as an error), marked as
// arriving with the command before, and run before the same frame.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/headless/script.h"
#include "platform/os/window.h"
#include "platform/video/surface.h"
#include "platform/win32.h"

namespace {

TEST(HeadlessJoined, CommandsJoinedBySemicolonsParseInOrderAndArriveBeforeTheSameFrame) {
    using K = platform::ScriptCommand::Kind;
    std::vector<platform::ScriptCommand> c;
    std::string error;
    ASSERT_TRUE(platform::parseScript("move 1 2\ndown left;up left ; key escape down # a tap\n", c, error)) << error;
    std::vector<std::tuple<K, bool, int32_t>> got;  // kind, joined to the command before, line
    for (const platform::ScriptCommand& s : c) got.emplace_back(s.kind, s.sameFrame, s.line);
    EXPECT_EQ(got, (decltype(got){{K::move, false, 1}, {K::down, false, 2}, {K::up, true, 2}, {K::key, true, 2}}));
    for (const char* bad : {"down left;\n", "; up left\n", "down left;; up left\n"}) {
        EXPECT_FALSE(platform::parseScript(bad, c, error)) << bad;
        EXPECT_EQ(error, "script:1: empty command beside ';'") << bad;
    }
    EXPECT_FALSE(platform::parseScript("down left; jump\n", c, error));
    EXPECT_EQ(error, "script:1: unknown command 'jump'");

    platform::useHeadless();
    ASSERT_TRUE(platform::headless::loadScript("down left; up left\ndown right\n"));
    platform::createWindow({.title = "T", .proc = platform::defWindowProc});  // messages are only read
    const platform::Surface frame{.width = 1, .height = 1, .pitch = 4, .memory = std::vector<uint8_t>(4)};
    std::vector<std::vector<uint32_t>> perFrame(2);
    for (std::vector<uint32_t>& ids : perFrame) {
        for (platform::Message m; platform::peekMessage(m);)
            if (m.message != WM_MOVE && m.message != WM_ACTIVATEAPP) ids.push_back(m.message);
        platform::backend().showFrame(frame);
    }
    EXPECT_EQ(perFrame, (decltype(perFrame){{WM_LBUTTONDOWN, WM_LBUTTONUP}, {WM_RBUTTONDOWN}}));
    platform::destroyWindow(platform::currentWindow());
}

}  // namespace
