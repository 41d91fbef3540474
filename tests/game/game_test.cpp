// The game in process: the shape and tray tables against the geometry the puzzle depends on, and
// the play scene's pick bands, drop matching, rotation and undo, driven through button edges, with
// the sound each action starts; pieces told apart only by their colours; every stage set up and won.
#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

#include "game/board.h"
#include "game/game.h"
#include "game/game_run.h"
#include "game/play.h"
#include "platform/audio/audio.h"
#include "sound/zu_sound.h"
#include "support/fresh_program.h"
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

// Every stage's recorded pieces winning it is proved by playing them (PlayInput below).
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
    for (const auto& c : cases)
        EXPECT_EQ(pickSlot(c.x, c.y, c.count), c.slot) << c.x << "," << c.y << " with " << c.count;
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
    PlayAction dropAtCell(int column, int row) { return release({32 * column + 31, 32 * row}); }
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
    EXPECT_EQ(press({320, 200}), PlayAction::none);  // empty board: nothing held
    EXPECT_EQ(gameState.heldPiece, -1);
    EXPECT_EQ(release({320, 200}), PlayAction::none);
    EXPECT_EQ(turn(), PlayAction::rotated);  // turns even with nothing held
    EXPECT_EQ(undo(), PlayAction::none);     // empty undo stack

    pickTurned(0, 1);
    EXPECT_EQ(dropAtCell(0, 5), PlayAction::returned);  // cells without colour
    EXPECT_EQ(gameState.pieceState[0], pieceInTray);
    EXPECT_EQ(release({0, 0}), PlayAction::none);  // nothing in hand any more

    const auto play = [] {  // the first two pieces' states, the undo depth, the filled cells
        auto filled = [](BoardCell c) { return c.filled != 0; };
        return std::tuple(gameState.pieceState[0], gameState.pieceState[1], int(gameState.undoDepth),
                          int(std::count_if(std::begin(gameState.board), std::end(gameState.board), filled)));
    };
    pickTurned(0, 0);  // turned round to the solution's rotation
    EXPECT_EQ(dropAtCell(8, 5), PlayAction::dropped);
    EXPECT_EQ(play(), std::tuple(piecePlaced, pieceInTray, 1, 4));
    for (int column = 8; column <= 11; ++column) EXPECT_EQ(boardCell(column, 5).filled, 1);
    EXPECT_EQ(press({8, 8}), PlayAction::none);  // a placed piece stays on the board
    EXPECT_EQ(gameState.heldPiece, -1);
    EXPECT_EQ(release({8 * 32, 5 * 32}), PlayAction::none);

    pickTurned(1, 1);
    EXPECT_EQ(dropAtCell(8, 5), PlayAction::returned);  // would cover a filled cell
    pickTurned(1, 1);
    EXPECT_EQ(dropAtCell(8, 6), PlayAction::dropped);
    EXPECT_EQ(play(), std::tuple(piecePlaced, piecePlaced, 2, 8));
    EXPECT_EQ(undo(), PlayAction::undone);
    EXPECT_EQ(play(), std::tuple(piecePlaced, pieceInTray, 1, 4));
    EXPECT_EQ(undo(), PlayAction::undone);
    EXPECT_EQ(play(), std::tuple(pieceInTray, pieceInTray, 0, 0));
    EXPECT_EQ(undo(), PlayAction::none);
}

TEST_F(PlayInput, DropsMatchColoursAnywhereButNeverOffTheBoard) {
    const StageArea& area = stageArea(0);
    for (int column = area.firstColumn; column <= area.lastColumn; ++column)
        for (int row = area.firstRow; row <= area.lastRow; ++row) boardCell(column, row).colour = 0;
    boardCell(9, 6).colour = 1;

    pickTurned(0, 0);
    EXPECT_EQ(countDropMatches(0, 0, 8, 6), 3);
    EXPECT_EQ(dropAtCell(8, 6), PlayAction::returned);  // one cell of another colour
    pickTurned(0, 0);
    EXPECT_EQ(dropAtCell(17, 7), PlayAction::returned);  // partly off the rectangle
    pickTurned(0, 1);
    EXPECT_EQ(dropAtCell(11, 13), PlayAction::returned);  // rows 13..16: off the board
    EXPECT_EQ(countDropMatches(0, 1, 19, 14), 0);
    pickTurned(0, 0);
    EXPECT_EQ(dropAtCell(8, 7), PlayAction::dropped);  // away from the solution, same colours
    pickTurned(2, 3);
    EXPECT_EQ(dropAtCell(8, 5), PlayAction::returned);  // same colours, but two cells filled
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
        EXPECT_TRUE(stageComplete()) << "stage " << stage;
        EXPECT_EQ(gameState.undoDepth, stagePieceCount[stage]);
        sceneState.current = sceneState.previous = 4;
        scenePlay();  // on to the next stage's intro, or after the last to the ending, with the win sound
        EXPECT_EQ(heard(), "win");
        EXPECT_EQ(sceneState.current, stage < stageCount - 1 ? 3 : 5);
    }
}

}  // namespace
