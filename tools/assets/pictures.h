// The game's pictures: cell tiles, background, pointer, the word pictures and the icons.
#pragma once
#include "assets/canvas.h"

namespace assets {

// The three cell colours, safe for colour-blind players; each also carries its own mark
// (0 a ring, 1 a cross, 2 a triangle).
constexpr Rgb kCellColours[3] = {{0, 90, 170}, {213, 94, 0}, {240, 228, 66}};

enum class CellKind { free, filled, piece };

// A size x size tile of colour 0..2 at (x, y).
void drawCell(Canvas&, int x, int y, int size, int colour, CellKind);

Canvas cellSheet();     // 96 x 96: colours across, free / filled / piece down
Canvas background();    // 640 x 480
Canvas pointer();       // 25 x 40, black keyed
Canvas titlePicture();  // 400 x 150
Canvas clickPrompt();   // 252 x 40
Canvas stageLabel();    // 338 x 100: the word in 186 x 100, then 38 x 100 digits 1..4
Canvas theEnd();        // 290 x 112
Canvas icon(int size);  // square, with alpha: 32 for the window, 128 for the desktop

}  // namespace assets
