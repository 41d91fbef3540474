// Pictures, surfaces and the display: BMP variants read back, damaged files refused, pictures
// landing in surfaces; every copy held to a plain pixel-by-pixel copy on random rectangles, keys
// and positions; stretching, fills, loss, locks, display modes and PNG output (the BMP output is
// read back by every golden picture of the game).
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "platform/headless.h"
#include "platform/video/bmp.h"
#include "platform/video/display.h"
#include "platform/video/image_write.h"
#include "platform/video/surface.h"
#include "support/bmp_writer.h"
#include "support/wav_writer.h"

using namespace platform;
using testsupport::allBmpVariants;
using testsupport::testPicture;
using testsupport::writeBmp;

namespace {

// A 4 x 3 RLE8 file with the given stream after a two-entry palette (black, white).
std::vector<uint8_t> rle8File(std::initializer_list<uint8_t> stream) {
    std::vector<uint8_t> f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 4, 0, 0,
                              0, 3, 0, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 0};
    for (uint8_t v : stream) f.push_back(v);
    return f;
}

using Owned = std::unique_ptr<Surface, decltype(&destroySurface)>;
Owned make(int32_t w, int32_t h, Format f) { return {createSurface(w, h, f), destroySurface}; }

uint8_t* at(const Surface& s, int32_t x, int32_t y) {
    return const_cast<uint8_t*>(s.memory.data()) + size_t(y) * s.pitch + size_t(x) * bytesPerPixel(s.format);
}
uint32_t pixelAt(const Surface& s, int32_t x, int32_t y) {
    uint32_t v = 0;
    std::memcpy(&v, at(s, x, y), bytesPerPixel(s.format));
    return v;
}
void setPixel(Surface& s, int32_t x, int32_t y, uint32_t v) { std::memcpy(at(s, x, y), &v, bytesPerPixel(s.format)); }
std::vector<uint32_t> pixels(const Surface& s, const std::vector<Point>& points) {
    std::vector<uint32_t> out;
    for (Point p : points) out.push_back(pixelAt(s, p.x, p.y));
    return out;
}

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
    std::mt19937 random(1234);
    for (auto [format, key] : {std::pair(Format::rgb565, 0xF81Fu), {Format::rgb555, 0x7C1Fu}, {Format::rgb555, 0xFFFFu},
                          {Format::xrgb8888, 0x00FF00FFu}})
        for (int32_t trial = 0; trial < 60; ++trial) {
            SCOPED_TRACE(testing::Message() << "format " << int(format) << " key " << key << " trial " << trial);
            // Odd widths give padded pitches; widths past 16 reach the vector loop.
            Owned d = make(1 + random() % 70, 1 + random() % 20, format);
            Owned s = make(1 + random() % 70, 1 + random() % 20, format);
            randomise(*d, random, key), randomise(*s, random, key);
            setColorKey(*s, key);
            Surface& source = trial % 5 == 0 ? *d : *s;  // overlapping copies read the old pixels
            auto coordinate = [&](int32_t limit) { return int32_t(random() % (limit + 20)) - 10; };
            int32_t left = coordinate(source.width), top = coordinate(source.height);
            Rect from{left, top, left + int32_t(random() % 75), top + int32_t(random() % 25)};
            int32_t x = coordinate(d->width), y = coordinate(d->height);
            const bool keyed = trial % 2 == 0;
            Surface expected = expectedCopy(*d, x, y, source, from, keyed);
            ASSERT_EQ(bltFast(*d, x, y, source, from, keyed), Status::ok);
            ASSERT_EQ(d->memory, expected.memory) << "every pixel, and the padding of the rows untouched";
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
        Owned d = make(35, 1, r.format), s = make(35, 1, r.format);
        for (int32_t x = 0; x < 35; ++x) setPixel(*s, x, 0, x % 2 ? r.keyed : r.drawn);
        setColorKey(*s, r.key);
        EXPECT_EQ(s->key, r.kept);
        ASSERT_EQ(bltFast(*d, 0, 0, *s, {0, 0, 35, 1}, true), Status::ok);
        for (int32_t x = 0; x < 35; ++x) EXPECT_EQ(pixelAt(*d, x, 0), x % 2 ? 0u : r.drawn) << x;
    }
}

struct SurfaceTest : ::testing::Test { void TearDown() override { headless::resetDisplay(); } };

}  // namespace

