// The entry point: start-up in its order, the message-driven frame loop, the blink timer and
// the scene machine that runs one scene function per frame.
#include <cstdlib>

#include "draw/zu_draw.h"
#include "game/game.h"
#include "platform/os/clock.h"
#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "platform/audio/music.h"
#include "platform/sjis.h"
#include "platform/win32.h"
#include "platform/os/window.h"
#include "system/zu_system.h"

SceneState sceneState;
BlinkState blinkState = {1, platform::ticks() + 1000};
SceneFunction sceneTable[sceneCount] = {sceneLoading, sceneTitle, sceneStageIntro, scenePlay,
                                        sceneEnding};

namespace {

constexpr uint32_t requiredMusicVersion = 0x20001;  // 1.2

bool showRefusal(const char* text, const char* caption) {
    platform::messageBox(nullptr, text, caption, MB_OK);
    return false;
}

bool startUp(platform::Instance* instance, const char* commandLine, int32_t showCommand) {
    using namespace zuSystem;
    platform::sjisCopy(systemState.title, sizeof systemState.title, "TESSORA");
    if (!CheckInstance(systemState.title)) return false;
    SetCommandLine(commandLine);
    RegisterWindowClass(instance);
    if (platform::music::version() != requiredMusicVersion)
        return showRefusal("BASS version 1.2 was not loaded", "エラー");
    // Every data path starts from the program folder, so one without a Shift-JIS form ends here.
    if (platform::moduleFileName().empty())
        return showRefusal("プログラムのフォルダ名を扱えません", "エラー");
    if (!CreateMainWindow(instance, showCommand)) return false;
    systemState.instance = instance;
    std::srand(unsigned(platform::wallSeconds()));
    EnableIme(0);
    zuDraw::Screen(640, 480, 1);
    QuitOnError();  // after a failed set-up: the report has been shown, now an orderly quit
    sceneState.current = 1;
    sceneState.previous = 0;
    ResetClock();
    return true;
}

void measureFrame() {
    uint32_t now = platform::ticks();
    zuSystem::frameClock.seconds = float((now - zuSystem::frameClock.lastTick) / 1000.0);
    zuSystem::frameClock.lastTick = platform::ticks();
}

void runSceneOrCover() {
    zuDraw::TransitionState& t = zuDraw::transitionState;
    if (t.direction == 1) {
        zuDraw::Present();
        if (t.direction == 0) sceneState.current = sceneState.pending;
        return;
    }
    if (sceneState.current >= 1 && sceneState.current <= sceneCount)
        sceneTable[sceneState.current - 1]();
}

void restoreClipAfterWipe() {
    zuDraw::ClipWipe& wipe = zuDraw::clipWipe;
    if (wipe.state <= 0) return;
    zuDraw::ScreenState& s = zuDraw::screenState;
    s.clipLeft = wipe.savedClip.left;
    s.clipTop = wipe.savedClip.top;
    s.clipRight = wipe.savedClip.right;
    s.clipBottom = wipe.savedClip.bottom;
    wipe.state = 0;
}

void blink() {
    if (platform::ticks() < blinkState.nextToggle) return;
    blinkState.on = !blinkState.on;
    blinkState.nextToggle = platform::ticks() + (blinkState.on ? 1000 : 200);
}

void clearClickLatches() {
    zuSystem::InputState& in = zuSystem::inputState;
    in.leftClick = in.rightClick = 0;
    in.leftDoubleClick = in.rightDoubleClick = 0;
}

// Messages first, a wait while in the background, then one frame; WM_QUIT ends it.
int32_t runLoop() {
    while (zuSystem::PumpMessages()) runFrame();
    return 0;
}

}  // namespace

void runFrame() {
    measureFrame();
    if (sceneState.previous == 0 && sceneState.current != 0) {
        sceneState.firstFrame = 1;
        sceneState.previous = sceneState.current;
    }
    runSceneOrCover();
    if (sceneState.current != sceneState.previous) {
        sceneState.firstFrame = 1;
        restoreClipAfterWipe();
    } else {
        sceneState.firstFrame = 0;
    }
    sceneState.previous = sceneState.current;
    blink();
    clearClickLatches();
    // Full screen hides the system cursor through the window procedure; nothing to do here.
}

void changeScene(int32_t scene) {
    zuDraw::TransitionState& t = zuDraw::transitionState;
    t.kind = 2;
    t.length = 20;
    if (t.kind == 0) {
        sceneState.pending = scene;
        zuDraw::BeginCover();
        return;
    }
    if (t.kind != 13)
        zuDraw::CaptureScreen(1, 0, 0, zuDraw::screenState.width, zuDraw::screenState.height);
    sceneState.current = scene;
    sceneState.previous = 0;
    t.step = t.length;
    t.direction = -1;
}

int32_t WinMain(platform::Instance* instance, platform::Instance* previous, const char* commandLine,
                int32_t showCommand) {
    (void)previous;
    if (!startUp(instance, commandLine, showCommand)) return 0;
    return runLoop();
}
