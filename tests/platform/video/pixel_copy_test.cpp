// Every copy goes through one keyed and one opaque row loop per format; these tests hold them to
// a plain pixel-by-pixel copy on random rectangles, keys and positions, clipping included.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/video/surface.h"

namespace {

using platform::Format;
using platform::Rect;
using platform::Surface;

uint8_t* at(const Surface& s, int32_t x, int32_t y) {
    return const_cast<uint8_t*>(s.memory.data()) + size_t(y) * s.pitch + size_t(x) * platform::bytesPerPixel(s.format);
}
uint32_t pixelAt(const Surface& s, int32_t x, int32_t y) {
    uint32_t v = 0;
    std::memcpy(&v, at(s, x, y), platform::bytesPerPixel(s.format));
    return v;
}
void setPixel(Surface& s, int32_t x, int32_t y, uint32_t v) { std::memcpy(at(s, x, y), &v, platform::bytesPerPixel(s.format)); }

// Pixels drawn from a few values, so keyed runs of every length occur.
void randomise(Surface& s, std::mt19937& random, uint32_t key) {
    const uint32_t mask = s.format == Format::xrgb8888 ? 0xFFFFFFFFu : 0xFFFFu;
    for (int32_t y = 0; y < s.height; ++y)
        for (int32_t x = 0; x < s.width; ++x) setPixel(s, x, y, random() % 3 == 0 ? key : uint32_t(random()) & mask);
}

// The copy written the slow, obvious way, from a snapshot of the source.
Surface expectedCopy(const Surface& d, int32_t x, int32_t y, const Surface& source, Rect from, bool keyed) {
    Surface out = d;
    for (int32_t sy = from.top; sy < from.bottom; ++sy)
        for (int32_t sx = from.left; sx < from.right; ++sx) {
            int32_t dx = x + sx - from.left, dy = y + sy - from.top;
            if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height) continue;
            if (dx < 0 || dy < 0 || dx >= d.width || dy >= d.height) continue;
            uint32_t p = pixelAt(source, sx, sy);
            const uint32_t keyBits = source.format == Format::xrgb8888 ? 0xFFFFFF : 0xFFFFFFFF;
            if (keyed && source.hasKey && (p & keyBits) == (source.key & keyBits)) continue;
            setPixel(out, dx, dy, p);
        }
    return out;
}

TEST(PixelCopy, EveryFormatMatchesAPlainCopyOnRandomRectangles) {
    struct Case { Format format; uint32_t key; };
    const Case cases[] = {{Format::rgb565, 0xF81F}, {Format::rgb555, 0x7C1F},
                          {Format::rgb555, 0xFFFF}, {Format::xrgb8888, 0x00FF00FF}};
    std::mt19937 random(1234);
    for (const Case& c : cases) {
        for (int32_t trial = 0; trial < 60; ++trial) {
            SCOPED_TRACE(testing::Message() << "format " << int(c.format) << " key " << c.key << " trial " << trial);
            // Odd widths give padded pitches; widths past 16 reach the vector loop.
            Surface* d = platform::createSurface(1 + random() % 70, 1 + random() % 20, c.format);
            Surface* s = platform::createSurface(1 + random() % 70, 1 + random() % 20, c.format);
            ASSERT_TRUE(d && s);
            randomise(*d, random, c.key);
            randomise(*s, random, c.key);
            platform::setColorKey(*s, c.key);
            const bool sameSurface = trial % 5 == 0;
            Surface& source = sameSurface ? *d : *s;
            auto coordinate = [&](int32_t limit) { return int32_t(random() % (limit + 20)) - 10; };
            int32_t left = coordinate(source.width), top = coordinate(source.height);
            Rect from{left, top, left + int32_t(random() % 75), top + int32_t(random() % 25)};
            int32_t x = coordinate(d->width), y = coordinate(d->height);
            const bool keyed = trial % 2 == 0;
            Surface expected = expectedCopy(*d, x, y, source, from, keyed);
            ASSERT_EQ(platform::bltFast(*d, x, y, source, from, keyed), platform::Status::ok);
            ASSERT_EQ(d->memory, expected.memory) << "every pixel, and the padding of the rows untouched";
            platform::destroySurface(d);
            platform::destroySurface(s);
        }
    }
}

// The key is the whole 16-bit pixel, RGB555's unused top bit included (0xFFFF skips 0xFFFF and
// draws 0x7FFF), with bits above 16 dropped; on 32 bits only the low 24 bits count.
TEST(PixelCopy, KeyComparesTheWhole16BitPixelOrTheLow24Bits) {
    struct Row { Format format; uint32_t keyed, drawn, key, kept; };
    const Row rows[] = {{Format::rgb555, 0xFFFF, 0x7FFF, 0xFFFF, 0xFFFF},
                        {Format::rgb565, 0xF800, 0xF801, 0x1F800, 0xF800},
                        {Format::xrgb8888, 0xFF000000, 1, 0xAB000000, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.format));
        // Odd pixels keyed, past the vector loop into the tail.
        Surface* d = platform::createSurface(35, 1, r.format);
        Surface* s = platform::createSurface(35, 1, r.format);
        for (int32_t x = 0; x < 35; ++x) setPixel(*s, x, 0, x % 2 ? r.keyed : r.drawn);
        platform::setColorKey(*s, r.key);
        EXPECT_EQ(s->key, r.kept);
        ASSERT_EQ(platform::bltFast(*d, 0, 0, *s, {0, 0, 35, 1}, true), platform::Status::ok);
        for (int32_t x = 0; x < 35; ++x) EXPECT_EQ(pixelAt(*d, x, 0), x % 2 ? 0u : r.drawn) << x;
        platform::destroySurface(d);
        platform::destroySurface(s);
    }
}

}  // namespace
