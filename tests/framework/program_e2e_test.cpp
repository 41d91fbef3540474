// A program written on the framework as the README shows it, built against the installed tree
// alone: the README's files copied into a fresh folder, the framework installed into a temporary
// prefix, the program built with find_package(zu) in Debug and in Release and run headless to a
// golden frame. The installed headers are exactly the public ones, and each compiles alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "game/game_run.h"
#include "support/bmp_writer.h"
#include "support/golden.h"
#include "support/process.h"
#include "support/wav_writer.h"

namespace {

namespace fs = std::filesystem;

test::ProcessResult run(std::vector<std::string> argv, const std::string& workDir = {},
                        std::vector<std::pair<std::string, std::string>> env = {}) {
    return test::runProcess({.argv = std::move(argv), .env = std::move(env),
                             .unset = {"DISPLAY", "ZU_AUDIO", "TESSORA_AUDIO", "ZU_FRAME_MS", "TESSORA_FRAME_MS"},
                             .workDir = workDir, .timeoutMs = 600000});  // builds on a busy machine
}

}  // namespace

TEST(FrameworkProgramE2E, InstalledTreeHoldsThePublicHeadersAndBuildsTheReadmeProgram) {
    const gamerun::GameRun temp;  // a fresh folder, removed at the end
    const fs::path dir = temp.folder, prefix = dir / "prefix", include = prefix / "include", source = dir / "hello";
    test::ProcessResult installed = run({ZU_CMAKE_COMMAND, "--install", fs::path(ZU_BINARY_DIR).parent_path().string(),
                                         "--prefix", prefix.string(), "--component", "zu"});
    ASSERT_EQ(installed.exitCode, 0) << installed.out << installed.err;

    std::vector<std::string> headers;
    for (const auto& entry : fs::recursive_directory_iterator(include))
        if (entry.is_regular_file()) headers.push_back(fs::relative(entry.path(), include).generic_string());
    std::sort(headers.begin(), headers.end());
    EXPECT_EQ(headers, (std::vector<std::string>{"zu/draw/zu_draw.h", "zu/input/joystick.h", "zu/platform/os/resources.h",
                                                 "zu/platform/types.h", "zu/platform/win32.h", "zu/sound/zu_sound.h",
                                                 "zu/system/zu_main.h", "zu/system/zu_system.h"}));
    for (const std::string& header : headers) {
        std::ofstream(dir / "alone.cpp") << "#include <" << header << ">\n";
        test::ProcessResult compiled = run({ZU_CXX_COMPILER, "-std=c++20", "-fsyntax-only", "-Wall", "-Wextra",
                                            "-Werror", "-I", include.string(), (dir / "alone.cpp").string()});
        EXPECT_EQ(compiled.exitCode, 0) << header << compiled.err;
    }

    // The fenced blocks of the README's section on framework programs, by the file name on each
    // block's first line ("# CMakeLists.txt", "# hello.rc: …", "// hello.cpp").
    const std::string readme = gamerun::readFile(std::string(ZU_SOURCE_DIR) + "/README.md");
    const size_t begin = readme.find("## Writing a program on the framework");
    ASSERT_NE(begin, std::string::npos);
    const std::string section = readme.substr(begin, readme.find("\n## ", begin + 1) - begin);
    const std::regex block("```[a-z]*\n((?:#|//) ([^: \n]+)[^\n]*\n[^`]*)```");
    std::map<std::string, std::string> files;
    for (std::sregex_iterator m(section.begin(), section.end(), block), end; m != end; ++m) files[(*m)[2]] = (*m)[1];
    ASSERT_EQ(files.size(), 3u) << "CMakeLists.txt, hello.rc and hello.cpp";
    fs::create_directories(source);
    for (const auto& [name, text] : files) std::ofstream(source / name) << text;
    // Its data: a 32 x 32 yellow diamond with a blue eye on magenta, and a short 880 Hz tone.
    testsupport::BmpPicture sprite{32, 32, {0xFF00FF, 0xFFFF00, 0x0000FF}, {}};
    for (int i = 0; i < 32 * 32; ++i) {
        const int distance = std::abs(i % 32 - 16) + std::abs(i / 32 - 16);
        sprite.index.push_back(distance < 6 ? 2 : distance < 15 ? 1 : 0);
    }
    ASSERT_TRUE(test::writeBytes((source / "sprite.bmp").string(), testsupport::writeBmp(sprite, {})));
    ASSERT_TRUE(test::writeBytes((source / "beep.wav").string(),
                                 test::wavImage({}, test::pcm16(test::sine(880, 44100, 4410, 8000)))));
    std::ofstream(source / "script.txt") << "wait 3\nkey right down\nwait 10\nkey right up\n"
                                            "key space down\nkey space up\nwait 2\nshot frame.bmp\n"
                                            "key escape down\n";

    // CMAKE_CXX_STANDARD stays unset: the targets carry C++20 themselves.
    for (const std::string config : {"Debug", "Release"}) {
        const fs::path build = dir / ("build-" + config);
        test::ProcessResult step = run({ZU_CMAKE_COMMAND, "-S", source.string(), "-B", build.string(), "-G", "Ninja",
                                        "-DCMAKE_PREFIX_PATH=" + prefix.string(), "-DCMAKE_BUILD_TYPE=" + config,
                                        std::string("-DCMAKE_EXE_LINKER_FLAGS=") + ZU_EXE_LINKER_FLAGS});
        ASSERT_EQ(step.exitCode, 0) << config << step.out << step.err;
        step = run({ZU_CMAKE_COMMAND, "--build", build.string(), "-j", "2"});
        ASSERT_EQ(step.exitCode, 0) << config << step.out << step.err;

        test::ProcessResult program = run({(build / "hello").string()}, source.string(),
                                          {{"ZU_PLATFORM", "headless"}, {"ZU_SCRIPT", "script.txt"},
                                           {"XDG_CONFIG_HOME", (dir / "config").string()}});
        EXPECT_EQ(program.exitCode, 0) << config << program.err;
        EXPECT_EQ(program.err.find("messagebox:"), std::string::npos) << config << program.err;
        platform::Image frame = gamerun::readImage((source / "frame.bmp").string());
        EXPECT_TRUE(testsupport::matchesGolden("framework_hello", {frame.width, frame.height, frame.xrgb})) << config;
    }
}
