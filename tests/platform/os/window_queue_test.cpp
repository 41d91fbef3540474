// The message queue: creation messages, key state changing on removal, destruction, defaults.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless.h"
#include "platform/os/window.h"
#include "platform/win32.h"

using namespace platform;

namespace {

std::vector<Message> received;

intptr_t recordingProc(Window* w, uint32_t m, uintptr_t wp, intptr_t lp) {
    received.push_back({w, m, wp, lp});
    return defWindowProc(w, m, wp, lp);
}

std::vector<uint32_t> drainAndDispatch() {
    std::vector<uint32_t> ids;
    for (Message m; peekMessage(m); dispatchMessage(m)) ids.push_back(m.message);
    return ids;
}

// A new window on a fresh headless backend, its creation messages already handled.
Window* freshWindow(std::vector<uint32_t>* creation = nullptr) {
    useHeadless();
    received.clear();
    Window* w = createWindow({.title = "TESSORA", .proc = recordingProc});
    std::vector<uint32_t> ids = drainAndDispatch();
    if (creation) *creation = ids;
    return w;
}

bool isDown(int32_t vk) { return (getKeyState(vk) & 0x80) != 0; }

}  // namespace

TEST(MessageQueue, NewWindowMovesToOriginThenBecomesActive) {
    std::vector<uint32_t> creation;
    ASSERT_NE(freshWindow(&creation), nullptr);
    EXPECT_EQ(createWindow({.proc = recordingProc}), nullptr) << "only one window";
    EXPECT_EQ(creation, (std::vector<uint32_t>{WM_MOVE, WM_ACTIVATEAPP}));
    EXPECT_EQ(received[0].lParam, 0);
    EXPECT_EQ(received[1].wParam, 1u);
}

TEST(MessageQueue, KeyAndButtonStateChangeWhenTheMessageIsRemoved) {
    Window* w = freshWindow();
    postMessage(w, WM_KEYDOWN, VK_ESCAPE, 1);
    postMessage(w, WM_LBUTTONDBLCLK, 1, 0);
    EXPECT_FALSE(isDown(VK_ESCAPE)) << "still queued";
    int16_t before = getKeyState(VK_ESCAPE);
    Message m;
    ASSERT_TRUE(peekMessage(m));
    EXPECT_TRUE(isDown(VK_ESCAPE));
    EXPECT_LT(getKeyState(VK_ESCAPE), 0) << "the high bit, as GetKeyState";
    EXPECT_NE(getKeyState(VK_ESCAPE) & 1, before & 1) << "a press flips the toggle";
    EXPECT_FALSE(isDown(VK_LBUTTON));
    ASSERT_TRUE(peekMessage(m));
    EXPECT_TRUE(isDown(VK_LBUTTON)) << "a double click is a press";

    postMessage(w, WM_SYSKEYUP, VK_ESCAPE, 0);
    postMessage(w, WM_LBUTTONUP, 0, 0);
    postMessage(w, WM_RBUTTONDOWN, 2, 0);
    drainAndDispatch();
    EXPECT_EQ((std::vector{isDown(VK_ESCAPE), isDown(VK_LBUTTON), isDown(VK_RBUTTON)}),
              (std::vector{false, false, true}));
    EXPECT_EQ(getKeyState(-1), 0);
    EXPECT_EQ(getKeyState(256), 0);
}

TEST(MessageQueue, CloseDestroysAtOnceDropsItsMessagesAndEndsWithQuit) {
    Window* w = freshWindow();
    postMessage(w, WM_CLOSE, 0, 0);
    postMessage(w, WM_KEYDOWN, 'A', 0);
    Message m;
    ASSERT_TRUE(peekMessage(m));
    received.clear();
    dispatchMessage(m);  // the default handling destroys the window
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].message, WM_DESTROY) << "sent through the procedure at once";
    EXPECT_EQ(currentWindow(), nullptr);
    EXPECT_EQ(queuedMessageCount(), 0u) << "the key message died with the window";
    postMessage(w, WM_KEYDOWN, 'B', 0);
    EXPECT_EQ(queuedMessageCount(), 0u);

    postQuitMessage(3);
    ASSERT_TRUE(peekMessage(m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
    received.clear();
    dispatchMessage(m);
    EXPECT_TRUE(received.empty());
}

TEST(MessageQueue, DefaultHandlingClosesOnAltF4Only) {
    Window* w = freshWindow();
    postMessage(w, WM_SYSKEYDOWN, VK_F4, 0);  // F4 without Alt
    EXPECT_EQ(drainAndDispatch(), (std::vector<uint32_t>{WM_SYSKEYDOWN}));
    postMessage(w, WM_SYSKEYDOWN, VK_F4, intptr_t(1) << 29);
    EXPECT_EQ(drainAndDispatch(), (std::vector<uint32_t>{WM_SYSKEYDOWN, WM_CLOSE}));
    EXPECT_EQ(currentWindow(), nullptr);
}
