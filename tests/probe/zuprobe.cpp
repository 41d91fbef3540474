// zuprobe: the SDL backend alone, showing a known frame and printing every message it gets,
// one a line ("WM_MOUSEMOVE x y", "WM_KEYDOWN 0x1b" ...). Escape or closing the window ends it.
// "zuprobe screen W H" sets up the drawing core in a window at W x H instead and shows the same
// frame at that size through zuDraw::Present. The D key closes the open audio device behind the
// program's back and reports it gone, as SDL does for an unplugged device. "zuprobe midi FILE"
// also plays the MIDI file through the sequencer with its end notified to the window.
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "draw/zu_draw.h"
#include "platform/audio/midi_sequencer.h"
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/video/surface.h"
#include "platform/win32.h"
#include "platform/os/window.h"
#include "system/zu_system.h"

namespace {

#define NAMED(message) std::pair<uint32_t, const char*>(message, #message)
constexpr std::pair<uint32_t, const char*> names[] = {
    NAMED(WM_MOVE), NAMED(WM_CLOSE), NAMED(WM_DESTROY), NAMED(WM_ACTIVATEAPP), NAMED(WM_SETCURSOR),
    NAMED(WM_KEYDOWN), NAMED(WM_KEYUP), NAMED(WM_SYSKEYDOWN), NAMED(WM_SYSKEYUP), NAMED(WM_MOUSEMOVE),
    NAMED(WM_LBUTTONDOWN), NAMED(WM_LBUTTONUP), NAMED(WM_LBUTTONDBLCLK), NAMED(WM_RBUTTONDOWN),
    NAMED(WM_RBUTTONUP), NAMED(WM_RBUTTONDBLCLK), NAMED(MM_MCINOTIFY),
};

intptr_t probeProc(platform::Window* w, uint32_t m, uintptr_t wp, intptr_t lp) {
    const char* name = nullptr;
    for (const auto& [id, text] : names)
        if (id == m) name = text;
    if (!name)
        std::printf("0x%04x %#lx %#lx\n", m, (unsigned long)wp, (unsigned long)lp);
    else if ((m >= WM_MOUSEMOVE && m <= WM_RBUTTONDBLCLK) || m == WM_MOVE)
        std::printf("%s %d %d\n", name, LOWORD(lp), HIWORD(lp));
    else if (m >= WM_KEYDOWN && m <= WM_SYSKEYUP)
        std::printf("%s 0x%02lx\n", name, (unsigned long)wp);
    else
        std::printf("%s %lu\n", name, (unsigned long)wp);
    std::fflush(stdout);
    switch (m) {
    case WM_DESTROY: platform::postQuitMessage(0); return 0;
    case WM_KEYDOWN:
        if (wp == uintptr_t(VK_ESCAPE)) platform::postMessage(w, WM_CLOSE, 0, 0);
        for (SDL_AudioDeviceID id = 1; wp == 'D' && id < 64; ++id) {
            if (SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_PLAYING) continue;
            SDL_CloseAudioDevice(id);
            SDL_Event e{};
            e.type = SDL_AUDIODEVICEREMOVED;
            e.adevice.which = id;
            SDL_PushEvent(&e);
            std::printf("audio device %u pulled\n", unsigned(id));
            std::fflush(stdout);
        }
        return 0;
    case WM_SETCURSOR: platform::setCursor(false); return 1;
    default: return platform::defWindowProc(w, m, wp, lp);
    }
}

// A white picture with a one-pixel red frame: the bars around it stay black.
void drawTestFrame(platform::Surface& back) {
    const int32_t w = back.width, h = back.height;
    platform::fill(back, {0, 0, w, h}, platform::pixelFromColor(back.format, RGB(255, 0, 0)));
    platform::fill(back, {1, 1, w - 1, h - 1}, platform::pixelFromColor(back.format, RGB(255, 255, 255)));
}

}  // namespace

int main(int argc, char** argv) {
    const bool screen = argc == 4 && std::strcmp(argv[1], "screen") == 0;
    const bool midi = argc == 3 && std::strcmp(argv[1], "midi") == 0;
    if (!platform::useSdl()) return 1;
    platform::Window* w = platform::createWindow({.className = "PROBE", .title = "zuprobe", .proc = probeProc});
    if (!w) return 1;
    if (screen) {
        zuSystem::systemState.window = w;
        zuSystem::systemState.fullScreen = 0;
        if (zuDraw::Screen(std::atoi(argv[2]), std::atoi(argv[3]), 1) != 1) return 1;
        const zuDraw::ScreenState& s = zuDraw::screenState;
        std::printf("screen primary %dx%d back %dx%d\n", s.primary->width, s.primary->height, s.back->width,
                    s.back->height);
        drawTestFrame(*s.back);
    }
    platform::Surface frame{.width = 640, .height = 480, .pitch = 1280, .memory = std::vector<uint8_t>(1280 * 480)};
    drawTestFrame(frame);
    auto show = [&] {
        if (screen) zuDraw::Present();
        else platform::backend().showFrame(frame);
    };
    show();
    if (midi) {
        const std::string open = std::string("open \"") + argv[2] + "\" type sequencer alias midi";
        const uint32_t opened = platform::midi::sendCommand(open.c_str());  // before the play, in order
        std::printf("midi open %u play %u\n", unsigned(opened), unsigned(platform::midi::sendCommand("play midi notify", nullptr, 0, w)));
    }
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        platform::Message m;
        if (platform::peekMessage(m)) {
            if (m.message == WM_QUIT) return int(m.wParam);
            platform::dispatchMessage(m);
            continue;
        }
        platform::waitMessage();
        show();
    }
}