TEST_F(SurfaceTest, StretchesAndFillsAreClippedAndTruncatedAndLostOrLockedSurfacesRefuseWork) {
    Owned src = make(2, 2, Format::rgb565), dst = make(4, 4, Format::rgb565);
    for (auto [x, y, v] : {std::tuple(0, 0, 1u), {1, 0, 2u}, {0, 1, 17u}, {1, 1, 18u}}) setPixel(*src, x, y, v);
    setColorKey(*src, 2);
    fill(*dst, {0, 0, 4, 4}, 9);
    // Nearest pixels, clipped on the left; the key (2) leaves the old 9.
    ASSERT_EQ(blt(*dst, {-2, 0, 6, 4}, *src, {0, 0, 2, 2}, true), Status::ok);
    EXPECT_EQ(pixels(*dst, {{0, 0}, {1, 0}, {2, 0}, {3, 3}}), (std::vector<uint32_t>{1, 1, 9, 18}));
    EXPECT_EQ(blt(*dst, {0, 0, 4, 4}, *src, {0, 0, 3, 2}, false), Status::failed);

    Owned f = make(3, 2, Format::rgb565);
    ASSERT_EQ(fill(*f, {-5, 1, 2, 9}, 0x12345), Status::ok);
    EXPECT_EQ(pixels(*f, {{0, 0}, {1, 1}, {2, 1}}), (std::vector<uint32_t>{0, 0x2345, 0}));
    Owned a = make(4, 4, Format::rgb565), b = make(4, 4, Format::rgb565);
    fill(*a, {0, 0, 4, 4}, 5), fill(*b, {0, 0, 4, 4}, 6);
    headless::loseSurface(a.get());
    LockedRect r;
    EXPECT_EQ((std::vector{lock(*a, r), bltFast(*b, 0, 0, *a, {0, 0, 4, 4}, false),
                           bltFast(*a, 0, 0, *b, {0, 0, 4, 4}, false), fill(*a, {0, 0, 1, 1}, 1)}),
              std::vector(4, Status::surfaceLost));
    EXPECT_EQ(std::pair(restore(*a), restore(*b)), std::pair(Status::ok, Status::ok));
    EXPECT_EQ(std::pair(pixelAt(*a, 3, 3), pixelAt(*b, 0, 0)), std::pair(0u, 6u));

    ASSERT_EQ(lock(*a, r), Status::ok);  // busy while locked
    EXPECT_EQ((std::tuple{a->lockCount, bltFast(*b, 0, 0, *a, {0, 0, 4, 4}, false), fill(*a, {0, 0, 4, 4}, 1)}),
              std::tuple(1, Status::failed, Status::failed));
    unlock(*a);
    EXPECT_EQ(fill(*a, {0, 0, 4, 4}, 1), Status::ok);
}

TEST_F(SurfaceTest, DisplayModesChooseTheFormatOfNewSurfaces) {
    auto mode = [] { return std::pair(desktopBits(), displayFormat()); };
    EXPECT_EQ(mode(), std::pair(32, Format::xrgb8888));
    headless::setDesktopBits(16);
    EXPECT_EQ(mode(), std::pair(16, Format::rgb565));
    // Modes asked for in turn (16 bits as 5-5-5 or not, 16 refused or not): whether each is taken, then the depth,
    // the format (of the display, its primary, new surfaces) and the primary's width; a refused mode changes nothing.
    const struct { int32_t width, bits; bool rgb555, refuse16, taken; int32_t depth; Format format; int32_t primaryWidth; } steps[] = {
        {640, 8, false, false, false, 16, Format::rgb565, 640}, {640, 12, false, false, false, 16, Format::rgb565, 640},
        {640, 24, false, false, true, 24, Format::xrgb8888, 640}, {640, 16, true, false, true, 16, Format::rgb555, 640},
        {320, 16, false, false, true, 16, Format::rgb565, 320}, {640, 15, false, false, true, 15, Format::rgb555, 640},
        {640, 16, false, true, false, 15, Format::rgb555, 640}};
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << s.width << " wide at " << s.bits << " bits");
        headless::useRgb555For16(s.rgb555);
        if (s.refuse16) headless::refuseDepth(16);
        EXPECT_EQ(setDisplayMode(s.width, s.width * 3 / 4, s.bits), s.taken);
        const Surface* primary = primarySurface();
        ASSERT_NE(primary, nullptr);
        EXPECT_EQ(std::tuple(desktopBits(), displayFormat(), primary->primary, primary->format, primary->width,
                             Owned(createSurface(2, 2), destroySurface)->format),
                  std::tuple(s.depth, s.format, true, s.format, s.primaryWidth, s.format));
    }

    primarySurface();
    int32_t before = liveSurfaceCount();
    closeDisplay(openDisplay());
    EXPECT_EQ(liveSurfaceCount(), before - 1);
}

