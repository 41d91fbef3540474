// What the joystick files share: one read of a device that notices a newly attached one.
#pragma once
#include <cstdint>

#include "platform/os/joystick.h"

namespace Joystick {

// False for an absent device and for ids other than 0 and 1. A device that appeared since the
// last read (plugged in after Init, or another one on the id) has its centre read first: kept
// at (0, 0) it would read down-right for good.
bool readDevice(int32_t id, platform::JoyInfo& info);

}  // namespace Joystick
