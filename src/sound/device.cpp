// The sound device and the table: Init, ClearObjects, Release, Restore, ReleaseObject and the
// output format change, which rebuild the buffers from the records.
#include <cstring>

#include "platform/audio/audio.h"
#include "sound/sound_internal.h"
#include "system/zu_system.h"

namespace zuSound {

SoundState soundState;

namespace detail {

void destroySlots(SoundObject& s) {
    for (platform::SoundBuffer*& buffer : s.buffers) {
        platform::stop(buffer);
        platform::destroyBuffer(buffer);
        buffer = nullptr;
    }
}

void rebuildTable() {
    soundState.reloading = 1;
    for (soundState.current = 0; soundState.current < soundCount; ++soundState.current) {
        SoundObject& s = soundState.objects[soundState.current];
        if (!s.used) continue;
        if (isStream(soundState.current) || s.fromPack) {
            reloadPackSound(soundState.current);
            continue;
        }
        // A sound loaded without echo keeps it off: the sign of the mix carries that.
        const int32_t mix = s.echoState >= 0 ? s.slotCount : -s.slotCount;
        LoadObject(s.name, mix);
    }
    soundState.reloading = 0;
}

}  // namespace detail

int32_t Init() {
    if (soundState.device) Release();  // never hold the device twice
    if (!platform::openAudio()) {
        soundState.enabled = 0;
        return 0;
    }
    soundState.device = 1;
    soundState.primary = 1;
    for (SoundObject& s : soundState.objects)
        for (platform::SoundBuffer*& buffer : s.buffers) buffer = nullptr;
    soundState.reloading = 0;
    soundState.enabled = 1;
    return 1;
}

void ClearObjects() {
    for (int32_t n = 0; n < soundCount; ++n) {
        SoundObject& s = soundState.objects[n];
        detail::destroySlots(s);
        s.used = 0;
        s.slotCount = 1;
        s.nextSlot = 0;
        s.baseFrequency = 0;
        s.name[0] = '\0';
        s.echoState = -1;
        s.fromPack = 0;
        soundState.streams[n].dataSize = 0;
        for (int32_t j = 0; j < slotLimit; ++j) {
            s.volume[j] = 0;
            s.frequency[j] = 0;
            s.pan[j] = 0;
        }
    }
}

void Release() {
    if (!soundState.enabled) return;
    for (SoundObject& s : soundState.objects) detail::destroySlots(s);
    if (soundState.device) platform::closeAudio();
    soundState.primary = 0;
    soundState.device = 0;
}

void Restore() {
    if (!soundState.enabled) return;
    if (!Init()) return;  // the loaders would only return -1
    detail::rebuildTable();
}

void ReleaseObject(int32_t number) {
    if (!soundState.enabled || number < 0 || number >= soundCount) return;
    SoundObject& s = soundState.objects[number];
    if (!s.used) return;
    s.used = 0;
    s.baseFrequency = 0;
    s.name[0] = '\0';
    s.fromPack = 0;
    soundState.streams[number].dataSize = 0;
    for (int32_t j = 0; j < slotLimit; ++j) {
        s.volume[j] = 0;
        s.frequency[j] = 0;
        s.pan[j] = 0;
    }
    detail::destroySlots(s);
    s.slotCount = 1;
}

namespace {
uint32_t rateFromCode(int32_t rate) {
    switch (rate) {
    case 8: return 8000;
    case 11: return 11025;
    case 22: return 22050;
    case 44: return 44100;
    default: return rate < 0 ? 0 : uint32_t(rate);
    }
}
constexpr int32_t formatRefused = 1;
}  // namespace

int32_t SelectFormat(int32_t channels, int32_t rate, int32_t bits) {
    if (!soundState.enabled) return 1;
    for (SoundObject& s : soundState.objects) detail::destroySlots(s);
    if (!platform::setOutputFormat(channels, rateFromCode(rate), bits))
        return zuSystem::ReportError("zuSound::SelectFormat", "再生フォーマットを変更できません", formatRefused);
    detail::rebuildTable();
    return 1;
}

}  // namespace zuSound
