// The clock services, forwarded to the installed backend.
#include "platform/os/clock.h"

#include "platform/backend.h"

namespace platform {

uint32_t ticks() { return backend().ticks(); }
void sleepUntil(uint32_t tick) { backend().sleepUntil(tick); }
double wallSeconds() { return backend().wallSeconds(); }

}  // namespace platform
