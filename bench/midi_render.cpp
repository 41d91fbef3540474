// One second of a dense General MIDI piece on all 16 channels (four-note chords every eighth of a
// second on 15 instruments, drums in sixteenths) rendered by the synthesizer into the mixer's
// 44.1 kHz stereo output, against memcpy of the same output bytes (in mix_voices.cpp).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../tests/support/midi_writer.h"
#include "platform/audio/audio.h"
#include "platform/audio/midi_sequencer.h"
#include "platform/audio/midi_synth.h"
#include "platform/audio/mixer.h"
#include "platform/headless.h"
#include "ratio.h"

namespace {

constexpr uint32_t outputBytes = 44100 * 4;

// Two seconds at 120 a minute, 480 ticks to the quarter: 60 ticks are a sixteenth.
std::vector<uint8_t> densePiece() {
    std::vector<test::MidiTrack> tracks(16);
    for (uint8_t channel = 0; channel < 16; ++channel) {
        test::MidiTrack& t = tracks[channel];
        t.event(0, {uint8_t(0xC0 | channel), uint8_t(channel * 8)});
        const bool drums = channel == 9;
        const uint32_t step = drums ? 60 : 120;
        for (uint32_t at = 0; at < 1920; at += step) {
            const uint8_t root = uint8_t(drums ? 35 + (at / step) % 12 : 36 + channel * 3 + (at / step) % 5);
            const int notes = drums ? 2 : 4;
            for (int n = 0; n < notes; ++n) t.event(0, {uint8_t(0x90 | channel), uint8_t(root + n * 4), 90});
            for (int n = 0; n < notes; ++n) t.event(n == 0 ? step : 0, {uint8_t(0x80 | channel), uint8_t(root + n * 4), 0});
        }
        t.end();
    }
    return test::midiFile(1, 480, tracks);
}

bool openDensePiece() {
    if (!platform::audioOpen()) {
        platform::useHeadless({});
        platform::openAudio();
    }
    const std::string path = "/tmp/zubench_dense.mid";
    const std::vector<uint8_t> bytes = densePiece();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    return written && platform::midi::sendCommand(("open \"" + path + "\" type sequencer alias bench").c_str()) ==
                          platform::midi::commandDone;
}

void BM_MidiDense16Channels(benchmark::State& state) {
    const bool opened = openDensePiece();
    if (!opened || platform::midi::soundFontPath().empty()) {
        platform::midi::sendCommand("close bench");
        state.SkipWithError("no sound font or no MIDI file");
        return;
    }
    std::vector<uint8_t> out(outputBytes);
    for (auto _ : state) {
        state.PauseTiming();
        platform::midi::sendCommand("seek bench to start");
        platform::midi::sendCommand("play bench");
        state.ResumeTiming();
        platform::fillOutput(out.data(), outputBytes);
        benchmark::DoNotOptimize(out.data());
    }
    // Closed, not just stopped: a stopped piece's tail would still be rendered into the cases
    // that mix after this one.
    platform::midi::sendCommand("close bench");
}
BENCHMARK(BM_MidiDense16Channels)->Unit(benchmark::kMillisecond);

// Real time is one second per iteration.
ZU_BUDGET(BM_MidiDense16Channels, 1.0 / 10, "MIDI, 16 dense channels, at least 10x real time");
ZU_RATIO(BM_MidiDense16Channels, BM_MemcpyOneSecondOfOutput, 0, "MIDI, 16 dense channels vs memcpy of the output");

}  // namespace
