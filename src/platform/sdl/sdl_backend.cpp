// SDL2 backend: start-up, clock, cursor, text input and the remembered window/full-desktop
// choice.
#include "platform/sdl/sdl_backend.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/environment.h"
#include "platform/os/files.h"
#include "platform/headless.h"
#include "platform/win32.h"

namespace platform {

bool useSdl() {
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "sdl: cannot start video: %s\n", SDL_GetError());
        return false;
    }
    // Without controller support the program simply sees no joystick.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "sdl: no game controllers: %s\n", SDL_GetError());
    installBackend(new SdlBackend());
    return true;
}

SdlBackend::~SdlBackend() {
    closeAudioDevice();
    closeWindow();
    joysticks.closeAll();
    SDL_Quit();
}

void SdlBackend::sleepUntil(uint32_t tick) {
    for (int32_t left = int32_t(tick - ticks()); left > 0; left = int32_t(tick - ticks()))
        SDL_Delay(uint32_t(left));
}

double SdlBackend::wallSeconds() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

void SdlBackend::showCursor(bool show) {
    cursorShown = show;
    applyCursor();
}

void SdlBackend::setCursor(bool arrow) {
    cursorArrow = arrow;
    applyCursor();
}

void SdlBackend::applyCursor() { SDL_ShowCursor(cursorShown && cursorArrow ? SDL_ENABLE : SDL_DISABLE); }

bool SdlBackend::enableTextInput(bool on) {
    const bool was = SDL_IsTextInputActive() == SDL_TRUE;
    if (on) SDL_StartTextInput();
    else SDL_StopTextInput();
    return was;
}

// --- the remembered choice and the screenshot folder -------------------------------------

namespace {
std::string windowedSettingPath() {
    std::string host;
    if (!hostPath((configDirectory() + "\\windowed").c_str(), host, true)) return {};
    return host;
}
}  // namespace

bool rememberedWindowed() {
    if (const char* v = environmentSetting("WINDOWED"); v && *v) return std::string(v) != "0";
    std::ifstream in(windowedSettingPath());
    char c = '0';
    return in.get(c) && c == '1';
}

void rememberWindowed(bool windowed) {
    std::string path = windowedSettingPath();
    std::ofstream out(path, std::ios::trunc);
    if (path.empty() || !(out << (windowed ? "1\n" : "0\n")))
        std::fprintf(stderr, "sdl: cannot remember the window choice in '%s'\n", path.c_str());
}

// $XDG_PICTURES_DIR, else its line in user-dirs.dirs ("$HOME/..." expanded), else the home.
std::string picturesDirectory() {
    const char* home = std::getenv("HOME");
    std::string homeDir = home ? home : ".";
    if (const char* v = std::getenv("XDG_PICTURES_DIR"); v && *v) return v;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string dirs = (config && *config ? std::string(config) : homeDir + "/.config") + "/user-dirs.dirs";
    std::ifstream in(dirs);
    for (std::string line; std::getline(in, line);) {
        const std::string key = "XDG_PICTURES_DIR=\"";
        if (line.rfind(key, 0) != 0 || line.back() != '"') continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.rfind("$HOME", 0) == 0) value = homeDir + value.substr(5);
        return value;
    }
    return homeDir;
}

}  // namespace platform
