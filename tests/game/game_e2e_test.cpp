// The real program, headless, driven only through pointer moves and button presses: whole games,
// what the player sees after a drop that does not fit, undo and early clicks, the golden frames of
// its scenes, the shipped stage-1 script with each kind of failing music, quick clicks and taps and
// a mix without clipping; WinMain's loop idle while inactive and ending in order when the screen fails.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <tuple>

#include "game/game.h"
#include "game/game_run.h"
#include "platform/os/instance.h"
#include "platform/os/resources.h"
#include "platform/os/window.h"
#include "platform/win32.h"
#include "sound/zu_sound.h"
#include "support/fresh_program.h"
#include "support/golden.h"
#include "support/wav_writer.h"
#include "system/zu_system.h"

namespace {

using namespace gamerun;
using namespace zuSystem;
namespace headless = platform::headless;

const platform::Rect stageDigit{413, 190, 451, 290};  // where the intros of the stages differ

// Whether board cell `cell` of a shot shows one of the filled tiles of the cell sheet (its lower
// row, a tile a colour): a mean per-channel difference that is only the screen's 16-bit rounding.
bool showsFilledTile(const platform::Image& shot, const platform::Image& sheet, CellPosition cell) {
    for (int colour = 0; colour < 3; ++colour) {
        long total = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                uint32_t p = shot.xrgb[size_t(cell.row * 32 + y) * shot.width + cell.column * 32 + x];
                uint32_t q = sheet.xrgb[size_t(32 + y) * sheet.width + colour * 32 + x];
                for (int shift = 0; shift < 24; shift += 8)
                    total += std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF));
            }
        if (total < 12 * 32 * 32 * 3) return true;
    }
    return false;
}

// Two games in one run, with a drop that does not fit, an undo and a click too early to count; the
// golden frames of the title (prompt shown and hidden), the intro, a held piece and the ending.
TEST(GameGolden, TwoGamesThroughAllStagesWithAReturnedDropUndoAndIgnoredClicks) {
    const platform::Point slot0 = trayPoint(0, 0);
    // The prompt shows for the first second and hides for the next 200 ms (frames 63 to 75).
    std::string script = wait(3) + shot("title") + wait(64) + shot("title_hidden") + click({320, 400});
    script += wait(framesToSettle) + shot("intro") + wait(framesToPlay - framesToSettle);
    script += move(slot0) + wait(1) + shot("before");
    script += move(trayPoint(0, 1)) + "down left\n" + move({300, 390}) + wait(2) + shot("held") + "up left\n";
    script += move(slot0) + wait(1) + shot("returned");
    script += placePiece(0, 0) + move(slot0) + wait(1) + shot("placed");
    script += "down right\nup right\n" + wait(1) + shot("undone");
    for (int stage = 0; stage < stageCount; ++stage) {
        script += solveStage(stage) + wait(framesToSettle);
        script += shot(stage < 3 ? "intro" + std::to_string(stage + 1) : "ending");
        if (stage < 3) script += wait(framesToPlay - framesToSettle);
    }
    // Back to the title; a click while the title is still being uncovered is ignored.
    script += click({320, 400}) + wait(5) + "down left\nup left\n" + wait(framesToSettle) + shot("title_again");
    script += click({320, 400}) + wait(framesToSettle) + shot("intro_again");
    GameRun run;
    test::ProcessResult result = run.play(script);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(messageBoxes(result.err).empty()) << result.err;
    for (const char* name : {"title", "title_hidden", "intro", "held", "ending"}) {
        platform::Image image = run.shot(name);
        EXPECT_TRUE(testsupport::matchesGolden(std::string("game_") + name, {image.width, image.height, image.xrgb}));
    }

    const platform::Image before = run.shot("before"), placed = run.shot("placed");
    EXPECT_TRUE(sameImage(run.shot("returned"), before)) << "a drop that does not fit must put the piece back";
    EXPECT_TRUE(sameImage(run.shot("undone"), before)) << "undo must restore the board and the tray";
    const platform::Image sheet = readImage(test::binaryDir() + "/BMP/RGB.BMP");
    ASSERT_EQ(std::tuple(sheet.width, sheet.height >= 64, before.width, placed.width), std::tuple(96, true, 640, 640));
    for (CellPosition cell : stagePiece(0, 0).cells)
        EXPECT_EQ(std::pair(showsFilledTile(before, sheet, cell), showsFilledTile(placed, sheet, cell)),
                  std::pair(false, true)) << "cell " << int(cell.column) << "," << int(cell.row);

    // Every stage was won: each intro shows another digit, and the ending came after the fourth.
    std::vector<platform::Image> intros = {run.shot("intro")};
    for (int stage = 1; stage < 4; ++stage) intros.push_back(run.shot("intro" + std::to_string(stage)));
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) {
            EXPECT_TRUE(sameOutside(intros[a], intros[b], stageDigit)) << a << " " << b;
            EXPECT_FALSE(sameImage(intros[a], intros[b])) << a << " " << b;
        }

    // The second game starts on the title (its blinking prompt aside) and at the first stage again.
    EXPECT_TRUE(sameOutside(run.shot("title_again"), run.shot("title"), {194, 330, 446, 370}));
    EXPECT_TRUE(sameImage(run.shot("intro_again"), intros[0]));
}

