#include "x11/sdl_program.h"

namespace test {

ProcessSpec sdlProgram(const VirtualDisplay& display, const std::string& program, const std::string& dir) {
    ProcessSpec spec;
    spec.argv = {program.find('/') == std::string::npos ? binaryDir() + "/" + program : program};
    spec.env = {{"DISPLAY", display.name()}, {"SDL_AUDIODRIVER", "dummy"},
                {"XDG_CONFIG_HOME", dir + "/config"}, {"XDG_PICTURES_DIR", dir}, {"HOME", dir}};
    spec.unset = {"TESSORA_PLATFORM", "TESSORA_WINDOWED", "TESSORA_SCRIPT", "WAYLAND_DISPLAY"};
    spec.workDir = dir;
    return spec;
}

bool waitForOutputAfter(Process& p, size_t from, const std::string& text, int timeoutMs, bool inError) {
    const std::string& sink = inError ? p.err() : p.out();
    for (int waited = 0; sink.find(text, from) == std::string::npos; waited += 50) {
        if (waited >= timeoutMs) return false;
        p.waitForOutput("\x01", 50, inError);  // reads for a while; the text never comes
    }
    return true;
}

}  // namespace test
