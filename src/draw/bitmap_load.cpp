// Bitmap loading for the object table: resource table first, then the file; decoded, checked
// for a size the records can hold, and converted into a surface of the display format.
#include "draw/bitmap_load.h"

#include <cstdio>
#include <vector>

#include "platform/video/bmp.h"
#include "platform/os/files.h"
#include "platform/os/resources.h"
#include "platform/video/surface.h"
#include "system/zu_system.h"

namespace zuDraw {

namespace {

constexpr long maxBitmapFileBytes = 64L << 20;

bool readWholeFile(const char* path, std::vector<uint8_t>& bytes) {
    FILE* file = platform::openFile(path, "rb");
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(file) : -1;
    ok = size >= 0 && size <= maxBitmapFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(size_t(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return ok;
}

bool decodeResource(const char* name, platform::Image& image) {
    auto bytes = platform::findResource(zuSystem::systemState.instance, "BITMAP", name);
    return !bytes.empty() && platform::decodeBmp(bytes, image);
}

bool decodeFile(const char* path, platform::Image& image) {
    std::vector<uint8_t> bytes;
    return readWholeFile(path, bytes) && platform::decodeBmp(bytes, image);
}

}  // namespace

bool loadBitmapInto(ObjectRecord& record, const char* name, BitmapSource source) {
    platform::Image image;
    bool decoded = decodeResource(name, image) ||
                   (source == BitmapSource::resourceThenFile && decodeFile(name, image));
    if (!decoded || image.width > 0xFFFF || image.height > 0xFFFF) return false;
    platform::Surface* surface = platform::createSurface(image.width, image.height);
    if (!surface) return false;
    if (platform::copyImage(image, *surface) != platform::Status::ok) {
        platform::destroySurface(surface);
        return false;
    }
    record.surface = surface;
    record.width = uint16_t(image.width);
    record.height = uint16_t(image.height);
    return true;
}

}  // namespace zuDraw
