// SDL2 presentation: the window (full-desktop or a whole multiple of the picture), the renderer
// with vsync or paced to the refresh rate, the sharp scaling between bars, and F12 screenshots.
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "platform/text/fonts.h"
#include "platform/video/image_write.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/win32.h"
#include "platform/os/window.h"

namespace platform {
namespace {

uint32_t textureFormatOf(Format f) {
    switch (f) {
    case Format::rgb565: return SDL_PIXELFORMAT_RGB565;
    case Format::rgb555: return SDL_PIXELFORMAT_RGB555;
    case Format::xrgb8888: return SDL_PIXELFORMAT_RGB888;
    }
    return SDL_PIXELFORMAT_RGB565;
}

Size windowedSize(SDL_Window* w) {
    SDL_Rect usable{0, 0, 640, 480};
    SDL_GetDisplayUsableBounds(w ? SDL_GetWindowDisplayIndex(w) : 0, &usable);
    return largestWholeWindow(Size{usable.w, usable.h});
}

}  // namespace

bool SdlBackend::openWindow(const char* titleUtf8, bool) {
    fullDesktop = !rememberedWindowed();
    // Placed over the whole desktop from the start: without a window manager nothing moves it.
    SDL_Rect area{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 0, 0};
    Size size = windowedSize(nullptr);
    if (fullDesktop && SDL_GetDisplayBounds(0, &area) == 0) size = Size{area.w, area.h};
    uint32_t flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE |
                     (fullDesktop ? SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS : 0);
    window = SDL_CreateWindow(titleUtf8, area.x, area.y, size.cx, size.cy, flags);
    if (!window || !createRenderer()) {
        std::fprintf(stderr, "sdl: cannot open the window: %s\n", SDL_GetError());
        closeWindow();
        return false;
    }
    SDL_RaiseWindow(window);
    focused = true;  // shown in front, as a new top-level window is
    postMessage(currentWindow(), WM_ACTIVATEAPP, 1, 0);
    render();
    return true;
}

bool SdlBackend::createRenderer() {
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer) return false;
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    vsync = info.flags & SDL_RENDERER_PRESENTVSYNC;
    SDL_DisplayMode mode{};
    int hz = SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window), &mode) == 0 ? mode.refresh_rate : 0;
    refreshMs = uint32_t(1000 / (hz > 0 ? hz : 60));
    std::fprintf(stderr, "sdl: renderer %s, vsync %s, refresh %d Hz%s, %s\n", info.name,
                 vsync ? "on" : "off", hz, hz > 0 ? "" : " (unknown, pacing at 60)",
                 fullDesktop ? "full-desktop" : "windowed");
    std::fprintf(stderr, "sdl: fonts %s\n", standardFaceReport().c_str());
    return true;
}

void SdlBackend::closeWindow() {
    if (enlargeTexture) SDL_DestroyTexture(enlargeTexture);
    if (frameTexture) SDL_DestroyTexture(frameTexture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    enlargeTexture = frameTexture = nullptr;
    renderer = nullptr;
    window = nullptr;
    enlargeScale = 0;
}

void SdlBackend::raiseWindow() {
    if (!window) return;
    SDL_RestoreWindow(window);
    SDL_RaiseWindow(window);
}

void SdlBackend::minimizeWindow() {
    if (window) SDL_MinimizeWindow(window);
}

void SdlBackend::setFullDesktop(bool on) {
    fullDesktop = on;
    if (on) {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowBordered(window, SDL_TRUE);
        Size size = windowedSize(window);
        SDL_SetWindowSize(window, size.cx, size.cy);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    clipCursor(clipOn ? &clip : nullptr);
    render();
}

void SdlBackend::toggleFullDesktop() {
    if (!window) return;
    setFullDesktop(!fullDesktop);
    rememberWindowed(!fullDesktop);
}

Viewport SdlBackend::viewport() const {
    int w = 0, h = 0;
    if (renderer) SDL_GetRendererOutputSize(renderer, &w, &h);
    Size picture = haveFrame ? Size{lastFrame.width, lastFrame.height} : Size{640, 480};
    return fitPicture(Size{w, h}, picture);
}

// Window coordinates (points) and drawable pixels differ on high-density screens.
Point SdlBackend::windowToDrawable(int32_t x, int32_t y) const {
    int ww = 1, wh = 1, dw = 1, dh = 1;
    SDL_GetWindowSize(window, &ww, &wh);
    SDL_GetRendererOutputSize(renderer, &dw, &dh);
    return Point{ww > 0 ? x * dw / ww : x, wh > 0 ? y * dh / wh : y};
}

Point SdlBackend::drawableToWindow(Point p) const {
    int ww = 1, wh = 1, dw = 1, dh = 1;
    SDL_GetWindowSize(window, &ww, &wh);
    SDL_GetRendererOutputSize(renderer, &dw, &dh);
    return Point{dw > 0 ? p.x * ww / dw : p.x, dh > 0 ? p.y * wh / dh : p.y};
}

bool SdlBackend::uploadFrame(const Surface& frame) {
    uint32_t format = textureFormatOf(frame.format);
    uint32_t have = 0;
    int w = 0, h = 0;
    if (frameTexture) SDL_QueryTexture(frameTexture, &have, nullptr, &w, &h);
    if (!frameTexture || have != format || w != frame.width || h != frame.height) {
        if (frameTexture) SDL_DestroyTexture(frameTexture);
        frameTexture = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, frame.width, frame.height);
        if (!frameTexture) return false;
        SDL_SetTextureScaleMode(frameTexture, SDL_ScaleModeNearest);
    }
    return SDL_UpdateTexture(frameTexture, nullptr, frame.memory.data(), frame.pitch) == 0;
}

// Whole scales go straight on, nearest-neighbour. Otherwise the picture is first enlarged
// nearest-neighbour to the next whole multiple, then smoothed down, so pixels keep even sizes.
void SdlBackend::render() {
    if (!renderer) return;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    if (frameTexture) {
        Viewport v = viewport();
        SDL_Rect dest{v.placed.left, v.placed.top, v.placed.width(), v.placed.height()};
        SDL_Texture* source = frameTexture;
        if (!v.wholeScale && v.enlarge > 1) {
            if (enlargeScale != v.enlarge) {
                if (enlargeTexture) SDL_DestroyTexture(enlargeTexture);
                enlargeTexture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                                   v.picture.cx * v.enlarge, v.picture.cy * v.enlarge);
                enlargeScale = enlargeTexture ? v.enlarge : 0;
                if (enlargeTexture) SDL_SetTextureScaleMode(enlargeTexture, SDL_ScaleModeLinear);
            }
            if (enlargeTexture && SDL_SetRenderTarget(renderer, enlargeTexture) == 0) {
                SDL_RenderCopy(renderer, frameTexture, nullptr, nullptr);
                SDL_SetRenderTarget(renderer, nullptr);
                source = enlargeTexture;
            }
        }
        SDL_RenderCopy(renderer, source, nullptr, &dest);
    }
    SDL_RenderPresent(renderer);
}

