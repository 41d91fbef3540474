// The shape, stage and tray tables against the geometry the puzzle depends on, and the stage set-up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>

#include "game/board.h"
#include "game/game_run.h"

namespace {

using Box = int8_t[4][4];  // row, column

void copyRotation(int shape, int rotation, Box& out) {
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) out[row][column] = shapeCell(shape, rotation, column, row);
}

// Turns a box a quarter turn clockwise on screen and pushes it to the top-left corner.
void turnClockwise(const Box& in, Box& out) {
    Box turned;
    int minRow = 4, minColumn = 4;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            turned[column][3 - row] = in[row][column];
            if (isOccupied(in[row][column])) {
                minRow = std::min(minRow, column);
                minColumn = std::min(minColumn, 3 - row);
            }
        }
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            int fromRow = row + minRow, fromColumn = column + minColumn;
            out[row][column] = fromRow < 4 && fromColumn < 4 ? turned[fromRow][fromColumn] : int8_t(9);
        }
}

TEST(ShapeTable, EveryRotationIsThePreviousTurnedClockwiseIntoTheCorner) {
    for (int shape = 0; shape < 7; ++shape)
        for (int rotation = 0; rotation < 4; ++rotation) {
            Box current, expected;
            copyRotation(shape, rotation, current);
            turnClockwise(current, expected);
            int next = (rotation + 1) % 4;
            std::multiset<int> numbers;
            for (int row = 0; row < 4; ++row)
                for (int column = 0; column < 4; ++column) {
                    EXPECT_EQ(shapeCell(shape, next, column, row), expected[row][column])
                        << "shape " << shape << " rotation " << next << " at " << column << "," << row;
                    if (isOccupied(current[row][column])) numbers.insert(current[row][column]);
                }
            EXPECT_EQ(numbers, (std::multiset<int>{0, 1, 2, 3})) << "shape " << shape << " rotation " << rotation;
        }
}

TEST(StageTable, RecordedPiecesAreShapesThatTileTheirRectangleOnce) {
    for (int stage = 0; stage < stageCount; ++stage) {
        const StageArea& area = stageArea(stage);
        std::set<std::pair<int, int>> covered;
        for (int piece = 0; piece < stagePieceCount[stage]; ++piece) {
            const PieceRecord& record = stageTable[stage][piece];
            EXPECT_GE(gamerun::solutionRotation(stage, piece), 0) << "stage " << stage << " piece " << piece;
            for (CellPosition cell : record.cells) {
                EXPECT_TRUE(cell.column >= area.firstColumn && cell.column <= area.lastColumn &&
                            cell.row >= area.firstRow && cell.row <= area.lastRow)
                    << "stage " << stage << " piece " << piece;
                EXPECT_TRUE(covered.insert({cell.column, cell.row}).second)
                    << "stage " << stage << " covers " << int(cell.column) << "," << int(cell.row) << " twice";
            }
        }
        int cells = (area.lastColumn - area.firstColumn + 1) * (area.lastRow - area.firstRow + 1);
        EXPECT_EQ(int(covered.size()), cells) << "stage " << stage;
        EXPECT_EQ(cells, 4 * stagePieceCount[stage]);
        for (int piece = stagePieceCount[stage]; piece < maxPieces; ++piece)
            EXPECT_EQ(stageTable[stage][piece].shape, 0);
    }
}

TEST(StageTable, TrayBoxesStayOnScreenApartFromEachOtherAndFromTheRectangles) {
    for (int stage = 0; stage < stageCount; ++stage) {
        std::set<std::pair<int, int>> tray;
        for (int piece = 0; piece < stagePieceCount[stage]; ++piece) {
            const PieceRecord& record = stageTable[stage][piece];
            TraySlot slot = traySlot(piece);
            for (int row = 0; row < 4; ++row)
                for (int column = 0; column < 4; ++column) {
                    if (!isOccupied(shapeCell(record.shape, record.trayRotation, column, row))) continue;
                    EXPECT_LT(column, 2) << "stage " << stage << " piece " << piece << " is wider than its slot";
                    int c = slot.column + column, r = slot.row + row;
                    EXPECT_TRUE(onBoard(c, r)) << "stage " << stage << " piece " << piece;
                    EXPECT_TRUE(tray.insert({c, r}).second) << "stage " << stage << " piece " << piece;
                    for (int s = 0; s < stageCount; ++s) {
                        const StageArea& a = stageArea(s);
                        EXPECT_FALSE(c >= a.firstColumn && c <= a.lastColumn && r >= a.firstRow &&
                                     r <= a.lastRow)
                            << "stage " << stage << " piece " << piece << " tray lies on stage " << s;
                    }
                }
        }
    }
}

TEST(StageSetUp, ColoursOnlyTheNewRectangleAndClearsThePlay) {
    gameState = {};
    gameState.stage = -1;
    std::srand(7);
    for (int expectedStage = 0; expectedStage <= 4; ++expectedStage) {
        gameState.undoDepth = 3;
        gameState.pieceState[2] = piecePlaced;
        boardCell(0, 0) = {1, 1};
        startNextStage();
        ASSERT_EQ(gameState.stage, expectedStage);
        EXPECT_EQ(gameState.undoDepth, 0);
        EXPECT_EQ(gameState.pieceState[2], pieceInTray);
        const StageArea& area = stageArea(expectedStage);
        int coloured = 0;
        int seen[3] = {};
        for (int column = 0; column < boardColumns; ++column)
            for (int row = 0; row < boardRows; ++row) {
                BoardCell cell = boardCell(column, row);
                bool inside = column >= area.firstColumn && column <= area.lastColumn && row >= area.firstRow &&
                              row <= area.lastRow;
                EXPECT_EQ(cell.filled, 0);
                if (!inside) {
                    EXPECT_EQ(cell.colour, -1);
                    continue;
                }
                ASSERT_TRUE(cell.colour >= 0 && cell.colour <= 2);
                ++seen[cell.colour];
                ++coloured;
            }
        EXPECT_EQ(coloured, (area.lastColumn - area.firstColumn + 1) * (area.lastRow - area.firstRow + 1));
        EXPECT_TRUE(expectedStage != 3 || (seen[0] && seen[1] && seen[2])) << "stage 4 uses every colour";
        const PieceRecord& first = stagePiece(expectedStage, 0);
        EXPECT_EQ(pieceCellColour(expectedStage, 0, 2), boardCell(first.cells[2].column, first.cells[2].row).colour);
    }
    EXPECT_EQ(stageArea(4).firstColumn, 4);  // index 4 and above share the last rectangle
}

}  // namespace
