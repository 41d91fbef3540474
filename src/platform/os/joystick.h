// Two joysticks, ids 0 and 1, read through the installed backend: a stick as X and Y in
// 0 ... 65535 (centre near 32767) and up to 32 buttons. Devices may come and go at any time.
#pragma once
#include <cstdint>

namespace platform {

constexpr int32_t joystickCount = 2;  // ids 0 and 1
constexpr uint32_t joystickAxisMax = 65535;
constexpr uint32_t joystickAxisCentre = 32767;

struct JoyInfo {
    uint32_t x = 0, y = 0;    // 0 left/up ... 65535 right/down
    uint32_t buttons = 0;     // bit n: button n + 1
    uint32_t connection = 0;  // new whenever a device takes the id, so a reader sees the change
};

// False for an absent device or an id outside 0 ... 1; out is then left alone.
bool readJoystick(int32_t id, JoyInfo& out);
// Looks for devices again (ones plugged in meanwhile take the free ids).
void joystickConfigChanged();

}  // namespace platform
