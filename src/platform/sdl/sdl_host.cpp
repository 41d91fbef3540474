// The X11 side of sdl_host.h, through the handles SDL gives out. Xlib's names (Window, Status)
// clash with the platform's, so this file includes no other platform header.
#include "platform/sdl/sdl_host.h"

#include <SDL2/SDL_syswm.h>

namespace platform {
namespace {

struct X11Handles {
    Display* display = nullptr;
    ::Window window = 0;
};

bool x11Handles(SDL_Window* w, X11Handles& out) {
    if (!w) return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    out = X11Handles{info.info.x11.display, info.info.x11.window};
    return out.display && out.window;
}

}  // namespace

bool hostWindowArea(SDL_Window* w, Rect& out) {
    X11Handles x;
    if (!x11Handles(w, x)) return false;
    XWindowAttributes a;
    if (!XGetWindowAttributes(x.display, x.window, &a)) return false;
    int left = 0, top = 0;
    ::Window child = 0;
    if (!XTranslateCoordinates(x.display, x.window, a.root, 0, 0, &left, &top, &child)) return false;
    out = Rect{left, top, left + a.width, top + a.height};
    return true;
}

// A window manager is the one client that redirects the root window's substructure.
bool hostHasWindowManager(SDL_Window* w) {
    X11Handles x;
    if (!x11Handles(w, x)) return true;
    XWindowAttributes root;
    if (!XGetWindowAttributes(x.display, DefaultRootWindow(x.display), &root)) return true;
    return (root.all_event_masks & SubstructureRedirectMask) != 0;
}

void hostPlaceWindow(SDL_Window* w, const Rect& area) {
    X11Handles x;
    if (!x11Handles(w, x) || area.empty()) return;
    XMoveResizeWindow(x.display, x.window, area.left, area.top, unsigned(area.width()), unsigned(area.height()));
    XSync(x.display, False);
}

}  // namespace platform
