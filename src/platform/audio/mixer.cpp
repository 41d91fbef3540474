// Mixing blocks: every playing voice and attached source into a 32-bit stereo accumulation,
// then rounded and saturated into the output's channels and bits.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>

#include "platform/audio/mixer.h"

namespace platform {

std::mutex& mixerMutex() {
    static std::mutex mutex;
    return mutex;
}

std::mutex& sourceMutex() {
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

Gain gainOf(int32_t hundredthsDb) {
    if (hundredthsDb <= -10000) return {0, 14 - accumFractionBits};
    if (hundredthsDb >= 0) return {16384, 14 - accumFractionBits};
    const double gain = std::pow(10.0, hundredthsDb / 2000.0);
    int32_t exponent = 14;
    while (std::lround(std::ldexp(gain, exponent + 1)) <= 32767) ++exponent;
    return {int32_t(std::lround(std::ldexp(gain, exponent))), exponent - accumFractionBits};
}

// The side away from the pan is lowered by |pan| hundredths of a decibel.
void applyGains(Voice& v, int32_t volume, int32_t pan) {
    v.left = gainOf(volume - std::max(pan, 0));
    v.right = gainOf(volume - std::max(-pan, 0));
}

namespace {

// Whether a block of `frames` output frames would read a frame a stream is being written at:
// from the cursor to one past where it ends (the interpolation's neighbour), circling.
bool readsFence(const Voice& v, uint32_t frames) {
    const uint64_t first = v.cursor >> 32, span = ((v.cursor + uint64_t(frames) * v.step) >> 32) - first + 2;
    const uint64_t toFence = (v.fenceStart + v.frames - first % v.frames) % v.frames;
    return toFence < span || toFence + v.fenceFrames > v.frames;
}

// Moves a circling voice on by a block without mixing it.
void skipBlock(Voice& v, uint32_t frames) {
    const uint64_t end = uint64_t(v.frames) << 32;
    v.cursor += uint64_t(frames) * v.step;
    v.cursor -= end * (v.cursor / end);
}

}  // namespace

void mixVoices(MixerState& state, int32_t* accum, uint32_t frames) {
    std::memset(accum, 0, sizeof(int32_t) * 2 * frames);
    for (Voice& v : state.voices) {
        if (!v.playing || v.held) continue;
        if (v.fenceFrames && readsFence(v, frames)) skipBlock(v, frames);  // an underrun: silence
        else v.mix(v, accum, frames);
    }
}

bool mixSources(MixerState& state, int32_t* accum, uint32_t frames, uint32_t outputRate) {
    if (state.sources.empty()) return false;
    std::memset(accum, 0, sizeof(int32_t) * 2 * frames);
    for (AudioSource* source : state.sources) source->mix(accum, frames, outputRate);
    return true;
}

namespace {

// Halves round away from zero, so a signal and its negation give mirrored output (no offset).
inline int64_t roundShift(int64_t x, int32_t bits) { return (x + (int64_t(1) << (bits - 1)) - (x < 0)) >> bits; }
inline int32_t to16(int64_t x, int32_t bits) { return int32_t(std::clamp<int64_t>(roundShift(x, bits), -32768, 32767)); }
inline uint8_t to8(int64_t x, int32_t bits) { return uint8_t(std::clamp<int64_t>(roundShift(x, bits), -128, 127) + 128); }

constexpr int32_t F = accumFractionBits;

void writeStereo16(const int32_t* a, uint32_t frames, uint8_t* out) {
    int16_t* o = reinterpret_cast<int16_t*>(out);
    for (uint32_t i = 0; i < 2 * frames; ++i) o[i] = int16_t(to16(a[i], F));
}
void writeMono16(const int32_t* a, uint32_t frames, uint8_t* out) {
    int16_t* o = reinterpret_cast<int16_t*>(out);
    for (uint32_t i = 0; i < frames; ++i) o[i] = int16_t(to16(int64_t(a[2 * i]) + a[2 * i + 1], F + 1));
}
void writeStereo8(const int32_t* a, uint32_t frames, uint8_t* out) {
    for (uint32_t i = 0; i < 2 * frames; ++i) out[i] = to8(a[i], F + 8);
}
void writeMono8(const int32_t* a, uint32_t frames, uint8_t* out) {
    for (uint32_t i = 0; i < frames; ++i) out[i] = to8(int64_t(a[2 * i]) + a[2 * i + 1], F + 9);
}

std::atomic<uint64_t> longestWait{0};

// Takes the lock, timing the wait only when it is contended.
std::unique_lock<std::mutex> holdTimed(std::mutex& m) {
    std::unique_lock<std::mutex> hold(m, std::try_to_lock);
    if (hold.owns_lock()) return hold;
    const auto start = std::chrono::steady_clock::now();
    hold.lock();
    const uint64_t waited =
        uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count());
    uint64_t seen = longestWait.load(std::memory_order_relaxed);
    while (waited > seen && !longestWait.compare_exchange_weak(seen, waited, std::memory_order_relaxed)) {
    }
    return hold;
}

}  // namespace

void writeOutput(const int32_t* accum, uint32_t frames, const AudioOutput& output, uint8_t* out) {
    const bool stereo = output.channels == 2;
    if (output.bits == 16) (stereo ? writeStereo16 : writeMono16)(accum, frames, out);
    else (stereo ? writeStereo8 : writeMono8)(accum, frames, out);
}

void fillOutput(uint8_t* out, uint32_t bytes) {
    int32_t accum[2 * mixBlockFrames];
    int32_t sources[2 * mixBlockFrames];
    MixerState& state = mixerState();
    while (bytes > 0) {
        AudioOutput output;
        {
            auto hold = holdTimed(mixerMutex());
            output = state.output;
        }
        const uint32_t frameBytes = uint32_t(output.channels * output.bits / 8);
        const uint32_t frames = std::min(bytes / frameBytes, mixBlockFrames);
        if (frames == 0) break;
        bool sourced;
        {
            auto hold = holdTimed(sourceMutex());
            sourced = mixSources(state, sources, frames, output.rate);
        }
        {
            auto hold = holdTimed(mixerMutex());
            mixVoices(state, accum, frames);
        }
        if (sourced)
            for (uint32_t i = 0; i < 2 * frames; ++i) accum[i] += sources[i] * (1 << F);
        writeOutput(accum, frames, output, out);
        out += frames * frameBytes;
        bytes -= frames * frameBytes;
    }
    std::memset(out, 0, bytes);  // a partial frame, never expected
}

uint64_t longestDeviceWaitNanoseconds() { return longestWait.load(); }
void resetLongestDeviceWait() { longestWait.store(0); }

}  // namespace platform
