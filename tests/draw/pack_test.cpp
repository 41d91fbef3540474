// Draw packs, headless: every BMP depth converted and loaded on 565, 555 and 32 bits; names, skips, appending,
// the desktop test; SwapPack, Restore and the copy attempts; damaged packs and bad requests; zudrawpack.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "draw/zu_draw.h"
#include "platform/video/surface.h"
#include "support/bmp_writer.h"
#include "support/fresh_program.h"
#include "support/process.h"
#include "support/wav_writer.h"

namespace {

using zuDraw::objectTable;
namespace headless = platform::headless;
using Bytes = std::vector<uint8_t>;

// White, black, (8, 0, 0), (7, 7, 7), (0, 0, 7), as loaded on 565, on 555 (the values stored) and on 32 bits.
const uint32_t colours[] = {0xFFFFFF, 0x000000, 0x080000, 0x070707, 0x000007};
const uint32_t loaded[][3] = {{0xFFDF, 0x7FFF, 0xFFFFFF}, {0, 0, 0}, {0x0800, 0x0400, 0x080000},
                              {0x0001, 0x0001, 0x000008}, {0x0001, 0x0001, 0x000008}};

Bytes readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<uint32_t> rawPixels(int32_t object) {
    const platform::Surface& s = *objectTable[object].surface;
    std::vector<uint32_t> values(size_t(s.width) * s.height);
    for (size_t i = 0, size = platform::bytesPerPixel(s.format); i < values.size(); ++i)
        std::memcpy(&values[i], &s.memory[i / s.width * s.pitch + i % s.width * size], size);
    return values;
}

Bytes picture(int32_t count, const testsupport::BmpOptions& options = {}) {  // 5 x 3, cycling through `count` colours
    testsupport::BmpPicture p{5, 3, {colours, colours + count}, {}};
    for (int32_t i = 0; i < 15; ++i) p.index.push_back(uint8_t(i % count));
    return testsupport::writeBmp(p, options);
}

struct DrawPack : FreshProgram {
    static void startScreen(int32_t bits) {  // full screen: 16 is RGB565, 15 RGB555
        zuDraw::Release();
        zuDraw::SetColorDepth(bits, 0, 0);
        ASSERT_EQ(zuDraw::Screen(64, 48, 1), 1);
    }
    void writeFile(const std::string& name, const Bytes& bytes) {
        std::filesystem::create_directories((programFolder / name).parent_path());
        ASSERT_TRUE(test::writeBytes((programFolder / name).string(), bytes));
    }
};

TEST_F(DrawPack, BitmapsOfEveryDepthLoadBackWithTheirColoursOn565And555And32BitScreens) {
    auto colourCount = [](const testsupport::BmpVariant& v) { return v.options.bits == 1 ? 2 : v.options.bits == 16 ? 3 : 5; };  // no 7s in 5 bits
    for (const auto& v : testsupport::allBmpVariants()) writeFile("ART/" + v.name + ".bmp", picture(colourCount(v), v.options));
    startScreen(32);
    ASSERT_EQ(zuDraw::Convert("ART.PAK", "ART", 1), 1);
    zuDraw::SetPackFile("ART.PAK");
    for (auto [screen, column] : {std::pair(16, 0), std::pair(15, 1), std::pair(32, 2)}) {
        startScreen(screen);
        for (const auto& v : testsupport::allBmpVariants()) {
            const int32_t number = zuDraw::LoadPack((v.name + ".bmp").c_str(), 2), count = colourCount(v);
            ASSERT_NE(number, 0) << v.name;
            const zuDraw::ObjectRecord& r = objectTable[number];
            EXPECT_EQ(std::tuple(r.width, r.height, r.fromPack, r.surface->key), std::tuple(5, 3, 1, 0u));
            for (int32_t i = 0; i < 15; ++i) EXPECT_EQ(rawPixels(number)[i], loaded[i % count][column]) << v.name << i;
            zuDraw::ReleaseObject(number);
        }
    }
}

TEST_F(DrawPack, ConvertAndZudrawpackNameEntriesByFileSkipUnreadableAndHugeBitmapsAndAppend) {
    for (const char* name : {"A.BMP", "b.bmp", "title.bmp"}) writeFile(std::string("SUB/") + name, picture(5));
    writeFile("SUB/bad.bmp", {'B', 'M', 1, 2});
    writeFile("SUB/HUGE.BMP", testsupport::writeBmp({65536, 1, {0xFFFFFF}, Bytes(65536, 0)}, {}));
    writeFile(utf8(u8"SUB/ソ.bmp"), picture(1));  // 83 5C: no folder separator
    writeFile(utf8(u8"SUB/ヂ.bmp"), picture(4));  // 83 61: not upper-cased
    startScreen(32);
    platform::Surface* buffer = objectTable[0].surface;
    ASSERT_EQ(zuDraw::Convert("P.PAK", "SUB", 1), 1);
    EXPECT_EQ(objectTable[0].surface, buffer);  // a failed load never packs nor frees object 0
    const Bytes once = readBytes(programFolder / "P.PAK");
    startScreen(16);
    zuDraw::SetPackFile("P.PAK");
    for (const char* name : {"b.bmp", "TITLE.BMP", "ソ.BMP", "ヂ.bmp"}) EXPECT_NE(zuDraw::LoadPack(name, 2), 0) << name;
    Bytes twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    auto tool = [&](std::vector<std::string> arguments) {  // zudrawpack, as a user runs it
        arguments.insert(arguments.begin(), std::string(ZU_BINARY_DIR) + "/zudrawpack");
        return test::runProcess({.argv = arguments, .workDir = programFolder.string()});
    };
    for (const char* pack : {"T1.PAK", "T2.PAK"}) {
        const test::ProcessResult run = tool({"SUB", pack});
        EXPECT_EQ(run.exitCode, 1);  // files were skipped, and say why
        EXPECT_NE(run.out.find(utf8(u8"written B.BMP\nskipped BAD.BMP: zuDraw::LoadObject : BMPファイルを読み込めません\n")), std::string::npos);
        EXPECT_EQ(readBytes(programFolder / pack), once);
    }
    const test::ProcessResult listing = tool({"--list", "T1.PAK"});
    EXPECT_EQ(std::tuple(listing.exitCode, listing.out), std::tuple(0, utf8(u8"A.BMP 5x3\nB.BMP 5x3\nTITLE.BMP 5x3\nソ.BMP 5x3\nヂ.BMP 5x3\n")));
    EXPECT_EQ(tool({"--append", "SUB", "T1.PAK"}).exitCode, 1);  // Convert without starting afresh
    EXPECT_EQ(readBytes(programFolder / "T1.PAK"), twice);
    EXPECT_EQ(zuDraw::Convert("Q.PAK", "SUB", 1), 0);  // the 16-bit screen set the desktop's depth
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::Convert : 画面をフルカラーにして下さい"));
    EXPECT_FALSE(std::filesystem::exists(programFolder / "Q.PAK"));
}

// An entry written byte by byte: width, height, name, pixels.
Bytes entry(uint16_t width, uint16_t height, const std::string& name, size_t pixelBytes, const Bytes& then = {}) {
    Bytes bytes(4 + name.size() + 1 + pixelBytes, 0x7F);
    bytes[0] = uint8_t(width), bytes[1] = uint8_t(width >> 8), bytes[2] = uint8_t(height), bytes[3] = uint8_t(height >> 8);
    std::copy(name.c_str(), name.c_str() + name.size() + 1, bytes.begin() + 4);
    bytes.insert(bytes.end(), then.begin(), then.end());
    return bytes;
}

TEST_F(DrawPack, SwapPackReplacesOnlyItsObjectRestoreReloadsItAndCopiesAreRetried) {
    writeFile("P.PAK", entry(5, 3, "A.BMP", 30));  // 0x7F7F: 31, 27, 31
    zuDraw::SetPackFile("P.PAK");
    startScreen(16);
    headless::loseAtNextCopies(1);  // the staging object is written again after the loss
    const int32_t first = zuDraw::LoadPack("A.BMP", 2);
    const std::vector<uint32_t> pixels = rawPixels(first);
    EXPECT_EQ(pixels, std::vector<uint32_t>(15, 0xFEDF));
    zuDraw::ReleaseObject(first);
    const int32_t surfaces = platform::liveSurfaceCount();
    headless::loseAtNextCopies(10);
    EXPECT_EQ(zuDraw::LoadPack("A.BMP", 2), 0);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::LoadPack : サーフェース間で展開できません"));
    headless::failNextLocks(100);  // the staging lock fails: no report, both objects freed
    EXPECT_EQ(zuDraw::LoadPack("A.BMP", 2), 0);
    headless::failNextLocks(0);
    EXPECT_EQ(platform::liveSurfaceCount(), surfaces);
    const int32_t four = zuDraw::CreateObject(3, 3, 2), five = zuDraw::CreateObject(2, 2, 2), boxes = headless::messageBoxCount();
    const std::vector before = {objectTable[2].surface, objectTable[four].surface, objectTable[five].surface};
    for (int32_t refused : {-1, 0, 3, 1024}) EXPECT_EQ(zuDraw::SwapPack("A.BMP", refused, 2), 0);
    EXPECT_EQ(headless::messageBoxCount(), boxes);
    EXPECT_EQ(zuDraw::SwapPack("a.bmp", 7, 2), 7);
    EXPECT_EQ(zuDraw::SwapPack("NONE.BMP", five, 2), 0);  // not found: the old object stays
    EXPECT_EQ((std::vector{objectTable[2].surface, objectTable[four].surface, objectTable[five].surface}), before);
    EXPECT_EQ(rawPixels(7), pixels);
    headless::loseAllSurfaces();
    zuDraw::Blit(0, 0, 7, 0, 0, 5, 3);  // meets the loss: Restore reloads the pack object
    EXPECT_EQ(std::tuple(objectTable[7].fromPack, std::string(objectTable[7].name)), std::tuple(1, std::string("A.BMP")));
    EXPECT_EQ(rawPixels(7), pixels);
}

const std::tuple<const char*, Bytes, bool> damagedPacks[] = {  // what, the pack, whether entry "A" loads
    {"after a size of 0", entry(0, 5, "Z", 0, entry(1, 1, "A", 2)), true},
    {"a name of 127 bytes", entry(1, 1, std::string(127, 'N'), 2, entry(1, 1, "A", 2)), true},
    {"empty", {}, false},
    {"ends inside a name", {2, 0, 1, 0, 'A'}, false},
    {"ends inside the pixels", entry(2, 1, "A", 3), false},
    {"a size of 0", entry(0, 5, "A", 0), false},
    {"a skipped entry ends early", entry(9, 9, "Z", 2), false},
    {"a name over 127 bytes", entry(1, 1, std::string(128, 'N'), 2, entry(1, 1, "A", 2)), false},
};

using DrawPackCorpus = DrawPack;  // its packs are also fuzz_drawpack's seeds, under ZU_WRITE_CORPUS

TEST_F(DrawPackCorpus, DamagedPacksAndBadRequestsAreRefusedBeforeAnySurfaceIsMade) {
    startScreen(16);
    EXPECT_EQ(zuDraw::LoadPack("A", 2), 0);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::LoadPack : パックファイル名が指定されていません"));
    zuDraw::SetPackFile("P.PAK");
    const int32_t surfaces = platform::liveSurfaceCount();
    const char* corpus = std::getenv("ZU_WRITE_CORPUS");
    if (corpus) std::filesystem::create_directories(std::string(corpus) + "/drawpack");
    for (const auto& [what, pack, loads] : damagedPacks) {
        writeFile("P.PAK", pack);
        if (corpus) test::writeBytes(std::string(corpus) + "/drawpack/" + what, pack);
        const int32_t boxes = headless::messageBoxCount(), number = zuDraw::LoadPack("a", 2);
        EXPECT_EQ(std::tuple(number != 0, headless::messageBoxCount() - boxes), std::tuple(loads, loads ? 0 : 1)) << what;
        if (number) zuDraw::ReleaseObject(number);
        EXPECT_EQ(platform::liveSurfaceCount(), surfaces) << what;
    }
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::LoadPack : BMPファイルを読み込めません"));
    EXPECT_EQ(zuDraw::LoadPack(std::string(32, 'A').c_str(), 2), 0);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::LoadPack : ファイル名またはリソース名が長すぎます"));
}

}  // namespace
