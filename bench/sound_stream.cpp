// One refill of a stream, 2 seconds of 44.1 kHz 16-bit stereo from a sound pack (open, seek,
// read, close, and the copy into the playing buffer), against an fread of the same bytes from a
// file kept open.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/headless.h"
#include "platform/os/files.h"
#include "ratio.h"
#include "sound/zu_sound.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t chunkBytes = 2 * 44100 * 4;
constexpr uint32_t entryBytes = 10 * 44100 * 4;

void put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(char(v >> (8 * i)));
}

// A program folder holding STREAM.PAK with a 10-second entry LONG.WAV, and that entry streamed.
struct StreamSetup {
    fs::path folder = fs::temp_directory_path() / ("zubench_stream_" + std::to_string(getpid()));
    int32_t number = -1;
    StreamSetup() {
        fs::create_directories(folder);
        std::string wav = "RIFF";
        put32(wav, 36 + entryBytes);
        wav += "WAVEfmt ";
        for (uint32_t v : {16u, 1u | 2u << 16, 44100u, 44100u * 4, 4u | 16u << 16}) put32(wav, v);
        wav += "data";
        put32(wav, entryBytes);
        for (uint32_t i = 0; i < entryBytes; ++i) wav.push_back(char(i * 7));
        std::FILE* out = std::fopen((folder / "LONG.WAV").c_str(), "wb");
        std::fwrite(wav.data(), 1, wav.size(), out);
        std::fclose(out);
        if (!platform::audioOpen()) platform::useHeadless({});
        std::string module = (folder / "prog").string();
        for (char& c : module) c = c == '/' ? '\\' : c;
        platform::setModuleFileName(module.c_str());
        zuSound::Init();
        zuSound::ClearObjects();
        zuSound::MakePack("STREAM.PAK", "", 1);
        zuSound::SetPackFile("STREAM.PAK");
        number = zuSound::LoadStream("LONG.WAV", 0);
    }
    ~StreamSetup() { fs::remove_all(folder); }
};

StreamSetup& setup() {
    static StreamSetup made;
    return made;
}

// Each iteration finds the last chunk played and refills 2 s from the start of the data.
void BM_StreamRefillOfTwoSeconds(benchmark::State& state) {
    const int32_t n = setup().number;
    if (n < 0) {
        state.SkipWithError("the stream did not load");
        return;
    }
    zuSound::SoundStream& st = zuSound::soundState.streams[n];
    zuSound::PlayLoop(n, 0);  // nothing renders: the cursor stays at 0, before every chunk
    for (auto _ : state) {
        st.lastWriteStart = 0;
        st.wrapCursor = 0xFFFFFFFF;
        st.consumed = 0;
        st.readPos = st.dataStart;
        zuSound::Streaming();
    }
    zuSound::Stop(n, 0);  // out of the other cases' mixes
}

void BM_FreadOfTwoSecondsFromAnOpenFile(benchmark::State& state) {
    std::FILE* in = std::fopen((setup().folder / "STREAM.PAK").c_str(), "rb");
    std::vector<uint8_t> bytes(chunkBytes);
    for (auto _ : state) {
        std::fseek(in, 64, SEEK_SET);
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, chunkBytes, in));
        benchmark::ClobberMemory();
    }
    std::fclose(in);
}

}  // namespace

BENCHMARK(BM_FreadOfTwoSecondsFromAnOpenFile);
BENCHMARK(BM_StreamRefillOfTwoSeconds);
ZU_RATIO(BM_StreamRefillOfTwoSeconds, BM_FreadOfTwoSecondsFromAnOpenFile, 1.0 / 3, "stream refill of 2 s vs fread (at most 3x)");
