// SDL2 presentation: the window (full-desktop or a whole multiple of the picture), the renderer
// with vsync or paced to the refresh rate, the sharp scaling between bars, and F12 screenshots.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "platform/text/fonts.h"
#include "platform/video/bmp.h"
#include "platform/video/image_write.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_host.h"
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

Size windowedSize(SDL_Window* w, Size picture) {
    SDL_Rect usable{0, 0, picture.cx, picture.cy};
    SDL_GetDisplayUsableBounds(w ? SDL_GetWindowDisplayIndex(w) : 0, &usable);
    return largestWholeWindow(Size{usable.w, usable.h}, picture);
}

}  // namespace

bool SdlBackend::openWindow(const char* titleUtf8, bool) {
    fullDesktop = !rememberedWindowed();
    // Placed over the whole desktop from the start: without a window manager nothing moves it.
    SDL_Rect area{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 0, 0};
    Size size = windowedSize(nullptr, picture);
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

// A picture without alpha is taken as wholly opaque.
void SdlBackend::setWindowIcon(std::span<const uint8_t> bmpFile) {
    Image icon;
    if (!window || !decodeBmp(bmpFile, icon)) return;
    if (std::all_of(icon.xrgb.begin(), icon.xrgb.end(), [](uint32_t p) { return (p >> 24) == 0; }))
        for (uint32_t& p : icon.xrgb) p |= 0xFF000000u;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(icon.xrgb.data(), icon.width, icon.height, 32,
                                                        icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return;
    SDL_SetWindowIcon(window, s);
    SDL_FreeSurface(s);
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
        sizeWindowForPicture();
    }
    followWindow();
}

void SdlBackend::sizeWindowForPicture() {
    Size size = windowedSize(window, picture);
    SDL_SetWindowSize(window, size.cx, size.cy);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

// A window keeps the largest whole multiple of the new picture; full desktop only lays it out
// again. The enlarged copy is made afresh for the new size.
void SdlBackend::setPictureSize(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || (picture.cx == width && picture.cy == height)) return;
    picture = Size{width, height};
    if (enlargeTexture) SDL_DestroyTexture(enlargeTexture);
    enlargeTexture = nullptr;
    enlargeScale = 0;
    if (!window) return;
    if (!fullDesktop) sizeWindowForPicture();
    followWindow();
}

// Without a window manager nobody carries out a full-desktop request, and SDL takes the
// display's size as granted: the window is placed over the display here. With one, whatever
// it grants is followed. Either way the layout comes from the window's real size.
void SdlBackend::followWindow() {
    if (!window) return;
    SDL_Rect b;
    if (fullDesktop && !hostHasWindowManager(window) &&
        SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &b) == 0) {
        Rect want{b.x, b.y, b.x + b.w, b.y + b.h}, have = geometry().area;
        if (have.left != want.left || have.top != want.top || have.right != want.right || have.bottom != want.bottom)
            hostPlaceWindow(window, want);
    }
    clipCursor(clipOn ? &clip : nullptr);
    render();
}

void SdlBackend::toggleFullDesktop() {
    if (!window) return;
    setFullDesktop(!fullDesktop);
    rememberWindowed(!fullDesktop);
}

// The window's real area and drawable size: the X server's word where there is one (X11 has
// no density scaling, so its drawable pixels are window points), else SDL's.
SdlBackend::Geometry SdlBackend::geometry() const {
    Geometry g;
    if (hostWindowArea(window, g.area)) {
        g.drawable = Size{g.area.width(), g.area.height()};
        return g;
    }
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &w, &h);
    g.area = Rect{x, y, x + w, y + h};
    if (renderer) SDL_GetRendererOutputSize(renderer, &g.drawable.cx, &g.drawable.cy);
    return g;
}

Viewport SdlBackend::viewport() const { return fitPicture(geometry().drawable, picture); }

// Window coordinates (points) and drawable pixels differ on high-density screens.
Point SdlBackend::windowToDrawable(int32_t x, int32_t y) const {
    Geometry g = geometry();
    int32_t ww = g.area.width(), wh = g.area.height();
    return Point{ww > 0 ? x * g.drawable.cx / ww : x, wh > 0 ? y * g.drawable.cy / wh : y};
}

Point SdlBackend::drawableToWindow(Point p) const {
    Geometry g = geometry();
    int32_t ww = g.area.width(), wh = g.area.height();
    return Point{g.drawable.cx > 0 ? p.x * ww / g.drawable.cx : p.x, g.drawable.cy > 0 ? p.y * wh / g.drawable.cy : p.y};
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
    if (boxTexture) {
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 96);
        SDL_RenderFillRect(renderer, nullptr);
        SDL_Rect box = boxPlace();
        SDL_RenderCopy(renderer, boxTexture, nullptr, &box);
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
    int gx = 0, gy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    Rect area = geometry().area;
    return toPicture(viewport(), windowToDrawable(gx - area.left, gy - area.top));
}

void SdlBackend::setCursorPos(int32_t x, int32_t y) {
    if (!window) return;
    Point p = drawableToWindow(fromPicture(viewport(), Point{x, y}));
    SDL_WarpMouseInWindow(window, p.x, p.y);
}

}  // namespace platform
