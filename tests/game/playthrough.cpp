// Script generation from the game's tables.
#include "game/playthrough.h"

#include "game/shapes.h"
#include "game/stages.h"

namespace playthrough {

namespace {

std::string line(const std::string& text) { return text + "\n"; }
std::string move(platform::Point p) { return line("move " + std::to_string(p.x) + " " + std::to_string(p.y)); }
std::string wait(int frames) { return line("wait " + std::to_string(frames)); }

platform::Point cellCentre(int column, int row) { return {32 * column + 16, 32 * row + 16}; }

}  // namespace

platform::Point trayPoint(int stage, int piece) {
    const PieceRecord& record = stagePiece(stage, piece);
    TraySlot slot = traySlot(piece);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            if (isOccupied(shapeCell(record.shape, record.trayRotation, column, row)))
                return cellCentre(slot.column + column, slot.row + row);
    return {};
}

namespace {

// Where the box corner lies when cell 0 of `rotation` sits on the recorded cell 0.
platform::Point boxOrigin(const PieceRecord& record, int rotation) {
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            if (shapeCell(record.shape, rotation, column, row) == 0)
                return {record.cells[0].column - column, record.cells[0].row - row};
    return {};
}

bool coversRecordedCells(const PieceRecord& record, int rotation) {
    platform::Point origin = boxOrigin(record, rotation);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            int8_t v = shapeCell(record.shape, rotation, column, row);
            if (isOccupied(v) && (record.cells[v].column != origin.x + column || record.cells[v].row != origin.y + row))
                return false;
        }
    return true;
}

}  // namespace

int solutionRotation(int stage, int piece) {
    for (int rotation = 0; rotation < 4; ++rotation)
        if (coversRecordedCells(stagePiece(stage, piece), rotation)) return rotation;
    return -1;
}

platform::Point solutionPoint(int stage, int piece) {
    platform::Point origin = boxOrigin(stagePiece(stage, piece), solutionRotation(stage, piece));
    return cellCentre(origin.x, origin.y);
}
std::string click(platform::Point at) { return move(at) + line("down left") + line("up left"); }

std::string carry(int stage, int piece, int rotation, platform::Point at) {
    std::string s = move(trayPoint(stage, piece)) + line("down left");
    for (int turn = stagePiece(stage, piece).trayRotation; turn != rotation; turn = (turn + 1) % 4)
        s += line("down right") + line("up right") + wait(1);  // a press right after a release reads as held
    return s + move(at) + line("up left");
}

std::string placePiece(int stage, int piece) {
    return carry(stage, piece, solutionRotation(stage, piece), solutionPoint(stage, piece));
}

std::string solveStage(int stage) {
    std::string s = line("# stage " + std::to_string(stage + 1));
    for (int piece = 0; piece < piecesInStage(stage); ++piece) s += placePiece(stage, piece);
    return s;
}

std::string startGame() { return wait(3) + click({320, 400}); }

std::string stageOneScript() {
    return line("# The first stage played through by placing every piece on its solution.") + startGame() +
           wait(framesToPlay) + solveStage(0) + wait(framesToSettle) + line("shot stage2_intro.bmp");
}

}  // namespace playthrough
