// Golden-image comparison: pictures against 24-bit BMPs under tests/golden/, exactly. A mismatch
// writes <name>.actual.bmp and <name>.diff.bmp into the build tree and reports the count and the
// first differing pixel; ZU_UPDATE_GOLDEN=1 (or TESSORA_UPDATE_GOLDEN=1) rewrites the golden instead.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/video/surface.h"
#include "platform/types.h"

namespace testsupport {

// Pixels 0x00RRGGBB, top row first.
struct Picture {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> xrgb;
    uint32_t at(int32_t x, int32_t y) const { return xrgb[size_t(y) * width + x]; }
};

Picture pictureOf(const platform::Surface&);
Picture crop(const Picture&, platform::Rect);
// Side by side, top-aligned, with a one-pixel magenta gap so the parts stay told apart.
Picture besideEachOther(const std::vector<Picture>&);
Picture aboveEachOther(const std::vector<Picture>&);

// `name` without extension, e.g. "draw_transition_kind02".
::testing::AssertionResult matchesGolden(const std::string& name, const Picture&);

}  // namespace testsupport
