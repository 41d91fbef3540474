// zuprobe: the SDL backend alone, showing a known frame and printing every message it gets,
// one a line ("WM_MOUSEMOVE x y", "WM_KEYDOWN 0x1b" ...). Escape or closing the window ends it.
#include <cstdio>
#include <utility>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/video/surface.h"
#include "platform/win32.h"
#include "platform/os/window.h"

namespace {

#define NAMED(message) std::pair<uint32_t, const char*>(message, #message)
constexpr std::pair<uint32_t, const char*> names[] = {
    NAMED(WM_MOVE), NAMED(WM_CLOSE), NAMED(WM_DESTROY), NAMED(WM_ACTIVATEAPP), NAMED(WM_SETCURSOR),
    NAMED(WM_KEYDOWN), NAMED(WM_KEYUP), NAMED(WM_SYSKEYDOWN), NAMED(WM_SYSKEYUP), NAMED(WM_MOUSEMOVE),
    NAMED(WM_LBUTTONDOWN), NAMED(WM_LBUTTONUP), NAMED(WM_LBUTTONDBLCLK), NAMED(WM_RBUTTONDOWN),
    NAMED(WM_RBUTTONUP), NAMED(WM_RBUTTONDBLCLK),
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
        return 0;
    case WM_SETCURSOR: platform::setCursor(false); return 1;
    default: return platform::defWindowProc(w, m, wp, lp);
    }
}

}  // namespace

int main() {
    if (!platform::useSdl()) return 1;
    platform::Window* w = platform::createWindow({.className = "PROBE", .title = "zuprobe", .proc = probeProc});
    if (!w) return 1;
    // A white picture with a one-pixel red frame, in RGB565: the bars around it stay black.
    platform::Surface frame;
    frame.width = 640, frame.height = 480, frame.pitch = 1280;
    frame.memory.resize(size_t(frame.pitch) * frame.height);
    auto* px = reinterpret_cast<uint16_t*>(frame.memory.data());
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) px[y * 640 + x] = (x == 0 || y == 0 || x == 639 || y == 479) ? 0xF800 : 0xFFFF;
    platform::backend().showFrame(frame);
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
        platform::backend().showFrame(frame);
    }
}
