// What every screen shares: the data loaded at start and the small text and grid helpers.
#include <cstdarg>
#include <cstdio>

#include <zu/draw/zu_draw.h>
#include <zu/sound/zu_sound.h>
#include <zu/system/zu_system.h>

#include "show.h"

namespace show {

Data data;

void loadData() {
    zuDraw::SetLoadColorKey(RGB(0, 0, 0));
    data.sprite = zuDraw::LoadObject("ZUSHOW\\SPRITE.BMP", 0);
    data.backdrop = zuDraw::LoadObject("ZUSHOW\\BACK.BMP", 0);
    zuDraw::SetCoverPattern("ZUSHOW\\COVER.BMP");  // transition kind 0
    zuDraw::SetPackFile("ZUSHOW\\PICS.PAK");
    const char* wheels[] = {"WHEEL1.BMP", "WHEEL2.BMP", "WHEEL3.BMP", "WHEEL4.BMP"};
    for (int32_t i = 0; i < 4; ++i) data.packPictures[i] = zuDraw::LoadPack(wheels[i], 0);
    zuSound::SetPackFile("ZUSHOW\\SOUNDS.PAK");
    const char* sounds[] = {"pluck.wav", "chime.wav", "tone.wav"};
    for (int32_t i = 0; i < 3; ++i) data.sounds[i] = zuSound::LoadPack(sounds[i], 4);
    data.loopStream = zuSound::LoadStream("music.wav", 0);
    data.oneShot = zuSound::LoadStream("oneshot.wav", 0);
}

void drawBackdrop() {
    if (data.backdrop) zuDraw::BlitOpaque(0, 0, data.backdrop, 0, 0, 640, 480);
    else zuDraw::FillRect(0, 0, 640, 480, int32_t(zuDraw::pixelFormat.halfMask));
}

void label(int32_t x, int32_t y, const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    zuSystem::PrintText(x + 1, y + 1, text, RGB(0, 0, 0), 12);
    zuSystem::PrintText(x, y, text, RGB(255, 255, 255), 12);
}

std::vector<Screen> allScreens() {
    std::vector<Screen> all;
    auto add = [&](const Screen* rows, int32_t count) { all.insert(all.end(), rows, rows + count); };
    add(spriteScreens, spriteScreenCount);
    add(warpScreens, warpScreenCount);
    add(regionScreens, regionScreenCount);
    add(presentScreens, presentScreenCount);
    add(textScreens, textScreenCount);
    add(soundScreens, soundScreenCount);
    add(musicScreens, musicScreenCount);
    add(joystickScreens, joystickScreenCount);
    return all;
}

Cell cell(int32_t index) { return {16 + index % 3 * 208, 40 + index / 3 * 200}; }

}  // namespace show
