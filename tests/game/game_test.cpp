// The game in process (its tables and the play scene's input), then the real program headless,
// driven only through pointer moves, button presses and keys, and WinMain's loop.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

#include "game/board.h"
#include "game/game.h"
#include "game/game_run.h"
#include "game/play.h"
#include "platform/audio/audio.h"
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

bool inside(const StageArea& a, int column, int row) {
    return column >= a.firstColumn && column <= a.lastColumn && row >= a.firstRow && row <= a.lastRow;
}

TEST(ShapeTable, EveryRotationIsThePreviousTurnedClockwiseIntoTheCorner) {
    // A quarter turn clockwise on screen takes box (column, row) to (3 - row, column); then the
    // cells move up and left into the corner. Empty box cells read 9.
    for (int shape = 0; shape < 7; ++shape)
        for (int rotation = 0; rotation < 4; ++rotation) {
            SCOPED_TRACE(::testing::Message() << "shape " << shape << " turned from rotation " << rotation);
            int left = 4, top = 4;
            std::multiset<int> numbers;
            for (int i = 0; i < 16; ++i)  // column i % 4, row i / 4
                if (int8_t v = shapeCell(shape, rotation, i % 4, i / 4); isOccupied(v)) {
                    left = std::min(left, 3 - i / 4);
                    top = std::min(top, i % 4);
                    numbers.insert(v);
                }
            EXPECT_EQ(numbers, (std::multiset<int>{0, 1, 2, 3}));
            for (int column = 0; column < 4; ++column)
                for (int row = 0; row < 4; ++row) {
                    const int fromColumn = row + top, fromRow = 3 - column - left;
                    const int8_t from = fromColumn < 4 && fromRow >= 0 ? shapeCell(shape, rotation, fromColumn, fromRow) : 9;
                    EXPECT_EQ(shapeCell(shape, rotation + 1, column, row), from) << "at " << column << "," << row;
                }
        }
}

TEST(StageTable, TrayPiecesStayOnScreenApartFromEachOtherAndTheRectanglesInBandsPickingTheirSlot) {
    for (int stage = 0; stage < stageCount; ++stage) {
        std::set<std::pair<int, int>> tray;
        for (int piece = 0; piece < stagePieceCount[stage]; ++piece) {
            SCOPED_TRACE(::testing::Message() << "stage " << stage << " piece " << piece);
            const PieceRecord& record = stageTable[stage][piece];
            for (int i = 0; i < 16; ++i) {  // column i % 4, row i / 4
                if (!isOccupied(shapeCell(record.shape, record.trayRotation, i % 4, i / 4))) continue;
                EXPECT_LT(i % 4, 2) << "wider than its slot";
                int c = traySlot(piece).column + i % 4, r = traySlot(piece).row + i / 4;
                EXPECT_EQ(pickSlot(32 * c + 16, 32 * r + 16, stagePieceCount[stage]), piece);
                EXPECT_TRUE(onBoard(c, r));
                EXPECT_TRUE(tray.insert({c, r}).second);
                for (int s = 0; s < stageCount; ++s) EXPECT_FALSE(inside(stageArea(s), c, r)) << "on stage " << s;
            }
        }
    }
    EXPECT_EQ(&stageArea(4), &stageArea(3));  // later indices share the last rectangle
    // The bands' edges, and bands of slots without a piece.
    const struct { int32_t x, y, count, slot; } cases[] = {
        {0, 0, 5, 0}, {63, 127, 5, 0}, {64, 0, 5, 1}, {447, 0, 5, 4}, {448, 0, 5, -1}, {544, 0, 7, 6},
        {639, 0, 15, 6}, {0, 352, 6, -1}, {639, 479, 6, -1}, {0, 352, 10, 7}, {255, 479, 10, 9}, {256, 400, 10, -1},
        {639, 479, 15, 13}, {0, 128, 15, 14}, {63, 351, 15, 14}, {64, 200, 15, -1}, {10, 200, 14, -1}, {320, 240, 15, -1}};
    for (const auto& c : cases) EXPECT_EQ(pickSlot(c.x, c.y, c.count), c.slot) << c.x << "," << c.y << "/" << c.count;
}

namespace KeyEdge = zuSystem::KeyEdge;

