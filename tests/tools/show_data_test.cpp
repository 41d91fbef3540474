// zuassets --show: zushow's data is the same on every run, and long enough for its screens: the
// streamed music entry at least 12 s (the one-shot at least 5 s, else it would not stream), the
// MIDI tune at least 30 s; the packs the build made from it hold every entry the show loads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/process.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
uint32_t le32(const std::vector<uint8_t>& b, size_t i) { return b[i] | b[i + 1] << 8 | b[i + 2] << 16 | uint32_t(b[i + 3]) << 24; }
uint32_t be(const std::vector<uint8_t>& b, size_t i, int n) {
    uint32_t v = 0;
    while (n--) v = v << 8 | b.at(i++);
    return v;
}

// Seconds of a canonical 44-byte-header WAV: data size over bytes per second.
double waveSeconds(const std::vector<uint8_t>& wave) { return wave.size() < 44 ? 0 : double(le32(wave, 40)) / le32(wave, 28); }

// Seconds of a one-track Standard MIDI File: every delta, at the tempo in force.
double midiSeconds(const std::vector<uint8_t>& midi) {
    const double division = be(midi, 12, 2);
    size_t i = 22, end = 22 + be(midi, 18, 4);
    double seconds = 0, tempo = 500000;
    uint8_t status = 0;
    while (i < end) {
        uint32_t delta = 0;
        do delta = delta << 7 | (midi.at(i) & 0x7F);
        while (midi.at(i++) & 0x80);
        seconds += delta * tempo / division / 1e6;
        if (midi.at(i) & 0x80) status = midi[i++];
        if (status == 0xFF) {
            const uint8_t type = midi.at(i), length = midi.at(i + 1);
            if (type == 0x51) tempo = be(midi, i + 2, 3);
            i += 2 + length;
        } else {
            i += (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        }
    }
    return seconds;
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
