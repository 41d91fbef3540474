// The program's entry: picks the backend from ZU_PLATFORM (or TESSORA_PLATFORM), builds the
// instance from the compiled-in resources and the command line, and runs WinMain.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/backend.h"
#include "platform/environment.h"
#include "platform/headless.h"
#include "platform/os/resources.h"
#include "platform/sjis.h"
#include "platform/win32.h"
#include "system/zu_main.h"

namespace platform {
// The table of a program without resources; a program's own definition replaces this one.
__attribute__((weak)) std::span<const Resource> programResources() { return {}; }
}  // namespace platform

namespace {

// The arguments after the program name, joined by spaces, as Shift-JIS.
std::string commandLineOf(int argc, char** argv) {
    std::string utf8;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) utf8 += ' ';
        utf8 += argv[i];
    }
    std::string sjis;
    if (!platform::utf8ToSjis(utf8, sjis))
        std::fprintf(stderr, "command line: characters without a Shift-JIS form were dropped\n");
    return sjis;
}

// 0 when a backend is installed, else the exit status.
int chooseBackend() {
    const char* name = platform::environmentSetting("PLATFORM");
    if (!name || std::strcmp(name, "sdl") == 0) return platform::useSdl() ? 0 : 1;
    if (std::strcmp(name, "headless") == 0)
        return platform::useHeadless(platform::HeadlessOptions::fromEnvironment()) ? 0 : 2;
    std::fprintf(stderr, "%s: unknown platform '%s' (use sdl or headless)\n",
                 platform::environmentSettingName("PLATFORM").c_str(), name);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (int status = chooseBackend(); status != 0) return status;
    std::string commandLine = commandLineOf(argc, argv);
    platform::Instance instance{platform::programResources(), commandLine.c_str()};
    int32_t result = WinMain(&instance, nullptr, commandLine.c_str(), SW_SHOWNORMAL);
    const bool scriptFailed = platform::headless::scriptFailed();
    // Stop the device thread before static records (the music among them) are destroyed.
    platform::installBackend(nullptr);
    return scriptFailed ? 2 : result;
}
