// The play scene's pick bands, drop matching, rotation and undo, driven through button edges, and
// the sound each action starts: catch for picks, turns, returns and undo, fill for a placement, win
// for the last one.
#include <gtest/gtest.h>

#include <cstdlib>

#include <filesystem>

#include "game/board.h"
#include "game/game.h"
#include "game/game_run.h"
#include "game/play.h"
#include "platform/audio/audio.h"
#include "sound/zu_sound.h"
#include "support/fresh_program.h"
#include "support/wav_writer.h"
#include "system/zu_system.h"

namespace {

namespace KeyEdge = zuSystem::KeyEdge;

TEST(PlayPick, BandsAnswerForTheSlotsThatHoldPieces) {
    struct Case { int32_t x, y, count, slot; };
    const Case cases[] = {
        {0, 0, 5, 0},      {63, 127, 5, 0},  {64, 0, 5, 1},      {447, 0, 5, 4},    {448, 0, 5, -1},
        {544, 0, 7, 6},    {639, 0, 15, 6},  {0, 352, 6, -1},    {639, 479, 6, -1}, {0, 352, 10, 7},
        {255, 479, 10, 9}, {256, 400, 10, -1}, {639, 479, 15, 13}, {0, 128, 15, 14}, {63, 351, 15, 14},
        {64, 200, 15, -1}, {10, 200, 14, -1}, {320, 240, 15, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pickSlot(c.x, c.y, c.count), c.slot) << c.x << "," << c.y << " with " << c.count;

    // Every drawn cell of every tray piece answers to its own slot.
    for (int stage = 0; stage < stageCount; ++stage)
        for (int piece = 0; piece < stagePieceCount[stage]; ++piece) {
            const PieceRecord& record = stageTable[stage][piece];
            TraySlot slot = traySlot(piece);
            for (int column = 0; column < 4; ++column)
                for (int row = 0; row < 4; ++row)
                    if (isOccupied(shapeCell(record.shape, record.trayRotation, column, row))) {
                        EXPECT_EQ(pickSlot(32 * (slot.column + column) + 16, 32 * (slot.row + row) + 16,
                                           stagePieceCount[stage]),
                                  piece)
                            << "stage " << stage;
                    }
        }
}

// The first stage set up, with catch, fill and win sounds on the headless audio device.
class PlayInput : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        std::filesystem::create_directories(programFolder / "SOUND");
        std::vector<uint8_t> wav = test::wavImage({}, test::pcm16(test::sine(440, 44100, 44100, 8000)));
        for (const char* name : {"CATCH", "FILL", "WIN"})
            test::writeBytes((programFolder / "SOUND" / (std::string(name) + ".WAV")).string(), wav);
        ASSERT_EQ(zuSound::Init(), 1);
        gameAssets.catchSound = zuSound::LoadObject("SOUND\\CATCH.WAV", 1);
        gameAssets.fillSound = zuSound::LoadObject("SOUND\\FILL.WAV", 1);
        gameAssets.winSound = zuSound::LoadObject("SOUND\\WIN.WAV", 1);
        ASSERT_GE(gameAssets.winSound, 0);
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
    PlayAction edges(int32_t left, int32_t right, platform::Point at = {}) {
        zuSystem::inputState.mouseX = at.x;
        zuSystem::inputState.mouseY = at.y;
        gameState.leftButton = left;
        gameState.rightButton = right;
        return applyPlayInput();
    }
    PlayAction press(platform::Point at) { return edges(KeyEdge::Pressed, KeyEdge::Up, at); }
    PlayAction release(platform::Point at) { return edges(KeyEdge::Released, KeyEdge::Up, at); }
    PlayAction turn() { return edges(KeyEdge::Held, KeyEdge::Pressed); }
    PlayAction undo() { return edges(KeyEdge::Up, KeyEdge::Pressed); }

    // Picks a piece from its slot and turns it until it has `rotation`.
    void pickTurned(int piece, int rotation) {
        TraySlot slot = traySlot(piece);
        ASSERT_EQ(press({32 * slot.column + 8, 32 * slot.row + 8}), PlayAction::picked);
        while (gameState.rotation != rotation) ASSERT_EQ(turn(), PlayAction::rotated);
    }
    PlayAction dropAtCell(int column, int row) { return release({32 * column + 31, 32 * row}); }
    int filledCount() {
        int n = 0;
        for (const BoardCell& cell : gameState.board) n += cell.filled;
        return n;
    }
    // The sounds started by the action (or since the last call), then silence again.
    std::string soundOf(PlayAction) {
        std::string names;
        const std::pair<int32_t, const char*> sounds[] = {
            {gameAssets.catchSound, "catch"}, {gameAssets.fillSound, "fill"}, {gameAssets.winSound, "win"}};
        for (auto [number, name] : sounds) {
            platform::SoundBuffer* buffer = zuSound::soundState.objects[number].buffers[0];
            if (!platform::isPlaying(buffer)) continue;
            names += names.empty() ? name : std::string(" ") + name;
            platform::stop(buffer);
            platform::setPosition(buffer, 0);
        }
        return names;
    }
};

TEST_F(PlayInput, PickTurnDropAndUndoFollowThePieceLifecycle) {
    EXPECT_EQ(press({320, 200}), PlayAction::none);  // empty board: nothing held
    EXPECT_EQ(gameState.heldPiece, -1);
    EXPECT_EQ(release({320, 200}), PlayAction::none);
    EXPECT_EQ(turn(), PlayAction::rotated);  // turns even with nothing held
    EXPECT_EQ(undo(), PlayAction::none);     // empty undo stack

    pickTurned(0, 1);
    EXPECT_EQ(gameState.pieceState[0], pieceHeld);
    EXPECT_EQ(gameState.heldPiece, 0);
    EXPECT_EQ(gameState.rotation, stageTable[0][0].trayRotation);
    EXPECT_EQ(dropAtCell(0, 5), PlayAction::returned);  // cells without colour
    EXPECT_EQ(gameState.pieceState[0], pieceInTray);
    EXPECT_EQ(release({0, 0}), PlayAction::none);  // nothing in hand any more

    pickTurned(0, 0);  // four turns back round to the solution's rotation
    EXPECT_EQ(dropAtCell(8, 5), PlayAction::dropped);
    EXPECT_EQ(gameState.pieceState[0], piecePlaced);
    EXPECT_EQ(gameState.undoDepth, 1);
    EXPECT_EQ(filledCount(), 4);
    for (int column = 8; column <= 11; ++column) EXPECT_EQ(boardCell(column, 5).filled, 1);

    EXPECT_EQ(press({8, 8}), PlayAction::none);  // a placed piece stays on the board
    EXPECT_EQ(gameState.heldPiece, -1);
    EXPECT_EQ(release({8 * 32, 5 * 32}), PlayAction::none);

    pickTurned(1, 1);
    EXPECT_EQ(dropAtCell(8, 5), PlayAction::returned);  // would cover a filled cell
    pickTurned(1, 1);
    EXPECT_EQ(dropAtCell(8, 6), PlayAction::dropped);
    EXPECT_EQ(gameState.undoDepth, 2);
    EXPECT_EQ(filledCount(), 8);

    EXPECT_EQ(undo(), PlayAction::undone);
    EXPECT_EQ(gameState.undoDepth, 1);
    EXPECT_EQ(gameState.pieceState[1], pieceInTray);
    EXPECT_EQ(gameState.pieceState[0], piecePlaced);
    EXPECT_EQ(filledCount(), 4);
    EXPECT_EQ(undo(), PlayAction::undone);
    EXPECT_EQ(filledCount(), 0);
    EXPECT_EQ(gameState.pieceState[0], pieceInTray);
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

TEST_F(PlayInput, EveryStageIsWonByItsRecordedSolution) {
    for (int stage = 0; stage < stageCount; ++stage) {
        if (stage > 0) startNextStage();
        ASSERT_EQ(gameState.stage, stage);
        for (int piece = 0; piece < stagePieceCount[stage]; ++piece) {
            EXPECT_FALSE(stageComplete());
            const PieceRecord& record = stageTable[stage][piece];
            for (int rotation = 0; rotation < 4; ++rotation)
                for (int row = 0; row < 4; ++row)
                    for (int column = 0; column < 4; ++column)
                        if (shapeCell(record.shape, rotation, column, row) == 0 &&
                            countDropMatches(piece, rotation, record.cells[0].column - column,
                                             record.cells[0].row - row) == 4 &&
                            gameState.pieceState[piece] == pieceInTray) {
                            pickTurned(piece, rotation);
                            // A drop at the box corner: the cell under the pointer takes it.
                            ASSERT_EQ(dropAtCell(record.cells[0].column - column, record.cells[0].row - row),
                                      PlayAction::dropped);
                        }
            ASSERT_EQ(gameState.pieceState[piece], piecePlaced) << "stage " << stage << " piece " << piece;
        }
        EXPECT_TRUE(stageComplete()) << "stage " << stage;
        EXPECT_EQ(gameState.undoDepth, stagePieceCount[stage]);
    }
}

TEST_F(PlayInput, EachActionStartsItsOwnSound) {
    using gamerun::solutionPoint, gamerun::solutionRotation, gamerun::trayPoint;
    EXPECT_EQ(soundOf(press({320, 240})), "");  // nothing under the pointer
    EXPECT_EQ(soundOf(press(trayPoint(0, 0))), "catch");
    EXPECT_EQ(soundOf(release({16, 200})), "catch");  // back to the tray
    EXPECT_EQ(soundOf(undo()), "");                   // nothing to undo
    for (int piece = 0; piece < stagePieceCount[0]; ++piece) {
        EXPECT_EQ(soundOf(press(trayPoint(0, piece))), "catch");
        while (gameState.rotation != solutionRotation(0, piece)) EXPECT_EQ(soundOf(turn()), "catch");
        EXPECT_EQ(soundOf(release(solutionPoint(0, piece))), "fill");
    }
    EXPECT_EQ(soundOf(undo()), "catch");  // the last placement undone
    EXPECT_EQ(soundOf(press(trayPoint(0, 4))), "catch");
    while (gameState.rotation != solutionRotation(0, 4)) turn();
    EXPECT_EQ(soundOf(release(solutionPoint(0, 4))), "fill");

    sceneState.current = sceneState.previous = 4;
    scenePlay();  // the board is complete: on to the next stage's intro, with the win sound
    EXPECT_EQ(soundOf(PlayAction::none), "win");
    EXPECT_EQ(sceneState.current, 3);
}

}  // namespace
