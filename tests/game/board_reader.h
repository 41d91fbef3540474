// Reads the board back from a shot of the play scene by matching each 32 x 32 cell against the
// tiles of the cell sheet, so end-to-end tests can see colours and filled cells.
#pragma once
#include <string>

#include "platform/video/bmp.h"

namespace boardreader {

struct Cell {
    int colour = -1;  // -1: no tile there (background, or something drawn over it)
    int filled = 0;
};

struct Board {
    Cell cells[20][15];  // column, row
    int filledCount() const;
};

bool readImage(const std::string& path, platform::Image& out);
Board readBoard(const platform::Image& shot, const platform::Image& cellSheet);

}  // namespace boardreader
