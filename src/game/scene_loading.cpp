// The loading scene: one frame that starts the music output and loads every picture and sound.
#include "draw/zu_draw.h"
#include "game/board.h"
#include "game/game.h"
#include "platform/os/message_box.h"
#include "platform/audio/music.h"
#include "platform/win32.h"
#include "sound/zu_sound.h"
#include "system/zu_system.h"

namespace {

// First with the output at exactly 44100 Hz, then accepting any output rate (resampled).
constexpr uint32_t exactRateFlags = platform::music::kInitSixteenBits | platform::music::kInitExactRate;
constexpr uint32_t anyRateFlags = platform::music::kInitSixteenBits;
static_assert(exactRateFlags == 80 && anyRateFlags == 16);

bool startMusicOutput() {
    platform::Window* window = zuSystem::systemState.window;
    if (!platform::music::init(-1, 44100, exactRateFlags, window) &&
        !platform::music::init(-1, 44100, anyRateFlags, window))
        return false;
    platform::music::start();
    return true;
}

void loadAssets() {
    GameAssets& a = gameAssets;
    a.rgb = zuDraw::LoadObject("BMP\\RGB.BMP", 2);
    a.background = zuDraw::LoadObject("BMP\\BG.BMP", 2);
    a.mouse = zuDraw::LoadObject("BMP\\MOUSE.BMP", 2);
    a.title = zuDraw::LoadObject("BMP\\TITLE.BMP", 2);
    a.click = zuDraw::LoadObject("BMP\\CLICK.BMP", 2);
    a.stageLabel = zuDraw::LoadObject("BMP\\STAGE.BMP", 2);
    a.theEnd = zuDraw::LoadObject("BMP\\THEEND.BMP", 2);
    a.catchSound = zuSound::LoadObject("SOUND\\CATCH.WAV", 1);
    a.fillSound = zuSound::LoadObject("SOUND\\FILL.WAV", 1);
    a.winSound = zuSound::LoadObject("SOUND\\WIN.WAV", 1);
}

}  // namespace

void sceneLoading() {
    zuDraw::ClearScreen();
    zuSystem::PrintText(292, 235, "NOW LOADING", RGB(255, 255, 255), 10);
    zuDraw::Present();
    if (!startMusicOutput()) {
        platform::messageBox(zuSystem::systemState.window, "Can't initialize device", "エラー", MB_OK);
        zuSystem::Quit();
        return;
    }
    loadAssets();
    sceneState.current = 2;
    sceneState.previous = 0;
}
