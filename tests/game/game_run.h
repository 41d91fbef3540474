// Running the real program headless: input scripts generated from the game's own stage, shape and
// tray tables (start a game, pick each piece, turn it, drop it on its solution), a runner in a
// fresh folder, its shots, and the board read back from them.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/types.h"
#include "platform/video/bmp.h"
#include "support/process.h"

namespace gamerun {

// Frames from the release of a click that starts a stage (or wins one) until the next play scene
// takes input: the 20-frame hand-over, the two-second intro at 16 ms a frame, the hand-over again.
constexpr int framesToPlay = 170;
// Frames after such a click until the intro or the ending stands still, the hand-over done.
constexpr int framesToSettle = 40;

std::string wait(int frames);
std::string move(platform::Point);
std::string shot(const std::string& name);  // writes name.bmp
std::string click(platform::Point at);
std::string startGame();  // from the program's start: wait for the title and click it

// The centre of the first drawn cell of a piece waiting in its tray slot.
platform::Point trayPoint(int stage, int piece);
// The rotation in which the piece covers its recorded cells (-1: none), and where the pointer
// drops it there.
int solutionRotation(int stage, int piece);
platform::Point solutionPoint(int stage, int piece);
// Presses on the piece, turns it with the right button until it has `rotation`, releases at `at`.
std::string carry(int stage, int piece, int rotation, platform::Point at);
std::string placePiece(int stage, int piece);
std::string solveStage(int stage);
// The shipped stage-1 playthrough: start, solve the first stage, shoot the next stage's intro.
std::string stageOneScript();

class GameRun {
public:
    GameRun();
    ~GameRun();  // TESSORA_KEEP_RUNS=1 leaves the folder for a look after a failure
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    // Writes the script, runs the program (bin/tessora unless named) on it with the fixed wall
    // clock, and waits for the exit.
    test::ProcessResult play(const std::string& script,
                             const std::vector<std::pair<std::string, std::string>>& extraEnv = {},
                             const std::string& program = {});
    platform::Image shot(const std::string& name) const;  // name.bmp; empty when it was not written

    std::string folder;
};

// Message boxes the program showed, as the headless backend logs them.
std::vector<std::string> messageBoxes(const std::string& standardError);
platform::Image readImage(const std::string& path);  // empty when it cannot be read
platform::Image goldenImage(const std::string& name);  // tests/golden/<name>.bmp
bool sameImage(const platform::Image&, const platform::Image&);
bool sameOutside(const platform::Image&, const platform::Image&, platform::Rect hole);

// The board read from a shot of the play scene by matching each 32 x 32 cell against the tiles
// of the cell sheet; colour -1 where no tile shows (background, or something drawn over it).
struct Cell {
    int colour = -1, filled = 0;
};
struct Board {
    Cell cells[20][15];  // column, row
    int count(bool filledOnly) const;
};
Board readBoard(const platform::Image& shot, const platform::Image& cellSheet);

}  // namespace gamerun
