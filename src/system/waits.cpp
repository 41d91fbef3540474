// The frame clock, the numbered waits, the blocking delay and the system start-up.
#include "platform/os/clock.h"
#include "system/zu_system.h"

namespace zuSystem {
namespace {

constexpr int32_t delaySlot = 10;

bool checkWaitNumber(int32_t number, const char* operation) {
    if (number >= 1 && number <= waitCount) return true;
    ReportError(operation, "ウェイトNoが範囲外です", 0);
    return false;
}

}  // namespace

int32_t StartUp() {
    for (uint32_t& due : waitTable.due) due = waitNotRunning;
    EndCapture();
    systemState.systemKeyMode = 0;
    if (systemState.fullScreen) ClipToScreen();
    return 1;
}

int32_t SetWait(int32_t number, uint32_t milliseconds) {
    if (!checkWaitNumber(number, "zuSystem::SetWait")) return 0;
    waitTable.due[number - 1] = platform::ticks() + milliseconds;
    return 1;
}

int32_t InitWait(int32_t number) {
    if (!checkWaitNumber(number, "zuSystem::InitWait")) return 0;
    waitTable.due[number - 1] = waitNotRunning;
    return 1;
}

int32_t IsWaitOver(int32_t number) {
    if (number < 1 || number > waitCount) return 0;
    return platform::ticks() >= waitTable.due[number - 1] ? 1 : 0;
}

void ResetClock() {
    frameClock.seconds = 0.0f;
    frameClock.lastTick = platform::ticks();
}

void UpdateClock() {
    uint32_t elapsed = platform::ticks() - frameClock.lastTick;
    frameClock.seconds = float(elapsed / 1000.0);
    frameClock.lastTick = platform::ticks();
}

// Sleeps instead of spinning; the wrap-aware sleep also waits correctly across a tick wrap.
void Delay(uint32_t milliseconds) {
    waitTable.due[delaySlot] = platform::ticks() + milliseconds;
    platform::sleepUntil(waitTable.due[delaySlot] + 1);
    ResetClock();
}

}  // namespace zuSystem
