// How both backends turn host input into the Win32 messages of the queue: key messages (system
// keys while Alt is held and for F10), pointer moves preceded by WM_SETCURSOR, buttons with the
// double-click rule, and the key names of the headless script.
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/types.h"

namespace platform {

// WM_SYSKEYDOWN/UP for Alt itself, F10 and anything while Alt is held, else WM_KEYDOWN/UP.
uint32_t keyMessageFor(int32_t vk, bool down, bool altHeld);
intptr_t keyLParam(bool down, bool repeat, bool altHeld);
void postKey(int32_t vk, bool down, bool repeat, bool altHeld);

void postPointerMove(Point picture);  // WM_SETCURSOR then WM_MOUSEMOVE

enum class MouseButton : uint8_t { left, right };
void postButton(MouseButton, bool down, bool doubleClick, Point picture);

// A second press of the same button within 500 ms and 4 pixels of the first is a double
// click; the press after a double click starts over.
class DoubleClickRule {
public:
    bool press(MouseButton, uint32_t tick, Point at);
private:
    bool armed_ = false;
    MouseButton button_ = MouseButton::left;
    uint32_t tick_ = 0;
    Point at_;
};

// "escape", "return", "space", arrows, "shift", "alt", "f1".."f12", letters, digits, or a hex
// code such as "0x1B"; -1 when unknown.
int32_t virtualKeyByName(std::string_view name);

}  // namespace platform
