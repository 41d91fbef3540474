// Headless input scripts for the game, generated from its own stage, shape and tray tables:
// what a player does to start a game, pick each piece, turn it and drop it on its solution.
#pragma once
#include <string>

#include "platform/types.h"

namespace playthrough {

// Frames from the release of a click that starts a stage (or wins one) until the next play scene
// takes input: the 20-frame hand-over, the two-second intro at 16 ms a frame, the hand-over again.
constexpr int framesToPlay = 170;
// Frames after such a click until the intro or the ending stands still, the hand-over done.
constexpr int framesToSettle = 40;

// The centre of the first drawn cell of a piece waiting in its tray slot.
platform::Point trayPoint(int stage, int piece);
// The rotation in which the piece covers its recorded cells, and where the pointer drops it there.
int solutionRotation(int stage, int piece);
platform::Point solutionPoint(int stage, int piece);

std::string click(platform::Point at);
// Presses on the piece, turns it with the right button until it has `rotation`, releases at `at`.
std::string carry(int stage, int piece, int rotation, platform::Point at);
std::string placePiece(int stage, int piece);
std::string solveStage(int stage);

// From the program's start: wait for the title and click it.
std::string startGame();

// The shipped stage-1 playthrough: start, solve the first stage, shoot the next stage's intro.
std::string stageOneScript();

}  // namespace playthrough
