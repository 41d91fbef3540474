// The stick: raw positions, directions against the centre, keypad codes and the ramped axes.
#include <algorithm>

#include "input/joystick.h"
#include "input/joystick_internal.h"
#include "system/zu_system.h"

namespace Joystick {
namespace {

// -1 at or below half the centre, +1 at or above one and a half times it.
int32_t axisDirection(int32_t position, int32_t centre) {
    if (position <= centre / 2) return -1;
    if (position >= centre / 2 + centre) return 1;
    return 0;
}

bool readDirection(int32_t id, int32_t& dx, int32_t& dy) {
    platform::JoyInfo info;
    dx = dy = 0;
    if (!readDevice(id, info)) return false;
    dx = axisDirection(int32_t(info.x), joystickCentre[id].x);
    dy = axisDirection(int32_t(info.y), joystickCentre[id].y);
    return true;
}

// Towards the held direction, or back to 0 without overshooting it.
void ramp(float& value, int32_t direction, float step) {
    if (direction != 0) value += float(direction) * step;
    else if (value > 0) value = std::max(0.0f, value - step);
    else if (value < 0) value = std::min(0.0f, value + step);
    value = std::clamp(value, -100.0f, 100.0f);
}

}  // namespace

void GetPosition(int32_t id, int32_t& x, int32_t& y) {
    platform::JoyInfo info;
    bool present = readDevice(id, info);
    x = present ? int32_t(info.x) : 0;
    y = present ? int32_t(info.y) : 0;
}

void GetDirection(int32_t id, int32_t& dx, int32_t& dy) { readDirection(id, dx, dy); }

int32_t GetDirectionCode(int32_t id) {
    int32_t dx = 0, dy = 0;
    readDirection(id, dx, dy);
    return 5 + dx - 3 * dy;  // the keypad: 7 8 9 above 4 5 6 above 1 2 3
}

void GetAnalog(int32_t id, int32_t& x, int32_t& y) {
    int32_t dx = 0, dy = 0;
    x = y = 0;
    if (!readDirection(id, dx, dy)) return;
    JoystickState& s = joystickState[id];
    const float step = s.axisRate * zuSystem::frameClock.seconds;
    ramp(s.analogX, dx, step);
    ramp(s.analogY, dy, step);
    x = int32_t(s.analogX);
    y = int32_t(s.analogY);
}

}  // namespace Joystick