// The first stage set up, with the game's catch, fill and win sounds on the headless audio device.
class PlayInput : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        std::filesystem::create_directory_symlink(test::binaryDir() + "/SOUND", programFolder / "SOUND");
        ASSERT_EQ(zuSound::Init(), 1);
        for (auto [name, number] : {std::pair("CATCH", &gameAssets.catchSound), {"FILL", &gameAssets.fillSound},
                                    {"WIN", &gameAssets.winSound}}) {
            *number = zuSound::LoadObject(("SOUND\\" + std::string(name) + ".WAV").c_str(), 1);
            ASSERT_GE(*number, 0) << name;
        }
        gameState = {};
        gameState.stage = -1;
        std::srand(1);
        startNextStage();
    }
    void TearDown() override {
        zuSound::Release();
        zuSound::soundState = {};
        gameState = {};
        gameAssets = {};
        FreshProgram::TearDown();
    }
    // Applies the button edges at the pointer; each action must start its sound: catch for picks,
    // turns, returns and undo, fill for a placement, none when nothing happened.
    PlayAction edges(int32_t left, int32_t right, platform::Point at = {}) {
        zuSystem::inputState.mouseX = at.x;
        zuSystem::inputState.mouseY = at.y;
        gameState.leftButton = left;
        gameState.rightButton = right;
        PlayAction action = applyPlayInput();
        static const char* const sounds[] = {"", "catch", "fill", "catch", "catch", "catch"};  // by action
        EXPECT_EQ(heard(), sounds[int(action)]) << "after action " << int(action);
        return action;
    }
    PlayAction press(platform::Point at) { return edges(KeyEdge::Pressed, KeyEdge::Up, at); }
    PlayAction release(platform::Point at) { return edges(KeyEdge::Released, KeyEdge::Up, at); }
    PlayAction turn() { return edges(KeyEdge::Held, KeyEdge::Pressed); }
    PlayAction undo() { return edges(KeyEdge::Up, KeyEdge::Pressed); }

    // Picks a piece from its slot, held in its tray rotation, and turns it until it has `rotation`.
    void pickTurned(int piece, int rotation) {
        ASSERT_TRUE(rotation >= 0 && rotation < 4) << "piece " << piece << " has no such rotation";
        TraySlot slot = traySlot(piece);
        ASSERT_EQ(press({32 * slot.column + 8, 32 * slot.row + 8}), PlayAction::picked);
        EXPECT_EQ(std::tuple(gameState.pieceState[piece], int(gameState.heldPiece), int(gameState.rotation)),
                  std::tuple(pieceHeld, piece, int(stagePiece(gameState.stage, piece).trayRotation)));
        while (gameState.rotation != rotation) ASSERT_EQ(turn(), PlayAction::rotated);
    }
    // Picks `piece` turned to `rotation` and drops it with its box's top left on the cell.
    PlayAction drop(int piece, int rotation, int column, int row) {
        pickTurned(piece, rotation);
        return release({32 * column + 31, 32 * row});
    }
    // The sounds started since the last call, then silence again.
    std::string heard() {
        std::string names;
        for (auto [number, name] : {std::pair(gameAssets.catchSound, " catch"), {gameAssets.fillSound, " fill"},
                                    {gameAssets.winSound, " win"}}) {
            platform::SoundBuffer* buffer = zuSound::soundState.objects[number].buffers[0];
            if (platform::isPlaying(buffer)) names += name;
            platform::stop(buffer);
            platform::setPosition(buffer, 0);
        }
        return names.empty() ? names : names.substr(1);
    }
};

TEST_F(PlayInput, PickTurnDropAndUndoFollowThePieceLifecycle) {
    // An empty board holds nothing, turning needs nothing held, and the undo stack is empty.
    EXPECT_EQ((std::vector{press({320, 200}), release({320, 200}), turn(), undo()}),
              (std::vector{PlayAction::none, PlayAction::none, PlayAction::rotated, PlayAction::none}));
    EXPECT_EQ(gameState.heldPiece, -1);

    EXPECT_EQ(drop(0, 1, 0, 5), PlayAction::returned);  // cells without colour
    EXPECT_EQ(gameState.pieceState[0], pieceInTray);
    EXPECT_EQ(release({0, 0}), PlayAction::none);  // nothing in hand any more

    const auto play = [] {  // the first two pieces' states, the undo depth, the filled cells
        return std::tuple(gameState.pieceState[0], gameState.pieceState[1], int(gameState.undoDepth),
                          int(std::ranges::count_if(gameState.board, [](BoardCell c) { return c.filled != 0; })));
    };
    EXPECT_EQ(drop(0, 0, 8, 5), PlayAction::dropped);  // turned round to the solution's rotation
    EXPECT_EQ(play(), std::tuple(piecePlaced, pieceInTray, 1, 4));
    for (int column = 8; column <= 11; ++column) EXPECT_EQ(boardCell(column, 5).filled, 1);
    EXPECT_EQ(press({8, 8}), PlayAction::none);  // a placed piece stays on the board
    EXPECT_EQ(gameState.heldPiece, -1);
    EXPECT_EQ(release({8 * 32, 5 * 32}), PlayAction::none);

    EXPECT_EQ(drop(1, 1, 8, 5), PlayAction::returned);  // would cover a filled cell
    EXPECT_EQ(drop(1, 1, 8, 6), PlayAction::dropped);
    EXPECT_EQ(play(), std::tuple(piecePlaced, piecePlaced, 2, 8));
    EXPECT_EQ(undo(), PlayAction::undone);
    EXPECT_EQ(play(), std::tuple(piecePlaced, pieceInTray, 1, 4));
    EXPECT_EQ(undo(), PlayAction::undone);
    EXPECT_EQ(play(), std::tuple(pieceInTray, pieceInTray, 0, 0));
    EXPECT_EQ(undo(), PlayAction::none);
}

