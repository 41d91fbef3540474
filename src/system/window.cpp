// The single-instance guard, the window class and the creation of the one window.
#include <cstring>

#include "platform/os/files.h"
#include "platform/os/instance.h"
#include "platform/sjis.h"
#include "platform/os/window.h"
#include "system/zu_system.h"

namespace zuSystem {
namespace {
platform::WindowDesc windowClass;
}

int32_t CheckInstance(const char* name) {
    char mutexName[256];
    size_t n = platform::sjisCopy(mutexName, sizeof mutexName, name);
    platform::sjisCopy(mutexName + n, sizeof mutexName - n, ":ZuMutex");
    platform::setProgramName(name);  // settings live in a folder named for the program
    if (!platform::acquireInstance(mutexName)) return 0;  // the holder was asked to come forward
    systemState.mutex = 1;
    return 1;
}

int32_t RegisterWindowClass(platform::Instance* instance) {
    windowClass.className = "DEFAULT";
    windowClass.icon = "MAIN";
    windowClass.instance = instance;
    windowClass.proc = WindowProc;
    return 1;
}

int32_t CreateMainWindow(platform::Instance* instance, int32_t showCommand) {
    (void)showCommand;  // the window is shown as it is created
    platform::WindowDesc desc = windowClass;
    desc.title = systemState.title;
    platform::setProgramName(systemState.title);
    desc.instance = instance;
    desc.fullScreen = systemState.fullScreen != 0;
    systemState.window = platform::createWindow(desc);
    return systemState.window ? 1 : 0;
}

}  // namespace zuSystem
