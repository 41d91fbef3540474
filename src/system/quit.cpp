// The quit operation: releases the devices once, frees the guard and closes the window.
#include "draw/zu_draw.h"
#include "platform/os/instance.h"
#include "platform/win32.h"
#include "platform/os/window.h"
#include "sound/zu_sound.h"
#include "system/zu_system.h"

namespace zuSystem {

int32_t Quit() {
    if (systemState.quitting) return 1;
    systemState.quitting = 1;
    Unclip();
    zuDraw::ReleaseFonts();
    zuSound::Release();
    zuSound::QuitMidi();  // nothing may go on playing after the quit
    zuDraw::Release();
    if (systemState.mutex) {
        platform::releaseInstance();
        systemState.mutex = 0;
    }
    if (systemState.closeState == 0) platform::postMessage(systemState.window, WM_CLOSE, 0, 0);
    systemState.closeState = 2;
    return 1;
}

}  // namespace zuSystem
