// What the window system itself says about the window, beyond the sizes SDL keeps: its real
// place on the screen and whether a window manager runs. On X11 only; elsewhere the callers
// take SDL's word.
#pragma once
#include <SDL2/SDL.h>

#include "platform/types.h"

namespace platform {

// The window's client area in screen coordinates as the X server has it; false off X11.
bool hostWindowArea(SDL_Window*, Rect& out);

// False only on X11 when no client manages the screen's top-level windows.
bool hostHasWindowManager(SDL_Window*);

// Moves and sizes the window in one request and waits until the server has done it: the work
// a window manager would do. Only for when none runs.
void hostPlaceWindow(SDL_Window*, const Rect& area);

}  // namespace platform
