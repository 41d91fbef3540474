// Pointer position and clip, the key watch, capture mode, system keys and the input method.
#include "draw/zu_draw.h"
#include "platform/os/window.h"
#include "system/zu_system.h"

namespace zuSystem {

void SetMouse(int32_t x, int32_t y) {
    platform::setCursorPos(x + systemState.clientX, y + systemState.clientY);
}

void ClipCursor(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    platform::Rect area{left, top, right, bottom};
    platform::clipCursor(&area);
    systemState.cursorClipped = 1;
}

void ClipToScreen() {
    const zuDraw::ScreenState& s = zuDraw::screenState;
    if (systemState.fullScreen) {
        ClipCursor(0, 0, s.width, s.height);
        return;
    }
    int32_t x = systemState.clientX, y = systemState.clientY;
    ClipCursor(x, y, x + s.width, y + s.height);
}

void Unclip() {
    platform::clipCursor(nullptr);
    systemState.cursorClipped = 0;
}

int32_t IsClipped() { return systemState.cursorClipped; }

void WatchKey(int32_t key) {
    inputState.watchedKey = key;
    inputState.watchedKeyCount = 0;
}

int32_t WatchedKeyCount() { return inputState.watchedKeyCount; }

void BeginCapture() { inputState.captureMode = 1; }

void EndCapture() {
    inputState.captureMode = 0;
    inputState.keyHeld = 0;
}

void SetSystemKeyMode(int32_t mode) { systemState.systemKeyMode = mode; }

int32_t EnableIme(int32_t flag) {
    systemState.imeEnabled = flag;
    return platform::enableTextInput(flag != 0) ? 1 : 0;
}

}  // namespace zuSystem
