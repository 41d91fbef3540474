// zuembed: manifest lines become table entries with the files' bytes; a bad line or a missing
// file stops it with the line's number and leaves no output behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/process.h"

namespace fs = std::filesystem;

TEST(Embed, ManifestLinesBecomeResourcesAndBadOnesStopWithTheirLine) {
    const fs::path folder = test::makeTempDir();
    fs::create_directories(folder / "BMP");
    std::ofstream(folder / "BMP" / "A.BMP", std::ios::binary) << std::string("\x01\x02\xff", 3);
    std::ofstream(folder / "empty.bin");
    auto embed = [&](const std::string& manifest) {
        fs::remove(folder / "out.cpp");
        std::ofstream(folder / "game.rc", std::ios::binary) << manifest;
        test::ProcessSpec spec;
        spec.argv = {std::string(ZU_BINARY_DIR) + "/zuembed", folder / "game.rc", folder, folder / "out.cpp"};
        return test::runProcess(spec);
    };
    test::ProcessResult ok = embed("// icons and pictures\n\nMAIN ICON \"BMP\\A.BMP\"\n  Data_2 RCDATA \"empty.bin\"\r\n");
    ASSERT_EQ(ok.exitCode, 0) << ok.err;
    std::stringstream source;
    source << std::ifstream(folder / "out.cpp").rdbuf();
    EXPECT_NE(source.str().find("1,2,255,"), std::string::npos);
    EXPECT_NE(source.str().find("{\"ICON\", \"MAIN\", {kBytes0, 3}}"), std::string::npos);
    EXPECT_NE(source.str().find("{\"RCDATA\", \"Data_2\", {kBytes1, 0}}"), std::string::npos);

    const std::pair<const char*, const char*> bad[] = {
        {"MAIN ICON \"BMP/A.BMP\"\nSECOND BITMAP \"missing.bmp\"\n", "game.rc:2: cannot read"},
        {"MAIN ICON BMP/A.BMP\n", "game.rc:1: the file name must be in double quotes"},
        {"MAIN ICON \"BMP/A.BMP\" extra\n", "game.rc:1: the file name must be in double quotes"},
        {"MA\"IN ICON \"BMP/A.BMP\"\n", "game.rc:1: expected NAME TYPE"},
    };
    for (const auto& [manifest, message] : bad) {
        SCOPED_TRACE(manifest);
        test::ProcessResult refused = embed(manifest);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
        EXPECT_FALSE(fs::exists(folder / "out.cpp"));
    }
    fs::remove_all(folder);
}
