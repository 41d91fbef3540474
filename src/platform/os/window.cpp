// The one window, the message queue both backends fill, dispatch to the window procedure, and
// key state that changes when a message is removed, so it matches the message being handled.
#include "platform/os/window.h"

#include <deque>
#include <utility>

#include "platform/backend.h"
#include "platform/os/instance.h"
#include "platform/os/resources.h"
#include "platform/sjis.h"
#include "platform/win32.h"

namespace platform {

struct Window {
    WindowDesc desc;
    bool alive = false;
};

namespace {

Window theWindow;
std::deque<Message> queue;
uint8_t keyDown[256];
uint8_t keyToggled[256];
uint8_t keyPressSeen[256];  // a press left the queue since takeKeyPress last looked

void setKey(uintptr_t vk, bool down) {
    if (vk > 255) return;
    if (down && !keyDown[vk]) keyToggled[vk] ^= 1, keyPressSeen[vk] = 1;
    keyDown[vk] = down;
}

// Key and button messages move the key state as they leave the queue.
void noteRemoved(const Message& m) {
    switch (m.message) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: setKey(m.wParam, true); break;
    case WM_KEYUP: case WM_SYSKEYUP: setKey(m.wParam, false); break;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: setKey(VK_LBUTTON, true); break;
    case WM_LBUTTONUP: setKey(VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: setKey(VK_RBUTTON, true); break;
    case WM_RBUTTONUP: setKey(VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN: setKey(VK_MBUTTON, true); break;
    case WM_MBUTTONUP: setKey(VK_MBUTTON, false); break;
    default: break;
    }
}

void pump(bool wait) {
    serviceInstance();
    if (queue.empty()) backend().pumpEvents(wait);
}

void dropMessagesOf(Window* w) {
    std::erase_if(queue, [w](const Message& m) { return m.window == w; });
}

}  // namespace

Window* createWindow(const WindowDesc& desc) {
    if (theWindow.alive || !desc.proc) return nullptr;
    theWindow = Window{desc, true};
    postMessage(&theWindow, WM_MOVE, 0, MAKELPARAM(0, 0));
    std::string title = sjisToUtf8(desc.title ? desc.title : "");
    if (!backend().openWindow(title.c_str(), desc.fullScreen)) {
        dropMessagesOf(&theWindow);
        theWindow.alive = false;
        return nullptr;
    }
    if (auto icon = findResource(desc.instance, "ICON", desc.icon); !icon.empty()) backend().setWindowIcon(icon);
    return &theWindow;
}

void destroyWindow(Window* w) {
    if (w != &theWindow || !theWindow.alive) return;
    theWindow.desc.proc(w, WM_DESTROY, 0, 0);
    theWindow.alive = false;
    backend().closeWindow();
    dropMessagesOf(w);
}

Window* currentWindow() { return theWindow.alive ? &theWindow : nullptr; }

void minimizeWindow(Window* w) {
    if (w == &theWindow && theWindow.alive) backend().minimizeWindow();
}

bool peekMessage(Message& out) {
    if (queue.empty()) pump(false);
    if (queue.empty()) return false;
    out = queue.front();
    queue.pop_front();
    noteRemoved(out);
    return true;
}

// May return before a message arrives (the SDL backend wakes up now and then to serve the
// instance guard); callers loop through peekMessage anyway.
void waitMessage() {
    if (queue.empty()) pump(true);
}

intptr_t dispatchMessage(const Message& m) {
    if (m.window != &theWindow || !theWindow.alive) return 0;
    return theWindow.desc.proc(m.window, m.message, m.wParam, m.lParam);
}

intptr_t defWindowProc(Window* w, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    constexpr intptr_t altContext = intptr_t(1) << 29;
    switch (message) {
    case WM_CLOSE: destroyWindow(w); break;
    case WM_SETCURSOR: setCursor(true); break;
    case WM_SYSKEYDOWN:
        if (wParam == uintptr_t(VK_F4) && (lParam & altContext)) postMessage(w, WM_CLOSE, 0, 0);
        break;
    default: break;
    }
    return 0;
}

void postMessage(Window* w, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (w != &theWindow || !theWindow.alive) return;
    queue.push_back(Message{w, message, wParam, lParam});
}

void postQuitMessage(int32_t exitCode) {
    queue.push_back(Message{nullptr, WM_QUIT, uintptr_t(uint32_t(exitCode)), 0});
}

int16_t getKeyState(int32_t vk) {
    if (vk < 0 || vk > 255) return 0;
    return int16_t((keyDown[vk] ? 0xFF80 : 0) | keyToggled[vk]);
}

bool takeKeyPress(int32_t vk) {
    if (vk < 0 || vk > 255) return false;
    return std::exchange(keyPressSeen[vk], uint8_t(0)) != 0;
}

void showCursor(bool show) { backend().showCursor(show); }
void setCursor(bool arrow) { backend().setCursor(arrow); }
void clipCursor(const Rect* area) { backend().clipCursor(area); }
Point cursorPos() { return backend().cursorPos(); }
void setCursorPos(int32_t x, int32_t y) { backend().setCursorPos(x, y); }
bool enableTextInput(bool on) { return backend().enableTextInput(on); }

void resetMessageQueue() {
    theWindow.alive = false;
    queue.clear();
    for (int i = 0; i < 256; ++i) keyDown[i] = keyToggled[i] = keyPressSeen[i] = 0;
}

size_t queuedMessageCount() { return queue.size(); }

}  // namespace platform
