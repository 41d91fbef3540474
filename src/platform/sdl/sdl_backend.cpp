// SDL2 backend: window, events, presentation, audio device, controllers.
#include "platform/headless.h"

namespace platform {
bool useSdl() { return false; }
}  // namespace platform
