// Cell matching: a mean per-channel difference small enough to be only the screen's 16-bit
// rounding counts as that tile.
#include "game/board_reader.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace boardreader {

namespace {

constexpr int cell = 32;
constexpr double sameTile = 12.0;

double meanDifference(const platform::Image& a, int ax, int ay, const platform::Image& b, int bx, int by) {
    long total = 0;
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
            uint32_t p = a.xrgb[size_t(ay + y) * a.width + ax + x], q = b.xrgb[size_t(by + y) * b.width + bx + x];
            for (int shift = 0; shift < 24; shift += 8)
                total += std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF));
        }
    return double(total) / (cell * cell * 3);
}

}  // namespace

int Board::filledCount() const {
    int n = 0;
    for (const auto& column : cells)
        for (const Cell& c : column) n += c.colour >= 0 && c.filled;
    return n;
}

bool readImage(const std::string& path, platform::Image& out) {
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return platform::decodeBmp(bytes, out);
}

Board readBoard(const platform::Image& shot, const platform::Image& cellSheet) {
    Board board;
    for (int column = 0; column < 20; ++column)
        for (int row = 0; row < 15; ++row) {
            double best = sameTile;
            for (int filled = 0; filled < 2; ++filled)
                for (int colour = 0; colour < 3; ++colour) {
                    double d = meanDifference(shot, column * cell, row * cell, cellSheet, colour * cell, filled * cell);
                    if (d < best) {
                        best = d;
                        board.cells[column][row] = {colour, filled};
                    }
                }
        }
    return board;
}

}  // namespace boardreader
