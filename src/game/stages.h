// The four stages: their pieces in the fixed solution, piece counts, rectangles and tray slots.
#pragma once
#include <cstdint>

struct CellPosition {
    int8_t column, row;
};

struct PieceRecord {
    CellPosition cells[4];  // board cells that piece cells 0..3 cover in the solution
    int8_t shape;
    int8_t trayRotation;
};
static_assert(sizeof(PieceRecord) == 10);

inline constexpr int stageCount = 4;
inline constexpr int maxPieces = 15;

// Records beyond a stage's count stay zero and are never read.
inline constexpr PieceRecord stageTable[stageCount][maxPieces] = {
    {
        {{{8, 5}, {9, 5}, {10, 5}, {11, 5}}, 0, 1},
        {{{8, 6}, {9, 6}, {9, 7}, {9, 8}}, 2, 1},
        {{{9, 9}, {8, 9}, {8, 8}, {8, 7}}, 2, 3},
        {{{11, 6}, {10, 6}, {10, 7}, {10, 8}}, 3, 1},
        {{{10, 9}, {11, 9}, {11, 8}, {11, 7}}, 3, 3},
    },
    {
        {{{12, 9}, {11, 9}, {11, 8}, {11, 7}}, 2, 1},
        {{{7, 9}, {8, 9}, {9, 9}, {10, 9}}, 0, 1},
        {{{8, 7}, {7, 6}, {7, 7}, {7, 8}}, 6, 3},
        {{{9, 7}, {8, 8}, {9, 8}, {10, 8}}, 6, 1},
        {{{11, 6}, {12, 6}, {12, 7}, {12, 8}}, 2, 1},
        {{{10, 7}, {10, 6}, {9, 6}, {8, 6}}, 3, 1},
    },
    {
        {{{10, 9}, {9, 9}, {9, 8}, {9, 7}}, 2, 1},
        {{{10, 8}, {11, 9}, {11, 8}, {11, 7}}, 6, 1},
        {{{9, 5}, {8, 5}, {8, 6}, {8, 7}}, 3, 1},
        {{{6, 5}, {7, 5}, {7, 6}, {6, 6}}, 1, 2},
        {{{7, 9}, {6, 9}, {6, 8}, {6, 7}}, 2, 1},
        {{{13, 5}, {13, 6}, {13, 7}, {13, 8}}, 0, 1},
        {{{13, 9}, {12, 9}, {12, 8}, {12, 7}}, 2, 3},
        {{{7, 7}, {7, 8}, {8, 8}, {8, 9}}, 4, 3},
        {{{9, 6}, {10, 7}, {10, 6}, {10, 5}}, 6, 1},
        {{{11, 5}, {12, 5}, {12, 6}, {11, 6}}, 1, 1},
    },
    {
        {{{9, 7}, {10, 7}, {10, 8}, {9, 8}}, 1, 3},
        {{{12, 6}, {11, 6}, {11, 7}, {11, 8}}, 3, 1},
        {{{4, 5}, {4, 6}, {5, 6}, {5, 7}}, 4, 3},
        {{{5, 8}, {4, 7}, {4, 8}, {4, 9}}, 6, 3},
        {{{14, 9}, {15, 9}, {15, 8}, {15, 7}}, 3, 1},
        {{{10, 6}, {10, 5}, {11, 5}, {12, 5}}, 2, 1},
        {{{10, 9}, {11, 9}, {12, 9}, {13, 9}}, 0, 3},
        {{{8, 8}, {7, 9}, {8, 9}, {9, 9}}, 6, 3},
        {{{12, 7}, {13, 7}, {13, 8}, {12, 8}}, 1, 2},
        {{{5, 5}, {6, 5}, {7, 5}, {8, 5}}, 0, 1},
        {{{15, 6}, {14, 6}, {14, 7}, {14, 8}}, 3, 3},
        {{{6, 6}, {7, 6}, {7, 7}, {6, 7}}, 1, 3},
        {{{13, 6}, {13, 5}, {14, 5}, {15, 5}}, 2, 3},
        {{{9, 5}, {9, 6}, {8, 6}, {8, 7}}, 5, 3},
        {{{5, 9}, {6, 9}, {6, 8}, {7, 8}}, 4, 1},
    },
};

inline constexpr int8_t stagePieceCount[stageCount] = {5, 6, 10, 15};

// Columns and rows inclusive.
struct StageArea {
    int8_t firstColumn, lastColumn, firstRow, lastRow;
};

inline constexpr StageArea stageAreas[stageCount] = {
    {8, 11, 5, 9}, {7, 12, 6, 9}, {6, 13, 5, 9}, {4, 15, 5, 9}};

// Index 3 and any higher index share the largest rectangle; a negative one means the first.
constexpr int clampedStage(int stage) { return stage < 0 ? 0 : stage >= stageCount ? stageCount - 1 : stage; }
constexpr const StageArea& stageArea(int stage) { return stageAreas[clampedStage(stage)]; }
constexpr const PieceRecord& stagePiece(int stage, int piece) { return stageTable[clampedStage(stage)][piece]; }
constexpr int piecesInStage(int stage) { return stagePieceCount[clampedStage(stage)]; }

// The board cell where the top-left cell of piece i's 4 x 4 tray box lies.
struct TraySlot {
    int8_t column, row;
};

constexpr TraySlot traySlot(int piece) {
    if (piece < 7) return {int8_t(3 * piece), 0};
    if (piece < 14) return {int8_t(3 * (piece - 7)), 11};
    return {0, 6};
}
