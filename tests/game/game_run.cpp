// Script generation from the game's tables, the child-process runner and the board reader.
#include "game/game_run.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "game/shapes.h"
#include "game/stages.h"

namespace gamerun {

namespace {

std::string line(const std::string& text) { return text + "\n"; }
platform::Point cellCentre(int column, int row) { return {32 * column + 16, 32 * row + 16}; }

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

// A mean per-channel difference small enough to be only the screen's 16-bit rounding.
double meanDifference(const platform::Image& a, int ax, int ay, const platform::Image& b, int bx, int by) {
    long total = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            uint32_t p = a.xrgb[size_t(ay + y) * a.width + ax + x], q = b.xrgb[size_t(by + y) * b.width + bx + x];
            for (int shift = 0; shift < 24; shift += 8) total += std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF));
        }
    return double(total) / (32 * 32 * 3);
}

}  // namespace

std::string wait(int frames) { return line("wait " + std::to_string(frames)); }
std::string move(platform::Point p) { return line("move " + std::to_string(p.x) + " " + std::to_string(p.y)); }
std::string shot(const std::string& name) { return line("shot " + name + ".bmp"); }
std::string click(platform::Point at) { return move(at) + line("down left") + line("up left"); }
std::string startGame() { return wait(3) + click({320, 400}); }

platform::Point trayPoint(int stage, int piece) {
    const PieceRecord& record = stagePiece(stage, piece);
    TraySlot slot = traySlot(piece);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            if (isOccupied(shapeCell(record.shape, record.trayRotation, column, row)))
                return cellCentre(slot.column + column, slot.row + row);
    return {};
}

int solutionRotation(int stage, int piece) {
    for (int rotation = 0; rotation < 4; ++rotation)
        if (coversRecordedCells(stagePiece(stage, piece), rotation)) return rotation;
    return -1;
}

platform::Point solutionPoint(int stage, int piece) {
    platform::Point origin = boxOrigin(stagePiece(stage, piece), solutionRotation(stage, piece));
    return cellCentre(origin.x, origin.y);
}

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

std::string stageOneScript() {
    return line("# The first stage played through by placing every piece on its solution.") + startGame() +
           wait(framesToPlay) + solveStage(0) + wait(framesToSettle) + shot("stage2_intro");
}

GameRun::GameRun() : folder(test::makeTempDir()) {}
GameRun::~GameRun() {
    if (!std::getenv("TESSORA_KEEP_RUNS")) test::removeTree(folder);
}

test::ProcessResult GameRun::play(const std::string& script,
                                  const std::vector<std::pair<std::string, std::string>>& extraEnv,
                                  const std::string& program) {
    std::ofstream(folder + "/script.txt") << script;
    test::ProcessSpec spec;
    spec.argv = {program.empty() ? test::binaryDir() + "/tessora" : program};
    spec.env = {{"TESSORA_PLATFORM", "headless"}, {"TESSORA_SCRIPT", folder + "/script.txt"},
                {"TESSORA_TIME", "1000000000"}, {"TESSORA_FRAME_MS", "16"}, {"XDG_CONFIG_HOME", folder}};
    spec.env.insert(spec.env.end(), extraEnv.begin(), extraEnv.end());
    spec.workDir = folder;
    spec.timeoutMs = 120000;
    return test::runProcess(spec);
}

platform::Image GameRun::shot(const std::string& name) const { return readImage(folder + "/" + name + ".bmp"); }

std::vector<std::string> messageBoxes(const std::string& standardError) {
    std::vector<std::string> boxes;
    std::istringstream lines(standardError);
    for (std::string text; std::getline(lines, text);)
        if (text.rfind("messagebox: ", 0) == 0) boxes.push_back(text.substr(12));
    return boxes;
}

platform::Image readImage(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    platform::Image image;
    if (!platform::decodeBmp(bytes, image)) return {};
    return image;
}

platform::Image goldenImage(const std::string& name) {
    return readImage(std::string(ZU_SOURCE_DIR) + "/tests/golden/" + name + ".bmp");
}

bool sameImage(const platform::Image& a, const platform::Image& b) {
    return a.width > 0 && a.width == b.width && a.height == b.height && a.xrgb == b.xrgb;
}

bool sameOutside(const platform::Image& a, const platform::Image& b, platform::Rect hole) {
    if (a.width != b.width || a.height != b.height || a.width == 0) return false;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            bool inHole = x >= hole.left && x < hole.right && y >= hole.top && y < hole.bottom;
            if (!inHole && a.xrgb[size_t(y) * a.width + x] != b.xrgb[size_t(y) * b.width + x]) return false;
        }
    return true;
}

int Board::count(bool filledOnly) const {
    int n = 0;
    for (const auto& column : cells)
        for (const Cell& c : column) n += c.colour >= 0 && (c.filled || !filledOnly);
    return n;
}

Board readBoard(const platform::Image& shot, const platform::Image& cellSheet) {
    Board board;
    if (shot.width < 640 || shot.height < 480 || cellSheet.width < 96 || cellSheet.height < 64) return board;
    for (int column = 0; column < 20; ++column)
        for (int row = 0; row < 15; ++row) {
            double best = 12.0;
            for (int filled = 0; filled < 2; ++filled)
                for (int colour = 0; colour < 3; ++colour) {
                    double d = meanDifference(shot, column * 32, row * 32, cellSheet, colour * 32, filled * 32);
                    if (d < best) {
                        best = d;
                        board.cells[column][row] = {colour, filled};
                    }
                }
        }
    return board;
}

}  // namespace gamerun
