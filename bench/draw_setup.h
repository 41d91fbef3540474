// The drawing core set up once for the draw benchmarks: headless, 640 x 480 RGB565, no
// vertical-blank wait, a full-screen picture, a 96 x 96 tile sheet and a pointer, all keyed.
#pragma once
#include <cstdint>

namespace drawbench {

struct Scene {
    int32_t background = 0;  // 640 x 480 object
    int32_t tiles = 0;       // 96 x 96 sheet of nine 32 x 32 tiles with keyed corners
    int32_t pointer = 0;     // 25 x 40, keyed
};

const Scene& scene();  // sets up on first use

// The board positions of the play scene: 300 cells of 20 x 15, 60 cells for the pieces.
struct Cell {
    int32_t x, y, sheetX, sheetY;
};
const Cell* boardCells();  // 300
const Cell* pieceCells();  // 60

}  // namespace drawbench
