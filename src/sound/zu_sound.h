// zuSound: the sound device and its table of 70 sound objects with up to ten mix slots each,
// WAV reading and loading, playback, echo, and the system beep.
#pragma once
#include <cstdint>
#include <vector>

namespace platform {
struct SoundBuffer;
}

namespace zuSound {

constexpr int32_t soundCount = 70;
constexpr int32_t slotLimit = 10;
constexpr int32_t nameLimit = 30;

// Stream half of a sound number; a nonzero dataSize marks the sound as a stream.
struct SoundStream {
    uint32_t dataStart = 0;
    uint32_t loopStart = 0;
    uint32_t readPos = 0;
    uint32_t dataSize = 0;
    uint32_t consumed = 0;
    uint32_t lastWriteStart = 0;
    uint32_t writePos = 0;
    uint32_t halfSize = 0;
    uint32_t bufferSize = 0;
    uint32_t wrapCursor = 0xFFFFFFFF;
    uint32_t lastCursor = 0;
    uint8_t endCountdown = 0;
    char packPath[259] = {};
};

struct SoundObject {
    int32_t used = 0;
    int32_t slotCount = 1;
    platform::SoundBuffer* buffers[slotLimit] = {};
    int32_t volume[slotLimit] = {};      // hundredths of a decibel, -10000..0
    uint32_t frequency[slotLimit] = {};  // Hz
    int32_t pan[slotLimit] = {};         // -10000 (left)..10000 (right)
    uint32_t savedPosition[slotLimit] = {};
    uint32_t baseFrequency = 0;
    int32_t nextSlot = 0;
    int32_t echoState = -1;  // -1 none, 0 idle, n >= 1 the n-th repeat comes next
    float echoTimer = 0;
    float echoPan = 0;
    int32_t echoLooping = 0;
    int32_t echoDirection = 1;
    int32_t looping = 0;
    int32_t fromPack = 0;
    char name[nameLimit + 1] = {};
};

struct SoundState {
    int32_t device = 0;   // 1 while we hold the audio output
    int32_t primary = 0;  // 1 while the output format is ours to set
    int32_t enabled = 0;
    int32_t reloading = 0;
    int32_t current = 0;
    char packPath[260] = {};
    SoundObject objects[soundCount];
    SoundStream streams[soundCount];
};

extern SoundState soundState;

// Device and table
int32_t Init();  // 1 ready, 0 no sound (silently)
void ClearObjects();
void Release();
void Restore();
void ReleaseObject(int32_t number);
int32_t SelectFormat(int32_t channels, int32_t rate, int32_t bits);

// WAV reading and loading. ReadWave: 0 read, 1 failed (both outputs empty). The format block is
// a stored WAVEFORMATEX: 18 bytes with cbSize set to the count of extra bytes behind them.
int32_t ReadWave(const char* path, std::vector<uint8_t>& format, std::vector<uint8_t>& data);
int32_t LoadObject(const char* name, int32_t mix);  // sound number, or -1

// Playback. mix >= 0 names a slot; -1 the next slot in turn (or every slot); -2 the next slot
// and, for starts, an echo.
void Play(int32_t number, int32_t mix);
void PlayLoop(int32_t number, int32_t mix);
void Stop(int32_t number, int32_t mix);
void Pause(int32_t number, int32_t mix);
void AddFrequency(int32_t number, int32_t step, int32_t mix);
void ResetFrequency(int32_t number, int32_t mix);
void SetFrequency(int32_t number, int32_t value, int32_t mix);
void AddPan(int32_t number, int32_t step, int32_t mix);
void ResetPan(int32_t number, int32_t mix);
void SetPan(int32_t number, int32_t value, int32_t mix);
void PanLeft(int32_t number, int32_t mix);
void PanRight(int32_t number, int32_t mix);
void AddVolume(int32_t number, int32_t step, int32_t mix);
void ResetVolume(int32_t number, int32_t mix);
void SetVolume(int32_t number, int32_t value, int32_t mix);
void Echo(int32_t number, int32_t interval, int32_t count, int32_t decay);
void EchoPan(int32_t number, int32_t interval, int32_t count, int32_t decay, int32_t panSpeed);
uint32_t GetPosition(int32_t number);  // play cursor of slot 0 in bytes; 0 without a buffer

// The simple beep of the error report.
void Beep();

}  // namespace zuSound
