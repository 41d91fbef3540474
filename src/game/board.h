// Board access and the stage set-up over the game records of game.h.
#pragma once
#include <cstdint>

#include "game/game.h"
#include "game/shapes.h"
#include "game/stages.h"

constexpr bool onBoard(int column, int row) {
    return column >= 0 && column < boardColumns && row >= 0 && row < boardRows;
}
inline BoardCell& boardCell(int column, int row) { return gameState.board[column * boardRows + row]; }

// Raises the stage index, clears pieces and undo layers, and colours the new rectangle at random.
void startNextStage();

// Colour of cell number cellNumber of a piece: read live from the board cell it covers in the solution.
int8_t pieceCellColour(int stage, int piece, int cellNumber);
