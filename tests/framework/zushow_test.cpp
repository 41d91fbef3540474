// zushow, the showcase program, run headless through tests/scripts/zushow_walk.txt: every screen
// shot at its 40th frame, none blank nor equal to the one before, no error report; compared as
// a contact sheet (the shots at 1:4, six a row). Without a sound device and a joystick the
// sound, MIDI and joystick screens say so; without a data file, or with one cut short, the report
// names it and the walk goes on. Also built as a separate project against the installed framework.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "game/game_run.h"
#include "support/golden.h"
#include "support/process.h"

namespace {

namespace fs = std::filesystem;
constexpr int shotCount = 24;  // 23 screens, then help and the frame-rate line

std::string walkScript(bool joystick) {
    std::istringstream in(gamerun::readFile(std::string(ZU_SOURCE_DIR) + "/tests/scripts/zushow_walk.txt"));
    std::string script;
    for (std::string line; std::getline(in, line);)
        if (joystick || line.rfind("joy ", 0) != 0) script += line + "\n";
    return script;
}

// Shots first to last (1-based), each scaled 1:4 into a sheet six wide.
testsupport::Picture contactSheet(const std::string& folder, int first, int last) {
    const int count = last - first + 1, columns = std::min(count, 6), rows = (count + 5) / 6;
    testsupport::Picture sheet{160 * columns, 120 * rows, std::vector<uint32_t>(size_t(160 * columns * 120 * rows))};
    for (int k = 0; k < count; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "/zushow%02d.bmp", first + k);
        const platform::Image shot = gamerun::readImage(folder + name);
        if (shot.width != 640 || shot.height != 480) continue;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                sheet.xrgb[size_t((k / 6 * 120 + y) * sheet.width + k % 6 * 160 + x)] = shot.xrgb[size_t(y * 4 * 640 + x * 4)];
    }
    return sheet;
}

void expectEveryShotShownAndNew(const std::string& folder) {
    platform::Image before;
    for (int k = 1; k <= shotCount; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "/zushow%02d.bmp", k);
        const platform::Image shot = gamerun::readImage(folder + name);
        ASSERT_EQ(shot.width, 640) << name;
        EXPECT_NE(std::count(shot.xrgb.begin(), shot.xrgb.end(), shot.xrgb[0]), std::ptrdiff_t(shot.xrgb.size())) << name << " is blank";
        EXPECT_FALSE(gamerun::sameImage(shot, before)) << name << " equals the shot before";
        before = shot;
    }
}

// The program and its data folder copied into the run's folder; one file of it removed (keep
// -1) or cut to its first `keep` bytes when asked.
std::string copyProgram(const std::string& folder, const std::string& program, const std::string& damaged = "",
                        int keep = -1) {
    fs::copy(ZU_BINARY_DIR "/ZUSHOW", folder + "/ZUSHOW", fs::copy_options::recursive);
    fs::copy_file(program, folder + "/zushow");
    if (!damaged.empty() && keep < 0) fs::remove(folder + "/ZUSHOW/" + damaged);
    if (!damaged.empty() && keep >= 0) fs::resize_file(folder + "/ZUSHOW/" + damaged, uintmax_t(keep));
    return folder + "/zushow";
}

}  // namespace

