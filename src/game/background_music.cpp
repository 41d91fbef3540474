// Loads "MOD\BGM.XM" beside the program, first as a stream, then as a looping module, and plays
// it unless it is 8-bit or mono; each failure shows its box and the game goes on silently.
#include "game/background_music.h"

#include <cstdio>

#include "game/board.h"
#include "platform/os/message_box.h"
#include "platform/audio/music.h"
#include "platform/win32.h"
#include "system/zu_system.h"

namespace {

namespace music = platform::music;

constexpr uint32_t moduleFlags = music::kLoop | music::kRamping;
static_assert(moduleFlags == 5);

void showError(const char* text) { platform::messageBox(zuSystem::systemState.window, text, "エラー", MB_OK); }

void freeMusic(uint32_t handle) {
    music::freeModule(handle);
    music::freeStream(handle);
}

uint32_t loadMusic() {
    char path[256];
    // A folder too long for the buffer would name a cut-off path: count it as unplayable.
    int length = std::snprintf(path, sizeof path, "%sMOD\\BGM.XM", zuSystem::ModuleDir(0));
    if (length < 0 || length >= int(sizeof path)) return 0;
    uint32_t handle = music::openStream(path, 0);
    return handle ? handle : music::loadModule(path, moduleFlags);
}

}  // namespace

void startBackgroundMusic() {
    freeMusic(gameAssets.music);
    gameAssets.music = loadMusic();
    if (!gameAssets.music) {
        showError("Can't play the file");
        return;
    }
    if (music::channelFlags(gameAssets.music) & (music::kEightBitSource | music::kMonoSource)) {
        freeMusic(gameAssets.music);
        gameAssets.music = 0;
        showError("16-bit stereo sources only");
        return;
    }
    music::play(gameAssets.music);
}
