// A private X server (Xvfb) for tests of the SDL backend, and reading its screen back.
#pragma once
#include <cstdint>
#include <memory>
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
    // The screen's pixel at (x, y) as 0xRRGGBB, or -1 when it cannot be read.
    int64_t pixel(int32_t x, int32_t y) const;
    // The whole screen, top row first, each pixel 0xRRGGBB; empty when it cannot be read.
    std::vector<uint32_t> screenshot() const;
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    std::unique_ptr<Process> server_;
    std::string name_, whyNot_;
    int32_t width_ = 0, height_ = 0;
};

std::string findProgram(const std::string& name);  // empty when not on the PATH
// Runs xdotool with the arguments on the display; true when it succeeded.
bool xdotool(const VirtualDisplay&, const std::vector<std::string>& args);

}  // namespace test
