// The game headless: quick clicks and taps, a mix without clipping, pieces told apart only by their
// colours, and WinMain's loop idle while inactive and ending in order when the screen fails.
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "game/board.h"
#include "game/game_run.h"
#include "game/play.h"
#include "platform/os/instance.h"
#include "platform/os/resources.h"
#include "platform/os/window.h"
#include "platform/win32.h"
#include "sound/zu_sound.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace gamerun;
using namespace zuSystem;
namespace headless = platform::headless;

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

// Pieces are told apart only by their colours: stage 0's two L pieces given the same colour
// sequence fit each other's places, and the stage is complete with them swapped.
TEST(PieceColours, TwoPiecesOfTheSameColoursAreInterchangeable) {
    constexpr int first = 1, second = 2;
    gameState = {};
    gameState.stage = -1;
    std::srand(1);
    startNextStage();
    ASSERT_EQ(stagePiece(0, first).shape, stagePiece(0, second).shape);
    for (int piece : {first, second})
        for (int n = 0; n < 4; ++n) {
            const CellPosition at = stagePiece(0, piece).cells[n];
            boardCell(at.column, at.row).colour = int8_t(n % 3);
        }
    const auto input = [](int32_t left, int32_t right, int32_t x, int32_t y) {
        inputState.mouseX = x;
        inputState.mouseY = y;
        gameState.leftButton = left;
        gameState.rightButton = right;
        return applyPlayInput();
    };
    // Picks the piece, turns it as `target` lies on its recorded cells and drops it at that box's corner.
    const auto carry = [&](int piece, int target) {
        const auto [rotation, centre] = solution(0, target);
        const platform::Point corner{(centre.x - 16) / 32, (centre.y - 16) / 32};
        const TraySlot slot = traySlot(piece);
        EXPECT_EQ(input(KeyEdge::Pressed, KeyEdge::Up, 32 * slot.column + 8, 32 * slot.row + 8), PlayAction::picked);
        while (gameState.rotation != rotation) input(KeyEdge::Held, KeyEdge::Pressed, 0, 0);
        return input(KeyEdge::Released, KeyEdge::Up, 32 * corner.x + 31, 32 * corner.y);
    };
    EXPECT_EQ(carry(second, first), PlayAction::dropped);
    EXPECT_EQ(carry(first, second), PlayAction::dropped);
    for (int piece : {0, 3, 4}) EXPECT_EQ(carry(piece, piece), PlayAction::dropped);  // the stage's others
    EXPECT_TRUE(stageComplete());
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
