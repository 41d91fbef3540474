// zuembed: manifest lines become table entries with the files' bytes; a bad line or a missing
// file stops it with the line's number and leaves no output behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "support/process.h"

namespace {

namespace fs = std::filesystem;

class Embed : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("zuembed-" + std::to_string(::getpid()));
        fs::create_directories(folder / "BMP");
        write(folder / "BMP" / "A.BMP", std::string("\x01\x02\xff", 3));
        write(folder / "empty.bin", "");
    }
    void TearDown() override { fs::remove_all(folder); }

    static void write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    static std::string read(const fs::path& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    test::ProcessResult embed(const std::string& manifest) {
        write(folder / "game.rc", manifest);
        test::ProcessSpec spec;
        spec.argv = {std::string(ZU_BINARY_DIR) + "/zuembed", (folder / "game.rc").string(), folder.string(),
                     (folder / "out.cpp").string()};
        test::Process tool;
        EXPECT_TRUE(tool.start(spec));
        return tool.finish(20000);
    }

    fs::path folder;
};

TEST_F(Embed, ManifestLinesBecomeResourcesAndBadOnesStopWithTheirLine) {
    test::ProcessResult ok = embed("// icons and pictures\n\nMAIN ICON \"BMP\\A.BMP\"\n  Data_2 RCDATA \"empty.bin\"\r\n");
    ASSERT_EQ(ok.exitCode, 0) << ok.err;
    const std::string source = read(folder / "out.cpp");
    EXPECT_NE(source.find("1,2,255,"), std::string::npos);
    EXPECT_NE(source.find("{\"ICON\", \"MAIN\", {kBytes0, 3}}"), std::string::npos);
    EXPECT_NE(source.find("{\"RCDATA\", \"Data_2\", {kBytes1, 0}}"), std::string::npos);

    const std::pair<const char*, const char*> bad[] = {
        {"MAIN ICON \"BMP/A.BMP\"\nSECOND BITMAP \"missing.bmp\"\n", "game.rc:2: cannot read"},
        {"MAIN ICON BMP/A.BMP\n", "game.rc:1: the file name must be in double quotes"},
        {"MAIN ICON \"BMP/A.BMP\" extra\n", "game.rc:1: the file name must be in double quotes"},
        {"MA\"IN ICON \"BMP/A.BMP\"\n", "game.rc:1: expected NAME TYPE"},
    };
    for (const auto& [manifest, message] : bad) {
        fs::remove(folder / "out.cpp");
        test::ProcessResult refused = embed(manifest);
        EXPECT_EQ(refused.exitCode, 1) << manifest;
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
        EXPECT_FALSE(fs::exists(folder / "out.cpp")) << manifest;
    }
}

}  // namespace
