// Choosing the backend, and the controls tests use to drive the headless one: its virtual
// clock, scripted input, the last shown frame, audio rendered on demand and its counters.
// The faults every backend accepts are in faults.h, included here.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/faults.h"

namespace platform {

struct Surface;

struct HeadlessOptions {
    uint32_t startTicks = 0;              // the virtual clock at start
    double wallSeconds = 1000000000.0;    // ZU_TIME: the fixed wall clock
    uint32_t frameMs = 16;                // ZU_FRAME_MS: clock advance per shown frame
    bool answerNo = false;                // ZU_ANSWER=no: boxes answer No (Yes/OK otherwise)
    bool audio = true;                    // ZU_AUDIO=none: no audio device
    int32_t desktopBits = 32;             // ZU_DESKTOP_BITS: the desktop's depth, which
                                          //   zuDraw::Convert needs above 16
    std::string audioFile;                // ZU_AUDIO_FILE: all that was played, as a WAV
                                          //   written when the window closes
    bool runScript = false;               // feed input from scriptPath (ZU_SCRIPT); the
    std::string scriptPath;               //   window closes at its end (or at once when empty)

    static HeadlessOptions fromEnvironment();
};

// Installs the headless backend. Returns false (after printing "script:<line>: ...") when the
// script cannot be read or parsed; the program must then exit with status 2.
bool useHeadless(const HeadlessOptions& options = {});
bool useSdl();  // false with a message when SDL cannot start

namespace headless {

// All controls do nothing (or answer zero) unless the headless backend is installed.
bool active();
void setClock(uint32_t ticks);
uint32_t clock();
void setFrameMs(uint32_t ms);
bool scriptFailed();                          // a command failed while running: exit status 2
bool loadScript(std::string_view text);       // replaces the script; false on a bad line
bool scriptFinished();
const Surface* lastFrame();                   // copy of the last shown frame, null before any
uint32_t framesShown();

// Audio: renderAudio calls the fill installed by openAudioDevice for that many frames and
// returns the bytes (empty when no device is open).
std::vector<uint8_t> renderAudio(uint32_t frames);
void removeAudioDevice(bool removed);         // openAudioDevice then fails; false: a device
                                              //   is there again (a lost one is reopened)
void pullAudioDevice();                       // the open device vanishes, as when unplugged: it
                                              //   is replaced at once unless removed
bool audioDeviceOpen();
void captureAudio(bool on);                   // keep what each shown frame renders
std::vector<uint8_t> takeCapturedAudio();

// Message boxes and beeps: counted, and answered Yes/OK or No.
void setAnswerNo(bool no);
int32_t messageBoxCount();
std::string lastMessageBox();                 // "<caption>: <text>" in UTF-8
int32_t beepCount();
int32_t raiseCount();                         // "come to the front" requests
int32_t minimizeCount();                      // windows shown as an icon
bool systemCursorVisible();                   // shown, and an arrow over the window

}  // namespace headless
}  // namespace platform
