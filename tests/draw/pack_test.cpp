// Draw packs on the headless backend: bitmaps of every depth converted and loaded back on
// 565, 555 and 32-bit screens; the search, the entry names (Shift-JIS too) and appending; the
// desktop test; SwapPack and Restore; the copy attempts; damaged packs and bad requests.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "draw/pack_reader.h"
#include "draw/zu_draw.h"
#include "platform/sjis.h"
#include "platform/video/surface.h"
#include "support/bmp_writer.h"
#include "support/fresh_program.h"
#include "support/wav_writer.h"
#include "system/zu_system.h"

namespace {

using namespace testsupport;
using zuDraw::objectTable;
namespace headless = platform::headless;

// White, black, (8, 0, 0), (7, 7, 7), (0, 0, 7): stored, then as loaded on 565, 555 and 32 bits.
const uint32_t colours[] = {0xFFFFFF, 0x000000, 0x080000, 0x070707, 0x000007};
const uint32_t loaded[][4] = {{0x7FFF, 0xFFDF, 0x7FFF, 0xFFFFFF},
                              {0, 0, 0, 0},
                              {0x0400, 0x0800, 0x0400, 0x080000},
                              {0x0001, 0x0001, 0x0001, 0x000008},
                              {0x0001, 0x0001, 0x0001, 0x000008}};

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The surface's raw pixel values, row by row.
std::vector<uint32_t> rawPixels(const platform::Surface* s) {
    std::vector<uint32_t> values;
    const int32_t size = platform::bytesPerPixel(s->format);
    for (int32_t y = 0; y < s->height; ++y)
        for (int32_t x = 0; x < s->width; ++x) {
            uint32_t value = 0;
            std::memcpy(&value, s->memory.data() + size_t(y) * s->pitch + size_t(x) * size, size_t(size));
            values.push_back(value);
        }
    return values;
}

class DrawPack : public FreshProgram {
protected:
    // Full screen at 16 bits (RGB565), 15 (RGB555) or 32.
    static void startScreen(int32_t bits) {
        zuDraw::Release();
        zuDraw::SetColorDepth(bits, 0, 0);
        ASSERT_EQ(zuDraw::Screen(64, 48, 1), 1);
    }
    void writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::filesystem::create_directories((programFolder / name).parent_path());
        ASSERT_TRUE(test::writeBytes((programFolder / name).string(), bytes));
    }
    // A 5 x 3 picture cycling through the first `count` colours.
    static std::vector<uint8_t> picture(int32_t count, const BmpOptions& options = {}) {
        BmpPicture p{5, 3, {colours, colours + count}, {}};
        for (int32_t i = 0; i < 15; ++i) p.index.push_back(uint8_t(i % count));
        return writeBmp(p, options);
    }
    static std::vector<std::string> entryNames(const std::vector<uint8_t>& pack) {
        FILE* file = fmemopen(const_cast<uint8_t*>(pack.data()), pack.size(), "rb");
        std::vector<std::string> names;
        zuDraw::PackEntry entry;
        while (zuDraw::readPackEntry(file, entry) && zuDraw::skipPackPixels(file, entry, int64_t(pack.size())))
            names.push_back(entry.name);
        std::fclose(file);
        return names;
    }
    static std::vector<std::pair<std::string, int32_t>> reports;
};
std::vector<std::pair<std::string, int32_t>> DrawPack::reports;

TEST_F(DrawPack, BitmapsOfEveryDepthLoadBackWithTheirColoursOn565And555And32BitScreens) {
    std::vector<std::pair<std::string, int32_t>> files;  // name, colours used
    for (const BmpVariant& v : allBmpVariants()) {
        files.emplace_back(v.name + ".bmp", v.options.bits == 1 ? 2 : v.options.bits == 16 ? 3 : 5);  // 5-bit: no 7s
        writeFile("ART/" + files.back().first, picture(files.back().second, v.options));
    }
    startScreen(32);
    ASSERT_EQ(zuDraw::Convert("ART.PAK", "ART", 1), 1);
    std::vector<uint8_t> pack = readBytes(programFolder / "ART.PAK"), stored;
    FILE* file = fmemopen(pack.data(), pack.size(), "rb");
    zuDraw::PackEntry entry;
    ASSERT_TRUE(zuDraw::findPackEntry(file, "BITS24.BMP", entry) && zuDraw::readPackPixels(file, entry, stored));
    std::fclose(file);
    for (int32_t i = 0; i < 15; ++i) EXPECT_EQ(stored[2 * i] | stored[2 * i + 1] << 8, int32_t(loaded[i % 5][0])) << i;
    zuDraw::SetPackFile("ART.PAK");
    for (auto [screen, column] : {std::pair(16, 1), std::pair(15, 2), std::pair(32, 3)}) {
        startScreen(screen);
        for (const auto& [name, count] : files) {
            int32_t number = zuDraw::LoadPack(name.c_str(), 2);
            ASSERT_NE(number, 0) << name;
            const zuDraw::ObjectRecord& record = objectTable[number];
            EXPECT_EQ(std::tuple(record.width, record.height, record.fromPack, record.surface->key), std::tuple(5, 3, 1, 0u));
            EXPECT_STREQ(record.name, platform::sjisUpper(name).c_str());
            const std::vector<uint32_t> pixels = rawPixels(record.surface);
            for (int32_t i = 0; i < 15; ++i)
                EXPECT_EQ(pixels[i], loaded[i % count][column]) << name << " pixel " << i << " on " << screen;
            zuDraw::ReleaseObject(number);
        }
    }
}

