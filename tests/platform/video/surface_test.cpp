// Surfaces and the display: copies with and without key, clipping, stretching, fills, loss,
// lock failures and the display modes with their formats.
#include <gtest/gtest.h>

#include "platform/video/display.h"
#include "platform/headless.h"
#include "platform/video/surface.h"

using namespace platform;

namespace {

struct SurfaceTest : ::testing::Test {
    void TearDown() override { headless::resetDisplay(); }
};

uint32_t pixelAt(Surface& s, int32_t x, int32_t y) {
    LockedRect r;
    EXPECT_EQ(lock(s, r), Status::ok);
    uint8_t* p = r.bits + y * r.pitch + x * bytesPerPixel(r.format);
    uint32_t v = bytesPerPixel(r.format) == 4 ? *reinterpret_cast<uint32_t*>(p) : *reinterpret_cast<uint16_t*>(p);
    unlock(s);
    return v;
}

void setPixelAt(Surface& s, int32_t x, int32_t y, uint32_t v) {
    LockedRect r;
    ASSERT_EQ(lock(s, r), Status::ok);
    uint8_t* p = r.bits + y * r.pitch + x * bytesPerPixel(r.format);
    if (bytesPerPixel(r.format) == 4)
        *reinterpret_cast<uint32_t*>(p) = v;
    else
        *reinterpret_cast<uint16_t*>(p) = uint16_t(v);
    unlock(s);
}

// Each pixel of a w x h source gets its own value: 1 + x + 16 * y, with key pixels where asked.
Surface* numbered(int32_t w, int32_t h, Format f) {
    Surface* s = createSurface(w, h, f);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) setPixelAt(*s, x, y, uint32_t(1 + x + 16 * y));
    return s;
}

}  // namespace

TEST_F(SurfaceTest, KeyedAndOpaqueCopiesAreClippedToBothSurfaces) {
    for (Format f : {Format::rgb565, Format::xrgb8888}) {
        Surface* src = numbered(40, 3, f);  // wider than a vector block, with a tail
        setPixelAt(*src, 5, 1, 0x0777);
        setColorKey(*src, 0x0777);
        Surface* dst = createSurface(30, 4, f);
        ASSERT_EQ(fill(*dst, {0, 0, 30, 4}, 0x0999), Status::ok);

        // Keyed, starting left of and above the destination, overrunning its right edge.
        ASSERT_EQ(bltFast(*dst, -2, -1, *src, {0, 0, 40, 3}, true), Status::ok);
        EXPECT_EQ(pixelAt(*dst, 0, 0), uint32_t(1 + 2 + 16));
        EXPECT_EQ(pixelAt(*dst, 29, 1), uint32_t(1 + 31 + 32));
        EXPECT_EQ(pixelAt(*dst, 3, 0), 0x0999u);  // the key pixel left the old one
        EXPECT_EQ(pixelAt(*dst, 0, 2), 0x0999u);  // below the source's last row

        // Opaque copies the key pixel too; a source rectangle past the source is cut.
        ASSERT_EQ(bltFast(*dst, 0, 2, *src, {4, 1, 60, 9}, false), Status::ok);
        EXPECT_EQ(pixelAt(*dst, 1, 2), 0x0777u);
        EXPECT_EQ(pixelAt(*dst, 0, 3), uint32_t(1 + 4 + 32));
        EXPECT_EQ(bltFast(*dst, 30, 0, *src, {0, 0, 4, 4}, true), Status::ok);  // nothing left
        destroySurface(src);
        destroySurface(dst);
    }
}

TEST_F(SurfaceTest, KeyComparesTheWholeSixteenBitPixelOrTheLowTwentyFourBits) {
    Surface* src = createSurface(3, 1, Format::xrgb8888);
    setPixelAt(*src, 0, 0, 0xFF000000);  // black with a stray top byte: still the key
    setPixelAt(*src, 1, 0, 0x00000001);
    setColorKey(*src, 0xAB000000);
    EXPECT_EQ(src->key, 0u);
    Surface* dst = createSurface(3, 1, Format::xrgb8888);
    fill(*dst, {0, 0, 3, 1}, 0x123456);
    bltFast(*dst, 0, 0, *src, {0, 0, 3, 1}, true);
    EXPECT_EQ(pixelAt(*dst, 0, 0), 0x123456u);
    EXPECT_EQ(pixelAt(*dst, 1, 0), 1u);

    Surface* s16 = createSurface(2, 1, Format::rgb565);
    Surface* d16 = createSurface(2, 1, Format::rgb565);
    setPixelAt(*s16, 0, 0, 0xF800);
    setPixelAt(*s16, 1, 0, 0xF801);
    setColorKey(*s16, 0x1F800);
    fill(*d16, {0, 0, 2, 1}, 7);
    bltFast(*d16, 0, 0, *s16, {0, 0, 2, 1}, true);
    EXPECT_EQ(pixelAt(*d16, 0, 0), 7u);
    EXPECT_EQ(pixelAt(*d16, 1, 0), 0xF801u);
    for (Surface* s : {src, dst, s16, d16}) destroySurface(s);
}

