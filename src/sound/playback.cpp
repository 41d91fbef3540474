// Starting, stopping and pausing mix slots, with the slot-in-turn rule and the echo start.
#include <cstdlib>

#include "platform/audio/audio.h"
#include "sound/sound_internal.h"

namespace zuSound {
namespace detail {

SoundObject* loadedSound(int32_t number) {
    if (!soundState.enabled || number < 0 || number >= soundCount) return nullptr;
    SoundObject& s = soundState.objects[number];
    return s.used ? &s : nullptr;
}

bool isStream(int32_t number) { return soundState.streams[number].dataSize != 0; }

SlotRange targetSlots(const SoundObject& s, int32_t mix, bool forSettings) {
    if (s.slotCount <= 0) return {};
    if (mix >= 0) return mix < s.slotCount ? SlotRange{mix, mix} : SlotRange{};
    if (mix == -2 && forSettings) return {s.nextSlot, s.nextSlot};
    return {0, s.slotCount - 1};
}

void startSlot(int32_t number, SoundObject& s, int32_t slot, bool loop) {
    platform::SoundBuffer* buffer = s.buffers[slot];
    if (!buffer) return;  // no buffers after a refused format change: the start is ignored
    platform::stop(buffer);
    platform::setPosition(buffer, 0);
    if (isStream(number)) {
        // Every start begins at the start of the data; a pack that cannot be read keeps it silent.
        if (ResetStream(number)) platform::play(buffer, true);
        return;
    }
    platform::play(buffer, loop);
}

}  // namespace detail

namespace {

void beginEcho(int32_t number, SoundObject& s, bool loop) {
    ResetFrequency(number, -1);
    ResetPan(number, -1);
    ResetVolume(number, -1);
    s.echoState = 1;
    s.echoTimer = 0;
    s.echoLooping = loop ? 1 : 0;
    s.echoPan = float(s.pan[s.nextSlot]);
    s.echoDirection = (std::rand() & 1) ? 1 : -1;
}

void start(int32_t number, int32_t mix, bool loop) {
    SoundObject* s = detail::loadedSound(number);
    if (!s || s->slotCount <= 0) return;
    if (mix >= 0) {
        if (mix < s->slotCount) detail::startSlot(number, *s, mix, loop);
    } else {
        if (s->nextSlot < 0 || s->nextSlot >= s->slotCount) s->nextSlot = 0;
        if (mix == -2 && s->echoState >= 0) beginEcho(number, *s, loop);
        detail::startSlot(number, *s, s->nextSlot, loop);
        s->nextSlot = (s->nextSlot + 1) % s->slotCount;
    }
    s->looping = loop ? 1 : 0;
}

}  // namespace

void Play(int32_t number, int32_t mix) { start(number, mix, false); }
void PlayLoop(int32_t number, int32_t mix) { start(number, mix, true); }

void Stop(int32_t number, int32_t mix) {
    SoundObject* s = detail::loadedSound(number);
    if (!s) return;
    if (mix < 0 && s->echoState >= 0) s->echoState = 0;
    const detail::SlotRange slots = detail::targetSlots(*s, mix, false);
    for (int32_t j = slots.first; j <= slots.last; ++j) {
        platform::stop(s->buffers[j]);
        platform::setPosition(s->buffers[j], 0);
    }
}

// A playing slot keeps its cursor and stops; any other slot plays on from its kept cursor.
void Pause(int32_t number, int32_t mix) {
    SoundObject* s = detail::loadedSound(number);
    if (!s) return;
    const detail::SlotRange slots = detail::targetSlots(*s, mix, false);
    for (int32_t j = slots.first; j <= slots.last; ++j) {
        platform::SoundBuffer* buffer = s->buffers[j];
        if (!buffer) continue;
        if (platform::isPlaying(buffer)) {
            s->savedPosition[j] = platform::position(buffer);
            platform::stop(buffer);
        } else {
            platform::setPosition(buffer, s->savedPosition[j]);
            platform::play(buffer, s->looping == 1);
        }
    }
}

uint32_t GetPosition(int32_t number) {
    if (number < 0 || number >= soundCount) return 0;
    return platform::position(soundState.objects[number].buffers[0]);
}

}  // namespace zuSound
