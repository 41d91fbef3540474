// Installing the headless backend from options or the environment, and the test controls.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

#include "platform/environment.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/window.h"

namespace platform {
namespace {

HeadlessBackend* lastInstalled = nullptr;

const char* env(const char* name) { return environmentSetting(name); }

template <typename T>
void readUnsigned(const char* name, T& out) {
    if (const char* v = env(name)) {
        char* end = nullptr;
        unsigned long long n = std::strtoull(v, &end, 10);
        if (*end == '\0') out = T(n);
        else std::fprintf(stderr, "%s: '%s' is not a number, ignored\n", environmentSettingName(name).c_str(), v);
    }
}

bool readScriptFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return !in.bad();
}

}  // namespace

HeadlessBackend* installedHeadless() {
    return lastInstalled && &backend() == lastInstalled ? lastInstalled : nullptr;
}

HeadlessOptions HeadlessOptions::fromEnvironment() {
    HeadlessOptions o;
    if (const char* t = env("TIME")) o.wallSeconds = std::strtod(t, nullptr);
    readUnsigned("FRAME_MS", o.frameMs);
    readUnsigned("START_TICKS", o.startTicks);
    readUnsigned("DESKTOP_BITS", o.desktopBits);
    if (const char* a = env("ANSWER")) o.answerNo = std::strcmp(a, "no") == 0;
    if (const char* a = env("AUDIO")) o.audio = std::strcmp(a, "none") != 0;
    if (const char* f = env("AUDIO_FILE")) o.audioFile = f;
    o.runScript = true;
    if (const char* s = env("SCRIPT")) o.scriptPath = s;
    return o;
}

bool useHeadless(const HeadlessOptions& options) {
    auto* b = new HeadlessBackend(options);
    resetMessageQueue();
    installBackend(b);
    lastInstalled = b;
    if (!options.runScript || options.scriptPath.empty()) return true;
    std::string text, error;
    if (!readScriptFile(options.scriptPath, text)) {
        std::fprintf(stderr, "script:0: cannot read '%s'\n", options.scriptPath.c_str());
        b->scriptFailed = true;
        return false;
    }
    if (!b->loadScript(text, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        b->scriptFailed = true;
        return false;
    }
    return true;
}

namespace headless {

bool active() { return installedHeadless() != nullptr; }

void setClock(uint32_t ticks) {
    if (auto* b = installedHeadless()) b->now = ticks;
}
uint32_t clock() { return active() ? installedHeadless()->now : 0; }
void setFrameMs(uint32_t ms) {
    if (auto* b = installedHeadless()) b->options.frameMs = ms;
}

bool scriptFailed() { return active() && installedHeadless()->scriptFailed; }

bool loadScript(std::string_view text) {
    auto* b = installedHeadless();
    std::string error;
    if (!b) return false;
    if (b->loadScript(text, error)) return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

bool scriptFinished() {
    auto* b = installedHeadless();
    return b && b->nextCommand >= b->script.size();
}

const Surface* lastFrame() {
    auto* b = installedHeadless();
    return b && b->lastFrame ? &*b->lastFrame : nullptr;
}
uint32_t framesShown() { return active() ? installedHeadless()->framesShown : 0; }

std::vector<uint8_t> renderAudio(uint32_t frames) {
    auto* b = installedHeadless();
    return b ? b->renderAudio(frames) : std::vector<uint8_t>{};
}
void removeAudioDevice(bool removed) {
    auto* b = installedHeadless();
    if (!b) return;
    b->audioRemoved = removed;
    if (!removed) audioDeviceAdded();
}
void pullAudioDevice() {
    auto* b = installedHeadless();
    if (b && b->audioOpen()) audioDeviceLost();
}
bool audioDeviceOpen() { return active() && installedHeadless()->audioOpen(); }
void captureAudio(bool on) {
    if (auto* b = installedHeadless()) b->capturing = on;
}
std::vector<uint8_t> takeCapturedAudio() {
    auto* b = installedHeadless();
    return b ? std::exchange(b->captured, {}) : std::vector<uint8_t>{};
}

void setAnswerNo(bool no) {
    if (auto* b = installedHeadless()) b->options.answerNo = no;
}
int32_t messageBoxCount() { return active() ? installedHeadless()->messageBoxes : 0; }
std::string lastMessageBox() { return active() ? installedHeadless()->lastMessageBox : ""; }
int32_t beepCount() { return active() ? installedHeadless()->beeps : 0; }
int32_t raiseCount() { return active() ? installedHeadless()->raises : 0; }
int32_t minimizeCount() { return active() ? installedHeadless()->minimizes : 0; }
bool systemCursorVisible() {
    return active() && installedHeadless()->cursorShown && installedHeadless()->cursorArrow;
}

}  // namespace headless
}  // namespace platform
