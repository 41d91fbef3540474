/// @file
/// zuSystem: the window and its procedure, input latches and the key poll, the frame clock and
/// waits, message boxes and the error report, program paths, settings files, queries and quit.
#pragma once
#include <cstdint>

#include "../platform/types.h"

namespace platform {
/// The platform's millisecond clock (32 bits, wrapping) that the waits and the frame clock read;
/// headless, a virtual clock that moves by ZU_FRAME_MS each frame.
uint32_t ticks();
}

namespace platform {
struct Window;
struct OsVersion;
}  // namespace platform

/// The system family: window, input, clock, messages, paths and quit (@ref zusystem).
namespace zuSystem {

/// @defgroup zusystem zuSystem
/// The window and its input, the frame clock and waits, message boxes and the error report,
/// paths, settings files, queries, the cursor and quit.

/// @defgroup system_records Records
/// @ingroup zusystem
/// The family's process-wide state, written by the window procedure and the operations.
/// @{

/// Window-level flags of the framework.
struct SystemState {
    platform::Window* window = nullptr;  ///< the program's one window; null before CreateMainWindow
    /// The program (resources, command line); the program sets it after CreateMainWindow, and
    /// the loaders look resources up through it.
    platform::Instance* instance = nullptr;
    int32_t fullScreen = 1;      ///< 1 full screen (default), 0 windowed; set before CreateMainWindow
    int32_t active = 0;          ///< 1 while the program is in the foreground; PumpMessages waits while 0
    int32_t cursorShown = 1;     ///< 1 while the system cursor is shown
    int32_t messageBoxOpen = 0;  ///< 1 while Message or YesNo shows its box
    int32_t closeState = 0;  ///< 0 running, 1 closed by the user, 2 quit has run
    int32_t mutex = 0;       ///< 1 while this process holds the single-instance guard
    int32_t systemKeyMode = 0;  ///< what Alt and F10 do; see SetSystemKeyMode
    int32_t clientX = 0;  ///< screen x of the picture's top-left corner, in pixels
    int32_t clientY = 0;  ///< screen y of the picture's top-left corner, in pixels
    /// 1: the cursor clip follows window moves and activation and a right double-click toggles it.
    int32_t clipFollowsWindow = 0;
    int32_t errorRaised = 0;    ///< 1 once an error report was raised (zuDraw::Screen clears it)
    int32_t cursorClipped = 0;  ///< 1 while this program clips the cursor
    int32_t imeEnabled = 0;     ///< the last flag given to EnableIme
    int32_t quitting = 0;       ///< 1 once Quit has run; later calls return at once
    char commandLine[256] = {};  ///< the command line (Shift-JIS), cut to 255 bytes
    char title[256] = {};  ///< window title, also the guard's and the settings folder's name
};

/// Latches written by the window procedure. Pointer positions are pixels of the picture.
struct InputState {
    int32_t mouseX = 0;  ///< pointer x at the last move
    int32_t mouseY = 0;  ///< pointer y at the last move
    int32_t leftDown = 0;   ///< 1 while the left button is down
    int32_t rightDown = 0;  ///< 1 while the right button is down
    int32_t leftPressed = 0;   ///< 1 once the left button went down (never cleared)
    int32_t rightPressed = 0;  ///< 1 once the right button went down (never cleared)
    int32_t leftClick = 0;   ///< 1 when the left button went down; the program clears it
    int32_t rightClick = 0;  ///< 1 when the right button went down; the program clears it
    int32_t leftDoubleClick = 0;   ///< 1 after a left double-click; the program clears it
    int32_t rightDoubleClick = 0;  ///< 1 after a right double-click; the program clears it
    int32_t buttonHeld = 0;  ///< 1 left or 2 right while that button is down, else 0
    int32_t lastButton = 0;  ///< the last button pressed (1 or 2) until GetTrigger reports it
    int32_t keyHeld = 0;     ///< the virtual key down, 0 once it is released
    int32_t lastKey = 0;     ///< the last virtual key pressed until GetTrigger reports it
    int32_t viewKey = 0;     ///< the key held while the scroll view is shown
    int32_t captureMode = 0;  ///< 1 between BeginCapture and EndCapture
    int32_t capturedKey = 0;  ///< the key held in capture mode
    int32_t capturedClick = 0;  ///< 1 while the left button is down in capture mode
    int32_t shiftToggle = 0;  ///< flips on every release of Shift
    int32_t watchedKey = 0;       ///< the key WatchKey counts
    int32_t watchedKeyCount = 0;  ///< releases of the watched key since WatchKey
};

/// State of GetTrigger.
struct TriggerState {
    int32_t phase = 0;      ///< 0 idle, 1 armed (all released), 2 candidate
    int32_t candidate = 0;  ///< the code pressed, waiting for its release
};

/// The frame clock: UpdateClock measures, ResetClock restarts.
struct FrameClock {
    float seconds = 0.0f;  ///< length of the last frame in seconds; 0 after a reset
    uint32_t lastTick = platform::ticks();  ///< tick of the last measurement; at first the program's start
};

constexpr uint32_t waitNotRunning = 999999999;  ///< the due tick of a wait that is not running
constexpr int32_t waitCount = 10;  ///< wait numbers 1 ... 10; the last slot belongs to Delay

/// The numbered waits.
struct WaitTable {
    /// Due ticks in milliseconds: index n - 1 for wait number n, index 10 for Delay.
    uint32_t due[11] = {waitNotRunning, waitNotRunning, waitNotRunning, waitNotRunning,
                        waitNotRunning, waitNotRunning, waitNotRunning, waitNotRunning,
                        waitNotRunning, waitNotRunning, waitNotRunning};
};

/// Program paths (Shift-JIS, framework form with `\`).
struct PathState {
    char moduleDir[260] = {};    ///< ModuleDir's result buffer, rewritten by every call
    char dirOverride[256] = {};  ///< base folder read by LoadDirOverride; empty by default
    char lastDirName[128] = {};  ///< the program's own folder name with its `\`
};

extern SystemState systemState;    ///< the window-level flags
extern InputState inputState;      ///< the input latches
extern TriggerState triggerState;  ///< GetTrigger's state
extern FrameClock frameClock;      ///< the frame clock
extern WaitTable waitTable;        ///< the numbered waits
extern PathState pathState;        ///< the program paths

/// KeyEdge values of PollKey.
namespace KeyEdge {
constexpr int32_t Up = 0;        ///< up, and not just released
constexpr int32_t Pressed = 1;   ///< the first poll that finds the key down
constexpr int32_t Released = 2;  ///< the first poll after the key came up
constexpr int32_t Held = 3;      ///< down since an earlier poll
}

/// @}

/// @defgroup system_window Window, instance guard and input
/// @ingroup zusystem
/// In start-up order: title, CheckInstance, RegisterWindowClass, CreateMainWindow, then
/// zuDraw::Screen; each frame runs inside `while (PumpMessages())`.
/// @{

/// Takes the single-instance guard named `name` + ":ZuMutex" and names the settings folder.
/// @return 1 for the first copy; 0 when another copy runs (that one is brought forward)
int32_t CheckInstance(const char* name);
/// Records the window class (class "DEFAULT", icon resource "MAIN"). @return always 1
int32_t RegisterWindowClass(platform::Instance* instance);
/// Creates and shows the one window, titled systemState.title, full screen or windowed after
/// systemState.fullScreen; showCommand is not used. @return 1, or 0 without a window (no box)
int32_t CreateMainWindow(platform::Instance* instance, int32_t showCommand);
/// The window procedure: turns window messages into inputState and systemState; closing the
/// window runs Quit. Parameters and result are those of a Win32 window procedure.
intptr_t WindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
/// A key press as the window reports it: sets keyHeld and lastKey (viewKey while the scroll view
/// is shown); Escape runs Quit.
void KeyDown(int32_t key);
/// The edge detector of one key or button (VK_LBUTTON, VK_RBUTTON): moves `state`, a KeyEdge
/// value the caller keeps per key across frames, to Pressed, Held, Released or Up. A press shorter
/// than a frame counts once; every poll reads Up during a transition, the scroll view or capture.
void PollKey(int32_t virtualKey, int32_t& state);
/// A tap: the first listed code (1 left button, 2 right button, else a virtual key; the list ends
/// with 0) that went down and up again after all was released. @return that code, else 0
int32_t GetTrigger(int32_t code, ...);
/// A program's loop: `while (zuSystem::PumpMessages()) { one frame }`. Hands every waiting
/// message to the window procedure and waits while the program is inactive; 1 when a frame is
/// due, 0 once the window has closed (after Quit or the user closing it).
int32_t PumpMessages();

/// @}

/// @defgroup system_clock Waits, frame clock and start-up
/// @ingroup zusystem
/// Times in milliseconds of platform::ticks(); frame lengths in seconds.
/// @{

/// Stops every wait, ends capture, sets system key mode 0 and, full screen, clips the cursor to
/// the screen. zuDraw::Screen calls it. @return always 1
int32_t StartUp();
/// Starts wait `number` (1 to 10) to be over after `milliseconds`.
/// @return 1; 0 after the error report "ウェイトNoが範囲外です" for another number
int32_t SetWait(int32_t number, uint32_t milliseconds);
/// Stops wait `number` (1 to 10): it reads not over until the tick count passes 999999999.
/// @return 1; 0 after the error report "ウェイトNoが範囲外です" for another number
int32_t InitWait(int32_t number);
/// @return 1 once wait `number` is due, else 0; 0 also for a number outside 1 to 10 (no box)
int32_t IsWaitOver(int32_t number);
/// frameClock.seconds = 0 and measuring starts now, so a pause does not count as one long frame.
void ResetClock();
/// Sets frameClock.seconds to the time since the last update or reset; call once per frame.
void UpdateClock();
/// Blocks the thread, window messages included, for `milliseconds`, then resets the clock.
void Delay(uint32_t milliseconds);

/// @}

/// @defgroup system_messages Message boxes and the error report
/// @ingroup zusystem
/// Boxes block until answered; headless, they are written to standard error and answered OK or
/// Yes (ZU_ANSWER=no: No).
/// @{

/// The error report: a beep, a system-modal box captioned "エラー発生" reading
/// "<caption> : <message>", one line on standard error (with the path tried, if any), and
/// errorRaised = 1. `code` is not shown. @return always 0, for the failing operation to return
int32_t ReportError(const char* caption, const char* message, int32_t code);
/// @return 1 once an error report was raised (zuDraw::Screen clears it as it starts), else 0
int32_t HasError();
/// Runs Quit when an error report was raised. @return errorRaised
int32_t QuitOnError();
/// A box captioned "メッセージ" with OK: printf-style text, of which 253 bytes at most are kept,
/// and a line break. Shows the cursor and resets the frame clock.
void Message(const char* format, ...) __attribute__((format(printf, 1, 2)));
/// As Message, a question with Yes and No. @return 1 for Yes, 0 for No
int32_t YesNo(const char* format, ...) __attribute__((format(printf, 1, 2)));
/// @return bits per pixel of the desktop
int32_t DesktopBits();
/// @return 1 when systemState.fullScreen is 0, else 0
int32_t IsWindowed();
/// For a windowed start, before zuDraw::Screen: when the desktop has fewer bits per pixel than
/// zuDraw::ScreenState::colorDepth, explains in a box and offers full screen. `settings`: ""
/// no offer, "*" offer only, else a settings file that gets 1 on Yes.
/// @return 1 to carry on (full screen on Yes); 0 after running Quit
int32_t CheckDisplayDepth(const char* settings);

/// @}

/// @defgroup system_paths Paths, files and queries
/// @ingroup zusystem
/// Paths are Shift-JIS in the framework's form, parts joined by `\`.
/// @{

/// The program's folder with its trailing `\`; with `useOverride` nonzero and an override
/// loaded, the override, `\` and the program's folder name instead.
/// @return pathState.moduleDir, rewritten by every call; empty when the path does not fit
char* ModuleDir(int32_t useOverride);
/// Reads the first line of the settings-folder file `name` into pathState.dirOverride.
/// @return 1 read; 0 when missing, empty or too long (the override is then empty)
int32_t LoadDirOverride(const char* name);
/// Writes `value` in decimal to ModuleDir(1) + `name`. @return 1 written; 0, silently, when not
int32_t WriteNumber(const char* name, int32_t value);
/// @return the decimal number in ModuleDir(1) + `name`; 0 when missing or holding none
int32_t ReadNumber(const char* name);
/// The local date: month 1 to 12; `weekday` gets the day's Shift-JIS name ("日" to "土",
/// 2 bytes and NUL).
void GetDate(int32_t* year, int32_t* month, int32_t* day, char* weekday);
/// The local time of day: hour 0 to 23.
void GetTime(int32_t* hour, int32_t* minute, int32_t* second);
/// @return free bytes on the program's file system, modulo 2^32; `drive` is not used
int32_t DiskFree(char drive);
/// @return free memory in bytes, at most INT32_MAX; 0 when unknown
int32_t FreeMemory();
/// @return VersionNumber of the host: platform 2 with the kernel's major and minor version
int32_t WindowsVersion();
/// The version table: platform 0 310; 1 950, 980 or major × 100 + minor; 2 2000 for major 5,
/// else major × 1000 + minor × 10. @return that number, -1 for another platform
int32_t VersionNumber(const platform::OsVersion& version);
/// Keeps a copy of the command line, cut to 255 bytes on a character boundary.
void SetCommandLine(const char* commandLine);
/// @return the copy SetCommandLine kept
char* CommandLine();

/// @}

/// @defgroup system_cursor Cursor, capture, keys, input method and quit
/// @ingroup zusystem
/// @{

/// Moves the pointer to (x, y), pixels of the picture.
void SetMouse(int32_t x, int32_t y);
/// Keeps the pointer inside the rectangle, in screen pixels (right and bottom exclusive).
void ClipCursor(int32_t left, int32_t top, int32_t right, int32_t bottom);
/// Keeps the pointer inside the picture.
void ClipToScreen();
/// Frees the pointer.
void Unclip();
/// @return 1 while this program clips the pointer, else 0
int32_t IsClipped();
/// Counts the releases of virtual key `key` from now on.
void WatchKey(int32_t key);
/// @return releases of the watched key since WatchKey
int32_t WatchedKeyCount();
/// Capture mode: keys and left clicks go to capturedKey and capturedClick only, and every
/// PollKey reads Up.
void BeginCapture();
/// Ends capture mode and forgets the key held.
void EndCapture();
/// What Alt and F10 do: 0 swallowed with their combinations, Alt+F4 included (the default
/// after StartUp); 2 Alt alone swallowed; any other value passed on as keys.
void SetSystemKeyMode(int32_t mode);
/// Switches text input (the input method) on for a nonzero `flag`, else off.
/// @return 1 when it was on before, else 0
int32_t EnableIme(int32_t flag);
/// Releases fonts, sound and screen and the instance guard, and closes the window, after which
/// PumpMessages returns 0. Draw and play nothing after it. A second call does nothing.
/// @return always 1
int32_t Quit();

/// @}

}  // namespace zuSystem
