// zuassets --show: zushow's data is the same on every run, and long enough for its screens: the
// streamed music entry at least 12 s (the one-shot at least 5 s, else it would not stream), the
// MIDI tune at least 30 s; the packs the build made from it hold every entry the show loads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/audio/midi_file.h"
#include "support/process.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
uint32_t le32(const std::vector<uint8_t>& b, size_t i) { return b[i] | b[i + 1] << 8 | b[i + 2] << 16 | uint32_t(b[i + 3]) << 24; }
// Seconds of a canonical 44-byte-header WAV: data size over bytes per second.
double waveSeconds(const std::vector<uint8_t>& wave) { return wave.size() < 44 ? 0 : double(le32(wave, 40)) / le32(wave, 28); }

// Seconds of a Standard MIDI File, as the sequencer will play it.
double midiSeconds(const std::vector<uint8_t>& midi) {
    platform::midi::MidiSong song;
    return platform::midi::readMidiFile(midi.data(), midi.size(), song) ? song.lengthSeconds : 0;
}

}  // namespace

TEST(ShowData, EveryRunWritesTheSameBytesLongEnoughForTheScreens) {
    const fs::path out = test::makeTempDir(), built = ZU_BINARY_DIR;
    test::ProcessSpec spec;
    spec.argv = {std::string(ZU_BINARY_DIR) + "/zuassets", "--show", out.string()}, spec.timeoutMs = 60000;
    const test::ProcessResult result = test::runProcess(spec);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        EXPECT_EQ(readBytes(entry.path()), readBytes(built / fs::relative(entry.path(), out))) << entry.path();
    }
    EXPECT_EQ(files, 16);
    EXPECT_GE(waveSeconds(readBytes(out / "zushow_src/SOUNDS/MUSIC.WAV")), 12.0);
    EXPECT_GE(waveSeconds(readBytes(out / "zushow_src/SOUNDS/ONESHOT.WAV")), 5.0);
    EXPECT_GE(midiSeconds(readBytes(out / "ZUSHOW/TUNE.MID")), 30.0);
    fs::remove_all(out);

    for (const auto& [tool, pack, names] :
         {std::tuple("zusoundpack", "SOUNDS.PAK", std::vector<std::string>{"CHIME.WAV", "MUSIC.WAV", "ONESHOT.WAV", "PLUCK.WAV", "TONE.WAV"}),
          std::tuple("zudrawpack", "PICS.PAK", std::vector<std::string>{"WHEEL1.BMP", "WHEEL2.BMP", "WHEEL3.BMP", "WHEEL4.BMP"})}) {
        test::ProcessSpec list;
        list.argv = {std::string(ZU_BINARY_DIR) + "/" + tool, "--list", (built / "ZUSHOW" / pack).string()};
        const test::ProcessResult listed = test::runProcess(list);
        EXPECT_EQ(listed.exitCode, 0) << tool << listed.err;
        for (const std::string& name : names) EXPECT_NE(listed.out.find(name), std::string::npos) << pack << " " << name;
    }
}
