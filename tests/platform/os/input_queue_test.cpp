// Input messages and the queue: system keys, double clicks, key names; creation messages, key
// state changing on removal, destruction and the default handling.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/headless.h"
#include "platform/os/input_events.h"
#include "platform/os/window.h"
#include "platform/win32.h"

using namespace platform;

namespace {

std::vector<Message> received;

std::vector<uint32_t> drainAndDispatch() {
    std::vector<uint32_t> ids;
    for (Message m; peekMessage(m); dispatchMessage(m)) ids.push_back(m.message);
    return ids;
}

// A window on a fresh headless backend whose procedure records what reaches it, its creation
// messages handled.
class MessageQueue : public ::testing::Test {
protected:
    void SetUp() override {
        useHeadless();
        received.clear();
        window = createWindow({.title = "TESSORA", .proc = [](Window* w, uint32_t m, uintptr_t wp, intptr_t lp) {
                                   received.push_back({w, m, wp, lp});
                                   return defWindowProc(w, m, wp, lp);
                               }});
        creation = drainAndDispatch();
    }
    static bool isDown(int32_t vk) { return (getKeyState(vk) & 0x80) != 0; }

    Window* window = nullptr;
    std::vector<uint32_t> creation;
};

}  // namespace

TEST(InputEvents, SystemKeysAreAltItselfF10AndAnythingWhileAltIsHeldAndKeysAreFoundByName) {
    const struct { int32_t vk; bool down, alt; uint32_t message; } rows[] = {
        {'A', true, false, WM_KEYDOWN},       {'A', false, false, WM_KEYUP},
        {'A', true, true, WM_SYSKEYDOWN},     {VK_MENU, true, false, WM_SYSKEYDOWN},
        {VK_MENU, false, false, WM_SYSKEYUP}, {VK_F10, true, false, WM_SYSKEYDOWN},
        {VK_F4, true, true, WM_SYSKEYDOWN}};
    for (const auto& r : rows) EXPECT_EQ(keyMessageFor(r.vk, r.down, r.alt), r.message) << r.vk << r.down << r.alt;
    // Repeat count 1; bit 29 Alt held, bit 30 already down (a repeat), bit 31 a release.
    EXPECT_EQ((std::vector{uint32_t(keyLParam(true, false, false)), uint32_t(keyLParam(true, true, false)),
                           uint32_t(keyLParam(false, false, true))}),
              (std::vector{1u, 1u | 1u << 30, 1u | 1u << 29 | 1u << 30 | 1u << 31}));
    // Names: hex codes, letters, digits and function keys.
    const std::pair<const char*, int32_t> names[] = {
        {"escape", VK_ESCAPE}, {"Return", VK_RETURN}, {"alt", VK_MENU}, {"left", VK_LEFT},
        {"a", 'A'}, {"7", '7'}, {"f4", VK_F4}, {"F12", VK_F12}, {"0x1B", VK_ESCAPE},
        {"0x1b", VK_ESCAPE}, {"", -1}, {"f0", -1}, {"f13", -1}, {"0x", -1}, {"0x1G", -1},
        {"0x100", -1}, {"0x0", -1}, {"escap", -1}, {"ab", -1}, {"#", -1}};
    for (const auto& [name, vk] : names) EXPECT_EQ(virtualKeyByName(name), vk) << '"' << name << '"';
}

TEST(InputEvents, DoubleClickNeedsTheSameButtonWithin500MsAnd4Pixels) {
    const struct { MouseButton button; uint32_t ms; Point at; bool dbl; const char* why; } presses[] = {
        {MouseButton::left, 1000, {100, 100}, false, ""},
        {MouseButton::left, 1500, {104, 96}, true, "at both limits"},
        {MouseButton::left, 1600, {104, 96}, false, "a third press starts over"},
        {MouseButton::left, 1700, {104, 96}, true, ""},
        {MouseButton::left, 5000, {10, 10}, false, ""},
        {MouseButton::left, 5501, {10, 10}, false, "too late"},
        {MouseButton::left, 5600, {15, 10}, false, "too far"},
        {MouseButton::right, 5700, {15, 10}, false, "another button"},
        {MouseButton::right, 5800, {15, 10}, true, ""},
        {MouseButton::left, 0xFFFFFF80u, {0, 0}, false, ""},
        {MouseButton::left, 0x100u, {0, 0}, true, "across the tick wrap"}};
    DoubleClickRule rule;
    for (const auto& p : presses) EXPECT_EQ(rule.press(p.button, p.ms, p.at), p.dbl) << p.ms << " " << p.why;
}

TEST_F(MessageQueue, NewWindowMovesToOriginBecomesActiveIsTheOnlyOneAndClosesOnAltF4Only) {
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(createWindow({.proc = defWindowProc}), nullptr);
    EXPECT_EQ(creation, (std::vector<uint32_t>{WM_MOVE, WM_ACTIVATEAPP}));
    EXPECT_EQ(std::pair(received[0].lParam, received[1].wParam), std::pair(intptr_t(0), uintptr_t(1)));
    postMessage(window, WM_SYSKEYDOWN, VK_F4, 0);  // F4 without Alt
    EXPECT_EQ(drainAndDispatch(), (std::vector<uint32_t>{WM_SYSKEYDOWN}));
    postMessage(window, WM_SYSKEYDOWN, VK_F4, intptr_t(1) << 29);
    EXPECT_EQ(drainAndDispatch(), (std::vector<uint32_t>{WM_SYSKEYDOWN, WM_CLOSE}));
    EXPECT_EQ(currentWindow(), nullptr);
}

TEST_F(MessageQueue, KeyAndButtonStateChangeWhenTheMessageIsRemoved) {
    postMessage(window, WM_KEYDOWN, VK_ESCAPE, 1);
    postMessage(window, WM_LBUTTONDBLCLK, 1, 0);
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

    postMessage(window, WM_SYSKEYUP, VK_ESCAPE, 0);
    postMessage(window, WM_LBUTTONUP, 0, 0);
    postMessage(window, WM_RBUTTONDOWN, 2, 0);
    drainAndDispatch();
    EXPECT_EQ((std::vector{isDown(VK_ESCAPE), isDown(VK_LBUTTON), isDown(VK_RBUTTON)}),
              (std::vector{false, false, true}));
    EXPECT_EQ(std::pair(getKeyState(-1), getKeyState(256)), std::pair(int16_t(0), int16_t(0)));
}

TEST_F(MessageQueue, CloseDestroysAtOnceDropsItsMessagesAndEndsWithQuit) {
    postMessage(window, WM_CLOSE, 0, 0);
    postMessage(window, WM_KEYDOWN, 'A', 0);
    Message m;
    ASSERT_TRUE(peekMessage(m));
    received.clear();
    dispatchMessage(m);  // the default handling destroys the window
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].message, WM_DESTROY) << "sent through the procedure at once";
    EXPECT_EQ(currentWindow(), nullptr);
    EXPECT_EQ(queuedMessageCount(), 0u) << "the key message died with the window";
    postMessage(window, WM_KEYDOWN, 'B', 0);
    EXPECT_EQ(queuedMessageCount(), 0u);

    postQuitMessage(3);
    ASSERT_TRUE(peekMessage(m));
    EXPECT_EQ(std::pair(m.message, m.wParam), std::pair(uint32_t(WM_QUIT), uintptr_t(3)));
    received.clear();
    dispatchMessage(m);
    EXPECT_TRUE(received.empty());
}
