// Surfaces and the display: stretching, fills, loss, lock failures and the display modes with
// their formats (copies are held to a plain copy in pixel_copy_test).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>

#include "platform/headless.h"
#include "platform/video/display.h"
#include "platform/video/surface.h"

using namespace platform;

namespace {

struct SurfaceTest : ::testing::Test {
    void TearDown() override { headless::resetDisplay(); }
};

using Owned = std::unique_ptr<Surface, decltype(&destroySurface)>;
Owned make(int32_t w, int32_t h, Format f) { return {createSurface(w, h, f), destroySurface}; }

// The raw pixels at the given points, read through a lock; with `set`, written first.
std::vector<uint32_t> at(Surface& s, const std::vector<Point>& points, const uint32_t* set = nullptr) {
    LockedRect r;
    std::vector<uint32_t> out;
    if (lock(s, r) != Status::ok) return ADD_FAILURE() << "lock", std::vector(points.size(), ~0u);
    for (Point p : points) {
        uint8_t* bits = r.bits + p.y * r.pitch + p.x * bytesPerPixel(r.format);
        if (set) std::memcpy(bits, set++, bytesPerPixel(r.format));
        out.push_back(0);
        std::memcpy(&out.back(), bits, bytesPerPixel(r.format));
    }
    unlock(s);
    return out;
}
}  // namespace

TEST_F(SurfaceTest, StretchesAndFillsAreClippedAndTruncated) {
    Owned src = make(2, 2, Format::rgb565), dst = make(4, 4, Format::rgb565);
    const uint32_t values[] = {1, 2, 17, 18};
    at(*src, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, values);
    setColorKey(*src, 2);
    fill(*dst, {0, 0, 4, 4}, 9);
    // Nearest pixels, clipped on the left; the key (2) leaves the old 9.
    ASSERT_EQ(blt(*dst, {-2, 0, 6, 4}, *src, {0, 0, 2, 2}, true), Status::ok);
    EXPECT_EQ(at(*dst, {{0, 0}, {1, 0}, {2, 0}, {3, 3}}), (std::vector<uint32_t>{1, 1, 9, 18}));
    EXPECT_EQ(blt(*dst, {0, 0, 4, 4}, *src, {0, 0, 3, 2}, false), Status::failed);

    Owned f = make(3, 2, Format::rgb565);
    ASSERT_EQ(fill(*f, {-5, 1, 2, 9}, 0x12345), Status::ok);
    EXPECT_EQ(at(*f, {{0, 0}, {1, 1}, {2, 1}}), (std::vector<uint32_t>{0, 0x2345, 0}));
}

TEST_F(SurfaceTest, LossLockFailuresAndHeldSurfaces) {
    Owned a = make(4, 4, Format::rgb565), b = make(4, 4, Format::rgb565);
    fill(*a, {0, 0, 4, 4}, 5);
    fill(*b, {0, 0, 4, 4}, 6);
    headless::loseSurface(a.get());
    LockedRect r;
    EXPECT_EQ(lock(*a, r), Status::surfaceLost);
    EXPECT_EQ(bltFast(*b, 0, 0, *a, {0, 0, 4, 4}, false), Status::surfaceLost);
    EXPECT_EQ(bltFast(*a, 0, 0, *b, {0, 0, 4, 4}, false), Status::surfaceLost);
    EXPECT_EQ(fill(*a, {0, 0, 1, 1}, 1), Status::surfaceLost);
    // Restored, a lost surface is blank; one that was not lost keeps its pixels.
    EXPECT_EQ(restore(*a), Status::ok);
    EXPECT_EQ(restore(*b), Status::ok);
    EXPECT_EQ(at(*a, {{3, 3}}), std::vector<uint32_t>{0});
    EXPECT_EQ(at(*b, {{0, 0}}), std::vector<uint32_t>{6});

    headless::loseAllSurfaces();
    EXPECT_TRUE(isLost(*a) && isLost(*b));
    restore(*a), restore(*b);
    headless::failNextLocks(2);
    EXPECT_EQ(lock(*a, r), Status::failed);
    EXPECT_EQ(lock(*b, r), Status::failed);
    ASSERT_EQ(lock(*a, r), Status::ok);
    EXPECT_EQ(a->lockCount, 1);
    EXPECT_EQ(bltFast(*b, 0, 0, *a, {0, 0, 4, 4}, false), Status::failed);  // busy while locked
    EXPECT_EQ(fill(*a, {0, 0, 4, 4}, 1), Status::failed);
    unlock(*a);
    EXPECT_EQ(fill(*a, {0, 0, 4, 4}, 1), Status::ok);
}

TEST_F(SurfaceTest, DisplayModesChooseTheFormatOfNewSurfaces) {
    auto mode = [] { return std::pair(desktopBits(), displayFormat()); };
    EXPECT_EQ(mode(), std::pair(32, Format::xrgb8888));
    headless::setDesktopBits(16);
    EXPECT_EQ(mode(), std::pair(16, Format::rgb565));
    EXPECT_FALSE(setDisplayMode(640, 480, 8));
    EXPECT_FALSE(setDisplayMode(640, 480, 12));
    EXPECT_TRUE(setDisplayMode(640, 480, 24));
    EXPECT_EQ(mode(), std::pair(24, Format::xrgb8888));
    Surface* primary = primarySurface();
    ASSERT_NE(primary, nullptr);
    EXPECT_TRUE(primary->primary);
    EXPECT_EQ(std::pair(primary->format, primary->width), std::pair(Format::xrgb8888, 640));

    headless::useRgb555For16(true);
    EXPECT_TRUE(setDisplayMode(640, 480, 16));
    EXPECT_EQ(primarySurface()->format, Format::rgb555);  // a new primary for the new format
    headless::useRgb555For16(false);
    EXPECT_TRUE(setDisplayMode(320, 240, 16));
    EXPECT_EQ(Owned(createSurface(2, 2), destroySurface)->format, Format::rgb565);
    EXPECT_EQ(primarySurface()->width, 320);
    EXPECT_TRUE(setDisplayMode(640, 480, 15));
    EXPECT_EQ(mode(), std::pair(15, Format::rgb555));
    headless::refuseDepth(16);
    EXPECT_FALSE(setDisplayMode(640, 480, 16));
    EXPECT_EQ(mode(), std::pair(15, Format::rgb555));  // the refused mode changed nothing

    primarySurface();
    int32_t before = liveSurfaceCount();
    closeDisplay(openDisplay());
    EXPECT_EQ(liveSurfaceCount(), before - 1);
}
