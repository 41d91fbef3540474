// zushow: a showcase of the framework, one feature per screen, written on its public headers
// alone. Right or Space next, Left back, Home first, 1-8 a family, H help, F fps, Escape quits.
#include <cstring>
#include <vector>

#include <zu/draw/zu_draw.h>
#include <zu/sound/zu_sound.h>
#include <zu/system/zu_main.h>
#include <zu/system/zu_system.h>

#include "show.h"

namespace {

const char* const commonKeys = "Right/Space next  Left back  Home first  1-8 family  H help  F fps  Esc quit";

struct Show {
    std::vector<show::Screen> screens = show::allScreens();
    int32_t current = 0;
    int32_t frames = 0;
    bool help = false;
    bool fps = false;
    int32_t lastViewKey = 0;
};

void go(Show& s, int32_t index) {
    if (index < 0 || index >= int32_t(s.screens.size()) || index == s.current) return;
    if (s.screens[s.current].leave) s.screens[s.current].leave();
    s.current = index;
    s.frames = 0;
    if (s.screens[index].enter) s.screens[index].enter();
}

// The key pressed since the last frame: KeyDown keeps it in lastKey, or in viewKey while the
// scroll view owns the arrows (there only its edge counts).
int32_t takeKey(Show& s) {
    zuSystem::InputState& in = zuSystem::inputState;
    int32_t key = in.lastKey;
    in.lastKey = 0;
    if (zuDraw::scrollView.visible) {
        key = in.viewKey != s.lastViewKey ? in.viewKey : 0;
        s.lastViewKey = in.viewKey;
        if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) key = 0;  // they scroll
    }
    return key;
}

// The common keys; any other is handed to the screen.
int32_t handleKey(Show& s, int32_t key) {
    const int32_t count = int32_t(s.screens.size());
    if (key == VK_RIGHT || key == VK_SPACE) go(s, (s.current + 1) % count);
    else if (key == VK_LEFT) go(s, (s.current + count - 1) % count);
    else if (key == VK_HOME) go(s, 0);
    else if (key >= '1' && key <= '8') {
        for (int32_t i = 0; i < count; ++i)
            if (s.screens[i].family == key - '0') {
                go(s, i);
                break;
            }
    } else if (key == 'H') s.help = !s.help;
    else if (key == 'F') s.fps = !s.fps;
    else return key;
    return 0;
}

void drawFrame(Show& s, int32_t key) {
    const show::Screen& screen = s.screens[s.current];
    screen.draw({s.frames, key});
    zuDraw::ScreenState& clip = zuDraw::screenState;  // a wipe may have narrowed it
    const int32_t saved[4] = {clip.clipLeft, clip.clipTop, clip.clipRight, clip.clipBottom};
    zuDraw::SetClip(0, 0, 640, 480);
    zuSystem::PrintText(8, 6, screen.caption, RGB(255, 255, 160), 14);
    show::label(560, 6, "%d/%d", s.current + 1, int32_t(s.screens.size()));
    if (screen.keys[0]) show::label(8, 446, "%s", screen.keys);
    show::label(8, 462, "%s", commonKeys);
    if (s.help) {
        zuDraw::HalfRect(120, 140, 520, 330, 0);
        const char* lines[] = {"Right or Space: next screen",  "Left: previous screen", "Home: first screen",
                               "1 sprites  2 rotation  3 regions", "4 transitions  5 text  6 packs", "7 MIDI  8 joystick",
                               "H: this help   F: frame-rate line", "Escape: quit"};
        for (int32_t i = 0; i < 8; ++i) zuSystem::PrintText(140, 150 + i * 22, lines[i], RGB(255, 255, 255), 16);
    }
    if (s.fps) zuDraw::DrawFps();
    zuDraw::SetClip(saved[0], saved[1], saved[2], saved[3]);
}

}  // namespace

int32_t WinMain(platform::Instance* instance, platform::Instance*, const char* commandLine, int32_t showCommand) {
    using namespace zuSystem;
    std::strcpy(systemState.title, "zushow");  // its own title: it runs beside the game
    if (!CheckInstance(systemState.title)) return 0;
    SetCommandLine(commandLine);
    RegisterWindowClass(instance);
    if (!CreateMainWindow(instance, showCommand)) return 1;
    systemState.instance = instance;
    zuDraw::SetColorDepth(16, 0, 0);  // the effects draw on a 16-bit screen
    zuDraw::Screen(640, 480, 1);
    if (QuitOnError()) return 1;
    show::loadData();

    Show s;
    if (s.screens[0].enter) s.screens[0].enter();
    ResetClock();
    while (PumpMessages()) {
        UpdateClock();
        zuSound::Streaming();
        const int32_t key = handleKey(s, takeKey(s));
        drawFrame(s, key);
        zuDraw::Present();
        ++s.frames;
    }
    return 0;
}