// The shipped stage-1 script, as generated from the tables, with music failing in each way: without
// an audio device the program ends after its box; missing, 8-bit or mono music shows its box and the
// stage is still won in silence. Each run has a copy of the program beside the real data and its music.
TEST(GameE2E, ShippedStageOneScriptWinsTheStageWhateverTheMusicButEndsWithoutAnAudioDevice) {
    const std::string shipped = readFile(std::string(ZU_SOURCE_DIR) + "/tests/scripts/stage1.txt");
    EXPECT_EQ(shipped, "# The first stage played through by placing every piece on its solution.\n" + wait(3) +
                           click({320, 400}) + wait(framesToPlay) + solveStage(0) + wait(framesToSettle) +
                           shot("stage2_intro"))
        << "regenerate tests/scripts/stage1.txt from the tables";
    namespace fs = std::filesystem;
    auto wav = [](uint16_t channels, uint16_t bits) {  // a second of silence
        std::vector<uint8_t> silence(44100 * channels * bits / 8, bits == 8 ? 0x80 : 0);
        test::WavSpec spec;
        spec.channels = channels;
        spec.bits = bits;
        return test::wavImage(spec, silence);
    };
    struct Case { const char* what; bool device; std::optional<std::vector<uint8_t>> music; const char* box; };
    const Case cases[] = {
        {"no device", false, wav(2, 16), "Can't initialize device"},
        {"missing", true, std::nullopt, "Can't play the file"},
        {"mono", true, wav(1, 16), "16-bit stereo sources only"},
        {"8-bit", true, wav(2, 8), "16-bit stereo sources only"},
        {"16-bit stereo", true, wav(2, 16), nullptr},
    };
    const platform::Image intro = goldenImage("game_intro");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameRun run;
        fs::path folder = fs::path(run.folder) / "program", bin = test::binaryDir();
        fs::create_directories(folder / "MOD");
        fs::copy_file(bin / "tessora", folder / "tessora");
        fs::create_directory_symlink(bin / "BMP", folder / "BMP");
        fs::create_directory_symlink(bin / "SOUND", folder / "SOUND");
        if (c.music) test::writeBytes((folder / "MOD" / "BGM.XM").string(), *c.music);
        std::vector<std::pair<std::string, std::string>> env;
        if (!c.device) env.push_back({"TESSORA_AUDIO", "none"});
        test::ProcessResult result = run.play(shipped, env, (folder / "tessora").string());
        EXPECT_EQ(result.exitCode, 0) << result.err;
        const std::vector<std::string> boxes = {reinterpret_cast<const char*>(u8"エラー: ") + std::string(c.box ? c.box : "")};
        EXPECT_EQ(messageBoxes(result.err), c.box ? boxes : std::vector<std::string>{});
        platform::Image second = run.shot("stage2_intro");
        if (!c.device) {
            EXPECT_EQ(second.width, 0) << "the program must end";
            continue;
        }
        EXPECT_TRUE(sameOutside(second, intro, stageDigit)) << "the second stage must begin";
        EXPECT_FALSE(sameImage(second, intro));
    }
}

// The samples of a 16-bit WAV file with `channels` channels; none when it is not one.
std::vector<int16_t> samplesOf(const std::string& path, uint8_t channels) {
    std::vector<uint8_t> format, data;
    if (zuSound::ReadWave(path.c_str(), format, data) != 0 || format.size() < 16 || format[2] != channels)
        return {};
    std::vector<int16_t> out(data.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) out[i] = int16_t(data[2 * i] | data[2 * i + 1] << 8);
    return out;
}

int peakOf(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
    return peak;
}