void SdlBackend::paceToRefresh() {
    uint32_t now = ticks();
    if (int32_t(nextRefresh - now) > 0) sleepUntil(nextRefresh);
    nextRefresh = int32_t(nextRefresh + refreshMs - now) > 0 ? nextRefresh + refreshMs : now + refreshMs;
    pacedSinceShow = true;
}

bool SdlBackend::waitForVerticalBlank() {
    if (!vsync) paceToRefresh();
    return true;
}

void SdlBackend::showFrame(const Surface& primary) {
    lastFrame = primary;
    haveFrame = true;
    if (!renderer || !uploadFrame(primary)) return;
    if (!vsync && !pacedSinceShow) paceToRefresh();
    pacedSinceShow = false;
    uint32_t before = ticks();
    render();
    noticeVsyncThatDoesNotWait(ticks() - before);
}

// Some drivers (a virtual X server, for one) grant vsync and then present at once; after a run
// of instant presents the frames are paced by the clock instead, so the loop never spins.
void SdlBackend::noticeVsyncThatDoesNotWait(uint32_t presentMs) {
    if (!vsync) return;
    instantPresents = presentMs * 4 < refreshMs ? instantPresents + 1 : 0;
    if (instantPresents < 30) return;
    vsync = false;
    std::fprintf(stderr, "sdl: vsync does not wait here; pacing to the refresh rate\n");
}

void SdlBackend::writeScreenshot() {
    if (!haveFrame) return;
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
    std::string folder = picturesDirectory();
    std::string path = folder + "/tessora-" + stamp + ".png";
    for (int n = 2; std::filesystem::exists(path); ++n)
        path = folder + "/tessora-" + stamp + "-" + std::to_string(n) + ".png";
    if (writePng(path, lastFrame)) std::fprintf(stderr, "sdl: screenshot %s\n", path.c_str());
    else std::fprintf(stderr, "sdl: cannot write the screenshot %s\n", path.c_str());
}

// The clip holds only while the window covers the desktop and has the focus.
void SdlBackend::clipCursor(const Rect* r) {
    clipOn = r != nullptr;
    if (r) clip = *r;
    if (!window) return;
    if (!clipOn || !fullDesktop || !focused) {
        SDL_SetWindowMouseRect(window, nullptr);
        return;
    }
    Viewport v = viewport();
    Point a = drawableToWindow(fromPicture(v, Point{clip.left, clip.top}));
    Point b = drawableToWindow(fromPicture(v, Point{clip.right - 1, clip.bottom - 1}));
    SDL_Rect area{a.x, a.y, std::max(1, b.x - a.x + 1), std::max(1, b.y - a.y + 1)};
    SDL_SetWindowMouseRect(window, &area);
}

Point SdlBackend::cursorPos() {
    if (!window) return {};
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(window, &wx, &wy);
    return toPicture(viewport(), windowToDrawable(gx - wx, gy - wy));
}

void SdlBackend::setCursorPos(int32_t x, int32_t y) {
    if (!window) return;
    Point p = drawableToWindow(fromPicture(viewport(), Point{x, y}));
    SDL_WarpMouseInWindow(window, p.x, p.y);
}

}  // namespace platform
