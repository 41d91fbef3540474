// First slice of zuSound: without a device every operation is silent.
#include "sound/zu_sound.h"

#include "platform/audio.h"

namespace zuSound {

SoundState soundState;

int32_t Init() { soundState.enabled = 0; return 0; }
void ClearObjects() {}
void Release() {}
void Restore() {}
void ReleaseObject(int32_t) {}
int32_t SelectFormat(int32_t, int32_t, int32_t) { return 1; }
int32_t ReadWave(const char*, std::vector<uint8_t>& format, std::vector<uint8_t>& data) {
    format.clear();
    data.clear();
    return 1;
}
int32_t LoadObject(const char*, int32_t) { return -1; }
void Play(int32_t, int32_t) {}
void PlayLoop(int32_t, int32_t) {}
void Stop(int32_t, int32_t) {}
void Pause(int32_t, int32_t) {}
void AddFrequency(int32_t, int32_t, int32_t) {}
void ResetFrequency(int32_t, int32_t) {}
void SetFrequency(int32_t, int32_t, int32_t) {}
void AddPan(int32_t, int32_t, int32_t) {}
void ResetPan(int32_t, int32_t) {}
void SetPan(int32_t, int32_t, int32_t) {}
void PanLeft(int32_t, int32_t) {}
void PanRight(int32_t, int32_t) {}
void AddVolume(int32_t, int32_t, int32_t) {}
void ResetVolume(int32_t, int32_t) {}
void SetVolume(int32_t, int32_t, int32_t) {}
void Echo(int32_t, int32_t, int32_t, int32_t) {}
void EchoPan(int32_t, int32_t, int32_t, int32_t, int32_t) {}
uint32_t GetPosition(int32_t) { return 0; }
void Beep() { platform::beep(); }

}  // namespace zuSound
