// The program's one window and its message stream: a single queue that the backends fill with
// Win32 messages, dispatch to the window procedure, and key state that changes on removal.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/types.h"

namespace platform {

struct Window;
using WindowProc = intptr_t (*)(Window*, uint32_t message, uintptr_t wParam, intptr_t lParam);

struct WindowDesc {
    const char* className = "";  // Shift-JIS texts
    const char* title = "";
    const char* icon = "";       // resource name of the instance's ICON
    Instance* instance = nullptr;
    bool fullScreen = true;
    WindowProc proc = nullptr;
};

struct Message {
    Window* window = nullptr;  // null for thread messages (WM_QUIT)
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

Window* createWindow(const WindowDesc&);  // null when the backend cannot open it
void destroyWindow(Window*);              // WM_DESTROY through the procedure at once
Window* currentWindow();                  // the live window, or null
void minimizeWindow(Window*);             // shown as an icon; it stays alive

bool peekMessage(Message&);  // removes the first message; false when none is waiting
void waitMessage();          // blocks until a message is waiting
intptr_t dispatchMessage(const Message&);
intptr_t defWindowProc(Window*, uint32_t message, uintptr_t wParam, intptr_t lParam);
void postMessage(Window*, uint32_t message, uintptr_t wParam, intptr_t lParam);
void postQuitMessage(int32_t exitCode);

// Bit 0x8000 (and so 0x80) while down, bit 0 toggled by each press; mouse buttons included.
int16_t getKeyState(int32_t vk);
// True once for each press (up to down) of vk that left the queue since the last call, even when
// its release has left too: a click shorter than a frame is still seen.
bool takeKeyPress(int32_t vk);
void showCursor(bool show);
void setCursor(bool arrow);         // false: no system cursor over the window
void clipCursor(const Rect* area);  // null releases
Point cursorPos();                  // in picture coordinates
void setCursorPos(int32_t x, int32_t y);
bool enableTextInput(bool on);      // the input-method switch; true when it was on before

// For backends and tests: forget the window (sending nothing), queued messages and key state.
void resetMessageQueue();
size_t queuedMessageCount();

}  // namespace platform
