// The seven four-cell shapes in their four rotations, as compile-time data.
// A box entry 0..3 is the piece cell number found there; 9 (or anything above 3) is empty.
#pragma once
#include <cstdint>

using ShapeTable = int8_t[7][4][4][4];  // shape, rotation, row, column

namespace shape_text {

// One rotation written as four rows "abcd/efgh/ijkl/mnop", "." for an empty box cell.
struct Rows { int8_t cell[4][4]; };

constexpr Rows parse(const char* text) {
    Rows rows{};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column, ++text)
            rows.cell[row][column] = *text == '.' ? int8_t(9) : int8_t(*text - '0');
        if (*text == '/') ++text;
    }
    return rows;
}

}  // namespace shape_text

struct ShapeTableData {
    ShapeTable entries;
};

constexpr ShapeTableData makeShapeTable(const char* const (&text)[7][4]) {
    ShapeTableData table{};
    for (int shape = 0; shape < 7; ++shape)
        for (int rotation = 0; rotation < 4; ++rotation) {
            shape_text::Rows rows = shape_text::parse(text[shape][rotation]);
            for (int row = 0; row < 4; ++row)
                for (int column = 0; column < 4; ++column)
                    table.entries[shape][rotation][row][column] = rows.cell[row][column];
        }
    return table;
}

// 0 straight, 1 square, 2 and 3 the two L pieces, 4 and 5 the two skew pieces, 6 the T piece.
inline constexpr const char* shapeText[7][4] = {
    {"0123/..../..../....", "0.../1.../2.../3...", "3210/..../..../....", "3.../2.../1.../0..."},
    {"01../32../..../....", "30../21../..../....", "23../10../..../....", "12../03../..../...."},
    {"123./0.../..../....", "01../.2../.3../....", "..0./321./..../....", "3.../2.../10../...."},
    {"0.../123./..../....", "10../2.../3.../....", "321./..0./..../....", ".3../.2../01../...."},
    {".23./01../..../....", "0.../12../.3../....", ".10./32../..../....", "3.../21../.0../...."},
    {"01../.23./..../....", ".0../21../3.../....", "32../.10./..../....", ".3../12../0.../...."},
    {".0../123./..../....", "1.../20../3.../....", "321./.0../..../....", ".3../02../.1../...."},
};

inline constexpr ShapeTableData shapeTableData = makeShapeTable(shapeText);
inline constexpr const ShapeTable& shapeTable = shapeTableData.entries;

// The shape table entry at box (column, row); occupied when it is 3 or less.
constexpr int8_t shapeCell(int shape, int rotation, int column, int row) {
    return shapeTable[shape][rotation & 3][row][column];
}

constexpr bool isOccupied(int8_t entry) { return entry >= 0 && entry <= 3; }
