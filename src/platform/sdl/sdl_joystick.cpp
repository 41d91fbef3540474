// SDL game controllers as the platform's two joysticks.
#include "platform/sdl/sdl_joystick.h"

#include <cstdlib>
#include <iterator>

namespace platform {
namespace {

// Within this of the middle (of 32768) the stick rests and the D-pad steers instead. The
// framework's direction threshold lies at half a stroke, so a worn stick's drift stays inside.
constexpr int32_t restZone = 8000;

// Button n + 1 of the framework is bit n; the D-pad is left out, as it drives the axes.
constexpr SDL_GameControllerButton buttonOrder[] = {
    SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_GUIDE, SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSTICK, SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_MISC1, SDL_CONTROLLER_BUTTON_PADDLE1, SDL_CONTROLLER_BUTTON_PADDLE2,
    SDL_CONTROLLER_BUTTON_PADDLE3, SDL_CONTROLLER_BUTTON_PADDLE4, SDL_CONTROLLER_BUTTON_TOUCHPAD,
};

}  // namespace

JoyInfo readController(SDL_GameController* c) {
    const int32_t sx = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
    const int32_t sy = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
    JoyInfo info;
    info.x = uint32_t(sx + 32768);
    info.y = uint32_t(sy + 32768);
    if (std::abs(sx) < restZone && std::abs(sy) < restZone) {
        auto held = [c](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(c, b) != 0; };
        if (held(SDL_CONTROLLER_BUTTON_DPAD_LEFT)) info.x = 0;
        else if (held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) info.x = joystickAxisMax;
        if (held(SDL_CONTROLLER_BUTTON_DPAD_UP)) info.y = 0;
        else if (held(SDL_CONTROLLER_BUTTON_DPAD_DOWN)) info.y = joystickAxisMax;
    }
    for (uint32_t bit = 0; bit < std::size(buttonOrder); ++bit)
        if (SDL_GameControllerGetButton(c, buttonOrder[bit])) info.buttons |= 1u << bit;
    return info;
}

bool SdlJoysticks::isOpen(SDL_JoystickID instance) const {
    for (const Slot& s : slots)
        if (s.controller && s.instance == instance) return true;
    return false;
}

void SdlJoysticks::rescan() {
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return;
    const int32_t devices = SDL_NumJoysticks();
    for (int32_t device = 0; device < devices; ++device) {
        if (!SDL_IsGameController(device)) continue;
        const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(device);
        if (instance < 0 || isOpen(instance)) continue;
        Slot* free = nullptr;
        for (Slot& s : slots)
            if (!s.controller && !free) free = &s;
        if (!free) return;
        SDL_GameController* c = SDL_GameControllerOpen(device);
        if (!c) continue;
        *free = Slot{c, instance, ++connections};
    }
}

void SdlJoysticks::close(Slot& s) {
    if (s.controller) SDL_GameControllerClose(s.controller);
    s = Slot{};
}

void SdlJoysticks::removed(SDL_JoystickID instance) {
    for (Slot& s : slots)
        if (s.controller && s.instance == instance) close(s);
    rescan();
}

bool SdlJoysticks::read(int32_t id, JoyInfo& out) {
    if (id < 0 || id >= joystickCount) return false;
    Slot& s = slots[id];
    if (s.controller && !SDL_GameControllerGetAttached(s.controller)) removed(s.instance);
    if (!s.controller) return false;
    out = readController(s.controller);
    out.connection = s.connection;
    return true;
}

void SdlJoysticks::closeAll() {
    for (Slot& s : slots) close(s);
}

}  // namespace platform
