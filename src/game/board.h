// The game's play records: the 20 x 15 board, piece states and undo layers, and the stage set-up.
#pragma once
#include <cstdint>

#include "game/shapes.h"
#include "game/stages.h"

inline constexpr int boardColumns = 20;
inline constexpr int boardRows = 15;
inline constexpr int boardCellCount = boardColumns * boardRows;

struct BoardCell {
    int8_t colour = -1;  // 0..2 a cell of the puzzle, -1 no cell (never drawn, never counts)
    int8_t filled = 0;   // 1 covered by a placed piece
};

enum PieceState : int32_t { pieceInTray = 0, pieceHeld = 1, piecePlaced = 2 };

struct GameState {
    BoardCell board[boardCellCount];  // column by column: index = column * 15 + row
    int8_t stage = 0;                 // 0..3; -1 after the title screen
    int32_t pieceState[maxPieces] = {};
    int8_t heldPiece = 0;             // -1 for none
    int8_t rotation = 0;
    int8_t undoDepth = 0;
    int8_t undoFilled[boardColumns][boardRows][maxPieces] = {};  // column, row, layer
    int8_t undoPiece[maxPieces] = {};
    int32_t leftButton = 0, rightButton = 0;  // KeyEdge values
    int32_t enterKey = 0, spaceKey = 0, escapeKey = 0;
    float introSeconds = 0;
};

// Object and sound numbers handed out by the loading scene, and the music handle.
struct GameAssets {
    int32_t rgb = 0, background = 0, mouse = 0, title = 0, click = 0, stageLabel = 0, theEnd = 0;
    int32_t catchSound = 0, fillSound = 0, winSound = 0;
    uint32_t music = 0;
};

extern GameState gameState;
extern GameAssets gameAssets;

constexpr bool onBoard(int column, int row) {
    return column >= 0 && column < boardColumns && row >= 0 && row < boardRows;
}
inline BoardCell& boardCell(int column, int row) { return gameState.board[column * boardRows + row]; }

// Raises the stage index, clears pieces and undo layers, and colours the new rectangle at random.
void startNextStage();

// Colour of cell number cellNumber of a piece: read live from the board cell it covers in the solution.
int8_t pieceCellColour(int stage, int piece, int cellNumber);
