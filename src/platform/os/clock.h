// The program's clock: 32-bit wrapping milliseconds, a sleep to a tick, and the wall clock.
// Headless, all three are virtual (see headless.h).
#pragma once
#include <cstdint>

namespace platform {

uint32_t ticks();                  // milliseconds, wrapping at 2^32
void sleepUntil(uint32_t tick);    // returns once ticks() has reached tick (wrap-aware)
double wallSeconds();              // seconds since 1970, for time() and the local time

}  // namespace platform
