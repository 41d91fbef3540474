// Start-up time: WinMain, headless, from its start through the screen set-up and the loading
// frame (every picture and sound) to the title's first present, and the orderly quit after it.
// The headless audio device opens at once, so no device start-up is counted.
#include <benchmark/benchmark.h>

#include "draw/zu_draw.h"
#include "game/game.h"
#include "platform/headless.h"
#include "platform/os/files.h"
#include "platform/os/instance.h"
#include "platform/audio/music.h"
#include "platform/os/resources.h"
#include "platform/win32.h"
#include "platform/os/window.h"
#include "ratio.h"
#include "sound/zu_sound.h"
#include "system/zu_system.h"

namespace {

// Every record back at its load-time value, as for a newly started program, on a new backend
// whose script ends after the second present (the loading frame, then the title's first).
void freshProgram() {
    platform::useHeadless();
    platform::setModuleFileName("");  // other cases stand in folders of their own
    platform::headless::resetDisplay();
    if (platform::Window* w = platform::currentWindow()) platform::destroyWindow(w);
    platform::resetMessageQueue();
    platform::releaseInstance();
    platform::music::release();
    zuSound::Release();
    zuSound::soundState = {};
    zuDraw::EndText();
    zuDraw::Release();
    zuDraw::ReleaseFonts();
    zuDraw::screenState = {};
    zuDraw::objectTable = {};
    zuDraw::transitionState = {};
    zuDraw::textState = {};
    zuDraw::fontList = {};
    zuDraw::clipWipe = {};
    zuSystem::systemState = {};
    zuSystem::inputState = {};
    zuSystem::frameClock = {};
    zuSystem::pathState = {};
    sceneState = {};
    blinkState = {};
    gameState = {};
    gameAssets = {};
    platform::headless::loadScript("wait 2\n");
}

void BM_StartupToTitle(benchmark::State& state) {
    platform::Instance instance{{}, ""};
    for (auto _ : state) {
        state.PauseTiming();
        freshProgram();
        state.ResumeTiming();
        WinMain(&instance, nullptr, "", SW_SHOWNORMAL);
        if (sceneState.current != 2) state.SkipWithError("the title was not reached");
    }
    zuSystem::systemState.instance = nullptr;  // it lived on this stack; later cases must not use it
}

}  // namespace

BENCHMARK(BM_StartupToTitle)->Iterations(3)->Unit(benchmark::kMillisecond);
ZU_BUDGET(BM_StartupToTitle, 0.5, "WinMain to the title's first present, headless");
