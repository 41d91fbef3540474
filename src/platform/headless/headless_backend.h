// The headless backend: a virtual window that is always active, a virtual clock moved by shown
// frames and sleeps, input from the script, audio rendered into memory, counted boxes and beeps.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/headless/script.h"
#include "platform/os/input_events.h"
#include "platform/os/joystick.h"
#include "platform/video/surface.h"

namespace platform {

class HeadlessBackend : public Backend {
public:
    explicit HeadlessBackend(const HeadlessOptions& options);

    uint32_t ticks() override { return now; }
    void sleepUntil(uint32_t tick) override;
    double wallSeconds() override { return options.wallSeconds; }

    bool openWindow(const char* titleUtf8, bool fullScreen) override;
    void closeWindow() override;
    void raiseWindow() override;
    void minimizeWindow() override { ++minimizes; }
    void pumpEvents(bool wait) override;
    Point cursorPos() override { return pointer; }
    void showCursor(bool show) override { cursorShown = show; }
    void setCursor(bool arrow) override { cursorArrow = arrow; }
    void setCursorPos(int32_t x, int32_t y) override;
    void setPictureSize(int32_t width, int32_t height) override;

    void showFrame(const Surface& primary) override;
    int32_t messageBox(const char* textUtf8, const char* captionUtf8, uint32_t type) override;

    bool openAudioDevice(AudioSpec& spec, AudioFill fill) override;
    void closeAudioDevice() override { audioFill = nullptr; }
    void noteBeep() override { ++beeps; }
    int32_t desktopBits() override { return options.desktopBits; }

    bool readJoystick(int32_t id, JoyInfo& out) override;

    std::vector<uint8_t> renderAudio(uint32_t frames);
    bool audioOpen() const { return bool(audioFill); }
    bool loadScript(std::string_view text, std::string& error);

    HeadlessOptions options;
    uint32_t now = 0;
    std::vector<ScriptCommand> script;
    size_t nextCommand = 0;
    bool scriptFailed = false;
    std::optional<Surface> lastFrame;
    uint32_t framesShown = 0;
    bool audioRemoved = false;
    bool capturing = false;
    std::vector<uint8_t> captured;
    int32_t messageBoxes = 0, beeps = 0, raises = 0, minimizes = 0;
    bool cursorShown = true, cursorArrow = true;
    std::string lastMessageBox;

private:
    void frameRan();
    void runScript();
    bool runCommand(const ScriptCommand&);  // true when it produced input (one a frame)
    void writeShot(const ScriptCommand&);
    void runJoystickCommand(const ScriptCommand&);
    void writeAudioFile();  // what was captured, as a WAV in the device's format

    Point pointer;
    Size picture{640, 480};  // the pointer stays on it
    DoubleClickRule doubleClicks;
    bool altHeld = false;
    uint32_t waitFrames = 0;
    bool frameSinceInput = true;
    bool idleSinceFrame = false;
    bool closePosted = false;
    // Absent until the script connects them; a connection comes centred with no button down.
    struct ScriptedJoystick {
        bool connected = false;
        JoyInfo info;
    };
    ScriptedJoystick joysticks[joystickCount];
    uint32_t joystickConnections = 0;
    AudioSpec audioSpec;
    AudioFill audioFill;
    uint64_t audioRemainder = 0;  // thousandths of a frame carried to the next shown frame
};

HeadlessBackend* installedHeadless();

}  // namespace platform
