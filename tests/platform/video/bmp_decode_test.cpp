// BMP decoding: every variant the writer makes reads back as its picture; damaged files are
// refused; decoded pixels land in surfaces truncated; surfaces write back as BMP and PNG.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <zlib.h>

#include "platform/video/bmp.h"
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

}  // namespace

TEST(BmpDecode, EveryVariantReadsBackAsItsPicture) {
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
}

TEST(BmpDecode, IndicesPastAShortPaletteAreBlack) {
    testsupport::BmpPicture p = testPicture(16, 4, 16);
    Image img;
    ASSERT_TRUE(decodeBmp(writeBmp(p, {.bits = 4, .paletteCount = 6}), img));
    for (size_t i = 0; i < p.index.size(); ++i)
        EXPECT_EQ(img.xrgb[i], p.index[i] < 6 ? p.palette[p.index[i]] : 0u) << i;
}

TEST(BmpDecode, RleEscapesMoveTheCursorAndEndEarly) {
    // Bottom row: run of 2 white, delta (1, 1) to x 3 of the middle row, one white, end. Then an
    // overlong run, cut at the row's end rather than spilling into the next row.
    const uint32_t W = 0xFFFFFF;
    Image a, b;
    ASSERT_TRUE(decodeBmp(rle8File({2, 1, 0, 2, 1, 1, 1, 1, 0, 1}), a));
    ASSERT_TRUE(decodeBmp(rle8File({9, 1, 0, 0, 0, 1}), b));
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
    EXPECT_FALSE(decodeBmp(topDownRle, img));
    EXPECT_FALSE(decodeBmp(rle8File({0, 4, 1, 1}), img));
    EXPECT_FALSE(decodeBmp(rle8File({2, 1, 0, 0}), img));
}

TEST(BmpDecode, PicturesLandInSurfacesTruncatedAndClipped) {
    Image img{2, 2, {0xFFFFFF, 0x848642, 0x070307, 0x0000FF}};
    Surface* s = createSurface(3, 3, Format::rgb565);
    auto raw = [&] {  // the 3 x 3 pixels, top row first
        std::vector<uint16_t> out(9);
        for (int y = 0; y < 3; ++y) std::memcpy(&out[y * 3], s->memory.data() + y * s->pitch, 6);
        return out;
    };
    // At (1, -1) only the bottom row lands; 0x070307 truncates to black.
    ASSERT_EQ(copyImage(img, *s, 1, -1), Status::ok);
    EXPECT_EQ(raw(), (std::vector<uint16_t>{0, 0, 0x001F, 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(copyImage(img, *s), Status::ok);
    const uint16_t mid = (0x84 >> 3) << 11 | (0x86 >> 2) << 5 | 0x42 >> 3;
    EXPECT_EQ(raw(), (std::vector<uint16_t>{0xFFFF, mid, 0x001F, 0, 0x001F, 0, 0, 0, 0}));
    destroySurface(s);
}

TEST(ImageWrite, SurfacesAndPixelsWriteAsBmpAndPng) {
    Surface* s = createSurface(5, 3, Format::rgb565);
    fill(*s, {0, 0, 5, 3}, 0xFFFF);
    fill(*s, {1, 1, 3, 2}, 0xF800);
    std::vector<uint32_t> pixels = surfacePixels(*s);
    destroySurface(s);
    EXPECT_EQ(std::pair(pixels[0], pixels[6]), std::pair(0xFFFFFFu, 0xFF0000u));  // low bits replicated
    Image back;
    ASSERT_TRUE(decodeBmp(encodeBmp24(5, 3, pixels.data()), back));
    EXPECT_EQ(back.xrgb, pixels);

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
