// zudrawpack, as a user runs it: a folder packed twice gives the same bytes as zuDraw::Convert,
// the unreadable file is named with its reason, the listing names every entry, --append adds.
#include <filesystem>
#include <fstream>

#include "draw/zu_draw.h"
#include "support/bmp_writer.h"
#include "support/fresh_program.h"
#include "support/process.h"
#include "support/wav_writer.h"

namespace {

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

using DrawPackTool = FreshProgram;

TEST_F(DrawPackTool, PacksAFolderAsConvertDoesListsItAndAppends) {
    std::filesystem::create_directories(programFolder / "art");
    test::writeBytes((programFolder / "art/title.bmp").string(), testsupport::writeBmp(testsupport::testPicture(7, 3, 40), {.bits = 8}));
    test::writeBytes((programFolder / "art/B.BMP").string(), testsupport::writeBmp(testsupport::testPicture(2, 5, 2), {.bits = 1}));
    test::writeBytes((programFolder / "art/broken.bmp").string(), {'B', 'M'});
    auto run = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), std::string(ZU_BINARY_DIR) + "/zudrawpack");
        return test::runProcess({.argv = arguments, .workDir = programFolder.string()});
    };
    const test::ProcessResult first = run({"art", "first.pak"}), second = run({"art", "second.pak"});
    EXPECT_EQ(first.exitCode, 1);  // a file was skipped
    EXPECT_EQ(first.out, utf8(u8"written B.BMP\nskipped BROKEN.BMP: zuDraw::LoadObject : BMPファイルを読み込めません\n"
                              u8"written TITLE.BMP\n"));
    ASSERT_EQ(zuDraw::Convert("mine.pak", "art", 1), 1);
    const std::vector<uint8_t> mine = readBytes(programFolder / "mine.pak");
    EXPECT_EQ(readBytes(programFolder / "first.pak"), mine);
    EXPECT_EQ(readBytes(programFolder / "second.pak"), mine);

    const test::ProcessResult listing = run({"--list", "first.pak"});
    EXPECT_EQ(std::tuple(listing.exitCode, listing.out), std::tuple(0, std::string("B.BMP 2x5\nTITLE.BMP 7x3\n")));
    EXPECT_EQ(run({"--append", "art", "first.pak"}).exitCode, 1);
    EXPECT_EQ(run({"--list", "first.pak"}).out, "B.BMP 2x5\nTITLE.BMP 7x3\nB.BMP 2x5\nTITLE.BMP 7x3\n");
    std::filesystem::resize_file(programFolder / "first.pak", mine.size() - 1);
    EXPECT_EQ(run({"--list", "first.pak"}).exitCode, 1);  // cut short
    EXPECT_EQ(run({"no-such-folder", "x.pak"}).exitCode, 2);
}

}  // namespace
