// The mixer's own state, shared by the buffer calls, the device callback and the inner loops.
// Private to the platform. Voices and the output format are guarded by mixerMutex(), attached
// sources by sourceMutex(); the device thread never holds both, and the main thread holds
// either only for constant-time changes, so the device never waits on a long copy or decode.
#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/audio/audio.h"

namespace platform {

struct Voice;
// Adds up to `frames` stereo frames of the voice into accum; stops the voice at its end.
using VoiceMixer = void (*)(Voice&, int32_t* accumStereo, uint32_t frames);

// The accumulation keeps this many bits below the 16-bit sample scale, so a quiet voice adds
// its fraction of a step instead of a rounded whole one. 1024 full-scale voices fit in 32 bits.
constexpr int32_t accumFractionBits = 6;

// A gain of mantissa / 2^exponent: the mantissa keeps 15 significant bits at any attenuation.
// A voice adds round(sample * mantissa / 2^shift) with shift = exponent - accumFractionBits.
struct Gain {
    int32_t mantissa = 0;  // 16384 .. 32767, or 0 for silence
    int32_t shift = 8;
};

// One playing (or idle) buffer, as the inner loops see it.
struct Voice {
    const uint8_t* samples = nullptr;
    uint32_t frames = 0;     // whole frames in the buffer
    uint64_t cursor = 0;     // 32.32 position in source frames
    uint64_t step = 0;       // 32.32 source frames per output frame
    uint32_t rate = 0;       // source rate in Hz
    Gain left, right;
    bool playing = false;
    bool looping = false;
    bool inUse = false;
    bool held = false;       // its bytes are being written in place: not mixed until unlocked
    uint32_t fenceStart = 0;   // a playing stream's frames being written in place: a block
    uint32_t fenceFrames = 0;  //   that would read them is skipped (silent), not mixed
    VoiceMixer mix = nullptr;
};

struct SoundBuffer {
    WaveFormat format;
    std::vector<uint8_t> bytes;
    std::vector<uint8_t> staging;  // new bytes of a buffer that was playing when locked
    bool locked = false;
    bool stream = false;  // circles always; a lock while playing fences its bytes off the mix
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
    std::vector<AudioSource*> sources;  // guarded by sourceMutex()
};

std::mutex& mixerMutex();
std::mutex& sourceMutex();
MixerState& mixerState();

// Picks the inner loop for a source format (decided once per buffer, not per sample).
VoiceMixer voiceMixerFor(int32_t channels, int32_t bits);
// 32.32 step from a source rate to the output rate.
uint64_t resampleStep(uint32_t sourceRate, uint32_t outputRate);
// The gain of an attenuation in hundredths of a decibel; -10000 and below are silent.
Gain gainOf(int32_t hundredthsDb);
void applyGains(Voice&, int32_t volume, int32_t pan);

// Mixes one block (at most mixBlockFrames) of every voice into accum (zeroed here), in units
// of 2^-accumFractionBits of a 16-bit step. Needs the mixer held.
void mixVoices(MixerState&, int32_t* accumStereo, uint32_t frames);
// One block of every attached source, at 16-bit scale, into accum (zeroed here); false, with
// accum untouched, when none is attached. Needs the sources held.
bool mixSources(MixerState&, int32_t* accumStereo, uint32_t frames, uint32_t outputRate);
// Rounds a stereo accumulation (voices' units) into the output's channels and bits, saturating.
void writeOutput(const int32_t* accumStereo, uint32_t frames, const AudioOutput&, uint8_t* out);
// Ends a beep still sounding (when the device closes).
void silenceBeep();
// Fills `bytes` of device output, block by block: sources with the sources held, voices with
// the mixer held, each lock taken once per block.
void fillOutput(uint8_t* out, uint32_t bytes);

// The longest time fillOutput has waited for either lock since the last reset, in nanoseconds.
uint64_t longestDeviceWaitNanoseconds();
void resetLongestDeviceWait();

}  // namespace platform
