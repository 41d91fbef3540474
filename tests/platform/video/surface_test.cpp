// Surfaces and the display: copies with and without key, clipping, stretching, fills, loss,
// lock failures and the display modes with their formats.
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
std::vector<uint32_t> at(Surface& s, std::vector<Point> points, const uint32_t* set = nullptr) {
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
void put(Surface& s, Point p, uint32_t v) { at(s, {p}, &v); }

// Each pixel of a w x h surface gets its own value: 1 + x + 16 * y.
Owned numbered(int32_t w, int32_t h, Format f) {
    Owned s = make(w, h, f);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) put(*s, {x, y}, 1 + x + 16 * y);
    return s;
}

}  // namespace

TEST_F(SurfaceTest, KeyedAndOpaqueCopiesAreClippedToBothSurfaces) {
    for (Format f : {Format::rgb565, Format::xrgb8888}) {
        SCOPED_TRACE(int(f));
        Owned src = numbered(40, 3, f), dst = make(30, 4, f);  // wider than a vector block
        put(*src, {5, 1}, 0x0777);
        setColorKey(*src, 0x0777);
        ASSERT_EQ(fill(*dst, {0, 0, 30, 4}, 0x0999), Status::ok);
        // Keyed, from left of and above the destination past its right edge: the key pixel
        // (now at 3, 0) leaves the old one, as does the row below the source's last.
        ASSERT_EQ(bltFast(*dst, -2, -1, *src, {0, 0, 40, 3}, true), Status::ok);
        EXPECT_EQ(at(*dst, {{0, 0}, {29, 1}, {3, 0}, {0, 2}}),
                  (std::vector<uint32_t>{1 + 2 + 16, 1 + 31 + 32, 0x0999, 0x0999}));
        // Opaque copies the key pixel too; a source rectangle past the source is cut.
        ASSERT_EQ(bltFast(*dst, 0, 2, *src, {4, 1, 60, 9}, false), Status::ok);
        EXPECT_EQ(at(*dst, {{1, 2}, {0, 3}}), (std::vector<uint32_t>{0x0777, 1 + 4 + 32}));
        EXPECT_EQ(bltFast(*dst, 30, 0, *src, {0, 0, 4, 4}, true), Status::ok);  // nothing left
    }
}

TEST_F(SurfaceTest, KeyComparesTheWholeSixteenBitPixelOrTheLowTwentyFourBits) {
    // A stray top byte on a 32-bit pixel still matches; bits above a 16-bit pixel are dropped.
    struct Row { Format f; uint32_t keyed, other, key, kept; };
    for (const Row& r : {Row{Format::xrgb8888, 0xFF000000, 1, 0xAB000000, 0},
                         Row{Format::rgb565, 0xF800, 0xF801, 0x1F800, 0xF800}}) {
        Owned src = make(2, 1, r.f), dst = make(2, 1, r.f);
        put(*src, {0, 0}, r.keyed), put(*src, {1, 0}, r.other);
        setColorKey(*src, r.key);
        EXPECT_EQ(src->key, r.kept);
        fill(*dst, {0, 0, 2, 1}, 7);
        bltFast(*dst, 0, 0, *src, {0, 0, 2, 1}, true);
        EXPECT_EQ(at(*dst, {{0, 0}, {1, 0}}), (std::vector<uint32_t>{7, r.other}));
    }
}

TEST_F(SurfaceTest, OverlappingCopiesStretchesAndFillsAreClippedAndTruncated) {
    Owned s = numbered(8, 1, Format::rgb565);  // overlapping: reads the old pixels
    bltFast(*s, 2, 0, *s, {0, 0, 6, 1}, false);
    for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(at(*s, {{x, 0}})[0], uint32_t(x < 2 ? x + 1 : x - 1));

    Owned src = numbered(2, 2, Format::rgb565), dst = make(4, 4, Format::rgb565);
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

    EXPECT_TRUE(displayCaps().canStretch);
    headless::setCanStretch(false);
    DisplayCaps caps = displayCaps();
    EXPECT_FALSE(caps.canStretch || caps.hardware3D);
    EXPECT_EQ(caps.deviceCount, 1);
    primarySurface();
    int32_t before = liveSurfaceCount();
    closeDisplay(openDisplay());
    EXPECT_EQ(liveSurfaceCount(), before - 1);
}
