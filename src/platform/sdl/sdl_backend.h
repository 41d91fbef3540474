// The SDL2 backend: one borderless full-desktop (or whole-multiple) window showing the picture
// through a streaming texture, host events turned into Win32 messages, the audio device.
#pragma once
#include <SDL2/SDL.h>

#include <string>

#include "platform/backend.h"
#include "platform/os/input_events.h"
#include "platform/sdl/sdl_joystick.h"
#include "platform/sdl/sdl_viewport.h"
#include "platform/video/surface.h"

namespace platform {

class MessageBoxView;

class SdlBackend : public Backend {
public:
    ~SdlBackend() override;

    uint32_t ticks() override { return uint32_t(SDL_GetTicks64()); }
    void sleepUntil(uint32_t tick) override;
    double wallSeconds() override;

    bool openWindow(const char* titleUtf8, bool fullScreen) override;
    void closeWindow() override;
    void raiseWindow() override;
    void minimizeWindow() override;
    void pumpEvents(bool wait) override;
    void showCursor(bool show) override;
    void setCursor(bool arrow) override;
    void clipCursor(const Rect* r) override;
    Point cursorPos() override;
    void setCursorPos(int32_t x, int32_t y) override;
    bool enableTextInput(bool on) override;
    void setWindowIcon(std::span<const uint8_t> bmpFile) override;

    void setPictureSize(int32_t width, int32_t height) override;
    bool waitForVerticalBlank() override;
    void showFrame(const Surface& primary) override;
    int32_t messageBox(const char* textUtf8, const char* captionUtf8, uint32_t type) override;

    bool openAudioDevice(AudioSpec& spec, AudioFill fill) override;
    void closeAudioDevice() override;
    void lockAudio() override;
    void unlockAudio() override;

    bool readJoystick(int32_t id, JoyInfo& out) override { return joysticks.read(id, out); }
    void joystickConfigChanged() override { joysticks.rescan(); }

private:
    // sdl_video.cpp
    bool createRenderer();
    void setFullDesktop(bool on);
    void sizeWindowForPicture();
    void toggleFullDesktop();
    void followWindow();
    void render();
    bool uploadFrame(const Surface& frame);
    void paceToRefresh();
    void noticeVsyncThatDoesNotWait(uint32_t presentMs);
    void writeScreenshot();
    struct Geometry {
        Rect area;      // client area in screen coordinates (points)
        Size drawable;  // in pixels
    };
    Geometry geometry() const;
    Viewport viewport() const;
    Point windowToDrawable(int32_t x, int32_t y) const;
    Point drawableToWindow(Point p) const;
    void applyCursor();

    // sdl_message_box.cpp
    struct BoxScreen;
    int32_t runMessageBox(MessageBoxView&, BoxScreen&);
    SDL_Rect boxPlace() const;  // the box's place in the drawable, centred

    // sdl_events.cpp
    void handle(const SDL_Event& e);
    void handleWindowEvent(const SDL_WindowEvent& e);
    void handleKey(const SDL_KeyboardEvent& e);
    void handleButton(const SDL_MouseButtonEvent& e);
    void setFocus(bool focused);

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* frameTexture = nullptr;
    SDL_Texture* enlargeTexture = nullptr;
    SDL_Texture* boxTexture = nullptr;  // an open message box, drawn over the picture
    int32_t enlargeScale = 0;
    Size picture{640, 480};  // what the display shows; the layout and pointer follow it
    Surface lastFrame;
    bool haveFrame = false;
    bool vsync = false;
    uint32_t refreshMs = 16;
    uint32_t nextRefresh = 0;
    bool pacedSinceShow = false;
    int32_t instantPresents = 0;
    bool fullDesktop = true;
    bool focused = false;
    bool cursorShown = true, cursorArrow = true;
    bool clipOn = false;
    Rect clip;
    DoubleClickRule doubleClicks;
    SDL_AudioDeviceID audioDevice = 0;
    AudioFill audioFill;
    bool audioMissingSaid = false;
    SdlJoysticks joysticks;
};

int32_t virtualKeyOf(SDL_Keycode);  // 0 for keys the framework does not know

bool rememberedWindowed();
void rememberWindowed(bool windowed);
std::string picturesDirectory();

}  // namespace platform