// Every variant, a short palette whose missing entries read as black, and the RLE escapes.
TEST(BmpDecode, EveryFormReadsBackAsItsPicture) {
    for (const auto& v : allBmpVariants()) {
        SCOPED_TRACE(v.name);
        testsupport::BmpPicture p = testPicture(13, 7, v.colours);
        Image img;
        ASSERT_TRUE(decodeBmp(writeBmp(p, v.options), img));
        ASSERT_EQ(std::pair(img.width, img.height), std::pair(p.width, p.height));
        const bool sixBitGreen = v.options.bits == 16 && v.options.masks[1] == 0x07E0;
        for (size_t i = 0; i < p.index.size(); ++i) {
            uint32_t c = p.palette[p.index[i]], g = c >> 8 & 0xFF;  // as a 6-bit field gives it back
            if (sixBitGreen) c = (c & 0xFF00FF) | (g == 0x84 ? 0x86 : g == 0x42 ? 0x41 : g) << 8;
            ASSERT_EQ(img.xrgb[i] & 0xFFFFFF, c) << "pixel " << i;
        }
    }
    testsupport::BmpPicture p = testPicture(16, 4, 16);
    Image img;
    ASSERT_TRUE(decodeBmp(writeBmp(p, {.bits = 4, .paletteCount = 6}), img));
    for (size_t i = 0; i < p.index.size(); ++i)
        EXPECT_EQ(img.xrgb[i], p.index[i] < 6 ? p.palette[p.index[i]] : 0u) << "short palette, pixel " << i;
    // Bottom row: run of 2 white, delta (1, 1) to x 3 of the middle row, one white, end. Then an
    // overlong run, cut at the row's end rather than spilling into the next row.
    const uint32_t W = 0xFFFFFF;
    Image a, b;
    ASSERT_TRUE(decodeBmp(rle8File({2, 1, 0, 2, 1, 1, 1, 1, 0, 1}), a) && decodeBmp(rle8File({9, 1, 0, 0, 0, 1}), b));
    EXPECT_EQ(a.xrgb, (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 0, W, W, W, 0, 0}));
    EXPECT_EQ(b.xrgb, (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 0, 0, W, W, W, W}));
}

TEST(BmpDecode, DamagedFilesAreRefused) {
    for (const auto& v : allBmpVariants()) {
        std::vector<uint8_t> file = writeBmp(testPicture(9, 5, v.colours), v.options);
        // An RLE stream missing only its end marker still has every row.
        for (size_t n = 0; n < (v.options.rle ? file.size() - 2 : file.size()); ++n) {
            Image img;
            EXPECT_FALSE(decodeBmp(std::span(file).first(n), img)) << v.name << " cut to " << n;
            EXPECT_TRUE(img.xrgb.empty());
        }
    }
    const std::vector<uint8_t> good = writeBmp(testPicture(9, 5, 2), {.bits = 8});
    // Bytes written over the header; the last leaves it as it was.
    const struct { size_t at; std::vector<uint8_t> bytes; const char* what; bool good = false; } patches[] = {
        {0, {'B', 'A'}, "magic"}, {14, {41, 1, 0, 0}, "header size"}, {18, {0, 0, 0, 0}, "zero width"},
        {18, {0, 0, 0, 0x80}, "negative width"}, {22, {0, 0, 0, 0x80}, "height of INT32_MIN"},
        {18, {0, 0, 1, 0}, "65536 wide"}, {26, {2, 0}, "planes"}, {28, {7, 0}, "depth"},
        {30, {2, 0, 0, 0}, "RLE4 on 8 bits"}, {30, {4, 0, 0, 0}, "JPEG"},
        {10, {0xFF, 0xFF, 0, 0}, "pixels past the end"}, {18, {9, 0, 0, 0}, "untouched", true}};
    for (const auto& p : patches) {
        std::vector<uint8_t> f = good;
        std::copy(p.bytes.begin(), p.bytes.end(), f.begin() + long(p.at));
        Image img;
        EXPECT_EQ(decodeBmp(f, img), p.good) << p.what;
    }
    // RLE files: rows in the wrong order, a literal past the end, a stream with no end.
    std::vector<uint8_t> topDownRle = rle8File({0, 1});
    topDownRle[22] = 0xFD, topDownRle[23] = topDownRle[24] = topDownRle[25] = 0xFF;
    Image img;
    for (const auto& file : {topDownRle, rle8File({0, 4, 1, 1}), rle8File({2, 1, 0, 0})})
        EXPECT_FALSE(decodeBmp(file, img));
}

