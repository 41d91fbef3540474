// Starting Xvfb on a free display number it picks itself, and XGetImage of its screen.
#include "x11/virtual_display.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace test {

std::string findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        std::string candidate = dir + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

bool VirtualDisplay::start(int32_t width, int32_t height) {
    std::string xvfb = findProgram("Xvfb");
    if (xvfb.empty()) {
        whyNot_ = "Xvfb is not installed";
        return false;
    }
    width_ = width, height_ = height;
    server_ = std::make_unique<Process>();
    ProcessSpec spec;
    spec.argv = {xvfb, "-displayfd", "1", "-screen", "0",
                 std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp"};
    if (!server_->start(spec) || !server_->waitForOutput("\n", 15000)) {
        whyNot_ = "Xvfb did not start: " + server_->err();
        return false;
    }
    name_ = std::string(":") + server_->out().substr(0, server_->out().find('\n'));
    return true;
}

std::vector<uint32_t> VirtualDisplay::screenshot(int32_t x, int32_t y, int32_t width, int32_t height) const {
    if (width == 0) width = width_, height = height_;
    Display* d = XOpenDisplay(name_.c_str());
    if (!d) return {};
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    std::vector<uint32_t> pixels;
    if (image) {
        pixels.reserve(size_t(width) * size_t(height));
        for (int32_t row = 0; row < height; ++row)
            for (int32_t column = 0; column < width; ++column)
                pixels.push_back(uint32_t(XGetPixel(image, column, row) & 0xFFFFFF));
        XDestroyImage(image);
    }
    XCloseDisplay(d);
    return pixels;
}

std::optional<std::string> VirtualDisplay::run(std::vector<std::string> argv) const {
    ProcessSpec spec;
    spec.argv = std::move(argv);
    spec.argv[0] = findProgram(spec.argv[0]);
    if (spec.argv[0].empty()) return std::nullopt;
    spec.env = {{"DISPLAY", name_}};
    spec.timeoutMs = 10000;
    ProcessResult r = runProcess(spec);
    return r.exitCode == 0 ? std::optional(r.out) : std::nullopt;
}

ProcessSpec VirtualDisplay::program(const std::string& program, const std::string& dir) const {
    ProcessSpec spec;
    spec.argv = {program.find('/') == std::string::npos ? binaryDir() + "/" + program : program};
    spec.env = {{"DISPLAY", name_}, {"SDL_AUDIODRIVER", "dummy"},
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