TEST_F(PlayInput, DropsMatchColoursAnywhereButNeverOffTheBoard) {
    for (BoardCell& cell : gameState.board) cell.colour = cell.colour < 0 ? cell.colour : 0;  // one colour
    boardCell(9, 6).colour = 1;

    EXPECT_EQ(std::pair(countDropMatches(0, 0, 8, 6), countDropMatches(0, 1, 19, 14)), std::pair(3, 0));
    EXPECT_EQ(drop(0, 0, 8, 6), PlayAction::returned);    // one cell of another colour
    EXPECT_EQ(drop(0, 0, 17, 7), PlayAction::returned);   // partly off the rectangle
    EXPECT_EQ(drop(0, 1, 11, 13), PlayAction::returned);  // rows 13..16: off the board
    EXPECT_EQ(drop(0, 0, 8, 7), PlayAction::dropped);     // away from the solution, same colours
    EXPECT_EQ(drop(2, 3, 8, 5), PlayAction::returned);    // same colours, but two cells filled
    EXPECT_FALSE(stageComplete());
}

// Stage 0's two L pieces given the same colour sequence fit each other's places, and the stage is
// complete with them swapped.
TEST_F(PlayInput, TwoPiecesOfTheSameColoursAreInterchangeable) {
    constexpr int first = 1, second = 2;
    ASSERT_EQ(stagePiece(0, first).shape, stagePiece(0, second).shape);
    for (int piece : {first, second})
        for (int n = 0; n < 4; ++n) {
            const CellPosition at = stagePiece(0, piece).cells[n];
            boardCell(at.column, at.row).colour = int8_t(n % 3);
        }
    const auto carry = [&](int piece, int target) {  // dropped where `target` lies on its recorded cells
        const auto [rotation, at] = gamerun::solution(0, target);
        pickTurned(piece, rotation);
        return release(at);
    };
    EXPECT_EQ(carry(second, first), PlayAction::dropped);
    EXPECT_EQ(carry(first, second), PlayAction::dropped);
    for (int piece : {0, 3, 4}) EXPECT_EQ(carry(piece, piece), PlayAction::dropped);  // the stage's others
    EXPECT_TRUE(stageComplete());
}

