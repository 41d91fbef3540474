// zuSystem: the family's records, and placeholder bodies until each topic file lands.
#include "system/zu_system.h"

#include "platform/system_info.h"

namespace zuSystem {

SystemState systemState;
InputState inputState;
TriggerState triggerState;
FrameClock frameClock;
WaitTable waitTable;
PathState pathState;

int32_t CheckInstance(const char*) { return 1; }
int32_t RegisterWindowClass(platform::Instance*) { return 1; }
int32_t CreateMainWindow(platform::Instance*, int32_t) { return 1; }
intptr_t WindowProc(platform::Window*, uint32_t, uintptr_t, intptr_t) { return 0; }
void KeyDown(int32_t) {}
void PollKey(int32_t, int32_t& state) { state = KeyEdge::Up; }
int32_t GetTrigger(int32_t, ...) { return 0; }
int32_t StartUp() { return 1; }
int32_t SetWait(int32_t, uint32_t) { return 1; }
int32_t InitWait(int32_t) { return 1; }
int32_t IsWaitOver(int32_t) { return 0; }
void ResetClock() {}
void UpdateClock() {}
void Delay(uint32_t) {}
int32_t ReportError(const char*, const char*, int32_t) { return 0; }
int32_t HasError() { return systemState.errorRaised; }
int32_t QuitOnError() { return systemState.errorRaised; }
void Message(const char*, ...) {}
int32_t YesNo(const char*, ...) { return 0; }
int32_t DesktopBits() { return 32; }
int32_t IsWindowed() { return systemState.fullScreen == 0; }
int32_t CheckDisplayDepth(const char*) { return 1; }
char* ModuleDir(int32_t) { return pathState.moduleDir; }
int32_t LoadDirOverride(const char*) { return 0; }
void WriteNumber(const char*, int32_t) {}
int32_t ReadNumber(const char*) { return 0; }
void GetDate(int32_t*, int32_t*, int32_t*, char*) {}
void GetTime(int32_t*, int32_t*, int32_t*) {}
int32_t DiskFree(char) { return 0; }
int32_t FreeMemory() { return 0; }
int32_t WindowsVersion() { return -1; }
int32_t VersionNumber(const platform::OsVersion&) { return -1; }
void SetCommandLine(const char*) {}
char* CommandLine() { return systemState.commandLine; }
void SetMouse(int32_t, int32_t) {}
void ClipCursor(int32_t, int32_t, int32_t, int32_t) {}
void ClipToScreen() {}
void Unclip() {}
int32_t IsClipped() { return systemState.cursorClipped; }
void WatchKey(int32_t) {}
int32_t WatchedKeyCount() { return inputState.watchedKeyCount; }
void BeginCapture() {}
void EndCapture() {}
void SetSystemKeyMode(int32_t) {}
int32_t EnableIme(int32_t) { return 0; }
int32_t Quit() { return 1; }

}  // namespace zuSystem
