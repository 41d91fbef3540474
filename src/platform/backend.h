// The one installed backend (SDL or headless). Private to the platform: the framework calls the
// service headers (clock.h, window.h, display.h, audio.h ...), which forward here.
// Every function has a harmless default so each backend overrides only what it provides.
#pragma once
#include <cstdint>
#include <functional>
#include <span>

#include "platform/types.h"

namespace platform {

struct Surface;
struct Message;
struct JoyInfo;

// Called on the audio thread (or on demand, headless) to fill interleaved output frames.
using AudioFill = std::function<void(uint8_t* out, uint32_t bytes)>;

struct AudioSpec {
    int32_t channels = 2;
    uint32_t rate = 44100;
    int32_t bits = 16;
};

class Backend {
public:
    virtual ~Backend() = default;

    // Clock
    virtual uint32_t ticks() { return 0; }
    virtual void sleepUntil(uint32_t tick) { (void)tick; }
    virtual double wallSeconds() { return 1000000000.0; }

    // Window and events. pumpEvents pushes Win32 messages into the platform queue.
    virtual bool openWindow(const char* titleUtf8, bool fullScreen) { (void)titleUtf8; (void)fullScreen; return true; }
    virtual void closeWindow() {}
    virtual void raiseWindow() {}
    virtual void minimizeWindow() {}
    virtual void pumpEvents(bool wait) { (void)wait; }
    virtual void showCursor(bool show) { (void)show; }
    virtual void setCursor(bool arrow) { (void)arrow; }
    virtual void clipCursor(const Rect* r) { (void)r; }
    virtual Point cursorPos() { return {}; }
    virtual void setCursorPos(int32_t x, int32_t y) { (void)x; (void)y; }
    // The input-method switch; returns whether it was on before (it starts on).
    virtual bool enableTextInput(bool on) {
        const bool was = textInputOn;
        textInputOn = on;
        return was;
    }
    // The window's icon, as the bytes of a BMP file (32-bit ones carry alpha).
    virtual void setWindowIcon(std::span<const uint8_t> bmpFile) { (void)bmpFile; }

    // Display
    virtual bool setDisplayMode(int32_t w, int32_t h, int32_t bits) { (void)w; (void)h; (void)bits; return true; }
    virtual int32_t desktopBits() { return 32; }
    // The size of the picture the display shows (the mode's, or the window's in a window): the
    // window, the pointer and the scaling follow it. 640 x 480 until told.
    virtual void setPictureSize(int32_t w, int32_t h) { (void)w; (void)h; }
    virtual bool waitForVerticalBlank() { return true; }
    virtual void showFrame(const Surface& primary) { (void)primary; }
    virtual bool allowLock(const Surface& s) { (void)s; return true; }

    // Message boxes: UTF-8 texts, MB_* type, returns IDOK / IDYES / IDNO.
    virtual int32_t messageBox(const char* textUtf8, const char* captionUtf8, uint32_t type);

    // Audio device: open calls fill from its own thread until closed.
    virtual bool openAudioDevice(AudioSpec& spec, AudioFill fill) { (void)spec; (void)fill; return false; }
    virtual void closeAudioDevice() {}
    virtual void lockAudio() {}
    virtual void unlockAudio() {}
    virtual void noteBeep() {}  // headless counts beeps

    // Joysticks
    virtual bool readJoystick(int32_t id, JoyInfo& out) { (void)id; (void)out; return false; }
    virtual void joystickConfigChanged() {}

private:
    bool textInputOn = true;
};

Backend& backend();
void installBackend(Backend*);  // takes ownership

// What a backend reports about its audio device, on the main thread. A device that vanishes
// while open (unplugged, its server restarted) is closed and replaced by the default one when
// there is one; until then the mixer goes on against the clock, so every sound keeps its state
// and its position moves on. serviceAudio, called as events are pumped, does that mixing and
// retries the device now and then; audioDeviceAdded retries it at once.
void audioDeviceLost();
void audioDeviceAdded();
void serviceAudio();

}  // namespace platform
