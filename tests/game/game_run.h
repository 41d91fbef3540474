// Runs the real program headless on a script in a fresh folder and reads the shots it wrote.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/video/bmp.h"
#include "support/process.h"

class GameRun {
public:
    GameRun();
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    // Writes the script, runs the program (bin/tessora unless named) on it with the fixed wall
    // clock, and waits for the exit.
    test::ProcessResult play(const std::string& script,
                             const std::vector<std::pair<std::string, std::string>>& extraEnv = {},
                             const std::string& program = {});
    platform::Image shot(const std::string& name) const;  // empty when it was not written
    std::string path(const std::string& name) const { return folder + "/" + name; }

    std::string folder;
};

// Message boxes the program showed, as the headless backend logs them.
std::vector<std::string> messageBoxes(const std::string& standardError);
bool sameImage(const platform::Image&, const platform::Image&);
