// The joystick records, start-up, centres and the rates.
#include "input/joystick.h"

#include "input/joystick_internal.h"

namespace Joystick {

JoystickState joystickState[joystickCount];
JoystickCentre joystickCentre[joystickCount];

namespace {
// The connection each centre was read from; 0 for none, which no device carries.
uint32_t centreConnection[joystickCount] = {};

bool validId(int32_t id) { return id >= 0 && id < joystickCount; }
}  // namespace

bool readDevice(int32_t id, platform::JoyInfo& info) {
    if (!validId(id) || !platform::readJoystick(id, info)) return false;
    if (info.connection != centreConnection[id]) {
        centreConnection[id] = info.connection;
        joystickCentre[id] = {int32_t(info.x), int32_t(info.y)};
    }
    return true;
}

void Init() {
    platform::joystickConfigChanged();
    ReadCentres();
    for (JoystickState& s : joystickState) s = {};
}

void ReadCentres() {
    for (int32_t id = 0; id < joystickCount; ++id) {
        platform::JoyInfo info;
        bool present = platform::readJoystick(id, info);
        centreConnection[id] = present ? info.connection : 0;
        joystickCentre[id] = present ? JoystickCentre{int32_t(info.x), int32_t(info.y)} : JoystickCentre{};
    }
}

void Reset() {
    for (JoystickState& s : joystickState) {
        s.analogX = s.analogY = 0;
        for (float& hold : s.buttonHold) hold = 0;
    }
}

void SetRates(int32_t id, float axisRate, float buttonRate) {
    if (!validId(id)) return;
    joystickState[id].axisRate = axisRate;
    joystickState[id].buttonRate = buttonRate;
}

void GetCentre(int32_t id, int32_t& x, int32_t& y) {
    platform::JoyInfo info;
    x = y = 0;
    if (!readDevice(id, info)) return;
    x = joystickCentre[id].x;
    y = joystickCentre[id].y;
}

}  // namespace Joystick