// Each stage set up colours its rectangle alone, from three colours (stage 4 uses all), and clears
// the last stage's play; then it is won by its recorded solution.
TEST_F(PlayInput, EveryStageIsSetUpAfreshAndWonByItsRecordedSolutionToTheWinSound) {
    for (int stage = 0; stage < stageCount; ++stage) {
        if (stage > 0) startNextStage();
        ASSERT_EQ(gameState.stage, stage);
        std::set<int> colours;
        for (int column = 0; column < boardColumns; ++column)
            for (int row = 0; row < boardRows; ++row) {
                BoardCell cell = boardCell(column, row);
                EXPECT_EQ(cell.filled, 0);
                if (inside(stageArea(stage), column, row))
                    colours.insert(cell.colour);
                else
                    EXPECT_EQ(cell.colour, -1);
            }
        const std::set<int> all{0, 1, 2};
        EXPECT_TRUE(std::includes(all.begin(), all.end(), colours.begin(), colours.end())) << "stage " << stage;
        EXPECT_TRUE(stage != 3 || colours == all) << "stage 4 uses every colour";
        for (int piece = 0; piece < stagePieceCount[stage]; ++piece) {
            EXPECT_FALSE(stageComplete());
            auto [rotation, at] = gamerun::solution(stage, piece);
            pickTurned(piece, rotation);
            ASSERT_EQ(release(at), PlayAction::dropped) << "stage " << stage << " piece " << piece;
        }
        EXPECT_EQ(std::tuple(stageComplete(), int(gameState.undoDepth)), std::tuple(true, stagePieceCount[stage]));
        sceneState.current = sceneState.previous = 4;
        scenePlay();  // on to the next stage's intro, or after the last to the ending, with the win sound
        EXPECT_EQ(heard(), "win");
        EXPECT_EQ(sceneState.current, stage < stageCount - 1 ? 3 : 5);
    }
}

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
    std::vector<platform::Image> intros{run.shot("intro"), run.shot("intro1"), run.shot("intro2"), run.shot("intro3")};
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
// stage is still won in silence.
TEST(GameE2E, ShippedStageOneScriptWinsTheStageWhateverTheMusicButEndsWithoutAnAudioDevice) {
    const std::string shipped = readFile(std::string(ZU_SOURCE_DIR) + "/tests/scripts/stage1.txt");
    EXPECT_EQ(shipped, "# The first stage played through by placing every piece on its solution.\n" + wait(3) +
                           click({320, 400}) + wait(framesToPlay) + solveStage(0) + wait(framesToSettle) +
                           shot("stage2_intro")) << "regenerate tests/scripts/stage1.txt from the tables";
    namespace fs = std::filesystem;
    auto wav = [](uint16_t channels, uint16_t bits) {  // a second of silence
        const std::vector<uint8_t> silence(44100 * channels * bits / 8, bits == 8 ? 0x80 : 0);
        return test::wavImage({.channels = channels, .bits = bits}, silence);
    };
    struct Case { const char* what; bool device; std::optional<std::vector<uint8_t>> music; const char* box; };
    const Case cases[] = {
        {"no device", false, wav(2, 16), "Can't initialize device"},
        {"missing", true, std::nullopt, "Can't play the file"},
        {"mono", true, wav(1, 16), "16-bit stereo sources only"},
        {"8-bit", true, wav(2, 8), "16-bit stereo sources only"},
        {"16-bit stereo", true, wav(2, 16), nullptr}};
    const platform::Image intro = goldenImage("game_intro");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameRun run;
        fs::path folder = fs::path(run.folder) / "program", bin = test::binaryDir();
        fs::create_directories(folder / "MOD");
        fs::copy_file(bin / "tessora", folder / "tessora");
        for (const char* data : {"BMP", "SOUND"}) fs::create_directory_symlink(bin / data, folder / data);
        if (c.music) test::writeBytes((folder / "MOD" / "BGM.XM").string(), *c.music);
        std::vector<std::pair<std::string, std::string>> env;
        if (!c.device) env.push_back({"TESSORA_AUDIO", "none"});
        test::ProcessResult result = run.play(shipped, env, (folder / "tessora").string());
        EXPECT_EQ(result.exitCode, 0) << result.err;
        const std::vector<std::string> boxes = {reinterpret_cast<const char*>(u8"エラー: ") + std::string(c.box ? c.box : "")};
        EXPECT_EQ(messageBoxes(result.err), c.box ? boxes : std::vector<std::string>{});
        platform::Image second = run.shot("stage2_intro");
        if (!c.device)
            EXPECT_EQ(second.width, 0) << "the program must end";
        else
            EXPECT_TRUE(sameOutside(second, intro, stageDigit) && !sameImage(second, intro)) << "no second stage";
    }
}

// The samples of a 16-bit WAV file with `channels` channels; none when it is not one.
std::vector<int16_t> samplesOf(const std::string& path, uint8_t channels) {
    std::vector<uint8_t> format, data;
    if (zuSound::ReadWave(path.c_str(), format, data) != 0 || format.size() < 16 || format[2] != channels) return {};
    std::vector<int16_t> out(data.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) out[i] = int16_t(data[2 * i] | data[2 * i + 1] << 8);
    return out;
}

int peakOf(const std::vector<int16_t>& samples) {
    const auto [low, high] = std::ranges::minmax(samples);
    return std::max(-int(low), int(high));
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
// Deactivates the program after its third frame.
void countingScene() { if (++framesRun == 3) platform::postMessage(systemState.window, WM_ACTIVATEAPP, 0, 0); }

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
    EXPECT_EQ(std::tuple(framesRun, inputState.mouseX, inputState.mouseY), std::tuple(3, 200, 150));
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
