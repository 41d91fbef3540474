// SDL2 events into Win32 messages: keys by virtual key (repeats included, system keys while Alt
// is held), pointer and buttons in picture coordinates, focus, close; Alt+Enter and F12; game
// controllers coming and going.
#include <cstdio>

#include "platform/sdl/sdl_backend.h"
#include "platform/win32.h"
#include "platform/os/window.h"

namespace platform {
namespace {

struct KeyPair { SDL_Keycode sdl; int32_t vk; };
constexpr KeyPair keyTable[] = {
    {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_RETURN, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_SPACE, VK_SPACE}, {SDLK_TAB, VK_TAB}, {SDLK_BACKSPACE, VK_BACK},
    {SDLK_LEFT, VK_LEFT}, {SDLK_RIGHT, VK_RIGHT}, {SDLK_UP, VK_UP}, {SDLK_DOWN, VK_DOWN},
    {SDLK_LSHIFT, VK_SHIFT}, {SDLK_RSHIFT, VK_SHIFT}, {SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, VK_CONTROL}, {SDLK_LALT, VK_MENU}, {SDLK_RALT, VK_MENU},
    {SDLK_INSERT, VK_INSERT}, {SDLK_DELETE, VK_DELETE}, {SDLK_HOME, VK_HOME}, {SDLK_END, VK_END},
    {SDLK_PAGEUP, VK_PRIOR}, {SDLK_PAGEDOWN, VK_NEXT}, {SDLK_PAUSE, VK_PAUSE},
    {SDLK_CAPSLOCK, VK_CAPITAL}, {SDLK_NUMLOCKCLEAR, VK_NUMLOCK}, {SDLK_SCROLLLOCK, VK_SCROLL},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY}, {SDLK_KP_PLUS, VK_ADD}, {SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_PERIOD, VK_DECIMAL}, {SDLK_KP_DIVIDE, VK_DIVIDE},
};

}  // namespace

int32_t virtualKeyOf(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + (k - SDLK_F1);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (k - SDLK_KP_1);
    if (k == SDLK_KP_0) return VK_NUMPAD0;
    for (const KeyPair& p : keyTable)
        if (p.sdl == k) return p.vk;
    return 0;
}

void SdlBackend::pumpEvents(bool wait) {
    SDL_Event e;
    // A short wait: the instance guard is served between waits.
    if (wait && SDL_WaitEventTimeout(&e, 50)) handle(e);
    while (SDL_PollEvent(&e)) handle(e);
    serviceAudio();
}

void SdlBackend::handle(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT: postMessage(currentWindow(), WM_CLOSE, 0, 0); break;
    case SDL_WINDOWEVENT: handleWindowEvent(e.window); break;
    case SDL_KEYDOWN: case SDL_KEYUP: handleKey(e.key); break;
    case SDL_MOUSEMOTION:
        postPointerMove(toPicture(viewport(), windowToDrawable(e.motion.x, e.motion.y)));
        break;
    case SDL_MOUSEBUTTONDOWN: case SDL_MOUSEBUTTONUP: handleButton(e.button); break;
    case SDL_AUDIODEVICEREMOVED:
        if (!e.adevice.iscapture && audioDevice != 0 && e.adevice.which == audioDevice) {
            std::fprintf(stderr, "sdl: the audio device went away\n");
            audioDeviceLost();
        }
        break;
    case SDL_CONTROLLERDEVICEADDED: joysticks.rescan(); break;
    case SDL_CONTROLLERDEVICEREMOVED: joysticks.removed(e.cdevice.which); break;
    case SDL_AUDIODEVICEADDED:
        if (!e.adevice.iscapture) audioDeviceAdded();
        break;
    default: break;
    }
}

void SdlBackend::handleWindowEvent(const SDL_WindowEvent& e) {
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE: postMessage(currentWindow(), WM_CLOSE, 0, 0); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: setFocus(true); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: setFocus(false); break;
    case SDL_WINDOWEVENT_EXPOSED: render(); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: case SDL_WINDOWEVENT_MOVED: followWindow(); break;
    default: break;
    }
}

void SdlBackend::setFocus(bool nowFocused) {
    if (nowFocused == focused) return;
    focused = nowFocused;
    postMessage(currentWindow(), WM_ACTIVATEAPP, focused ? 1 : 0, 0);
    clipCursor(clipOn ? &clip : nullptr);
}

// Alt+Enter and F12 act at the host level; the window procedure still receives the keys.
void SdlBackend::handleKey(const SDL_KeyboardEvent& e) {
    bool down = e.type == SDL_KEYDOWN;
    bool alt = (e.keysym.mod & KMOD_ALT) != 0;
    if (down && !e.repeat) {
        if (alt && (e.keysym.sym == SDLK_RETURN || e.keysym.sym == SDLK_KP_ENTER)) toggleFullDesktop();
        if (e.keysym.sym == SDLK_F12) writeScreenshot();
    }
    int32_t vk = virtualKeyOf(e.keysym.sym);
    if (vk == 0) return;
    bool altHeld = vk == VK_MENU ? down : alt;
    postKey(vk, down, e.repeat != 0, altHeld);
}

void SdlBackend::handleButton(const SDL_MouseButtonEvent& e) {
    if (e.button != SDL_BUTTON_LEFT && e.button != SDL_BUTTON_RIGHT) return;
    MouseButton button = e.button == SDL_BUTTON_LEFT ? MouseButton::left : MouseButton::right;
    Point at = toPicture(viewport(), windowToDrawable(e.x, e.y));
    bool down = e.type == SDL_MOUSEBUTTONDOWN;
    bool isDouble = down && doubleClicks.press(button, e.timestamp, at);
    postButton(button, down, isDouble, at);
}

}  // namespace platform
