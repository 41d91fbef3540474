// Volume, pan and rate of mix slots: the stored value is updated, kept in range, and passed on
// to the buffer, so re-creation can apply it again.
#include <algorithm>

#include "platform/audio/audio.h"
#include "sound/sound_internal.h"

namespace zuSound {
namespace {

enum class Setting { volume, pan, frequency };

int32_t clampTo(int64_t value, int64_t low, int64_t high) { return int32_t(std::clamp(value, low, high)); }

// Applies `next(current value)` to each targeted slot of the chosen setting.
template <class Next>
void adjust(int32_t number, int32_t mix, Setting setting, Next next) {
    SoundObject* s = detail::loadedSound(number);
    if (!s) return;
    const detail::SlotRange slots = detail::targetSlots(*s, mix, true);
    for (int32_t j = slots.first; j <= slots.last; ++j) {
        platform::SoundBuffer* buffer = s->buffers[j];
        switch (setting) {
        case Setting::volume:
            s->volume[j] = clampTo(next(s->volume[j], *s), -10000, 0);
            platform::setVolume(buffer, s->volume[j]);
            break;
        case Setting::pan:
            s->pan[j] = clampTo(next(s->pan[j], *s), -10000, 10000);
            platform::setPan(buffer, s->pan[j]);
            break;
        case Setting::frequency:
            s->frequency[j] = uint32_t(clampTo(next(s->frequency[j], *s), 100, 100000));
            platform::setFrequency(buffer, s->frequency[j]);
            break;
        }
    }
}

int64_t hundreds(int32_t value) { return int64_t(value) * 100; }

}  // namespace

void AddFrequency(int32_t number, int32_t step, int32_t mix) {
    adjust(number, mix, Setting::frequency, [=](int64_t v, const SoundObject&) { return v + hundreds(step); });
}
void ResetFrequency(int32_t number, int32_t mix) {
    adjust(number, mix, Setting::frequency, [](int64_t, const SoundObject& s) { return int64_t(s.baseFrequency); });
}
void SetFrequency(int32_t number, int32_t value, int32_t mix) {
    adjust(number, mix, Setting::frequency,
           [=](int64_t, const SoundObject& s) { return int64_t(s.baseFrequency) + hundreds(value); });
}

void AddPan(int32_t number, int32_t step, int32_t mix) {
    adjust(number, mix, Setting::pan, [=](int64_t v, const SoundObject&) { return v + hundreds(step); });
}
void ResetPan(int32_t number, int32_t mix) {
    adjust(number, mix, Setting::pan, [](int64_t, const SoundObject&) { return int64_t(0); });
}
void SetPan(int32_t number, int32_t value, int32_t mix) {
    adjust(number, mix, Setting::pan, [=](int64_t, const SoundObject&) { return hundreds(value); });
}
void PanLeft(int32_t number, int32_t mix) { SetPan(number, -100, mix); }
void PanRight(int32_t number, int32_t mix) { SetPan(number, 100, mix); }

void AddVolume(int32_t number, int32_t step, int32_t mix) {
    adjust(number, mix, Setting::volume, [=](int64_t v, const SoundObject&) { return v + hundreds(step); });
}
void ResetVolume(int32_t number, int32_t mix) {
    adjust(number, mix, Setting::volume, [](int64_t, const SoundObject&) { return int64_t(0); });
}
void SetVolume(int32_t number, int32_t value, int32_t mix) {
    adjust(number, mix, Setting::volume, [=](int64_t, const SoundObject&) { return hundreds(value); });
}

}  // namespace zuSound