TEST_F(DrawPack, ConvertNamesEntriesByFileSkipsUnreadableAndHugeBitmapsAndAppends) {
    writeFile("SUB/A.BMP", picture(2));
    writeFile("SUB/b.bmp", picture(5));
    writeFile("SUB/bad.bmp", {'B', 'M', 1, 2});
    writeFile("SUB/HUGE.BMP", writeBmp({65536, 1, {0xFFFFFF}, std::vector<uint8_t>(65536, 0)}, {}));
    writeFile("SUB/title.bmp", picture(3));
    writeFile(utf8(u8"SUB/ソ.bmp"), picture(1));   // 83 5C: no folder separator
    writeFile(utf8(u8"SUB/ヂ.bmp"), picture(4));   // 83 61: not upper-cased
    startScreen(32);
    void* buffer = objectTable[0].surface;
    auto record = [](const char* path, int32_t written) { reports.emplace_back(path, written); };
    reports.clear();
    ASSERT_EQ(zuDraw::Convert("P.PAK", "SUB", 1, record), 1);
    const std::vector<std::pair<std::string, int32_t>> expected = {
        {"SUB\\A.BMP", 1}, {"SUB\\B.BMP", 1}, {"SUB\\BAD.BMP", 0}, {"SUB\\HUGE.BMP", 0},
        {"SUB\\TITLE.BMP", 1}, {"SUB\\ソ.BMP", 1}, {"SUB\\ヂ.BMP", 1}};
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(objectTable[0].surface, buffer);  // a failed load never packs nor frees object 0
    const std::vector<uint8_t> once = readBytes(programFolder / "P.PAK");
    EXPECT_EQ(entryNames(once), (std::vector<std::string>{"A.BMP", "B.BMP", "TITLE.BMP", "ソ.BMP", "ヂ.BMP"}));

    startScreen(16);
    zuDraw::SetPackFile("P.PAK");
    EXPECT_EQ(objectTable[zuDraw::LoadPack("b.bmp", 2)].width, 5);  // found past A.BMP
    int32_t katakana = zuDraw::LoadPack("ヂ.bmp", 2);
    ASSERT_NE(katakana, 0);
    EXPECT_EQ(rawPixels(objectTable[katakana].surface)[3], 0x0001u);  // the 4th colour

    startScreen(32);
    ASSERT_EQ(zuDraw::Convert("P.PAK", "SUB", 0), 1);
    std::vector<uint8_t> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(readBytes(programFolder / "P.PAK"), twice);
    ASSERT_EQ(zuDraw::Convert("P.PAK", "SUB", 1), 1);
    EXPECT_EQ(readBytes(programFolder / "P.PAK"), once);
}

TEST_F(DrawPack, ConvertOnASixteenBitDesktopWritesNothing) {
    writeFile("A.BMP", picture(2));
    startScreen(16);
    EXPECT_EQ(zuDraw::Convert("P.PAK", "", 1), 0);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::Convert : 画面をフルカラーにして下さい"));
    EXPECT_FALSE(std::filesystem::exists(programFolder / "P.PAK"));
}

