// Helpers of the drawing test fixture.
#include "draw/draw_fixture.h"

#include <filesystem>
#include <fstream>

#include "platform/video/image_write.h"

namespace drawtest {

namespace {

COLORREF colorrefOf(uint32_t rgb) { return RGB(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)); }

}  // namespace

int32_t DrawTest::startScreen(int32_t width, int32_t height) {
    zuDraw::Release();
    return zuDraw::Screen(width, height, 1);
}

void DrawTest::writeProgramFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::filesystem::path path = programFolder / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void DrawTest::paint(platform::Surface& surface, uint32_t rgb, platform::Rect area) {
    if (area.empty()) area = {0, 0, surface.width, surface.height};
    platform::fill(surface, area, platform::pixelFromColor(surface.format, colorrefOf(rgb)));
}

uint32_t DrawTest::pixelAt(const platform::Surface& surface, int32_t x, int32_t y) {
    return platform::surfacePixels(surface)[size_t(y) * surface.width + x];
}

uint32_t DrawTest::shown(platform::Format format, uint32_t rgb) {
    COLORREF back = platform::colorFromPixel(format, platform::pixelFromColor(format, colorrefOf(rgb)));
    return (uint32_t(GetRValue(back)) << 16) | (uint32_t(GetGValue(back)) << 8) | GetBValue(back);
}

}  // namespace drawtest
