// Building input messages: which keys are system keys, the double-click rule, key names.
#include <gtest/gtest.h>

#include <utility>

#include "platform/os/input_events.h"
#include "platform/win32.h"

using namespace platform;

TEST(InputEvents, SystemKeysAreAltItselfF10AndAnythingWhileAltIsHeld) {
    const struct { int32_t vk; bool down, alt; uint32_t message; } rows[] = {
        {'A', true, false, WM_KEYDOWN},       {'A', false, false, WM_KEYUP},
        {'A', true, true, WM_SYSKEYDOWN},     {VK_MENU, true, false, WM_SYSKEYDOWN},
        {VK_MENU, false, false, WM_SYSKEYUP}, {VK_F10, true, false, WM_SYSKEYDOWN},
        {VK_F4, true, true, WM_SYSKEYDOWN}};
    for (const auto& r : rows) EXPECT_EQ(keyMessageFor(r.vk, r.down, r.alt), r.message) << r.vk << r.down << r.alt;
    // Repeat count 1; bit 29 Alt held, bit 30 already down (a repeat), bit 31 a release.
    EXPECT_EQ(keyLParam(true, false, false), 1);
    EXPECT_EQ(uint32_t(keyLParam(true, true, false)), 1u | 1u << 30);
    EXPECT_EQ(uint32_t(keyLParam(false, false, true)), 1u | 1u << 29 | 1u << 30 | 1u << 31);
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

TEST(InputEvents, KeyNamesHexCodesLettersDigitsAndFunctionKeys) {
    const std::pair<const char*, int32_t> names[] = {
        {"escape", VK_ESCAPE}, {"Return", VK_RETURN}, {"alt", VK_MENU}, {"left", VK_LEFT},
        {"a", 'A'}, {"7", '7'}, {"f4", VK_F4}, {"F12", VK_F12}, {"0x1B", VK_ESCAPE},
        {"0x1b", VK_ESCAPE}, {"", -1}, {"f0", -1}, {"f13", -1}, {"0x", -1}, {"0x1G", -1},
        {"0x100", -1}, {"0x0", -1}, {"escap", -1}, {"ab", -1}, {"#", -1}};
    for (const auto& [name, vk] : names) EXPECT_EQ(virtualKeyByName(name), vk) << '"' << name << '"';
}
