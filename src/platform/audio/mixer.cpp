// Mixing blocks: every playing voice and attached source into a 32-bit stereo accumulation,
// then saturated into the output's channels and bits.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/audio/mixer.h"

namespace platform {

std::mutex& mixerMutex() {
    static std::mutex mutex;
    return mutex;
}

MixerState& mixerState() {
    static MixerState state;
    return state;
}

uint64_t resampleStep(uint32_t sourceRate, uint32_t outputRate) {
    return outputRate == 0 ? 0 : (uint64_t(sourceRate) << 32) / outputRate;
}

int32_t gainOf(int32_t hundredthsDb) {
    if (hundredthsDb <= -10000) return 0;
    if (hundredthsDb >= 0) return 32768;
    return int32_t(std::lround(32768.0 * std::pow(10.0, hundredthsDb / 2000.0)));
}

// The side away from the pan is lowered by |pan| hundredths of a decibel.
void applyGains(Voice& v, int32_t volume, int32_t pan) {
    v.gainLeft = gainOf(volume - std::max(pan, 0));
    v.gainRight = gainOf(volume - std::max(-pan, 0));
}

void mixBlock(MixerState& state, int32_t* accum, uint32_t frames) {
    std::memset(accum, 0, sizeof(int32_t) * 2 * frames);
    for (Voice& v : state.voices)
        if (v.playing) v.mix(v, accum, frames);
    for (AudioSource* source : state.sources) source->mix(accum, frames, state.output.rate);
}

namespace {
inline int32_t saturate16(int32_t v) { return std::clamp(v, -32768, 32767); }

void writeStereo16(const int32_t* a, uint32_t frames, uint8_t* out) {
    int16_t* o = reinterpret_cast<int16_t*>(out);
    for (uint32_t i = 0; i < 2 * frames; ++i) o[i] = int16_t(saturate16(a[i]));
}
void writeMono16(const int32_t* a, uint32_t frames, uint8_t* out) {
    int16_t* o = reinterpret_cast<int16_t*>(out);
    for (uint32_t i = 0; i < frames; ++i) o[i] = int16_t(saturate16((a[2 * i] + a[2 * i + 1]) >> 1));
}
void writeStereo8(const int32_t* a, uint32_t frames, uint8_t* out) {
    for (uint32_t i = 0; i < 2 * frames; ++i) out[i] = uint8_t((saturate16(a[i]) >> 8) + 128);
}
void writeMono8(const int32_t* a, uint32_t frames, uint8_t* out) {
    for (uint32_t i = 0; i < frames; ++i)
        out[i] = uint8_t((saturate16((a[2 * i] + a[2 * i + 1]) >> 1) >> 8) + 128);
}
}  // namespace

void writeOutput(const int32_t* accum, uint32_t frames, const AudioOutput& output, uint8_t* out) {
    const bool stereo = output.channels == 2;
    if (output.bits == 16) (stereo ? writeStereo16 : writeMono16)(accum, frames, out);
    else (stereo ? writeStereo8 : writeMono8)(accum, frames, out);
}

void fillOutput(uint8_t* out, uint32_t bytes) {
    int32_t accum[2 * mixBlockFrames];
    MixerState& state = mixerState();
    while (bytes > 0) {
        AudioOutput output;
        uint32_t frames;
        {
            std::lock_guard<std::mutex> hold(mixerMutex());
            output = state.output;
            const uint32_t frameBytes = uint32_t(output.channels * output.bits / 8);
            frames = std::min(bytes / frameBytes, mixBlockFrames);
            if (frames == 0) break;
            mixBlock(state, accum, frames);
        }
        writeOutput(accum, frames, output, out);
        const uint32_t written = frames * uint32_t(output.channels * output.bits / 8);
        out += written;
        bytes -= written;
    }
    std::memset(out, 0, bytes);  // a partial frame, never expected
}

}  // namespace platform
