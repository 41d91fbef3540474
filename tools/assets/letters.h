// Our own block letters: each character is a 5 x 7 grid of blocks, drawn as bevelled tiles
// like the game's pieces, with a dark outline around the whole word.
#pragma once
#include <string_view>

#include "assets/canvas.h"

namespace assets {

struct LetterStyle {
    int blockWidth = 8, blockHeight = 8;
    int bevel = 1;          // bevel depth of each block in pixels; 0 draws flat blocks
    Rgb (*colourOf)(int letterIndex, int row) = nullptr;  // the face colour of a block
};

// Width in blocks: 5 per letter, 3 per space, one between neighbours.
int textColumns(std::string_view text);
int textWidth(std::string_view text, const LetterStyle&);
int textHeight(const LetterStyle&);

// Unknown characters draw nothing but take a letter's room.
void drawText(Canvas&, int x, int y, std::string_view text, const LetterStyle&);

}  // namespace assets