TEST(ZushowE2E, WalksThroughEveryScreenWithAndWithoutDevicesAndData) {
    struct Row {
        const char* name;
        bool devices;         // a sound device and the script's joystick
        const char* damaged;  // a data file taken away or cut short
        int keep;             // bytes of it kept; -1 none at all
        size_t reports;       // error reports expected, each naming the file on standard error
        const char* golden;   // sheet of which shots, empty for none
        int first, last;
    };
    const Row rows[] = {{"all there", true, "", -1, 0, "zushow_walk", 1, shotCount},
                        {"no sound device, no joystick", false, "", -1, 0, "zushow_no_devices", 20, 23},
                        {"no sprite file", true, "SPRITE.BMP", -1, 1, "", 0, 0},
                        {"no sound pack: three sounds, two streams", true, "SOUNDS.PAK", -1, 5, "", 0, 0},
                        {"draw pack cut inside its second picture", true, "PICS.PAK", 40000, 3, "", 0, 0},
                        {"MIDI file cut short: the sequencer plays what it has", true, "TUNE.MID", 30, 0, "", 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const gamerun::GameRun run;
        const std::string program = copyProgram(run.folder, ZU_BINARY_DIR "/zushow", row.damaged, row.keep);
        std::vector<std::pair<std::string, std::string>> env;
        if (!row.devices) env.emplace_back("ZU_AUDIO", "none");
        const test::ProcessResult result = const_cast<gamerun::GameRun&>(run).play(walkScript(row.devices), env, program);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(gamerun::messageBoxes(result.err).size(), row.reports) << result.err;
        if (row.reports) {
            EXPECT_NE(result.err.find(row.damaged), std::string::npos) << result.err;
        }
        expectEveryShotShownAndNew(run.folder);
        if (*row.golden) {
            EXPECT_TRUE(testsupport::matchesGolden(row.golden, contactSheet(run.folder, row.first, row.last)));
        }
    }
}

// Two scripts that should reach the same screen at the same frame of it: shots a and b of both
// runs must be equal. Each key is pressed and released (two frames); keys a screen does not
// know come between the move and the shot in place of a wait.
TEST(ZushowE2E, KeysMoveAsTheHelpSaysAndKeysWithoutMeaningAreIgnored) {
    auto press = [](const char* key) { return "key " + std::string(key) + " down\nkey " + key + " up\n"; };
    auto shots = [](const std::string& script) {
        gamerun::GameRun run;
        const test::ProcessResult result = run.play(script + "key escape down\n", {}, copyProgram(run.folder, ZU_BINARY_DIR "/zushow"));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return std::pair(run.shot("a"), run.shot("b"));
    };
    const std::string ignored = press("q") + press("0") + press("9") + "wait 14\n";
    struct Row {
        const char* name;
        std::string first, second;
    };
    const Row rows[] = {
        {"Left from the first is the last, the joystick's family 8; Right from there wraps to the first",
         press("8") + "wait 20\nshot a.bmp\n" + press("0x24") + "wait 20\nshot b.bmp\n",
         press("left") + ignored + "shot a.bmp\n" + press("right") + "wait 20\nshot b.bmp\n"},
        {"digit 5 is the first text screen, two on from family 4: Right, then Space (Right scrolls the scroll view)",
         press("5") + "wait 20\nshot a.bmp\n" + press("space") + "wait 20\nshot b.bmp\n",
         press("4") + press("right") + press("right") + press("space") + ignored + "shot a.bmp\n" + press("right") + "wait 20\nshot b.bmp\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto [a1, b1] = shots(row.first);
        const auto [a2, b2] = shots(row.second);
        ASSERT_EQ(a1.width, 640);
        EXPECT_TRUE(gamerun::sameImage(a1, a2));
        EXPECT_TRUE(gamerun::sameImage(b1, b2));
        EXPECT_FALSE(gamerun::sameImage(a1, b1));
    }
}

TEST(ZushowE2E, BuildsAgainstTheInstalledFrameworkAndWalksThrough) {
    const gamerun::GameRun run;
    const std::string prefix = run.folder + "/prefix", build = run.folder + "/build";
    auto step = [&](std::vector<std::string> argv) {
        return test::runProcess({.argv = std::move(argv), .env = {}, .unset = {"DISPLAY"}, .workDir = run.folder,
                                 .timeoutMs = 600000});  // builds on a busy machine
    };
    test::ProcessResult r = step({ZU_CMAKE_COMMAND, "--install", fs::path(ZU_BINARY_DIR).parent_path().string(),
                                  "--prefix", prefix, "--component", "zu"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    r = step({ZU_CMAKE_COMMAND, "-S", ZU_SOURCE_DIR "/examples/zushow", "-B", build, "-G", "Ninja",
              "-DCMAKE_PREFIX_PATH=" + prefix, "-DCMAKE_BUILD_TYPE=Release",
              std::string("-DCMAKE_EXE_LINKER_FLAGS=") + ZU_EXE_LINKER_FLAGS});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    r = step({ZU_CMAKE_COMMAND, "--build", build, "-j", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;

    gamerun::GameRun walk;
    const test::ProcessResult result = walk.play(walkScript(true), {}, copyProgram(walk.folder, build + "/zushow"));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(gamerun::messageBoxes(result.err).empty()) << result.err;
    expectEveryShotShownAndNew(walk.folder);
}
