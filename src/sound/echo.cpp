// The per-frame echo drivers: after each interval the next slot in turn sounds again, quieter
// by the decay each time, optionally with a pan that wanders between left and right.
#include <algorithm>

#include "sound/sound_internal.h"
#include "system/zu_system.h"

namespace zuSound {
namespace {

// Advances the timer; true when the interval has elapsed (and the timer restarted).
bool intervalElapsed(SoundObject& s, int32_t interval, int32_t count) {
    if (s.echoState < 1 || count < 1) return false;
    s.echoTimer += zuSystem::frameClock.seconds * 1000.0f;
    if (s.echoTimer < float(interval)) return false;
    s.echoTimer = 0;
    return true;
}

void soundRepeat(int32_t number, SoundObject& s, int32_t count, int32_t decay) {
    const int64_t level = -int64_t(s.echoState) * decay;
    SetVolume(number, int32_t(std::clamp<int64_t>(level, INT32_MIN, INT32_MAX)), -2);
    if (s.echoLooping == 1) PlayLoop(number, -3);
    else Play(number, -3);
    if (++s.echoState > count) s.echoState = 0;
}

}  // namespace

void Echo(int32_t number, int32_t interval, int32_t count, int32_t decay) {
    SoundObject* s = detail::loadedSound(number);
    if (!s || !intervalElapsed(*s, interval, count)) return;
    soundRepeat(number, *s, count, decay);
}

void EchoPan(int32_t number, int32_t interval, int32_t count, int32_t decay, int32_t panSpeed) {
    SoundObject* s = detail::loadedSound(number);
    if (!s || !intervalElapsed(*s, interval, count)) return;
    s->echoPan += float(s->echoDirection) * zuSystem::frameClock.seconds * 100.0f * float(panSpeed);
    if (s->echoPan < -30.0f || s->echoPan > 30.0f) {
        s->echoPan = std::clamp(s->echoPan, -30.0f, 30.0f);
        s->echoDirection = -s->echoDirection;
    }
    SetPan(number, int32_t(s->echoPan), -2);
    soundRepeat(number, *s, count, decay);
}

}  // namespace zuSound
