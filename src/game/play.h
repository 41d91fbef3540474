// The play scene's parts: drawing the board and pieces, and the one action a frame's buttons cause.
#pragma once
#include <cstdint>

enum class PlayAction { none, picked, dropped, returned, rotated, undone };

// The tray slot a press at (x, y) answers to, or -1.
int32_t pickSlot(int32_t x, int32_t y, int32_t pieceCount);

// How many of the held piece's cells, in `rotation` with its box at the board cell (column, row),
// land on free board cells of their own colour.
int32_t countDropMatches(int32_t piece, int32_t rotation, int32_t column, int32_t row);

// Pick, drop, rotate or undo from gameState's button edges and the pointer; plays its sound.
PlayAction applyPlayInput();

// True when no cell of the stage is left uncovered.
bool stageComplete();

void drawPlay();
