// Message boxes under SDL: the platform's own box (message_box_view.h), drawn over the picture
// in the program's window, or in a small window of its own while there is none. It is modal:
// until it closes only the box answers keys and clicks; releases still reach the program.
#include <algorithm>
#include <cstdio>

#include "platform/os/input_events.h"
#include "platform/os/window.h"
#include "platform/sdl/message_box_view.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/win32.h"

namespace platform {

struct SdlBackend::BoxScreen {
    SDL_Window* window = nullptr;  // where the box shows
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    bool own = false;  // a window of the box's own, the box's size

    bool upload(const Surface& picture) {
        if (!texture) {
            texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, picture.width,
                                        picture.height);
            if (!texture) return false;
            SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
        }
        return SDL_UpdateTexture(texture, nullptr, picture.memory.data(), picture.pitch) == 0;
    }
    void close() {
        if (texture) SDL_DestroyTexture(texture);
        if (own && renderer) SDL_DestroyRenderer(renderer);
        if (own && window) SDL_DestroyWindow(window);
    }
};

SDL_Rect SdlBackend::boxPlace() const {
    int w = 0, h = 0;
    if (boxTexture) SDL_QueryTexture(boxTexture, nullptr, nullptr, &w, &h);
    Size d = geometry().drawable;
    return SDL_Rect{std::max(0, (d.cx - w) / 2), std::max(0, (d.cy - h) / 2), w, h};
}

int32_t SdlBackend::messageBox(const char* textUtf8, const char* captionUtf8, uint32_t type) {
    std::fprintf(stderr, "messagebox: %s: %s\n", captionUtf8, textUtf8);
    int32_t fallback = (type & 0xF) == MB_YESNO ? IDYES : IDOK;
    BoxScreen screen;
    int32_t scale = 1, room = 1 << 20;
    if (window) {
        Geometry g = geometry();
        scale = g.area.width() > 0 ? std::max(1, g.drawable.cx / g.area.width()) : 1;
        room = g.drawable.cx;
        screen = BoxScreen{window, renderer, nullptr, false};
    }
    MessageBoxView view(textUtf8, captionUtf8, type, scale, room);
    if (!view.drawn()) return fallback;
    if (!window) {
        screen.own = true;
        screen.window = SDL_CreateWindow(captionUtf8, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                         view.picture().width, view.picture().height, SDL_WINDOW_ALWAYS_ON_TOP);
        screen.renderer = screen.window ? SDL_CreateRenderer(screen.window, -1, 0) : nullptr;
    }
    int32_t answer = fallback;
    if (screen.renderer && screen.upload(view.picture())) {
        answer = runMessageBox(view, screen);
    } else {
        std::fprintf(stderr, "sdl: cannot show the message box: %s\n", SDL_GetError());
    }
    boxTexture = nullptr;
    screen.close();
    if (window) {
        applyCursor();
        clipCursor(clipOn ? &clip : nullptr);
        render();
    }
    std::fprintf(stderr, "sdl: message box answered %d\n", answer);
    return answer;
}

int32_t SdlBackend::runMessageBox(MessageBoxView& view, BoxScreen& screen) {
    auto show = [&] {
        if (!screen.own) {
            boxTexture = screen.texture;
            render();
            return;
        }
        SDL_RenderClear(screen.renderer);
        SDL_RenderCopy(screen.renderer, screen.texture, nullptr, nullptr);
        SDL_RenderPresent(screen.renderer);
    };
    // Window points to the box's pixels.
    auto toBox = [&](int32_t x, int32_t y) {
        if (screen.own) return Point{x, y};
        Point d = windowToDrawable(x, y);
        SDL_Rect place = boxPlace();
        return Point{d.x - place.x, d.y - place.y};
    };
    // The pointer is free and shown while the box is open.
    if (window) SDL_SetWindowMouseRect(window, nullptr);
    SDL_ShowCursor(SDL_ENABLE);
    SDL_RaiseWindow(screen.window);
    SDL_SetWindowInputFocus(screen.window);
    show();

    uint32_t boxWindowId = SDL_GetWindowID(screen.window);
    int32_t pressedOn = 0;
    for (;;) {
        SDL_Event e;
        if (!SDL_WaitEventTimeout(&e, 100)) continue;
        int32_t answer = 0;
        switch (e.type) {
        case SDL_KEYDOWN:
            answer = view.key(virtualKeyOf(e.key.keysym.sym));
            if (!answer && screen.upload(view.picture())) show();  // the focus may have moved
            break;
        case SDL_KEYUP: handle(e); break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) pressedOn = view.buttonAt(toBox(e.button.x, e.button.y));
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT && pressedOn && view.buttonAt(toBox(e.button.x, e.button.y)) == pressedOn)
                answer = pressedOn;
            pressedOn = 0;
            if (!screen.own) handle(e);
            break;
        case SDL_MOUSEMOTION: if (!screen.own) handle(e); break;
        case SDL_QUIT: handle(e); answer = view.key(VK_ESCAPE); break;
        case SDL_WINDOWEVENT:
            if (e.window.windowID == boxWindowId && e.window.event == SDL_WINDOWEVENT_CLOSE)
                answer = view.key(VK_ESCAPE);  // closing the window answers as Escape does
            if (e.window.windowID == boxWindowId && e.window.event == SDL_WINDOWEVENT_EXPOSED) show();
            if (!screen.own) handleWindowEvent(e.window);
            break;
        default: break;
        }
        if (answer) return answer;
    }
}

}  // namespace platform
