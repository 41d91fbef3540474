// BMP decoding: every variant the writer makes reads back as its picture; damaged files are
// refused; decoded pixels land in surfaces with their channels truncated.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <zlib.h>

#include "platform/video/bmp.h"
#include "platform/video/image_write.h"
#include "platform/video/surface.h"
#include "support/bmp_writer.h"

using namespace platform;
using testsupport::BmpOptions;
using testsupport::BmpPicture;

namespace {

// 8-bit levels of the test picture as a 6-bit field gives them back.
uint32_t sixBitLevel(uint32_t v) {
    switch (v) {
    case 0x84: return 0x86;
    case 0x42: return 0x41;
    default: return v;
    }
}

uint32_t expectedColor(const BmpPicture& p, int32_t x, int32_t y, const BmpOptions& o) {
    uint32_t c = p.color(x, y);
    if (o.bits == 16 && o.masks[1] == 0x07E0) c = (c & 0xFF00FF) | sixBitLevel(c >> 8 & 0xFF) << 8;
    return c;
}

void expectPicture(const Image& img, const BmpPicture& p, const BmpOptions& o, const std::string& name) {
    ASSERT_EQ(img.width, p.width) << name;
    ASSERT_EQ(img.height, p.height) << name;
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x)
            ASSERT_EQ(img.xrgb[size_t(y) * p.width + x] & 0xFFFFFF, expectedColor(p, x, y, o))
                << name << " at " << x << "," << y;
}

std::vector<uint8_t> bytesOf(std::initializer_list<int> list) {
    std::vector<uint8_t> out;
    for (int v : list) out.push_back(uint8_t(v));
    return out;
}

// A 4 x 3 RLE8 file with the given stream after a two-entry palette (black, white).
std::vector<uint8_t> rle8File(std::initializer_list<int> stream) {
    std::vector<uint8_t> f = bytesOf({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,  //
                                      40, 0, 0, 0, 4, 0, 0, 0, 3, 0, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0,
                                      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0,
                                      0, 0, 0, 0, 255, 255, 255, 0});
    for (int v : stream) f.push_back(uint8_t(v));
    return f;
}

}  // namespace

TEST(BmpDecode, EveryVariantReadsBackAsItsPicture) {
    for (const auto& v : testsupport::allBmpVariants()) {
        BmpPicture p = testsupport::testPicture(13, 7, v.colours);
        Image img;
        ASSERT_TRUE(decodeBmp(testsupport::writeBmp(p, v.options), img)) << v.name;
        expectPicture(img, p, v.options, v.name);
    }
}

TEST(BmpDecode, IndicesPastAShortPaletteAreBlack) {
    BmpPicture p = testsupport::testPicture(16, 4, 16);
    BmpOptions o{.bits = 4, .paletteCount = 6};
    Image img;
    ASSERT_TRUE(decodeBmp(testsupport::writeBmp(p, o), img));
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x) {
            uint8_t index = p.index[size_t(y) * p.width + x];
            EXPECT_EQ(img.xrgb[size_t(y) * p.width + x], index < 6 ? p.palette[index] : 0u);
        }
}

TEST(BmpDecode, RleEscapesMoveTheCursorAndEndEarly) {
    // Bottom row: run of 2 white, delta (1, 1) to x 3 of the middle row, one white, end.
    Image img;
    ASSERT_TRUE(decodeBmp(rle8File({2, 1, 0, 2, 1, 1, 1, 1, 0, 1}), img));
    EXPECT_EQ(img.xrgb, (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 0, 0xFFFFFF,
                                               0xFFFFFF, 0xFFFFFF, 0, 0}));
    // An overlong run is cut at the row's end rather than spilling into the next row.
    ASSERT_TRUE(decodeBmp(rle8File({9, 1, 0, 0, 0, 1}), img));
    EXPECT_EQ(img.xrgb[8], 0xFFFFFFu);
    EXPECT_EQ(img.xrgb[4], 0u);
}

