// File output of the asset tool; the picture encoders are the platform's own.
#include "assets/output.h"

#include <fstream>

#include "platform/video/image_write.h"

namespace assets {

bool writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

bool writePicture(const std::filesystem::path& path, const Canvas& c) {
    return writeBytes(path, platform::encodeBmp24(c.width, c.height, c.pixels.data()));
}

std::vector<uint8_t> iconBmp(const Canvas& c) {
    constexpr uint32_t kFileHeader = 14, kInfoHeader = 108;
    uint32_t pixelBytes = uint32_t(c.width * c.height * 4);
    std::vector<uint8_t> out;
    auto u16 = [&](uint32_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    out.push_back('B');
    out.push_back('M');
    u32(kFileHeader + kInfoHeader + pixelBytes);
    u32(0);
    u32(kFileHeader + kInfoHeader);
    u32(kInfoHeader);
    u32(uint32_t(c.width));
    u32(uint32_t(c.height));
    u16(1);
    u16(32);
    u32(3);  // bit fields
    u32(pixelBytes);
    u32(2835);  // 72 dpi
    u32(2835);
    u32(0);
    u32(0);
    u32(0x00FF0000);  // red, green, blue, alpha masks
    u32(0x0000FF00);
    u32(0x000000FF);
    u32(0xFF000000);
    u32(0x73524742);      // colour space 'sRGB'
    out.resize(out.size() + 36 + 12, 0);  // end points and gamma, unused for sRGB
    for (int y = c.height - 1; y >= 0; --y)
        for (int x = 0; x < c.width; ++x) u32(c.at(x, y));
    return out;
}

bool writeIconPng(const std::filesystem::path& path, const Canvas& c) {
    return writeBytes(path, platform::encodePng(c.width, c.height, c.pixels.data(), true));
}

}  // namespace assets
