// Running the real program headless: input scripts generated from the game's own stage, shape and
// tray tables (start a game, pick each piece, turn it, drop it on its solution), a runner in a
// fresh folder, and its shots.
#pragma once
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "game/shapes.h"
#include "game/stages.h"
#include "platform/types.h"
#include "platform/video/bmp.h"
#include "support/process.h"

namespace gamerun {

// Frames from the release of a click that starts a stage (or wins one) until the next play scene
// takes input: the 20-frame hand-over, the two-second intro at 16 ms a frame, the hand-over again.
constexpr int framesToPlay = 170;
// Frames after such a click until the intro or the ending stands still, the hand-over done.
constexpr int framesToSettle = 40;

inline std::string wait(int frames) { return "wait " + std::to_string(frames) + "\n"; }
inline std::string move(platform::Point p) {
    return "move " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
}
inline std::string shot(const std::string& name) { return "shot " + name + ".bmp\n"; }
inline std::string click(platform::Point at) { return move(at) + "down left\nup left\n"; }

inline platform::Point cellCentre(int column, int row) { return {32 * column + 16, 32 * row + 16}; }

// The centre of the first drawn cell of a piece waiting in its tray slot.
inline platform::Point trayPoint(int stage, int piece) {
    const PieceRecord& record = stagePiece(stage, piece);
    TraySlot slot = traySlot(piece);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            if (isOccupied(shapeCell(record.shape, record.trayRotation, column, row)))
                return cellCentre(slot.column + column, slot.row + row);
    return {};
}

// The rotation in which the piece covers its recorded cells (-1 when none does) and the point
// where the pointer then drops it.
inline std::pair<int, platform::Point> solution(int stage, int piece) {
    const PieceRecord& record = stagePiece(stage, piece);
    for (int rotation = 0; rotation < 4; ++rotation) {
        std::set<std::pair<int, int>> corners;  // box corners putting a cell on its recorded one
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                if (int8_t v = shapeCell(record.shape, rotation, column, row); isOccupied(v))
                    corners.insert({record.cells[v].column - column, record.cells[v].row - row});
        if (corners.size() == 1) return {rotation, cellCentre(corners.begin()->first, corners.begin()->second)};
    }
    return {-1, {}};
}

// Presses on the piece, turns it with the right button into its solution rotation, releases it there.
inline std::string placePiece(int stage, int piece) {
    auto [rotation, at] = solution(stage, piece);
    std::string s = move(trayPoint(stage, piece)) + "down left\n";
    for (int turn = stagePiece(stage, piece).trayRotation; turn != rotation; turn = (turn + 1) % 4)
        s += "down right\nup right\n" + wait(1);  // a press right after a release reads as held
    return s + move(at) + "up left\n";
}

inline std::string solveStage(int stage) {
    std::string s = "# stage " + std::to_string(stage + 1) + "\n";
    for (int piece = 0; piece < piecesInStage(stage); ++piece) s += placePiece(stage, piece);
    return s;
}

inline std::string readFile(const std::string& path) {  // empty when it cannot be read
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline platform::Image readImage(const std::string& path) {  // empty when it cannot be read
    std::string bytes = readFile(path);
    platform::Image image;
    bool read = platform::decodeBmp({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, image);
    return read ? image : platform::Image{};
}

inline platform::Image goldenImage(const std::string& name) {
    return readImage(std::string(ZU_SOURCE_DIR) + "/tests/golden/" + name + ".bmp");
}

class GameRun {
public:
    GameRun() : folder(test::makeTempDir()) {}
    // TESSORA_KEEP_RUNS=1 leaves the folder with its script and shots for a look after a failure.
    ~GameRun() {
        if (!std::getenv("TESSORA_KEEP_RUNS")) test::removeTree(folder);
    }

    // Runs the program (bin/tessora unless named) on the script with the fixed wall clock to its exit.
    test::ProcessResult play(const std::string& script,
                             const std::vector<std::pair<std::string, std::string>>& extraEnv = {},
                             const std::string& program = {}) {
        std::ofstream(folder + "/script.txt") << script;
        test::ProcessSpec spec{.argv = {program.empty() ? test::binaryDir() + "/tessora" : program},
                               .env = {{"TESSORA_PLATFORM", "headless"}, {"TESSORA_SCRIPT", folder + "/script.txt"},
                                       {"TESSORA_TIME", "1000000000"}, {"TESSORA_FRAME_MS", "16"},
                                       {"XDG_CONFIG_HOME", folder}},
                               .unset = {},
                               .workDir = folder, .timeoutMs = 120000};
        spec.env.insert(spec.env.end(), extraEnv.begin(), extraEnv.end());
        return test::runProcess(spec);
    }
    platform::Image shot(const std::string& name) const { return readImage(folder + "/" + name + ".bmp"); }

    std::string folder;
};

// Message boxes the program showed, as the headless backend logs them.
inline std::vector<std::string> messageBoxes(const std::string& standardError) {
    std::vector<std::string> boxes;
    std::istringstream lines(standardError);
    for (std::string text; std::getline(lines, text);)
        if (text.rfind("messagebox: ", 0) == 0) boxes.push_back(text.substr(12));
    return boxes;
}

inline bool sameOutside(const platform::Image& a, const platform::Image& b, platform::Rect hole) {
    if (a.width == 0 || a.width != b.width || a.height != b.height) return false;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            bool inHole = x >= hole.left && x < hole.right && y >= hole.top && y < hole.bottom;
            if (!inHole && a.xrgb[size_t(y) * a.width + x] != b.xrgb[size_t(y) * b.width + x]) return false;
        }
    return true;
}
inline bool sameImage(const platform::Image& a, const platform::Image& b) { return sameOutside(a, b, {}); }

}  // namespace gamerun
