// The joysticks of the SDL backend: the first two game controllers, in the order they came, on
// ids 0 and 1. An id keeps its device while it stays; a freed id goes to the next one waiting.
#pragma once
#include <SDL2/SDL.h>

#include "platform/os/joystick.h"

namespace platform {

class SdlJoysticks {
public:
    ~SdlJoysticks() { closeAll(); }
    void rescan();  // opens controllers not yet open into the free ids, lowest device first
    void removed(SDL_JoystickID instance);  // frees its id and gives it to a waiting device
    bool read(int32_t id, JoyInfo& out);
    void closeAll();

private:
    struct Slot {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID instance = -1;
        uint32_t connection = 0;
    };
    bool isOpen(SDL_JoystickID instance) const;
    void close(Slot&);

    Slot slots[joystickCount];
    uint32_t connections = 0;
};

// A controller's state as the framework reads it: the left stick, or the D-pad at the ends of
// the axes while the stick rests; A, B, X, Y as buttons 1 to 4 and the other buttons from 5 on.
JoyInfo readController(SDL_GameController*);

}  // namespace platform
