// The block alphabet and its renderer.
#include "assets/letters.h"

#include <array>
#include <vector>

namespace assets {

namespace {

constexpr int kColumns = 5, kRows = 7, kSpaceColumns = 3;

struct Glyph {
    char character;
    std::array<const char*, kRows> rows;
};

constexpr Glyph kGlyphs[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'C', {".####", "#....", "#....", "#....", "#....", "#....", ".####"}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'G', {".####", "#....", "#....", "#..##", "#...#", "#...#", ".###."}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'1', {"..#..", ".##..", "#.#..", "..#..", "..#..", "..#..", "#####"}},
    {'2', {".###.", "#...#", "....#", "..##.", ".#...", "#....", "#####"}},
    {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
};

const Glyph* glyphOf(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.character == c) return &g;
    return nullptr;
}

int columnsOf(char c) { return c == ' ' ? kSpaceColumns : kColumns; }

// Marks every pixel that a block covers, so the outline can go around the word as a whole.
void drawBlocks(Canvas& c, std::vector<bool>& covered, int x, int y, std::string_view text,
                const LetterStyle& s) {
    int column = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (const Glyph* g = glyphOf(text[i]))
            for (int row = 0; row < kRows; ++row)
                for (int col = 0; col < kColumns; ++col) {
                    if (g->rows[row][col] != '#') continue;
                    int bx = x + (column + col) * s.blockWidth, by = y + row * s.blockHeight;
                    Rgb face = s.colourOf(int(i), row);
                    c.fillRect(bx, by, s.blockWidth, s.blockHeight, face);
                    if (s.bevel > 0)
                        c.bevel(bx, by, s.blockWidth, s.blockHeight, mix(face, {255, 255, 255}, 0.55),
                                scale(face, 0.6), s.bevel);
                    for (int j = by; j < by + s.blockHeight; ++j)
                        for (int k = bx; k < bx + s.blockWidth; ++k)
                            if (c.inside(k, j)) covered[size_t(j) * c.width + k] = true;
                }
        column += columnsOf(text[i]) + 1;
    }
}

void outline(Canvas& c, const std::vector<bool>& covered) {
    auto isCovered = [&](int x, int y) { return c.inside(x, y) && covered[size_t(y) * c.width + x]; };
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            if (isCovered(x, y)) continue;
            bool touches = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) touches = touches || isCovered(x + dx, y + dy);
            if (touches) c.set(x, y, kOutline);
        }
}

}  // namespace

int textColumns(std::string_view text) {
    int columns = 0;
    for (char ch : text) columns += columnsOf(ch);
    return text.empty() ? 0 : columns + int(text.size()) - 1;
}

int textWidth(std::string_view text, const LetterStyle& s) { return textColumns(text) * s.blockWidth; }

int textHeight(const LetterStyle& s) { return kRows * s.blockHeight; }

void drawText(Canvas& c, int x, int y, std::string_view text, const LetterStyle& s) {
    std::vector<bool> covered(size_t(c.width) * c.height, false);
    drawBlocks(c, covered, x, y, text, s);
    outline(c, covered);
}

}  // namespace assets
