// The child-process runner shared by the game's end-to-end and golden tests.
#include "game/game_run.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "game/board_reader.h"

GameRun::GameRun() : folder(test::makeTempDir()) {}
// TESSORA_KEEP_RUNS=1 leaves the folder with its script and shots for a look after a failure.
GameRun::~GameRun() {
    if (!std::getenv("TESSORA_KEEP_RUNS")) test::removeTree(folder);
}

test::ProcessResult GameRun::play(const std::string& script,
                                  const std::vector<std::pair<std::string, std::string>>& extraEnv,
                                  const std::string& program) {
    std::ofstream(path("script.txt")) << script;
    test::ProcessSpec spec;
    spec.argv = {program.empty() ? test::binaryDir() + "/tessora" : program};
    spec.env = {{"TESSORA_PLATFORM", "headless"},
                {"TESSORA_SCRIPT", path("script.txt")},
                {"TESSORA_TIME", "1000000000"},
                {"TESSORA_FRAME_MS", "16"},
                {"XDG_CONFIG_HOME", folder}};
    spec.env.insert(spec.env.end(), extraEnv.begin(), extraEnv.end());
    spec.workDir = folder;
    spec.timeoutMs = 120000;
    return test::runProcess(spec);
}

platform::Image GameRun::shot(const std::string& name) const {
    platform::Image image;
    boardreader::readImage(path(name), image);
    return image;
}

std::vector<std::string> messageBoxes(const std::string& standardError) {
    std::vector<std::string> boxes;
    std::istringstream lines(standardError);
    for (std::string text; std::getline(lines, text);)
        if (text.rfind("messagebox: ", 0) == 0) boxes.push_back(text.substr(12));
    return boxes;
}

bool sameImage(const platform::Image& a, const platform::Image& b) {
    return a.width > 0 && a.width == b.width && a.height == b.height && a.xrgb == b.xrgb;
}
