// One step of a screen transition, drawn over the back buffer from the captured frame.
#pragma once
#include <cstdint>

namespace zuDraw {

// Draws kind's picture for step s of a run of the given length; kinds without one draw nothing.
void drawTransitionStep(int32_t kind, int32_t length, int32_t step);

}  // namespace zuDraw
