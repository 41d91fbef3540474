// Golden-image comparison: reading and writing the 24-bit BMPs and the difference picture.
#include "support/golden.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/environment.h"
#include "platform/video/bmp.h"
#include "platform/video/image_write.h"

namespace testsupport {
namespace {

// Writes the picture into the build tree as <name><suffix> and returns the path.
std::string writeOutput(const std::string& name, const char* suffix, const Picture& picture) {
    const std::filesystem::path folder = std::filesystem::path(ZU_BINARY_DIR) / "golden";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / (name + suffix)).string();
    platform::writeBmp24(path, picture.width, picture.height, picture.xrgb.data());
    return path;
}

// Parts laid out along one axis, a one-pixel magenta gap between them.
Picture joined(const std::vector<Picture>& parts, bool sideBySide) {
    Picture out;
    for (const Picture& p : parts) {
        int32_t& along = sideBySide ? out.width : out.height;
        int32_t& across = sideBySide ? out.height : out.width;
        along += (sideBySide ? p.width : p.height) + (along ? 1 : 0);
        across = std::max(across, sideBySide ? p.height : p.width);
    }
    out.xrgb.assign(size_t(out.width) * out.height, 0xFF00FF);
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

Picture pictureOf(const platform::Surface& surface) {
    return {surface.width, surface.height, platform::surfacePixels(surface)};
}

Picture crop(const Picture& picture, platform::Rect r) {
    Picture out{r.width(), r.height(), {}};
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x) out.xrgb.push_back(picture.at(x, y));
    return out;
}

Picture besideEachOther(const std::vector<Picture>& parts) { return joined(parts, true); }
Picture aboveEachOther(const std::vector<Picture>& parts) { return joined(parts, false); }

::testing::AssertionResult matchesGolden(const std::string& name, const Picture& actual) {
    const std::string golden = std::string(ZU_SOURCE_DIR) + "/tests/golden/" + name + ".bmp";
    const char* update = platform::environmentSetting("UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        if (platform::writeBmp24(golden, actual.width, actual.height, actual.xrgb.data()))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "cannot write " << golden;
    }
    std::ifstream file(golden, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    platform::Image expected;
    if (!platform::decodeBmp(bytes, expected)) {
        writeOutput(name, ".actual.bmp", actual);
        return ::testing::AssertionFailure() << "no golden " << golden << " (ZU_UPDATE_GOLDEN=1 makes it)";
    }
    if (expected.width != actual.width || expected.height != actual.height) {
        writeOutput(name, ".actual.bmp", actual);
        return ::testing::AssertionFailure() << name << ": size " << actual.width << "x" << actual.height
                                             << ", golden " << expected.width << "x" << expected.height;
    }
    // Differences in red over a dimmed copy of the golden.
    Picture diff{actual.width, actual.height, expected.xrgb};
    size_t count = 0, first = 0;
    for (size_t i = 0; i < actual.xrgb.size(); ++i) {
        const bool same = actual.xrgb[i] == expected.xrgb[i];
        if (!same && count++ == 0) first = i;
        diff.xrgb[i] = same ? (expected.xrgb[i] >> 2) & 0x3F3F3F : 0xFF0000;
    }
    if (count == 0) return ::testing::AssertionSuccess();
    writeOutput(name, ".actual.bmp", actual);
    ::testing::Message message;  // one stream, so the hex manipulator holds
    message << name << ": " << count << " pixels differ; first at (" << first % actual.width << ", "
            << first / actual.width << "): " << std::hex << "0x" << actual.xrgb[first] << ", golden 0x"
            << expected.xrgb[first] << "; see " << writeOutput(name, ".diff.bmp", diff);
    return ::testing::AssertionFailure() << message;
}

}  // namespace testsupport
