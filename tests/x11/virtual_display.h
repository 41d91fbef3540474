// A private X server (Xvfb) for tests of the SDL backend: reading its screen back, running tools
// and programs of the build on it.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/process.h"

namespace test {

class VirtualDisplay {
public:
    // Starts Xvfb at the size given; false with whyNot filled when it cannot.
    bool start(int32_t width, int32_t height);
    const std::string& name() const { return name_; }  // ":N"
    const std::string& whyNot() const { return whyNot_; }
    // The pixels of an area (by default the whole screen), top row first, each 0xRRGGBB; empty
    // when they cannot be read.
    std::vector<uint32_t> screenshot(int32_t x = 0, int32_t y = 0, int32_t width = 0, int32_t height = 0) const;
    int64_t pixel(int32_t x, int32_t y) const {  // -1 when it cannot be read
        std::vector<uint32_t> p = screenshot(x, y, 1, 1);
        return p.empty() ? -1 : p[0];
    }
    // The output of a tool on the PATH (argv[0]) run on the display; nothing when it failed.
    std::optional<std::string> run(std::vector<std::string> argv) const;
    // The program (a path, or a name in the build's program folder) on the display, with silent
    // audio, its settings and pictures under dir, and none of the headless switches.
    ProcessSpec program(const std::string& program, const std::string& dir) const;

private:
    std::unique_ptr<Process> server_;
    std::string name_, whyNot_;
    int32_t width_ = 0, height_ = 0;
};

std::string findProgram(const std::string& name);  // empty when not on the PATH

// Waits until the text appears in the output (or error) at or after `from`.
bool waitForOutputAfter(Process&, size_t from, const std::string& text, int timeoutMs, bool inError = false);

}  // namespace test