// One run, every click and tap pressed and released before the same frame: on the title it starts
// the game; on a piece it picks it up (shown the frame after, drawn from the pointer's cell a row
// from where the tray draws it) and the release puts it back; an Escape tap quits. The generated
// effects start and end at zero without DC, loud enough over the music and at most -6 dBFS, and
// the first stage played through renders music and every effect without a clipped sample.
TEST(HeadlessPlayE2E, QuickClicksStartPickAndQuitAndTheSoundsMixWithoutClipping) {
    const double fullScale = 32768, minusSixDb = fullScale * std::pow(10.0, -6.0 / 20);
    for (const char* name : {"CATCH", "FILL", "WIN"}) {
        SCOPED_TRACE(name);
        const std::vector<int16_t> s = samplesOf(test::binaryDir() + "/SOUND/" + name + ".WAV", 1);
        ASSERT_GT(s.size(), 1000u);
        double sum = 0;
        for (int16_t v : s) sum += v;
        EXPECT_LE(std::abs(sum / double(s.size())), 0.001 * fullScale) << "a DC offset";
        EXPECT_EQ(std::pair(s.front(), s.back()), std::pair(int16_t(0), int16_t(0)));
        EXPECT_LE(peakOf(s), minusSixDb);
        EXPECT_GE(peakOf(s), minusSixDb / 2) << "too quiet to be heard over the music";
    }

    const std::string quickClick = "down left; up left\n";
    const platform::Point cell = trayPoint(0, 0);
    const platform::Point onPiece{cell.x, cell.y + 32 < 128 ? cell.y + 32 : cell.y - 32};  // still slot 0
    GameRun run;
    const std::string audio = run.folder + "/stage1.wav";
    std::string script = wait(3) + move({320, 400}) + quickClick + wait(framesToSettle) + shot("intro");
    script += wait(framesToPlay - framesToSettle) + move(onPiece) + wait(1) + shot("before");
    script += quickClick + wait(1) + shot("held") + wait(1) + shot("after");
    // The stage, then long enough for the whole win sound over the next intro's music.
    script += solveStage(0) + wait(framesToSettle + 150) + "key escape down; key escape up\n" + wait(5) + shot("quit");
    test::ProcessResult result = run.play(script, {{"TESSORA_AUDIO_FILE", audio}});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(sameImage(run.shot("intro"), goldenImage("game_intro")));
    const platform::Image before = run.shot("before");
    EXPECT_FALSE(sameImage(run.shot("held"), before)) << "the quick click did not pick the piece up";
    EXPECT_TRUE(sameImage(run.shot("after"), before)) << "the release did not put it back";
    EXPECT_EQ(run.shot("quit").width, 0) << "the program ran on after Escape";
    const std::vector<int16_t> s = samplesOf(audio, 2);
    ASSERT_GT(s.size(), 44100u * 2 * 5) << "less than five seconds of stereo were rendered";
    EXPECT_GT(peakOf(s), 8000) << "the music and the effects were not heard";
    EXPECT_EQ(std::count_if(s.begin(), s.end(), [](int16_t v) { return v >= 32767 || v <= -32767; }), 0);
}

int framesRun = 0;

void countingScene() {  // deactivates the program after its third frame
    if (++framesRun == 3) platform::postMessage(systemState.window, WM_ACTIVATEAPP, 0, 0);
}

class ProgramLoop : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        // WinMain opens its own window and takes the instance guard under its own name.
        if (platform::Window* w = platform::currentWindow()) platform::destroyWindow(w);
        platform::resetMessageQueue();
        setenv("TESSORA_INSTANCE", ("program-loop-" + std::to_string(::getpid())).c_str(), 1);
        std::copy(std::begin(sceneTable), std::end(sceneTable), saved);
        std::fill(std::begin(sceneTable), std::end(sceneTable), countingScene);
        framesRun = 0;
    }
    void TearDown() override {
        std::copy(std::begin(saved), std::end(saved), sceneTable);
        unsetenv("TESSORA_INSTANCE");
        FreshProgram::TearDown();
    }
    SceneFunction saved[sceneCount];
    platform::Instance instance{{}, ""};
};

TEST_F(ProgramLoop, NoFrameRunsWhileTheProgramIsInactive) {
    ASSERT_TRUE(headless::loadScript("wait 10\nmove 100 100\nmove 200 150\n"));
    EXPECT_EQ(WinMain(&instance, nullptr, "", SW_SHOWNORMAL), 0);
    EXPECT_EQ(framesRun, 3);
    EXPECT_EQ(std::pair(inputState.mouseX, inputState.mouseY), std::pair(200, 150)) << "its messages were not handled";
}

TEST_F(ProgramLoop, AFailedScreenSetUpIsReportedAndEndsTheProgramInOrder) {
    headless::refuseDepth(16);
    EXPECT_EQ(WinMain(&instance, nullptr, "", SW_SHOWNORMAL), 0);
    EXPECT_EQ(headless::messageBoxCount(), 1);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::Screen : 解像度が変更できません"));
    EXPECT_EQ(std::tuple(framesRun, headless::framesShown(), systemState.closeState), std::tuple(0, 0u, 2));
    EXPECT_EQ(platform::currentWindow(), nullptr);
}

}  // namespace
