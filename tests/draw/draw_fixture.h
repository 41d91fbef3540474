// A fresh program with helpers for drawing tests: the screen set up at the size a test asks
// for, files in the program folder, painting and reading surfaces in 0x00RRGGBB.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "draw/zu_draw.h"
#include "platform/video/surface.h"
#include "support/fresh_program.h"

namespace drawtest {

class DrawTest : public FreshProgram {
protected:
    // Releases the running screen and sets up a new one (depth from SetColorDepth).
    int32_t startScreen(int32_t width, int32_t height);
    // Writes a file under the program folder; `name` uses '/' between folders.
    void writeProgramFile(const std::string& name, const std::vector<uint8_t>& bytes);
    // Fills a rectangle (the whole surface when empty) with one 0x00RRGGBB colour.
    void paint(platform::Surface& surface, uint32_t rgb, platform::Rect area = {0, 0, 0, 0});
    uint32_t pixelAt(const platform::Surface& surface, int32_t x, int32_t y);
    // How an 0x00RRGGBB colour reads back from a surface of the format.
    static uint32_t shown(platform::Format format, uint32_t rgb);
};

}  // namespace drawtest
