// The message pump of a framework program's loop: every waiting message to the window
// procedure, a wait while the program is in the background, and the end at WM_QUIT.
#include "platform/os/window.h"
#include "platform/win32.h"
#include "system/zu_system.h"

namespace zuSystem {

int32_t PumpMessages() {
    platform::Message message;
    for (;;) {
        while (platform::peekMessage(message)) {
            if (message.message == WM_QUIT) return 0;
            platform::dispatchMessage(message);
        }
        if (systemState.active) return 1;
        platform::waitMessage();
    }
}

}  // namespace zuSystem
