// The mixer's own state, shared by the buffer calls, the device callback and the inner loops.
// Private to the platform; everything here is guarded by mixerMutex().
#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/audio/audio.h"

namespace platform {

struct Voice;
// Adds up to `frames` stereo frames of the voice into accum; stops the voice at its end.
using VoiceMixer = void (*)(Voice&, int32_t* accumStereo, uint32_t frames);

// One playing (or idle) buffer, as the inner loops see it.
struct Voice {
    const uint8_t* samples = nullptr;
    uint32_t frames = 0;     // whole frames in the buffer
    uint64_t cursor = 0;     // 32.32 position in source frames
    uint64_t step = 0;       // 32.32 source frames per output frame
    uint32_t rate = 0;       // source rate in Hz
    int32_t gainLeft = 0;    // Q15: 32768 is unity
    int32_t gainRight = 0;
    bool playing = false;
    bool looping = false;
    bool inUse = false;
    VoiceMixer mix = nullptr;
};

struct SoundBuffer {
    WaveFormat format;
    std::vector<uint8_t> bytes;
    uint32_t voice = 0;  // index into MixerState::voices
    int32_t volume = 0;
    int32_t pan = 0;
    uint32_t frequency = 0;
};

constexpr uint32_t mixBlockFrames = 64;

struct MixerState {
    AudioOutput output;
    std::vector<Voice> voices;  // flat; indexes stay valid while a buffer lives
    std::vector<uint32_t> freeVoices;
    std::vector<AudioSource*> sources;
};

std::mutex& mixerMutex();
MixerState& mixerState();

// Picks the inner loop for a source format (decided once per buffer, not per sample).
VoiceMixer voiceMixerFor(int32_t channels, int32_t bits);
// 32.32 step from a source rate to the output rate.
uint64_t resampleStep(uint32_t sourceRate, uint32_t outputRate);
// Q15 gain of an attenuation in hundredths of a decibel; -10000 and below are silent.
int32_t gainOf(int32_t hundredthsDb);
void applyGains(Voice&, int32_t volume, int32_t pan);

// Mixes one block (at most mixBlockFrames) of every voice and source into accum (zeroed here).
void mixBlock(MixerState&, int32_t* accumStereo, uint32_t frames);
// Saturates a stereo accumulation into the output's channels and bits.
void writeOutput(const int32_t* accumStereo, uint32_t frames, const AudioOutput&, uint8_t* out);
// Ends a beep still sounding (when the device closes).
void silenceBeep();
// Fills `bytes` of device output, block by block, holding the mixer once per block.
void fillOutput(uint8_t* out, uint32_t bytes);

}  // namespace platform
