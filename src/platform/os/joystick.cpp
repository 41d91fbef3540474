// The joystick service, forwarded to the installed backend.
#include "platform/os/joystick.h"

#include "platform/backend.h"

namespace platform {

bool readJoystick(int32_t id, JoyInfo& out) {
    if (id < 0 || id >= joystickCount) return false;
    return backend().readJoystick(id, out);
}

void joystickConfigChanged() { backend().joystickConfigChanged(); }

}  // namespace platform
