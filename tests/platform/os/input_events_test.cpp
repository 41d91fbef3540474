// Building input messages: which keys are system keys, the double-click rule, key names.
#include <gtest/gtest.h>

#include "platform/os/input_events.h"
#include "platform/win32.h"

using platform::MouseButton;

TEST(InputEvents, SystemKeysAreAltItselfF10AndAnythingWhileAltIsHeld) {
    EXPECT_EQ(platform::keyMessageFor('A', true, false), WM_KEYDOWN);
    EXPECT_EQ(platform::keyMessageFor('A', false, false), WM_KEYUP);
    EXPECT_EQ(platform::keyMessageFor('A', true, true), WM_SYSKEYDOWN);
    EXPECT_EQ(platform::keyMessageFor(VK_MENU, true, false), WM_SYSKEYDOWN);
    EXPECT_EQ(platform::keyMessageFor(VK_MENU, false, false), WM_SYSKEYUP);
    EXPECT_EQ(platform::keyMessageFor(VK_F10, true, false), WM_SYSKEYDOWN);
    EXPECT_EQ(platform::keyMessageFor(VK_F4, true, true), WM_SYSKEYDOWN);
    EXPECT_EQ(platform::keyLParam(true, false, false), 1);
    EXPECT_EQ(uint32_t(platform::keyLParam(true, true, false)), 1u | 1u << 30);
    EXPECT_EQ(uint32_t(platform::keyLParam(false, false, true)), 1u | 1u << 29 | 1u << 30 | 1u << 31);
}

TEST(InputEvents, DoubleClickNeedsTheSameButtonWithin500MsAnd4Pixels) {
    platform::DoubleClickRule rule;
    EXPECT_FALSE(rule.press(MouseButton::left, 1000, {100, 100}));
    EXPECT_TRUE(rule.press(MouseButton::left, 1500, {104, 96})) << "at both limits";
    EXPECT_FALSE(rule.press(MouseButton::left, 1600, {104, 96})) << "a third press starts over";
    EXPECT_TRUE(rule.press(MouseButton::left, 1700, {104, 96}));

    EXPECT_FALSE(rule.press(MouseButton::left, 5000, {10, 10}));
    EXPECT_FALSE(rule.press(MouseButton::left, 5501, {10, 10})) << "too late";
    EXPECT_FALSE(rule.press(MouseButton::left, 5600, {15, 10})) << "too far";
    EXPECT_FALSE(rule.press(MouseButton::right, 5700, {15, 10})) << "another button";
    EXPECT_TRUE(rule.press(MouseButton::right, 5800, {15, 10}));

    EXPECT_FALSE(rule.press(MouseButton::left, 0xFFFFFF80u, {0, 0}));
    EXPECT_TRUE(rule.press(MouseButton::left, 0x100u, {0, 0})) << "across the tick wrap";
}

TEST(InputEvents, KeyNamesHexCodesLettersDigitsAndFunctionKeys) {
    EXPECT_EQ(platform::virtualKeyByName("escape"), VK_ESCAPE);
    EXPECT_EQ(platform::virtualKeyByName("Return"), VK_RETURN);
    EXPECT_EQ(platform::virtualKeyByName("alt"), VK_MENU);
    EXPECT_EQ(platform::virtualKeyByName("left"), VK_LEFT);
    EXPECT_EQ(platform::virtualKeyByName("a"), 'A');
    EXPECT_EQ(platform::virtualKeyByName("7"), '7');
    EXPECT_EQ(platform::virtualKeyByName("f4"), VK_F4);
    EXPECT_EQ(platform::virtualKeyByName("F12"), VK_F12);
    EXPECT_EQ(platform::virtualKeyByName("0x1B"), VK_ESCAPE);
    EXPECT_EQ(platform::virtualKeyByName("0x1b"), VK_ESCAPE);
    for (const char* bad : {"", "f0", "f13", "0x", "0x1G", "0x100", "0x0", "escap", "ab", "#"})
        EXPECT_EQ(platform::virtualKeyByName(bad), -1) << bad;
}