TEST_F(DrawPack, SwapPackReplacesOnlyItsObjectAndRestoreReloadsIt) {
    writeFile("A.BMP", picture(5));
    startScreen(32);
    ASSERT_EQ(zuDraw::Convert("P.PAK", "", 1), 1);
    zuDraw::SetPackFile("P.PAK");
    startScreen(16);
    // A loss during the staging copy is retried with the pixels written again; ten fail.
    headless::loseAtNextCopies(1);
    int32_t first = zuDraw::LoadPack("A.BMP", 2);
    const std::vector<uint32_t> pixels = rawPixels(objectTable[first].surface);
    EXPECT_EQ(pixels[0], 0xFFDFu);
    zuDraw::ReleaseObject(first);
    const int32_t surfaces = platform::liveSurfaceCount();
    headless::loseAtNextCopies(10);
    EXPECT_EQ(zuDraw::LoadPack("A.BMP", 2), 0);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::LoadPack : サーフェース間で展開できません"));
    headless::failNextLocks(100);  // the staging lock fails: no report, both objects freed
    EXPECT_EQ(zuDraw::LoadPack("A.BMP", 2), 0);
    headless::failNextLocks(0);
    EXPECT_EQ(platform::liveSurfaceCount(), surfaces);

    int32_t four = zuDraw::LoadObject("A.BMP", 2), five = zuDraw::CreateObject(2, 2, 2);
    const std::vector<platform::Surface*> before = {objectTable[2].surface, objectTable[four].surface, objectTable[five].surface};
    const int32_t boxes = headless::messageBoxCount();
    for (int32_t refused : {-1, 0, 3, 1024}) EXPECT_EQ(zuDraw::SwapPack("A.BMP", refused, 2), 0);
    EXPECT_EQ(headless::messageBoxCount(), boxes);
    EXPECT_EQ(zuDraw::SwapPack("a.bmp", 7, 2), 7);
    EXPECT_EQ(zuDraw::SwapPack("NONE.BMP", five, 2), 0);  // not found: the old object stays
    EXPECT_EQ((std::vector{objectTable[2].surface, objectTable[four].surface, objectTable[five].surface}), before);
    for (int32_t n : {6, 8}) EXPECT_EQ(objectTable[n].surface, nullptr);
    EXPECT_EQ(rawPixels(objectTable[7].surface), pixels);

    headless::loseAllSurfaces();
    zuDraw::Blit(0, 0, 7, 0, 0, 5, 3);  // meets the loss: Restore reloads the pack object
    EXPECT_EQ(std::tuple(objectTable[7].fromPack, std::string(objectTable[7].name)), std::tuple(1, std::string("A.BMP")));
    EXPECT_EQ(rawPixels(objectTable[7].surface), pixels);
}

// Packs written byte by byte: width, height, name, pixels.
std::vector<uint8_t> entry(uint16_t width, uint16_t height, const std::string& name, size_t pixelBytes) {
    std::vector<uint8_t> bytes = {uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8)};
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
    bytes.resize(bytes.size() + pixelBytes, 0x7F);
    return bytes;
}

std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct DamagedPack {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* request;
    const char8_t* message;  // null: the request loads
};

const DamagedPack damagedPacks[] = {
    {"empty", {}, "A", u8"BMPファイルを読み込めません"},
    {"ends inside a name", {2, 0, 1, 0, 'A'}, "A", u8"BMPファイルを読み込めません"},
    {"ends inside the pixels", entry(2, 1, "A", 3), "A", u8"BMPファイルを読み込めません"},
    {"a size of 0", entry(0, 5, "A", 0), "A", u8"BMPファイルを読み込めません"},
    {"after a size of 0", entry(0, 5, "Z", 0) + entry(1, 1, "A", 2), "A", nullptr},
    {"a skipped entry ends early", entry(9, 9, "Z", 2), "A", u8"BMPファイルを読み込めません"},
    {"a name over 127 bytes", entry(1, 1, std::string(128, 'N'), 2) + entry(1, 1, "A", 2), "A",
     u8"BMPファイルを読み込めません"},
    {"a name of 127 bytes", entry(1, 1, std::string(127, 'N'), 2) + entry(1, 1, "A", 2), "A", nullptr},
    {"a request over 31 bytes", entry(1, 1, "A", 2), "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA",
     u8"ファイル名またはリソース名が長すぎます"},
};

TEST_F(DrawPack, DamagedPacksAndBadRequestsAreRefusedBeforeAnySurfaceIsMade) {
    startScreen(16);
    EXPECT_EQ(zuDraw::LoadPack("A", 2), 0);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::LoadPack : パックファイル名が指定されていません"));
    zuDraw::SetPackFile("P.PAK");
    const int32_t surfaces = platform::liveSurfaceCount();
    for (const DamagedPack& pack : damagedPacks) {
        writeFile("P.PAK", pack.bytes);
        int32_t number = zuDraw::LoadPack(pack.request, 2);
        if (!pack.message) {
            EXPECT_NE(number, 0) << pack.what;
            zuDraw::ReleaseObject(number);
            continue;
        }
        EXPECT_EQ(number, 0) << pack.what;
        EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::LoadPack : ") + utf8(pack.message)) << pack.what;
        EXPECT_EQ(platform::liveSurfaceCount(), surfaces) << pack.what;
    }
}

using DrawPackCorpus = DrawPack;

// Seeds for fuzz_drawpack: written only when ZU_WRITE_CORPUS names a folder.
TEST_F(DrawPackCorpus, WritesSeeds) {
    const char* root = std::getenv("ZU_WRITE_CORPUS");
    if (!root) GTEST_SKIP() << "ZU_WRITE_CORPUS is not set";
    const std::filesystem::path folder = std::filesystem::path(root) / "drawpack";
    std::filesystem::create_directories(folder);
    for (size_t i = 0; i < std::size(damagedPacks); ++i)
        test::writeBytes((folder / ("damaged" + std::to_string(i))).string(), damagedPacks[i].bytes);
    writeFile("ART/A.BMP", picture(5));
    writeFile("ART/B.BMP", picture(3));
    startScreen(32);
    zuDraw::Convert("ART.PAK", "ART", 1);
    test::writeBytes((folder / "converted").string(), readBytes(programFolder / "ART.PAK"));
}

}  // namespace
