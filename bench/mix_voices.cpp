// Mixing one second of 44.1 kHz stereo output from 16, 64 and 700 voices (16-bit stereo sources
// at 22050 Hz, each with its own volume and pan), against memcpy of the same output bytes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/headless.h"
#include "platform/audio/mixer.h"
#include "ratio.h"

namespace {

constexpr uint32_t outputFrames = 44100;
constexpr uint32_t outputBytes = outputFrames * 4;
constexpr int maxVoices = 700;

// 700 looping buffers of half a second of noise; the first `count` of them play.
std::vector<platform::SoundBuffer*>& voices() {
    static std::vector<platform::SoundBuffer*> buffers = [] {
        std::vector<platform::SoundBuffer*> made;
        if (!platform::audioOpen()) {
            platform::useHeadless({});
            platform::openAudio();
        }
        platform::WaveFormat format;
        format.nSamplesPerSec = 22050;
        format.nAvgBytesPerSec = 22050 * 4;
        std::srand(7);
        for (int i = 0; i < maxVoices; ++i) {
            platform::SoundBuffer* b = platform::createBuffer(format, 22050 / 2 * 4);
            const platform::BufferLock lock = platform::lockBuffer(b, 0, 0);
            int16_t* samples = reinterpret_cast<int16_t*>(lock.first);
            for (uint32_t s = 0; s < lock.firstBytes / 2; ++s) samples[s] = int16_t(std::rand() % 8000 - 4000);
            platform::unlockBuffer(lock);
            platform::setVolume(b, -(i % 20) * 100);
            platform::setPan(b, (i % 21 - 10) * 500);
            made.push_back(b);
        }
        return made;
    }();
    return buffers;
}

void playFirst(int count) {
    for (int i = 0; i < maxVoices; ++i) {
        if (i < count) platform::play(voices()[i], true);
        else platform::stop(voices()[i]);
    }
}

void BM_MemcpyOneSecondOfOutput(benchmark::State& state) {
    std::vector<uint8_t> from(outputBytes, 0x42), to(outputBytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), outputBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyOneSecondOfOutput);

void mixOneSecond(benchmark::State& state, int count) {
    playFirst(count);
    std::vector<uint8_t> out(outputBytes);
    for (auto _ : state) {
        platform::fillOutput(out.data(), outputBytes);
        benchmark::DoNotOptimize(out.data());
    }
    playFirst(0);
}

void BM_Mix16Voices(benchmark::State& state) { mixOneSecond(state, 16); }
void BM_Mix64Voices(benchmark::State& state) { mixOneSecond(state, 64); }
void BM_Mix700Voices(benchmark::State& state) { mixOneSecond(state, 700); }
BENCHMARK(BM_Mix16Voices)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mix64Voices)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mix700Voices)->Unit(benchmark::kMillisecond);

// Real time is one second per iteration.
ZU_BUDGET(BM_Mix16Voices, 1.0 / 200, "mix 16 voices, at least 200x real time");
ZU_BUDGET(BM_Mix64Voices, 1.0 / 200, "mix 64 voices, at least 200x real time");
ZU_BUDGET(BM_Mix700Voices, 1.0 / 20, "mix 700 voices, at least 20x real time");
ZU_RATIO(BM_Mix64Voices, BM_MemcpyOneSecondOfOutput, 0, "mix 64 voices vs memcpy of the output");
ZU_RATIO(BM_Mix700Voices, BM_MemcpyOneSecondOfOutput, 0, "mix 700 voices vs memcpy of the output");

}  // namespace
