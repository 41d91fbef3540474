// The message queue: creation messages, key state changing on removal, destruction, defaults.
#include <gtest/gtest.h>

#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/win32.h"
#include "platform/os/window.h"

namespace {

std::vector<platform::Message> received;

intptr_t recordingProc(platform::Window* w, uint32_t m, uintptr_t wp, intptr_t lp) {
    received.push_back({w, m, wp, lp});
    return platform::defWindowProc(w, m, wp, lp);
}

platform::Window* freshWindow() {
    platform::useHeadless();
    received.clear();
    platform::WindowDesc desc;
    desc.title = "TESSORA";
    desc.proc = recordingProc;
    return platform::createWindow(desc);
}

std::vector<uint32_t> drainAndDispatch() {
    std::vector<uint32_t> ids;
    platform::Message m;
    while (platform::peekMessage(m)) {
        ids.push_back(m.message);
        platform::dispatchMessage(m);
    }
    return ids;
}

bool isDown(int32_t vk) { return (platform::getKeyState(vk) & 0x80) != 0; }

}  // namespace

TEST(MessageQueue, NewWindowMovesToOriginThenBecomesActive) {
    platform::Window* w = freshWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(platform::createWindow({.proc = recordingProc}), nullptr) << "only one window";
    EXPECT_EQ(drainAndDispatch(), (std::vector<uint32_t>{WM_MOVE, WM_ACTIVATEAPP}));
    EXPECT_EQ(received[0].lParam, 0);
    EXPECT_EQ(received[1].wParam, 1u);
}

TEST(MessageQueue, KeyAndButtonStateChangeWhenTheMessageIsRemoved) {
    platform::Window* w = freshWindow();
    drainAndDispatch();
    platform::postMessage(w, WM_KEYDOWN, VK_ESCAPE, 1);
    platform::postMessage(w, WM_LBUTTONDBLCLK, 1, 0);
    EXPECT_FALSE(isDown(VK_ESCAPE)) << "still queued";
    int16_t before = platform::getKeyState(VK_ESCAPE);

    platform::Message m;
    ASSERT_TRUE(platform::peekMessage(m));
    EXPECT_TRUE(isDown(VK_ESCAPE));
    EXPECT_LT(platform::getKeyState(VK_ESCAPE), 0) << "the high bit, as GetKeyState";
    EXPECT_NE(platform::getKeyState(VK_ESCAPE) & 1, before & 1) << "a press flips the toggle";
    EXPECT_FALSE(isDown(VK_LBUTTON));
    ASSERT_TRUE(platform::peekMessage(m));
    EXPECT_TRUE(isDown(VK_LBUTTON)) << "a double click is a press";

    platform::postMessage(w, WM_SYSKEYUP, VK_ESCAPE, 0);
    platform::postMessage(w, WM_LBUTTONUP, 0, 0);
    platform::postMessage(w, WM_RBUTTONDOWN, 2, 0);
    drainAndDispatch();
    EXPECT_FALSE(isDown(VK_ESCAPE));
    EXPECT_FALSE(isDown(VK_LBUTTON));
    EXPECT_TRUE(isDown(VK_RBUTTON));
    EXPECT_EQ(platform::getKeyState(-1), 0);
    EXPECT_EQ(platform::getKeyState(256), 0);
}

TEST(MessageQueue, CloseDestroysAtOnceDropsItsMessagesAndEndsWithQuit) {
    platform::Window* w = freshWindow();
    drainAndDispatch();
    platform::postMessage(w, WM_CLOSE, 0, 0);
    platform::postMessage(w, WM_KEYDOWN, 'A', 0);
    platform::Message m;
    ASSERT_TRUE(platform::peekMessage(m));
    received.clear();
    platform::dispatchMessage(m);  // the default handling destroys the window
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].message, WM_DESTROY) << "sent through the procedure at once";
    EXPECT_EQ(platform::currentWindow(), nullptr);
    EXPECT_EQ(platform::queuedMessageCount(), 0u) << "the key message died with the window";

    platform::postMessage(w, WM_KEYDOWN, 'B', 0);
    EXPECT_EQ(platform::queuedMessageCount(), 0u);
    platform::postQuitMessage(3);
    ASSERT_TRUE(platform::peekMessage(m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
    received.clear();
    platform::dispatchMessage(m);
    EXPECT_TRUE(received.empty());
}

TEST(MessageQueue, DefaultHandlingClosesOnAltF4Only) {
    platform::Window* w = freshWindow();
    drainAndDispatch();
    platform::postMessage(w, WM_SYSKEYDOWN, VK_F4, 0);  // F4 without Alt
    EXPECT_EQ(drainAndDispatch(), (std::vector<uint32_t>{WM_SYSKEYDOWN}));
    platform::postMessage(w, WM_SYSKEYDOWN, VK_F4, intptr_t(1) << 29);
    EXPECT_EQ(drainAndDispatch(), (std::vector<uint32_t>{WM_SYSKEYDOWN, WM_CLOSE}));
    EXPECT_EQ(platform::currentWindow(), nullptr);
}
