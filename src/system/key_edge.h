// The step of the four-state edge detector, shared by the key poll and the joystick buttons.
#pragma once
#include <cstdint>

namespace zuSystem {

// The KeyEdge value after `state` for a poll that finds the key down or up; Up while a
// transition runs, the scroll view is shown or keys are captured.
int32_t NextKeyEdge(int32_t state, bool down);

}  // namespace zuSystem
