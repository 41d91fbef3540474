// The board record and the stage set-up.
#include "game/board.h"

#include <cstdlib>

GameState gameState;
GameAssets gameAssets;

void startNextStage() {
    ++gameState.stage;
    gameState.undoDepth = 0;
    for (int32_t& state : gameState.pieceState) state = pieceInTray;
    for (BoardCell& cell : gameState.board) cell = {-1, 0};
    const StageArea& area = stageArea(gameState.stage);
    for (int column = area.firstColumn; column <= area.lastColumn; ++column)
        for (int row = area.firstRow; row <= area.lastRow; ++row)
            boardCell(column, row).colour = int8_t(std::rand() % 3);
}

int8_t pieceCellColour(int stage, int piece, int cellNumber) {
    CellPosition at = stagePiece(stage, piece).cells[cellNumber & 3];
    return boardCell(at.column, at.row).colour;
}