TEST(BmpDecode, DamagedFilesAreRefused) {
    for (const auto& v : testsupport::allBmpVariants()) {
        std::vector<uint8_t> file = testsupport::writeBmp(testsupport::testPicture(9, 5, v.colours), v.options);
        // An RLE stream missing only its end marker still has every row.
        size_t firstWhole = v.options.rle ? file.size() - 2 : file.size();
        for (size_t n = 0; n < firstWhole; ++n) {
            Image img;
            std::vector<uint8_t> cut(file.begin(), file.begin() + long(n));
            EXPECT_FALSE(decodeBmp(cut, img)) << v.name << " cut to " << n;
            EXPECT_TRUE(img.xrgb.empty());
        }
    }
    std::vector<uint8_t> good = testsupport::writeBmp(testsupport::testPicture(9, 5, 2), {.bits = 8});
    auto refusedWith = [&](size_t at, std::initializer_list<int> patch) {
        std::vector<uint8_t> f = good;
        for (int v : patch) f[at++] = uint8_t(v);
        Image img;
        return !decodeBmp(f, img);
    };
    EXPECT_TRUE(refusedWith(0, {'B', 'A'}));                  // magic
    EXPECT_TRUE(refusedWith(14, {41, 1, 0, 0}));               // header size
    EXPECT_TRUE(refusedWith(18, {0, 0, 0, 0}));                // zero width
    EXPECT_TRUE(refusedWith(18, {0, 0, 0, 0x80}));             // negative width
    EXPECT_TRUE(refusedWith(22, {0, 0, 0, 0x80}));             // height of INT32_MIN
    EXPECT_TRUE(refusedWith(18, {0, 0, 1, 0}));                // 65536 wide
    EXPECT_TRUE(refusedWith(26, {2, 0}));                      // planes
    EXPECT_TRUE(refusedWith(28, {7, 0}));                      // depth
    EXPECT_TRUE(refusedWith(30, {2, 0, 0, 0}));                // RLE4 on 8 bits
    EXPECT_TRUE(refusedWith(30, {4, 0, 0, 0}));                // JPEG
    EXPECT_TRUE(refusedWith(10, {0xFF, 0xFF, 0, 0}));          // pixels past the end
    // RLE files: rows in the wrong order, a literal past the end, a stream with no end.
    std::vector<uint8_t> topDownRle = rle8File({0, 1});
    topDownRle[22] = 0xFD, topDownRle[23] = topDownRle[24] = topDownRle[25] = 0xFF;
    Image img;
    EXPECT_FALSE(decodeBmp(topDownRle, img));
    EXPECT_FALSE(decodeBmp(rle8File({0, 4, 1, 1}), img));
    EXPECT_FALSE(decodeBmp(rle8File({2, 1, 0, 0}), img));
    EXPECT_FALSE(refusedWith(18, {9, 0, 0, 0}));  // the untouched header itself is fine
}

TEST(BmpDecode, PicturesLandInSurfacesTruncatedAndClipped) {
    Image img{2, 2, {0xFFFFFF, 0x848642, 0x070307, 0x0000FF}};
    Surface* s = createSurface(3, 3, Format::rgb565);
    ASSERT_EQ(copyImage(img, *s, 1, -1), Status::ok);
    LockedRect r;
    ASSERT_EQ(lock(*s, r), Status::ok);
    auto at = [&](int x, int y) { return reinterpret_cast<uint16_t*>(r.bits + y * r.pitch)[x]; };
    EXPECT_EQ(at(1, 0), 0x0000);  // 0x070307 truncates to black
    EXPECT_EQ(at(2, 0), 0x001F);
    EXPECT_EQ(at(0, 0), 0);
    EXPECT_EQ(at(1, 1), 0);
    unlock(*s);
    ASSERT_EQ(copyImage(img, *s), Status::ok);
    ASSERT_EQ(lock(*s, r), Status::ok);
    EXPECT_EQ(at(0, 0), 0xFFFF);
    EXPECT_EQ(at(1, 0), (0x84 >> 3) << 11 | (0x86 >> 2) << 5 | 0x42 >> 3);
    unlock(*s);
    destroySurface(s);
}

TEST(ImageWrite, SurfacesAndPixelsWriteAsBmpAndPng) {
    Surface* s = createSurface(5, 3, Format::rgb565);
    fill(*s, {0, 0, 5, 3}, 0xFFFF);
    fill(*s, {1, 1, 3, 2}, 0xF800);
    std::vector<uint32_t> pixels = surfacePixels(*s);
    EXPECT_EQ(pixels[0], 0xFFFFFFu);  // replicated low bits
    EXPECT_EQ(pixels[6], 0xFF0000u);
    Image back;
    ASSERT_TRUE(decodeBmp(encodeBmp24(5, 3, pixels.data()), back));
    EXPECT_EQ(back.xrgb, pixels);
    destroySurface(s);

    std::vector<uint8_t> png = encodePng(5, 3, pixels.data());
    ASSERT_GT(png.size(), 8u + 25 + 12 + 12);
    EXPECT_EQ(std::vector<uint8_t>(png.begin() + 1, png.begin() + 4), (std::vector<uint8_t>{'P', 'N', 'G'}));
    auto be32 = [&](size_t at) { return uint32_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
    // Chunks follow each other to the end, each with its checksum; the data holds filtered rows.
    size_t at = 8;
    std::vector<uint8_t> rows(3 * (1 + 5 * 3));
    while (at < png.size()) {
        uint32_t length = be32(at);
        ASSERT_LE(at + 12 + length, png.size());
        EXPECT_EQ(be32(at + 8 + length), uint32_t(crc32(0, png.data() + at + 4, 4 + length)));
        if (std::string(png.begin() + long(at) + 4, png.begin() + long(at) + 8) == "IDAT") {
            uLongf size = rows.size();
            ASSERT_EQ(uncompress(rows.data(), &size, png.data() + at + 8, length), Z_OK);
            EXPECT_EQ(size, rows.size());
        }
        at += 12 + length;
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
    std::filesystem::path out = std::filesystem::path(dir) / "bmp";
    std::filesystem::create_directories(out);
    for (const auto& v : testsupport::allBmpVariants()) {
        auto bytes = testsupport::writeBmp(testsupport::testPicture(13, 7, v.colours), v.options);
        std::ofstream(out / (v.name + ".bmp"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
}
