// Pieces are told apart only by their colours: two pieces of one shape with the same colour
// sequence fit each other's places, and a single different colour keeps them apart.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/board.h"
#include "game/play.h"
#include "system/zu_system.h"

namespace {

namespace KeyEdge = zuSystem::KeyEdge;

struct Placement {
    int rotation = -1, column = 0, row = 0;  // the box's top-left board cell
};

// Where a piece of stage 0 covers its recorded cells.
Placement solutionOf(int piece) {
    const PieceRecord& record = stageTable[0][piece];
    for (int rotation = 0; rotation < 4; ++rotation)
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                if (shapeCell(record.shape, rotation, column, row) == 0) {
                    Placement p{rotation, record.cells[0].column - column, record.cells[0].row - row};
                    int covered = 0;
                    for (int r = 0; r < 4; ++r)
                        for (int c = 0; c < 4; ++c) {
                            const int8_t n = shapeCell(record.shape, rotation, c, r);
                            covered += isOccupied(n) && record.cells[n].column == p.column + c &&
                                       record.cells[n].row == p.row + r;
                        }
                    if (covered == 4) return p;
                }
    return {};
}

class PieceColours : public ::testing::Test {
protected:
    // Stage 0's pieces 1 and 2 are both L pieces (shape 2).
    static constexpr int first = 1, second = 2;

    void SetUp() override {
        gameState = {};
        gameState.stage = -1;
        std::srand(1);
        startNextStage();
        ASSERT_EQ(stageTable[0][first].shape, stageTable[0][second].shape);
        for (int piece : {first, second})
            for (int n = 0; n < 4; ++n) {
                const CellPosition at = stageTable[0][piece].cells[n];
                boardCell(at.column, at.row).colour = int8_t(n % 3);
            }
    }
    PlayAction input(int32_t left, int32_t right, int32_t x, int32_t y) {
        zuSystem::inputState.mouseX = x;
        zuSystem::inputState.mouseY = y;
        gameState.leftButton = left;
        gameState.rightButton = right;
        return applyPlayInput();
    }
    // Picks the piece, turns it to the placement's rotation and drops it at the box's corner.
    PlayAction carry(int piece, const Placement& to) {
        const TraySlot slot = traySlot(piece);
        EXPECT_EQ(input(KeyEdge::Pressed, KeyEdge::Up, 32 * slot.column + 8, 32 * slot.row + 8), PlayAction::picked);
        while (gameState.rotation != to.rotation) input(KeyEdge::Held, KeyEdge::Pressed, 0, 0);
        return input(KeyEdge::Released, KeyEdge::Up, 32 * to.column + 31, 32 * to.row);
    }
};

TEST_F(PieceColours, TwoPiecesOfTheSameColoursAreInterchangeable) {
    const Placement firstPlace = solutionOf(first), secondPlace = solutionOf(second);
    ASSERT_GE(firstPlace.rotation, 0);
    ASSERT_GE(secondPlace.rotation, 0);
    EXPECT_EQ(carry(second, firstPlace), PlayAction::dropped);
    EXPECT_EQ(carry(first, secondPlace), PlayAction::dropped);
    for (int piece = 0; piece < stagePieceCount[0]; ++piece) {
        if (piece == first || piece == second) continue;
        EXPECT_EQ(carry(piece, solutionOf(piece)), PlayAction::dropped);
    }
    EXPECT_TRUE(stageComplete());
}

TEST_F(PieceColours, OneDifferentColourKeepsThemApart) {
    const CellPosition at = stageTable[0][second].cells[3];
    boardCell(at.column, at.row).colour = 2;  // cell 3 of the first stays colour 0
    EXPECT_EQ(carry(second, solutionOf(first)), PlayAction::returned);
    EXPECT_EQ(carry(first, solutionOf(second)), PlayAction::returned);
    EXPECT_EQ(carry(first, solutionOf(first)), PlayAction::dropped);
}

}  // namespace