TEST(BmpDecode, PicturesLandInSurfacesTruncatedAndClipped) {
    Image img{2, 2, {0xFFFFFF, 0x848642, 0x070307, 0x0000FF}};
    Owned s = make(3, 3, Format::rgb565);
    auto raw = [&] { return pixels(*s, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}); };
    // At (1, -1) only the bottom row lands; 0x070307 truncates to black.
    ASSERT_EQ(copyImage(img, *s, 1, -1), Status::ok);
    EXPECT_EQ(raw(), (std::vector<uint32_t>{0, 0, 0x001F, 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(copyImage(img, *s), Status::ok);
    const uint32_t mid = (0x84 >> 3) << 11 | (0x86 >> 2) << 5 | 0x42 >> 3;
    EXPECT_EQ(raw(), (std::vector<uint32_t>{0xFFFF, mid, 0x001F, 0, 0x001F, 0, 0, 0, 0}));
}

TEST(ImageWrite, SurfacePixelsAreWidenedAndWriteAsPng) {
    Owned s = make(5, 3, Format::rgb565);
    fill(*s, {0, 0, 5, 3}, 0xFFFF);
    fill(*s, {1, 1, 3, 2}, 0xF800);
    std::vector<uint32_t> pixels = surfacePixels(*s);
    EXPECT_EQ(std::pair(pixels[0], pixels[6]), std::pair(0xFFFFFFu, 0xFF0000u));  // low bits replicated

    std::vector<uint8_t> png = encodePng(5, 3, pixels.data());
    ASSERT_GT(png.size(), 8u + 25 + 12 + 12);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    auto be32 = [&](size_t i) { return uint32_t(png[i]) << 24 | png[i + 1] << 16 | png[i + 2] << 8 | png[i + 3]; };
    // Chunks follow each other to the end, each with its checksum; the data holds filtered rows.
    size_t at = 8;
    std::vector<uint8_t> rows(3 * (1 + 5 * 3));
    for (uint32_t length = 0; at < png.size(); at += 12 + length) {
        length = be32(at);
        ASSERT_LE(at + 12 + length, png.size());
        EXPECT_EQ(be32(at + 8 + length), uint32_t(crc32(0, png.data() + at + 4, 4 + length)));
        if (std::string(png.begin() + long(at) + 4, png.begin() + long(at) + 8) != "IDAT") continue;
        uLongf size = rows.size();
        ASSERT_EQ(uncompress(rows.data(), &size, png.data() + at + 8, length), Z_OK);
        EXPECT_EQ(size, rows.size());
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(rows[16], 0);  // second row's filter byte
    EXPECT_EQ(std::vector<uint8_t>(rows.begin() + 20, rows.begin() + 23), (std::vector<uint8_t>{255, 0, 0}));
    EXPECT_TRUE(encodePng(0, 3, pixels.data()).empty());
    EXPECT_FALSE(writePng("/nonexistent-folder/x.png", 5, 3, pixels.data()));
}

// Writes every variant into $ZU_WRITE_CORPUS/bmp as the fuzz target's seeds.
TEST(BmpCorpus, WritesSeeds) {
    const char* dir = std::getenv("ZU_WRITE_CORPUS");
    if (!dir) GTEST_SKIP() << "ZU_WRITE_CORPUS not set";
    std::filesystem::create_directories(std::string(dir) + "/bmp");
    for (const auto& v : allBmpVariants())
        ASSERT_TRUE(test::writeBytes(std::string(dir) + "/bmp/" + v.name + ".bmp",
                                     writeBmp(testPicture(13, 7, v.colours), v.options)));
}
