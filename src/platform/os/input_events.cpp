// Building the Win32 input messages from host events, shared by both backends.
#include "platform/os/input_events.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/win32.h"
#include "platform/os/window.h"

namespace platform {
namespace {

constexpr uintptr_t MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002;
constexpr intptr_t HTCLIENT = 1;
uintptr_t buttonsHeld = 0;

struct NamedKey { const char* name; int32_t vk; };
constexpr NamedKey namedKeys[] = {
    {"escape", VK_ESCAPE}, {"return", VK_RETURN}, {"enter", VK_RETURN}, {"space", VK_SPACE},
    {"left", VK_LEFT}, {"right", VK_RIGHT}, {"up", VK_UP}, {"down", VK_DOWN},
    {"shift", VK_SHIFT}, {"control", VK_CONTROL}, {"alt", VK_MENU}, {"tab", VK_TAB},
    {"backspace", VK_BACK},
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(uint8_t(a[i])) != std::tolower(uint8_t(b[i]))) return false;
    return true;
}

int32_t hexCode(std::string_view name) {
    if (name.size() < 3 || name.size() > 4 || name[0] != '0' || (name[1] != 'x' && name[1] != 'X'))
        return -1;
    int32_t value = 0;
    for (char c : name.substr(2)) {
        if (!std::isxdigit(uint8_t(c))) return -1;
        value = value * 16 + (std::isdigit(uint8_t(c)) ? c - '0' : std::tolower(uint8_t(c)) - 'a' + 10);
    }
    return value >= 1 && value <= 0xFE ? value : -1;
}

int32_t functionKey(std::string_view name) {
    if (name.size() < 2 || name.size() > 3 || std::tolower(uint8_t(name[0])) != 'f') return -1;
    int32_t n = 0;
    for (char c : name.substr(1)) {
        if (!std::isdigit(uint8_t(c))) return -1;
        n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= 12 ? VK_F1 + n - 1 : -1;
}

}  // namespace

uint32_t keyMessageFor(int32_t vk, bool down, bool altHeld) {
    bool system = altHeld || vk == VK_MENU || vk == VK_F10;
    if (system) return down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    return down ? WM_KEYDOWN : WM_KEYUP;
}

intptr_t keyLParam(bool down, bool repeat, bool altHeld) {
    uint32_t bits = 1;                       // repeat count
    if (altHeld) bits |= 1u << 29;           // context code
    if (repeat || !down) bits |= 1u << 30;   // previous key state
    if (!down) bits |= 1u << 31;             // transition state
    return intptr_t(bits);
}

void postKey(int32_t vk, bool down, bool repeat, bool altHeld) {
    postMessage(currentWindow(), keyMessageFor(vk, down, altHeld), uintptr_t(vk),
                keyLParam(down, repeat, altHeld));
}

void postPointerMove(Point p) {
    Window* w = currentWindow();
    postMessage(w, WM_SETCURSOR, reinterpret_cast<uintptr_t>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    postMessage(w, WM_MOUSEMOVE, buttonsHeld, MAKELPARAM(uint16_t(p.x), uint16_t(p.y)));
}

void postButton(MouseButton button, bool down, bool doubleClick, Point p) {
    bool left = button == MouseButton::left;
    uintptr_t flag = left ? MK_LBUTTON : MK_RBUTTON;
    buttonsHeld = down ? (buttonsHeld | flag) : (buttonsHeld & ~flag);
    uint32_t message = !down        ? (left ? WM_LBUTTONUP : WM_RBUTTONUP)
                       : doubleClick ? (left ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK)
                                     : (left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN);
    postMessage(currentWindow(), message, buttonsHeld, MAKELPARAM(uint16_t(p.x), uint16_t(p.y)));
}

bool DoubleClickRule::press(MouseButton button, uint32_t tick, Point at) {
    bool isDouble = armed_ && button == button_ && tick - tick_ <= 500 &&
                    std::abs(at.x - at_.x) <= 4 && std::abs(at.y - at_.y) <= 4;
    armed_ = !isDouble;
    button_ = button;
    tick_ = tick;
    at_ = at;
    return isDouble;
}

int32_t virtualKeyByName(std::string_view name) {
    for (const NamedKey& k : namedKeys)
        if (equalsIgnoringCase(name, k.name)) return k.vk;
    if (name.size() == 1 && std::isalnum(uint8_t(name[0]))) return std::toupper(uint8_t(name[0]));
    if (int32_t f = functionKey(name); f > 0) return f;
    return hexCode(name);
}

}  // namespace platform
