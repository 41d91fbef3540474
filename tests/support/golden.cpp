// Golden-image comparison: reading and writing the 24-bit BMPs and the difference picture.
#include "support/golden.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/environment.h"
#include "platform/video/bmp.h"
#include "platform/video/image_write.h"

namespace testsupport {

namespace {

constexpr uint32_t gapColour = 0xFF00FF;

std::string goldenPath(const std::string& name) {
    return std::string(ZU_SOURCE_DIR) + "/tests/golden/" + name + ".bmp";
}

std::string outputPath(const std::string& name, const char* suffix) {
    std::filesystem::path folder = std::filesystem::path(ZU_BINARY_DIR) / "golden";
    std::filesystem::create_directories(folder);
    return (folder / (name + suffix)).string();
}

bool readGolden(const std::string& path, Picture& out) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    platform::Image image;
    if (!platform::decodeBmp(bytes, image)) return false;
    out = {image.width, image.height, std::move(image.xrgb)};
    return true;
}

bool write(const std::string& path, const Picture& picture) {
    return platform::writeBmp24(path, picture.width, picture.height, picture.xrgb.data());
}

// Differences in red over a dimmed copy of the expected picture.
Picture differenceOf(const Picture& expected, const Picture& actual) {
    Picture diff = expected;
    for (size_t i = 0; i < diff.xrgb.size(); ++i)
        diff.xrgb[i] = expected.xrgb[i] == actual.xrgb[i] ? (expected.xrgb[i] >> 2) & 0x3F3F3F : 0xFF0000;
    return diff;
}

std::string hex(uint32_t value) {
    std::ostringstream s;
    s << "0x" << std::hex << value;
    return s.str();
}

}  // namespace

Picture pictureOf(const platform::Surface& surface) {
    return {surface.width, surface.height, platform::surfacePixels(surface)};
}

Picture crop(const Picture& picture, platform::Rect r) {
    Picture out{r.width(), r.height(), {}};
    out.xrgb.reserve(size_t(out.width) * out.height);
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x) out.xrgb.push_back(picture.at(x, y));
    return out;
}

namespace {

// Parts laid out along one axis, a one-pixel gap of gapColour between them.
Picture joined(const std::vector<Picture>& parts, bool sideBySide) {
    Picture out;
    for (const Picture& p : parts) {
        int32_t& along = sideBySide ? out.width : out.height;
        int32_t& across = sideBySide ? out.height : out.width;
        along += (sideBySide ? p.width : p.height) + (along ? 1 : 0);
        across = std::max(across, sideBySide ? p.height : p.width);
    }
    out.xrgb.assign(size_t(out.width) * out.height, gapColour);
    int32_t offset = 0;
    for (const Picture& p : parts) {
        const int32_t left = sideBySide ? offset : 0, top = sideBySide ? 0 : offset;
        for (int32_t y = 0; y < p.height; ++y)
            std::copy_n(&p.xrgb[size_t(y) * p.width], p.width, &out.xrgb[size_t(top + y) * out.width + left]);
        offset += (sideBySide ? p.width : p.height) + 1;
    }
    return out;
}

}  // namespace

Picture besideEachOther(const std::vector<Picture>& parts) { return joined(parts, true); }
Picture aboveEachOther(const std::vector<Picture>& parts) { return joined(parts, false); }

::testing::AssertionResult matchesGolden(const std::string& name, const Picture& actual) {
    const char* update = platform::environmentSetting("UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        if (!write(goldenPath(name), actual)) return ::testing::AssertionFailure() << "cannot write " << goldenPath(name);
        return ::testing::AssertionSuccess();
    }
    Picture expected;
    if (!readGolden(goldenPath(name), expected)) {
        write(outputPath(name, ".actual.bmp"), actual);
        return ::testing::AssertionFailure() << "no golden " << goldenPath(name)
                                             << " (ZU_UPDATE_GOLDEN=1 makes it)";
    }
    if (expected.width != actual.width || expected.height != actual.height) {
        write(outputPath(name, ".actual.bmp"), actual);
        return ::testing::AssertionFailure() << name << ": size " << actual.width << "x" << actual.height
                                             << ", golden " << expected.width << "x" << expected.height;
    }
    size_t count = 0, first = 0;
    for (size_t i = 0; i < actual.xrgb.size(); ++i)
        if (actual.xrgb[i] != expected.xrgb[i] && count++ == 0) first = i;
    if (count == 0) return ::testing::AssertionSuccess();
    write(outputPath(name, ".actual.bmp"), actual);
    write(outputPath(name, ".diff.bmp"), differenceOf(expected, actual));
    int32_t x = int32_t(first % actual.width), y = int32_t(first / actual.width);
    return ::testing::AssertionFailure() << name << ": " << count << " pixels differ; first at (" << x << ", "
                                         << y << "): " << hex(actual.xrgb[first]) << ", golden "
                                         << hex(expected.xrgb[first]) << "; see "
                                         << outputPath(name, ".diff.bmp");
}

}  // namespace testsupport
