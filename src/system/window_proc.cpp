// The window procedure: turns window messages into the input latches and window flags.
#include <cstring>

#include "draw/zu_draw.h"
#include "platform/audio/midi_sequencer.h"
#include "platform/win32.h"
#include "platform/os/window.h"
#include "sound/zu_sound.h"
#include "system/zu_system.h"

namespace zuSystem {
namespace {

int32_t signedWord(uint16_t v) { return v > 0x8000 ? int32_t(v) - 0x10000 : int32_t(v); }

void onMove(intptr_t lParam) {
    systemState.clientX = signedWord(LOWORD(uintptr_t(lParam)));
    systemState.clientY = signedWord(HIWORD(uintptr_t(lParam)));
    const zuDraw::ScreenState& s = zuDraw::screenState;
    zuDraw::screenState.presentDest = {systemState.clientX, systemState.clientY,
                                       systemState.clientX + s.width, systemState.clientY + s.height};
    if (systemState.clipFollowsWindow) ClipToScreen();
}

void onClose(platform::Window* window) {
    if (systemState.closeState == 0) systemState.closeState = 1;
    if (systemState.closeState < 2) Quit();
    platform::destroyWindow(window);
}

void onActivate(bool active) {
    systemState.active = active ? 1 : 0;
    if (active) {
        ResetClock();
        if (systemState.clipFollowsWindow) ClipToScreen();
        return;
    }
    if (systemState.cursorShown == 0) {
        platform::showCursor(true);
        systemState.cursorShown = 1;
    }
    if (systemState.clipFollowsWindow) Unclip();
}

void onKeyDown(int32_t key) {
    if (inputState.captureMode) inputState.capturedKey = key;
    else KeyDown(key);
}

void onKeyUp(int32_t key) {
    InputState& in = inputState;
    if (in.keyHeld == key) in.keyHeld = 0;
    if (in.viewKey == key) in.viewKey = 0;
    if (in.capturedKey == key) in.capturedKey = 0;
    if (key == VK_SHIFT) in.shiftToggle = !in.shiftToggle;
    if (key == in.watchedKey) ++in.watchedKeyCount;
}

// Alt combinations, F10 and Alt+F4 are swallowed in mode 0; mode 2 swallows Alt alone.
bool swallowsSystemKey(int32_t key) {
    return systemState.systemKeyMode == 0 || (systemState.systemKeyMode == 2 && key == VK_MENU);
}

void onButtonDown(int32_t button) {
    InputState& in = inputState;
    if (in.captureMode) {
        if (button == 1) in.capturedClick = 1;
        return;
    }
    (button == 1 ? in.leftDown : in.rightDown) = 1;
    (button == 1 ? in.leftClick : in.rightClick) = 1;
    (button == 1 ? in.leftPressed : in.rightPressed) = 1;
    in.buttonHeld = button;
    in.lastButton = button;
}

void onButtonUp(int32_t button) {
    InputState& in = inputState;
    (button == 1 ? in.leftDown : in.rightDown) = 0;
    if (in.buttonHeld == button) in.buttonHeld = 0;
    if (button == 1) in.capturedClick = 0;
}

// The end of a MIDI play: passed on only while a piece is open and the sequencer has stopped;
// superseded and aborted plays, and ends overtaken by a new play, are left alone.
void onMidiNotice(uintptr_t outcome) {
    if (outcome != MCI_NOTIFY_SUCCESSFUL || zuSound::midiState.open != 1) return;
    char mode[32] = {};
    platform::midi::sendCommand("status midi mode", mode, sizeof mode);
    if (std::strncmp(mode, "st", 2) == 0) zuSound::MidiNotify();
}

void onRightDoubleClick() {
    if (!inputState.captureMode) inputState.rightDoubleClick = 1;
    if (!systemState.clipFollowsWindow) return;
    if (systemState.cursorClipped) Unclip();
    else ClipToScreen();
}

}  // namespace

void KeyDown(int32_t key) {
    if (zuDraw::scrollView.visible) {
        inputState.viewKey = key;
    } else {
        inputState.keyHeld = key;
        inputState.lastKey = key;
    }
    if (key == VK_ESCAPE) Quit();
}

intptr_t WindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    const int32_t key = int32_t(wParam);
    switch (message) {
    case WM_DESTROY: platform::postQuitMessage(0); return 0;
    case WM_MOVE: onMove(lParam); break;
    case WM_CLOSE: onClose(window); return 0;
    case WM_ACTIVATEAPP: onActivate(wParam != 0); return 0;
    case WM_SETCURSOR:
        if (systemState.fullScreen && !systemState.messageBoxOpen) {
            platform::setCursor(false);
            return 1;
        }
        break;
    case WM_KEYDOWN: onKeyDown(key); break;
    case WM_KEYUP: onKeyUp(key); break;
    case WM_SYSKEYDOWN:
        if (swallowsSystemKey(key)) return 0;
        onKeyDown(key);
        break;
    case WM_MOUSEMOVE:
        inputState.mouseX = LOWORD(uintptr_t(lParam));
        inputState.mouseY = HIWORD(uintptr_t(lParam));
        break;
    case WM_LBUTTONDOWN: onButtonDown(1); break;
    case WM_LBUTTONUP: onButtonUp(1); break;
    case WM_LBUTTONDBLCLK:
        if (!inputState.captureMode) inputState.leftDoubleClick = 1;
        return 0;
    case WM_RBUTTONDOWN: onButtonDown(2); break;
    case WM_RBUTTONUP: onButtonUp(2); break;
    case WM_RBUTTONDBLCLK: onRightDoubleClick(); return 0;
    case MM_MCINOTIFY: onMidiNotice(wParam); break;
    default: break;
    }
    return platform::defWindowProc(window, message, wParam, lParam);
}

}  // namespace zuSystem
