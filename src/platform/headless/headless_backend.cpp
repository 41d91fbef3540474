// Headless backend: virtual clock, scripted input, in-memory audio.
#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/video/image_write.h"
#include "platform/win32.h"
#include "platform/os/window.h"

namespace platform {

HeadlessBackend::HeadlessBackend(const HeadlessOptions& o)
    : options(o), now(o.startTicks), capturing(!o.audioFile.empty()) {}

void HeadlessBackend::sleepUntil(uint32_t tick) {
    if (int32_t(tick - now) > 0) now = tick;
}

bool HeadlessBackend::openWindow(const char*, bool) {
    postMessage(currentWindow(), WM_ACTIVATEAPP, 1, 0);
    return true;
}

// Logged, so end-to-end tests can see the program end in order, exactly once.
void HeadlessBackend::closeWindow() {
    std::fprintf(stderr, "headless: window closed\n");
    if (!options.audioFile.empty()) writeAudioFile();
}

void HeadlessBackend::raiseWindow() {
    ++raises;
    std::fprintf(stderr, "instance: come to the front\n");
}

void HeadlessBackend::setCursorPos(int32_t x, int32_t y) {
    pointer = Point{std::clamp(x, 0, picture.cx - 1), std::clamp(y, 0, picture.cy - 1)};
}

void HeadlessBackend::setPictureSize(int32_t width, int32_t height) {
    picture = Size{width, height};
    setCursorPos(pointer.x, pointer.y);
}

// A frame is counted when it is shown, or when the program found its queue empty and came
// back for more without showing anything (a frame that drew nothing still ran).
void HeadlessBackend::frameRan() {
    frameSinceInput = true;
    if (waitFrames > 0) --waitFrames;
}

void HeadlessBackend::pumpEvents(bool wait) {
    if (idleSinceFrame) frameRan();
    idleSinceFrame = false;
    if (wait) {  // an inactive program runs no frames: its waits lapse
        waitFrames = 0;
        frameSinceInput = true;
    }
    runScript();
    serviceAudio();
    if (queuedMessageCount() == 0 && !wait) idleSinceFrame = true;
}

void HeadlessBackend::runScript() {
    if (!options.runScript || closePosted) return;
    // One input a frame, with the commands joined to it; waits and shots in between.
    while (waitFrames == 0 && nextCommand < script.size() && !closePosted) {
        const ScriptCommand& cmd = script[nextCommand];
        if (!frameSinceInput && !cmd.sameFrame) return;
        ++nextCommand;
        if (runCommand(cmd)) frameSinceInput = false;
    }
    if (waitFrames == 0 && frameSinceInput && nextCommand >= script.size() && !closePosted) {
        closePosted = true;
        postMessage(currentWindow(), WM_CLOSE, 0, 0);
    }
}

bool HeadlessBackend::runCommand(const ScriptCommand& cmd) {
    using K = ScriptCommand::Kind;
    switch (cmd.kind) {
    case K::wait: waitFrames = uint32_t(cmd.a); return false;
    case K::shot: writeShot(cmd); return false;
    case K::move:
        setCursorPos(cmd.a, cmd.b);
        postPointerMove(pointer);
        return true;
    case K::down: case K::up: {
        MouseButton button = cmd.a == 0 ? MouseButton::left : MouseButton::right;
        bool down = cmd.kind == K::down;
        bool isDouble = down && doubleClicks.press(button, now, pointer);
        postButton(button, down, isDouble, pointer);
        return true;
    }
    case K::key:
        postKey(cmd.a, cmd.pressed, false, altHeld);
        if (cmd.a == VK_MENU) altHeld = cmd.pressed;
        return true;
    case K::joyConnect: case K::joyDisconnect: case K::joyX: case K::joyY: case K::joyButton:
        runJoystickCommand(cmd);
        return true;  // polled, not queued: each state needs a frame of its own to be seen
    case K::close:
        closePosted = true;
        postMessage(currentWindow(), WM_CLOSE, 0, 0);
        return true;
    }
    return false;
}

void HeadlessBackend::runJoystickCommand(const ScriptCommand& cmd) {
    using K = ScriptCommand::Kind;
    ScriptedJoystick& joy = joysticks[cmd.a];
    switch (cmd.kind) {
    case K::joyConnect:
        joy.connected = true;
        joy.info = JoyInfo{joystickAxisCentre, joystickAxisCentre, 0, ++joystickConnections};
        break;
    case K::joyDisconnect: joy.connected = false; break;
    case K::joyX: joy.info.x = uint32_t(cmd.b); break;
    case K::joyY: joy.info.y = uint32_t(cmd.b); break;
    case K::joyButton: {
        const uint32_t bit = 1u << (cmd.b - 1);
        joy.info.buttons = cmd.pressed ? joy.info.buttons | bit : joy.info.buttons & ~bit;
        break;
    }
    default: break;
    }
}

bool HeadlessBackend::readJoystick(int32_t id, JoyInfo& out) {
    if (id < 0 || id >= joystickCount || !joysticks[id].connected) return false;
    out = joysticks[id].info;
    return true;
}

void HeadlessBackend::writeShot(const ScriptCommand& cmd) {
    if (lastFrame && writeBmp24(cmd.file, *lastFrame)) return;
    std::fprintf(stderr, "script:%d: cannot write '%s'%s\n", cmd.line, cmd.file.c_str(),
                 lastFrame ? "" : " (no frame shown yet)");
    scriptFailed = true;
    closePosted = true;
    postMessage(currentWindow(), WM_CLOSE, 0, 0);
}

void HeadlessBackend::showFrame(const Surface& primary) {
    lastFrame = primary;
    ++framesShown;
    now += options.frameMs;
    uint64_t thousandths = audioRemainder + uint64_t(audioSpec.rate) * options.frameMs;
    audioRemainder = thousandths % 1000;
    if (audioFill) {
        std::vector<uint8_t> bytes = renderAudio(uint32_t(thousandths / 1000));
        if (capturing) captured.insert(captured.end(), bytes.begin(), bytes.end());
    } else {
        serviceAudio();  // a lost device: the mixer keeps time
    }
    idleSinceFrame = false;
    frameRan();
}

int32_t HeadlessBackend::messageBox(const char* textUtf8, const char* captionUtf8, uint32_t type) {
    ++messageBoxes;
    lastMessageBox = std::string(captionUtf8) + ": " + textUtf8;
    std::fprintf(stderr, "messagebox: %s\n", lastMessageBox.c_str());
    bool yesNo = (type & 0xF) == MB_YESNO;
    if (!yesNo) return IDOK;
    return options.answerNo ? IDNO : IDYES;
}

bool HeadlessBackend::openAudioDevice(AudioSpec& spec, AudioFill fill) {
    if (!options.audio || audioRemoved) return false;
    bool sameFormat = spec.channels == audioSpec.channels && spec.rate == audioSpec.rate && spec.bits == audioSpec.bits;
    if (!sameFormat && !options.audioFile.empty()) captured.clear();  // the file holds one format
    audioSpec = spec;
    audioFill = std::move(fill);
    audioRemainder = 0;
    return true;
}

void HeadlessBackend::writeAudioFile() {
    auto u16 = [](uint8_t* p, uint32_t v) { p[0] = uint8_t(v), p[1] = uint8_t(v >> 8); };
    auto u32 = [&](uint8_t* p, uint32_t v) { u16(p, v & 0xFFFF), u16(p + 2, v >> 16); };
    uint8_t header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0};
    uint32_t frameBytes = uint32_t(audioSpec.channels * audioSpec.bits / 8), data = uint32_t(captured.size());
    u32(header + 4, 36 + data);
    u16(header + 22, uint32_t(audioSpec.channels));
    u32(header + 24, audioSpec.rate);
    u32(header + 28, audioSpec.rate * frameBytes);
    u16(header + 32, frameBytes);
    u16(header + 34, uint32_t(audioSpec.bits));
    std::memcpy(header + 36, "data", 4);
    u32(header + 40, data);
    std::FILE* out = std::fopen(options.audioFile.c_str(), "wb");
    bool written = out && std::fwrite(header, 1, sizeof header, out) == sizeof header &&
                   std::fwrite(captured.data(), 1, captured.size(), out) == captured.size();
    if (out) written = std::fclose(out) == 0 && written;
    if (!written) std::fprintf(stderr, "cannot write the audio to '%s'\n", options.audioFile.c_str());
}

std::vector<uint8_t> HeadlessBackend::renderAudio(uint32_t frames) {
    if (!audioFill) return {};
    std::vector<uint8_t> bytes(size_t(frames) * audioSpec.channels * (audioSpec.bits / 8));
    if (!bytes.empty()) audioFill(bytes.data(), uint32_t(bytes.size()));
    return bytes;
}

bool HeadlessBackend::loadScript(std::string_view text, std::string& error) {
    std::vector<ScriptCommand> parsed;
    if (!parseScript(text, parsed, error)) return false;
    script = std::move(parsed);
    nextCommand = 0;
    waitFrames = 0;
    frameSinceInput = true;
    closePosted = false;
    options.runScript = true;
    return true;
}

}  // namespace platform
