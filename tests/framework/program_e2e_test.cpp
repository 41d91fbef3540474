// A program written on the framework as the README shows it, built against the installed tree
// alone: the README's files copied into a fresh folder, the framework installed into a temporary
// prefix, the program built with find_package(zu) in Debug and in Release and run headless to a
// golden frame. The installed headers are exactly the public ones, and each compiles alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/video/bmp.h"
#include "support/bmp_writer.h"
#include "support/golden.h"
#include "support/process.h"
#include "support/wav_writer.h"

namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The fenced blocks of the README's section on framework programs, by the file name on each
// block's first line ("# CMakeLists.txt", "# hello.rc: …", "// hello.cpp").
std::map<std::string, std::string> readmeFiles() {
    const std::string readme = readText(fs::path(ZU_SOURCE_DIR) / "README.md");
    const size_t begin = readme.find("## Writing a program on the framework");
    if (begin == std::string::npos) return {};
    std::istringstream section(readme.substr(begin, readme.find("\n## ", begin + 1) - begin));
    std::map<std::string, std::string> files;
    std::string line, name, body;
    bool inside = false;
    while (std::getline(section, line)) {
        if (line.rfind("```", 0) == 0) {
            if (inside) files[name] = body;
            inside = !inside;
            name.clear();
            body.clear();
            continue;
        }
        if (!inside) continue;
        if (name.empty()) {
            size_t start = line.find_first_not_of("#/ ");
            name = line.substr(start, line.find_first_of(": ", start) - start);
        }
        body += line + "\n";
    }
    return files;
}

test::ProcessResult run(std::vector<std::string> argv, const std::string& workDir = {},
                        std::vector<std::pair<std::string, std::string>> env = {}) {
    test::ProcessSpec spec;
    spec.argv = std::move(argv);
    spec.workDir = workDir;
    spec.env = std::move(env);
    spec.unset = {"DISPLAY", "ZU_AUDIO", "TESSORA_AUDIO", "ZU_FRAME_MS", "TESSORA_FRAME_MS"};
    spec.timeoutMs = 600000;  // builds on a busy machine
    return test::runProcess(spec);
}

// The framework installed into a fresh prefix, removed at the end.
struct Installed {
    fs::path dir = test::makeTempDir();
    fs::path prefix = dir / "prefix";
    test::ProcessResult result = run({ZU_CMAKE_COMMAND, "--install",
                                      fs::path(ZU_BINARY_DIR).parent_path().string(), "--prefix",
                                      prefix.string(), "--component", "zu"});
    ~Installed() { test::removeTree(dir.string()); }
};

// A 32 x 32 yellow diamond with a blue eye on magenta, and a short 880 Hz tone.
void writeProgramData(const fs::path& folder) {
    testsupport::BmpPicture sprite{32, 32, {0xFF00FF, 0xFFFF00, 0x0000FF}, {}};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            sprite.index.push_back(std::abs(x - 16) + std::abs(y - 16) < 6 ? 2
                                   : std::abs(x - 16) + std::abs(y - 16) < 15 ? 1 : 0);
    ASSERT_TRUE(test::writeBytes((folder / "sprite.bmp").string(), testsupport::writeBmp(sprite, {})));
    ASSERT_TRUE(test::writeBytes((folder / "beep.wav").string(),
                                 test::wavImage({}, test::pcm16(test::sine(880, 44100, 4410, 8000)))));
}

testsupport::Picture readShot(const fs::path& path) {
    const std::string bytes = readText(path);
    platform::Image image;
    if (!platform::decodeBmp(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), image))
        return {};
    return {image.width, image.height, std::move(image.xrgb)};
}

}  // namespace

TEST(FrameworkProgramE2E, ReadmeProgramBuildsFromTheInstalledTreeAndDrawsItsFrame) {
    Installed installed;
    ASSERT_EQ(installed.result.exitCode, 0) << installed.result.out << installed.result.err;

    const std::map<std::string, std::string> files = readmeFiles();
    ASSERT_EQ(files.size(), 3u) << "CMakeLists.txt, hello.rc and hello.cpp";
    const fs::path source = installed.dir / "hello";
    fs::create_directories(source);
    for (const auto& [name, text] : files) std::ofstream(source / name) << text;
    writeProgramData(source);
    std::ofstream(source / "script.txt") << "wait 3\nkey right down\nwait 10\nkey right up\n"
                                            "key space down\nkey space up\nwait 2\nshot frame.bmp\n"
                                            "key escape down\n";

    // CMAKE_CXX_STANDARD stays unset: the targets carry C++20 themselves.
    for (const char* config : {"Debug", "Release"}) {
        const fs::path build = installed.dir / (std::string("build-") + config);
        test::ProcessResult step = run({ZU_CMAKE_COMMAND, "-S", source.string(), "-B", build.string(), "-G", "Ninja",
                                        "-DCMAKE_PREFIX_PATH=" + installed.prefix.string(),
                                        std::string("-DCMAKE_BUILD_TYPE=") + config,
                                        std::string("-DCMAKE_EXE_LINKER_FLAGS=") + ZU_EXE_LINKER_FLAGS});
        ASSERT_EQ(step.exitCode, 0) << config << step.out << step.err;
        step = run({ZU_CMAKE_COMMAND, "--build", build.string(), "-j", "2"});
        ASSERT_EQ(step.exitCode, 0) << config << step.out << step.err;

        test::ProcessResult program = run({(build / "hello").string()}, source.string(),
                                          {{"ZU_PLATFORM", "headless"}, {"ZU_SCRIPT", "script.txt"},
                                           {"XDG_CONFIG_HOME", (installed.dir / "config").string()}});
        EXPECT_EQ(program.exitCode, 0) << config << program.err;
        EXPECT_EQ(program.err.find("messagebox:"), std::string::npos) << config << program.err;
        EXPECT_TRUE(testsupport::matchesGolden("framework_hello", readShot(source / "frame.bmp"))) << config;
    }
}

TEST(FrameworkProgramE2E, InstalledHeadersAreThePublicOnesAndEachCompilesAlone) {
    Installed installed;
    ASSERT_EQ(installed.result.exitCode, 0) << installed.result.out << installed.result.err;
    const fs::path include = installed.prefix / "include";
    std::vector<std::string> headers;
    for (const auto& entry : fs::recursive_directory_iterator(include))
        if (entry.is_regular_file()) headers.push_back(fs::relative(entry.path(), include).generic_string());
    std::sort(headers.begin(), headers.end());
    const std::vector<std::string> expected = {
        "zu/draw/zu_draw.h",       "zu/platform/os/resources.h", "zu/platform/types.h",
        "zu/platform/win32.h",     "zu/sound/zu_sound.h",        "zu/system/zu_main.h",
        "zu/system/zu_system.h",
    };
    EXPECT_EQ(headers, expected);

    for (const std::string& header : headers) {
        const fs::path unit = installed.dir / "alone.cpp";
        std::ofstream(unit) << "#include <" << header << ">\n";
        test::ProcessResult compiled = run({ZU_CXX_COMPILER, "-std=c++20", "-fsyntax-only", "-Wall", "-Wextra",
                                            "-Werror", "-I", include.string(), unit.string()});
        EXPECT_EQ(compiled.exitCode, 0) << header << compiled.err;
    }
}
