// zuSystem: the window and its procedure, input latches and the key poll, the frame clock and
// waits, message boxes and the error report, program paths, settings files, queries and quit.
#pragma once
#include <cstdint>

#include "../platform/types.h"

namespace platform {
uint32_t ticks();  // the platform clock, in milliseconds
}

namespace platform {
struct Window;
struct OsVersion;
}  // namespace platform

namespace zuSystem {

// Window-level flags of the framework.
struct SystemState {
    platform::Window* window = nullptr;
    platform::Instance* instance = nullptr;
    int32_t fullScreen = 1;
    int32_t active = 0;
    int32_t cursorShown = 1;
    int32_t messageBoxOpen = 0;
    int32_t closeState = 0;  // 0 running, 1 closed by the user, 2 quit has run
    int32_t mutex = 0;       // 1 while this process holds the single-instance guard
    int32_t systemKeyMode = 0;
    int32_t clientX = 0, clientY = 0;
    int32_t clipFollowsWindow = 0;
    int32_t errorRaised = 0;
    int32_t cursorClipped = 0;
    int32_t imeEnabled = 0;
    int32_t quitting = 0;
    char commandLine[256] = {};
    char title[256] = {};  // window title, also the guard's name
};

// Latches written by the window procedure.
struct InputState {
    int32_t mouseX = 0, mouseY = 0;
    int32_t leftDown = 0, rightDown = 0;
    int32_t leftPressed = 0, rightPressed = 0;
    int32_t leftClick = 0, rightClick = 0;
    int32_t leftDoubleClick = 0, rightDoubleClick = 0;
    int32_t buttonHeld = 0;
    int32_t lastButton = 0;
    int32_t keyHeld = 0;
    int32_t lastKey = 0;
    int32_t viewKey = 0;
    int32_t captureMode = 0;
    int32_t capturedKey = 0;
    int32_t capturedClick = 0;
    int32_t shiftToggle = 0;
    int32_t watchedKey = 0, watchedKeyCount = 0;
};

// State of GetTrigger: 0 idle, 1 armed, 2 candidate.
struct TriggerState {
    int32_t phase = 0;
    int32_t candidate = 0;
};

struct FrameClock {
    float seconds = 0.0f;
    uint32_t lastTick = platform::ticks();  // the first frame measures from the program's start
};

constexpr uint32_t waitNotRunning = 999999999;
constexpr int32_t waitCount = 10;  // wait numbers 1 ... 10; the last slot belongs to Delay

struct WaitTable {
    uint32_t due[11] = {waitNotRunning, waitNotRunning, waitNotRunning, waitNotRunning,
                        waitNotRunning, waitNotRunning, waitNotRunning, waitNotRunning,
                        waitNotRunning, waitNotRunning, waitNotRunning};
};

struct PathState {
    char moduleDir[260] = {};
    char dirOverride[256] = {};
    char lastDirName[128] = {};
};

extern SystemState systemState;
extern InputState inputState;
extern TriggerState triggerState;
extern FrameClock frameClock;
extern WaitTable waitTable;
extern PathState pathState;

// KeyEdge values of PollKey.
namespace KeyEdge {
constexpr int32_t Up = 0, Pressed = 1, Released = 2, Held = 3;
}

// Window, instance guard and input
int32_t CheckInstance(const char* name);
int32_t RegisterWindowClass(platform::Instance* instance);
int32_t CreateMainWindow(platform::Instance* instance, int32_t showCommand);
intptr_t WindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void KeyDown(int32_t key);
void PollKey(int32_t virtualKey, int32_t& state);
int32_t GetTrigger(int32_t code, ...);  // zero-terminated list; 1 left, 2 right, else a key
// A program's loop: `while (zuSystem::PumpMessages()) { one frame }`. Hands every waiting
// message to the window procedure and waits while the program is inactive; 1 when a frame is
// due, 0 once the window has closed (after Quit or the user closing it).
int32_t PumpMessages();

// Waits, frame clock, start-up
int32_t StartUp();
int32_t SetWait(int32_t number, uint32_t milliseconds);
int32_t InitWait(int32_t number);
int32_t IsWaitOver(int32_t number);
void ResetClock();
void UpdateClock();
void Delay(uint32_t milliseconds);

// Message boxes, error report, depth check
int32_t ReportError(const char* caption, const char* message, int32_t code);
int32_t HasError();
int32_t QuitOnError();
void Message(const char* format, ...) __attribute__((format(printf, 1, 2)));
int32_t YesNo(const char* format, ...) __attribute__((format(printf, 1, 2)));
int32_t DesktopBits();
int32_t IsWindowed();
int32_t CheckDisplayDepth(const char* settings);

// Paths, files, queries
char* ModuleDir(int32_t useOverride);
int32_t LoadDirOverride(const char* name);
int32_t WriteNumber(const char* name, int32_t value);  // 0, silently, when not written
int32_t ReadNumber(const char* name);
void GetDate(int32_t* year, int32_t* month, int32_t* day, char* weekday);
void GetTime(int32_t* hour, int32_t* minute, int32_t* second);
int32_t DiskFree(char drive);
int32_t FreeMemory();
int32_t WindowsVersion();
int32_t VersionNumber(const platform::OsVersion& version);  // the version table alone
void SetCommandLine(const char* commandLine);
char* CommandLine();

// Cursor, capture, keys, input method, quit
void SetMouse(int32_t x, int32_t y);
void ClipCursor(int32_t left, int32_t top, int32_t right, int32_t bottom);
void ClipToScreen();
void Unclip();
int32_t IsClipped();
void WatchKey(int32_t key);
int32_t WatchedKeyCount();
void BeginCapture();
void EndCapture();
void SetSystemKeyMode(int32_t mode);
int32_t EnableIme(int32_t flag);
int32_t Quit();

}  // namespace zuSystem