TEST_F(SurfaceTest, OverlappingCopyWithinOneSurfaceReadsTheOldPixels) {
    Surface* s = numbered(8, 1, Format::rgb565);
    bltFast(*s, 2, 0, *s, {0, 0, 6, 1}, false);
    for (int32_t x = 2; x < 8; ++x) EXPECT_EQ(pixelAt(*s, x, 0), uint32_t(x - 1));
    destroySurface(s);
}

TEST_F(SurfaceTest, StretchCopiesNearestPixelsAndClips) {
    Surface* src = numbered(2, 2, Format::rgb565);
    setColorKey(*src, 2);
    Surface* dst = createSurface(4, 4, Format::rgb565);
    fill(*dst, {0, 0, 4, 4}, 9);
    ASSERT_EQ(blt(*dst, {-2, 0, 6, 4}, *src, {0, 0, 2, 2}, true), Status::ok);
    EXPECT_EQ(pixelAt(*dst, 0, 0), 1u);
    EXPECT_EQ(pixelAt(*dst, 1, 0), 1u);
    EXPECT_EQ(pixelAt(*dst, 2, 0), 9u);  // key
    EXPECT_EQ(pixelAt(*dst, 3, 3), 18u);
    EXPECT_EQ(blt(*dst, {0, 0, 4, 4}, *src, {0, 0, 3, 2}, false), Status::failed);
    destroySurface(src);
    destroySurface(dst);
}

TEST_F(SurfaceTest, FillsAreClippedAndTruncatedToThePixel) {
    Surface* s = createSurface(3, 2, Format::rgb565);
    ASSERT_EQ(fill(*s, {-5, 1, 2, 9}, 0x12345), Status::ok);
    EXPECT_EQ(pixelAt(*s, 0, 0), 0u);
    EXPECT_EQ(pixelAt(*s, 1, 1), 0x2345u);
    EXPECT_EQ(pixelAt(*s, 2, 1), 0u);
    destroySurface(s);
}

TEST_F(SurfaceTest, LossLockFailuresAndHeldSurfaces) {
    Surface* a = createSurface(4, 4, Format::rgb565);
    Surface* b = createSurface(4, 4, Format::rgb565);
    fill(*a, {0, 0, 4, 4}, 5);

    headless::loseSurface(a);
    LockedRect r;
    EXPECT_EQ(lock(*a, r), Status::surfaceLost);
    EXPECT_EQ(bltFast(*b, 0, 0, *a, {0, 0, 4, 4}, false), Status::surfaceLost);
    EXPECT_EQ(bltFast(*a, 0, 0, *b, {0, 0, 4, 4}, false), Status::surfaceLost);
    EXPECT_EQ(fill(*a, {0, 0, 1, 1}, 1), Status::surfaceLost);
    EXPECT_EQ(restore(*a), Status::ok);
    EXPECT_EQ(pixelAt(*a, 3, 3), 0u);  // back blank

    fill(*b, {0, 0, 4, 4}, 6);
    EXPECT_EQ(restore(*b), Status::ok);
    EXPECT_EQ(pixelAt(*b, 0, 0), 6u);  // a surface that was not lost keeps its pixels

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
    destroySurface(a);
    destroySurface(b);
}

TEST_F(SurfaceTest, DisplayModesChooseTheFormatOfNewSurfaces) {
    EXPECT_EQ(desktopBits(), 32);
    EXPECT_EQ(displayFormat(), Format::xrgb8888);
    headless::setDesktopBits(16);
    EXPECT_EQ(desktopBits(), 16);
    EXPECT_EQ(displayFormat(), Format::rgb565);

    EXPECT_FALSE(setDisplayMode(640, 480, 8));
    EXPECT_FALSE(setDisplayMode(640, 480, 12));
    EXPECT_TRUE(setDisplayMode(640, 480, 24));
    EXPECT_EQ(desktopBits(), 24);
    Surface* primary = primarySurface();
    ASSERT_NE(primary, nullptr);
    EXPECT_EQ(primary->format, Format::xrgb8888);
    EXPECT_TRUE(primary->primary);
    EXPECT_EQ(primary->width, 640);

    headless::useRgb555For16(true);
    EXPECT_TRUE(setDisplayMode(640, 480, 16));
    EXPECT_EQ(primarySurface()->format, Format::rgb555);  // a new primary for the new format
    headless::useRgb555For16(false);
    EXPECT_TRUE(setDisplayMode(320, 240, 16));
    Surface* s = createSurface(2, 2);
    EXPECT_EQ(s->format, Format::rgb565);
    EXPECT_EQ(primarySurface()->width, 320);
    destroySurface(s);
    EXPECT_TRUE(setDisplayMode(640, 480, 15));
    EXPECT_EQ(displayFormat(), Format::rgb555);

    headless::refuseDepth(16);
    EXPECT_FALSE(setDisplayMode(640, 480, 16));
    EXPECT_EQ(desktopBits(), 15);  // the refused mode changed nothing

    EXPECT_TRUE(displayCaps().canStretch);
    headless::setCanStretch(false);
    EXPECT_FALSE(displayCaps().canStretch);
    EXPECT_EQ(displayCaps().deviceCount, 1);
    EXPECT_FALSE(displayCaps().hardware3D);

    primarySurface();
    int32_t before = liveSurfaceCount();
    closeDisplay(openDisplay());
    EXPECT_EQ(liveSurfaceCount(), before - 1);
}
