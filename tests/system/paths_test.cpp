// Program directory and its override, settings files, host path resolution and file search.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/os/files.h"
#include "platform/headless.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace zuSystem;
namespace fs = std::filesystem;
namespace headless = platform::headless;

class Paths : public FreshProgram {
protected:
    void writeHost(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string readAll(const char* sjisPath) {
        FILE* f = platform::openFile(sjisPath, "rb");
        if (!f) return "<missing>";
        char buffer[64] = {};
        size_t n = std::fread(buffer, 1, sizeof buffer, f);
        std::fclose(f);
        return std::string(buffer, n);
    }
};

TEST_F(Paths, ModuleDirWithAndWithoutOverride) {
    platform::setModuleFileName("C:\\GAMES\\PUZZLE\\P.EXE");
    EXPECT_STREQ(ModuleDir(0), "C:\\GAMES\\PUZZLE\\");
    EXPECT_STREQ(ModuleDir(1), "C:\\GAMES\\PUZZLE\\");  // no override loaded
    std::strcpy(pathState.dirOverride, "D:\\DATA");
    EXPECT_STREQ(ModuleDir(1), "D:\\DATA\\PUZZLE\\");
    EXPECT_STREQ(ModuleDir(0), "C:\\GAMES\\PUZZLE\\");
    // The trail byte 0x5C of "ソ" is no separator when scanning back.
    platform::setModuleFileName("\\GAMES\\ソ\\P.EXE");
    EXPECT_STREQ(ModuleDir(0), "\\GAMES\\ソ\\");
    EXPECT_STREQ(ModuleDir(1), "D:\\DATA\\ソ\\");
    EXPECT_STREQ(pathState.lastDirName, "ソ\\");
    // Over-long module paths are refused, not cut into another folder's name.
    platform::setModuleFileName(("\\" + std::string(300, 'a') + "\\P.EXE").c_str());
    EXPECT_STREQ(ModuleDir(0), "");
}

TEST_F(Paths, OverrideFileIsReadFromTheConfigFolder) {
    EXPECT_EQ(LoadDirOverride("zu.ini"), 0);  // missing
    writeHost(configFolder / "tessora" / "zu.ini", "D:\\DATA\\\nsecond line\n");
    EXPECT_NE(LoadDirOverride("zu.ini"), 0);
    EXPECT_STREQ(pathState.dirOverride, "D:\\DATA");
    // A final "ソ" keeps its 0x5C trail byte.
    writeHost(configFolder / "tessora" / "zu.ini", "D:\\ソ\n");
    EXPECT_NE(LoadDirOverride("zu.ini"), 0);
    EXPECT_STREQ(pathState.dirOverride, "D:\\ソ");
    writeHost(configFolder / "tessora" / "zu.ini", std::string(255, 'x') + "\n");
    EXPECT_NE(LoadDirOverride("zu.ini"), 0);
    EXPECT_EQ(std::strlen(pathState.dirOverride), 255u);
    writeHost(configFolder / "tessora" / "zu.ini", std::string(256, 'x') + "\n");
    EXPECT_EQ(LoadDirOverride("zu.ini"), 0);
    EXPECT_STREQ(pathState.dirOverride, "");
}

TEST_F(Paths, SettingsFilesHoldOneNumber) {
    EXPECT_EQ(ReadNumber("SCORE.TXT"), 0);  // missing
    WriteNumber("SCORE.TXT", -1234);
    EXPECT_EQ(ReadNumber("score.txt"), -1234);  // found whatever the case
    writeHost(programFolder / "EMPTY.TXT", "none");
    EXPECT_EQ(ReadNumber("EMPTY.TXT"), 0);
    EXPECT_EQ(headless::messageBoxCount(), 0);
    EXPECT_EQ(WriteNumber("NOFOLDER\\X.TXT", 1), 0);  // unwritable: skipped silently
    EXPECT_EQ(headless::messageBoxCount(), 0);
    EXPECT_EQ(systemState.errorRaised, 0);
}

TEST_F(Paths, HostPathsResolveShiftJisNamesAndIgnoreAsciiCase) {
    writeHost(programFolder / u8"ソフト" / "Data.Bin", "one");
    std::string base = frameworkPath(programFolder);
    EXPECT_EQ(readAll((base + "\\ソフト\\DATA.BIN").c_str()), "one");
    EXPECT_EQ(readAll((base + "/ソフト/data.bin").c_str()), "one");
    EXPECT_EQ(readAll((base + "\\ソフト\\DATA.BI").c_str()), "<missing>");
    std::string host;
    std::string longName = base + "\\" + std::string(200, 'n') + "\\" + std::string(60, 'f');
    EXPECT_FALSE(platform::hostPath(longName.c_str(), host, true));  // 260 bytes or more
    fs::create_directories(programFolder / std::string(128, 'd'));
    EXPECT_FALSE(platform::hostPath((base + "\\" + std::string(128, 'd') + "\\x").c_str(), host, true));
    EXPECT_TRUE(platform::hostPath((base + "\\ソフト\\NEW.TXT").c_str(), host, true));
    EXPECT_EQ(host, (programFolder / u8"ソフト" / "NEW.TXT").string());
}

TEST_F(Paths, SearchMatchesPatternsInUpperCaseOrder) {
    for (const char* name : {"b.bmp", "A.BMP", "c.wav", "C.bmp"}) writeHost(programFolder / "BMP" / name, "");
    writeHost(programFolder / "BMP" / u8"ソ.BMP", "");
    std::vector<std::string> found;
    platform::FindData data;
    std::string pattern = frameworkPath(programFolder) + "\\bmp\\*.BMP";
    platform::FindHandle* h = platform::findFirst(pattern.c_str(), data);
    ASSERT_NE(h, nullptr);
    do found.push_back(data.name);
    while (platform::findNext(h, data));
    platform::findClose(h);
    EXPECT_EQ(found, (std::vector<std::string>{"A.BMP", "b.bmp", "C.bmp", "ソ.BMP"}));
    EXPECT_TRUE(platform::matchesPattern("ソ1.BMP", "?1.bmp"));
    EXPECT_FALSE(platform::matchesPattern("AB.BMP", "?.BMP"));
    EXPECT_EQ(platform::findFirst((frameworkPath(programFolder) + "\\BMP\\*.XM").c_str(), data), nullptr);
}

}  // namespace
