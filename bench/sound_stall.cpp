// How long the audio device ever waits: the real SDL audio thread (dummy driver) plays looping
// sounds while the main thread loads a 64 MiB sound with 10 slots and a module, and the longest
// wait of the device callback for the mixer is reported against 1 ms (a 512-frame period at
// 44.1 kHz is 11.6 ms). Runs in a child process so the SDL backend leaves the other cases alone.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/mixer.h"
#include "platform/audio/music.h"
#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/os/files.h"
#include "ratio.h"
#include "sound/zu_sound.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t bigBytes = 64u << 20;

void put32(std::ofstream& out, uint32_t v) {
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.write(b, 4);
}
void put16(std::ofstream& out, uint16_t v) {
    const char b[2] = {char(v), char(v >> 8)};
    out.write(b, 2);
}

// A 16-bit stereo 44.1 kHz WAV of `bytes` bytes of a soft sawtooth.
void writeWave(const fs::path& path, uint32_t bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put32(out, 36 + bytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);
    put16(out, 2);
    put32(out, 44100);
    put32(out, 44100 * 4);
    put16(out, 4);
    put16(out, 16);
    out.write("data", 4);
    put32(out, bytes);
    std::vector<int16_t> chunk(1 << 20);
    for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = int16_t((i % 400) * 10 - 2000);
    for (uint32_t left = bytes; left > 0;) {
        const uint32_t n = std::min<uint32_t>(left, uint32_t(chunk.size() * 2));
        out.write(reinterpret_cast<const char*>(chunk.data()), n);
        left -= n;
    }
}

std::string frameworkPath(const fs::path& p) {
    std::string s = p.string();
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

// In the child: seconds of the longest wait, or a negative value when something failed.
double measureInChild(const fs::path& folder, const fs::path& module) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (!platform::useSdl()) return -1;
    platform::setModuleFileName(frameworkPath(folder / "prog").c_str());
    if (zuSound::Init() == 0) return -2;
    zuSound::ClearObjects();
    const int32_t tone = zuSound::LoadObject("SOUND\\TONE.WAV", 4);
    for (int32_t slot = 0; slot < 4; ++slot) zuSound::PlayLoop(tone, slot);
    if (!platform::music::init(-1, 44100, platform::music::kInitSixteenBits, nullptr)) return -3;
    platform::music::start();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the device is running

    platform::resetLongestDeviceWait();
    const int32_t big = zuSound::LoadObject("SOUND\\BIG.WAV", 10);
    const uint32_t tune = platform::music::loadModule(frameworkPath(module).c_str(), platform::music::kLoop);
    platform::music::play(tune);
    zuSound::Play(big, -1);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the module decodes meanwhile
    const double longest = double(platform::longestDeviceWaitNanoseconds()) * 1e-9;
    if (big < 0 || tune == 0) return -4;

    platform::music::release();
    zuSound::Release();
    platform::installBackend(nullptr);
    return longest;
}

void BM_DeviceWaitDuringLoads(benchmark::State& state) {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const fs::path module = self.parent_path() / "MOD" / "BGM.XM";
    const fs::path folder = fs::temp_directory_path() / ("zubench-stall-" + std::to_string(::getpid()));
    fs::create_directories(folder / "SOUND");
    writeWave(folder / "SOUND" / "BIG.WAV", bigBytes);
    writeWave(folder / "SOUND" / "TONE.WAV", 44100 * 4);
    double longest = -1;
    for (auto _ : state) {
        int channel[2];
        if (::pipe(channel) != 0) break;
        const pid_t child = ::fork();
        if (child == 0) {
            const double seconds = measureInChild(folder, module);
            [[maybe_unused]] ssize_t n = ::write(channel[1], &seconds, sizeof seconds);
            ::_exit(0);
        }
        ::close(channel[1]);
        if (::read(channel[0], &longest, sizeof longest) != sizeof longest) longest = -1;
        ::close(channel[0]);
        ::waitpid(child, nullptr, 0);
    }
    fs::remove_all(folder);
    if (longest < 0) {
        state.SkipWithError(("the SDL dummy device could not run the loads (" + std::to_string(longest) + ")").c_str());
        return;
    }
    state.counters["longest_wait_us"] = longest * 1e6;
    zubench::reportMeasured("device wait, 64 MiB x 10 slots and a module", longest, 1e-3);
}
BENCHMARK(BM_DeviceWaitDuringLoads)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
