// The fresh program fixture.
#include "support/fresh_program.h"

#include <algorithm>
#include <cstdlib>

#include "draw/zu_draw.h"
#include "game/game.h"
#include "platform/os/files.h"
#include "platform/os/instance.h"
#include "platform/win32.h"
#include "platform/os/window.h"
#include "support/process.h"
#include "system/zu_system.h"

namespace {

// The window, the message queue, the instance and the records of every family back at their
// values at load, and a blank display.
void resetProgram() {
    if (platform::Window* w = platform::currentWindow()) platform::destroyWindow(w);
    platform::resetMessageQueue();
    platform::releaseInstance();
    zuSystem::systemState = {};
    zuSystem::inputState = {};
    zuSystem::triggerState = {};
    zuSystem::frameClock = {};
    zuSystem::waitTable = {};
    zuSystem::pathState = {};
    zuDraw::EndText();  // surfaces and fonts go back before their records are cleared
    zuDraw::Release();
    zuDraw::ReleaseFonts();
    zuDraw::screenState = {};
    zuDraw::objectTable = {};
    zuDraw::packState = {};
    zuDraw::transitionState = {};
    zuDraw::scrollView = {};
    zuDraw::textState = {};
    zuDraw::fontList = {};
    zuDraw::clipWipe = {};
    zuDraw::regionEffectState = {};
    zuDraw::blitAnimation = {};
    zuDraw::textBoxes = {};
    zuDraw::fpsCounters = {};
    sceneState = {};
    blinkState = {};
    platform::headless::resetDisplay();
}

}  // namespace

std::string FreshProgram::frameworkPath(const std::filesystem::path& host) {
    std::string path = host.string();
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void FreshProgram::SetUp() {
    platform::useHeadless({});
    resetProgram();
    const std::filesystem::path root = test::makeTempDir();
    programFolder = root / "program";
    configFolder = root / "config";
    std::filesystem::create_directories(programFolder);
    setenv("XDG_CONFIG_HOME", configFolder.c_str(), 1);
    platform::setModuleFileName(frameworkPath(programFolder / "tessora").c_str());
    zuSystem::RegisterWindowClass(nullptr);
    zuSystem::CreateMainWindow(nullptr, SW_SHOWNORMAL);
    drainMessages();
}

void FreshProgram::TearDown() {
    resetProgram();
    platform::setModuleFileName("");
    unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(programFolder.parent_path());
}

bool FreshProgram::drainMessages() {
    bool quit = false;
    platform::Message m;
    while (platform::peekMessage(m)) {
        if (m.message == WM_QUIT) quit = true;
        else platform::dispatchMessage(m);
    }
    return quit;
}

bool FreshProgram::deliver(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    platform::postMessage(zuSystem::systemState.window, message, wParam, lParam);
    return drainMessages();
}
