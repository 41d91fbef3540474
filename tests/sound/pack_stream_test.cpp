// Sound packs and streams on the headless device: packs built from a folder load the bytes the WAV
// files load, names follow Shift-JIS, streams come out sample for sample through every chunk and
// loop seam at any frame length, and malformed packs, formats and paths are refused.
#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/process.h"
#include "support/sound_program.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

// Bytes that never repeat nearby and are never silent: a lost or repeated block shows.
Bytes noise(uint32_t bytes) {
    Bytes out(bytes);
    for (uint32_t i = 0; i < bytes; ++i) out[i] = uint8_t((i * 2654435761u) >> 13 | 1);  // odd: never 8-bit silence
    return out;
}

std::string fileText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

Bytes operator+(Bytes a, const Bytes& b) { return a.insert(a.end(), b.begin(), b.end()), a; }
void put32(Bytes& out, uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); }

// A pack entry written by hand: sizes may lie, names may be long.
Bytes entry(const std::string& name, const Bytes& format, const Bytes& data, int64_t claimedData = -1) {
    Bytes out;
    put32(out, claimedData >= 0 ? uint32_t(claimedData) : uint32_t(data.size()));
    out.insert(out.end(), name.c_str(), name.c_str() + name.size() + 1);
    put32(out, uint32_t(format.size()));
    return out + format + data;
}

// An 18-byte PCM format; `avg` -1 means rate × block align.
Bytes pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits, int64_t avg = -1, uint16_t cbSize = 0) {
    const uint16_t align = uint16_t(channels * bits / 8);
    Bytes f;
    put32(f, 1 | channels << 16), put32(f, rate), put32(f, avg >= 0 ? uint32_t(avg) : rate * align);
    return put32(f, align | bits << 16), put32(f, cbSize), f.resize(18), f;
}

class PackStream : public SoundProgram {
protected:
    // SE\<name>: a WAV of `seconds` of noise; returns its data.
    Bytes writeWav(const std::string& name, double seconds, uint32_t rate = 44100, uint16_t bits = 16, uint16_t channels = 1) {
        const Bytes data = noise(uint32_t(seconds * rate + 0.5) * channels * bits / 8);
        write("SE/" + name, test::wavImage({.channels = channels, .rate = rate, .bits = bits}, data));
        return data;
    }
    void makePack(const char* folder = "SE") {
        zuSound::MakePack("S.PAK", folder, 1);
        zuSound::SetPackFile("S.PAK");
    }
    static Bytes bufferBytes(int32_t n, int32_t slot = 0) {
        const platform::BufferLock lock = platform::lockBuffer(sound(n).buffers[slot], 0, 0);
        return platform::unlockBuffer(lock), Bytes(lock.first, lock.first + lock.firstBytes);
    }
    // Plays `ms` in frames of `frameMs`, calling Streaming after each: the left channel, the chunk
    // sizes written and when the stream `n` stopped (0: it did not).
    struct Run { std::vector<int16_t> left; std::vector<uint32_t> chunks; uint32_t stoppedAtMs = 0; };
    static Run play(int32_t n, uint32_t ms, uint32_t frameMs) {
        Run run;
        const zuSound::SoundStream& st = zuSound::soundState.streams[n];
        for (uint32_t t = frameMs, thousandths = 0; t <= ms; t += frameMs, thousandths %= 1000) {
            thousandths += 44100 * frameMs;
            const Bytes out = platform::headless::renderAudio(thousandths / 1000);
            for (size_t i = 0; i + 1 < out.size(); i += 4) run.left.push_back(int16_t(out[i] | out[i + 1] << 8));
            const uint32_t before = st.writePos;
            zuSound::Streaming();
            if (st.writePos != before) run.chunks.push_back((st.writePos + st.bufferSize - before) % st.bufferSize);
            if (!run.stoppedAtMs && !platform::isPlaying(sound(n).buffers[0])) run.stoppedAtMs = t;
        }
        return run;
    }
    // The first source frame the left channel does not play as it should: the data from its start,
    // circling back to `loopFrame` (or silence when it is -1), for `ms` of output.
    static int64_t firstMismatch(const std::vector<int16_t>& left, const Bytes& src, uint16_t bits, uint32_t rate,
                                 int64_t loopFrame, uint32_t ms) {
        const uint32_t step = 44100 / rate, frames = uint32_t(src.size() * 8 / bits);
        for (uint32_t k = 0, f = 0; k < uint64_t(rate) * ms / 1000 && k * step < left.size(); ++k) {
            const int16_t want = f >= frames ? 0 : bits == 8 ? int16_t((src[f] - 128) << 8) : int16_t(src[2 * f] | src[2 * f + 1] << 8);
            if (left[k * step] != want) return k;
            f = f + 1 == frames && loopFrame >= 0 ? uint32_t(loopFrame) : f + 1;
        }
        return -1;
    }
};

TEST_F(PackStream, PacksByMakePackOrThePackerLoadTheFilesBytesByFileNameInAnyAsciiCase) {
    writeWav("8M.WAV", 0.1, 11025, 8, 1), writeWav("8S.WAV", 0.1, 22050, 8, 2), writeWav("16S.WAV", 0.1, 44100, 16, 2);
    write(utf8(u8"SE/Catch.wav"), test::wavImage({}, noise(400)));
    write(utf8(u8"SE/表ヂ.wav"), test::wavImage({}, noise(200)));  // 表 ends in 0x5C, ヂ in 'a'
    const Bytes extensible = {16, 0, 4, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    write("SE/EXT.WAV", test::wavImage({.tag = 0xFFFE, .extra = extensible}, noise(300)));
    write("SE/A_BAD.WAV", {'R', 'I', 'F', 'F'});  // entered empty, before CATCH.WAV
    makePack();
    // The packer makes the same pack on every run, says what it skipped, and lists the names whole.
    const auto packer = [&](std::vector<std::string> args) {
        args.insert(args.begin(), std::string(ZU_BINARY_DIR) + "/zusoundpack");
        return test::runProcess({.argv = args, .workDir = programFolder.string()});
    };
    for (const char* pack : {"T1.PAK", "T2.PAK"}) {
        const test::ProcessResult made = packer({"SE", pack});
        EXPECT_EQ(made.exitCode, 1);
        EXPECT_NE(made.out.find("written SE/8S.WAV\nskipped SE/A_BAD.WAV: not a readable WAV (entered empty; loads refuse it)\n"), std::string::npos);
        EXPECT_TRUE(fileText(programFolder / pack) == fileText(programFolder / "S.PAK")) << pack;
    }
    const std::string listed = packer({"--list", "T1.PAK"}).out;
    EXPECT_TRUE(listed.starts_with("16S.WAV  17640 data bytes  18 format bytes  44100 Hz 16-bit 2 ch\n"));
    EXPECT_NE(listed.find("\nA_BAD.WAV  0 data bytes  0 format bytes\n"), std::string::npos);
    EXPECT_NE(listed.find(utf8(u8"\n表ヂ.WAV  200 data bytes")), std::string::npos);
    EXPECT_EQ(zuSound::AddToPack("S.PAK", "SE\\NONE.WAV"), 0);
    for (const char* name : {"8M.WAV", "8S.WAV", "16S.WAV", "Catch.wav", "EXT.WAV", "表ヂ.WAV"}) {
        const int32_t packed = zuSound::LoadPack(name, 2), file = zuSound::LoadObject(("SE\\" + std::string(name)).c_str(), 1);
        ASSERT_TRUE(packed >= 0 && file >= 0) << name;
        EXPECT_EQ(std::pair(bufferBytes(packed, 1), sound(packed).baseFrequency),
                  std::pair(bufferBytes(file), sound(file).baseFrequency)) << name;
    }
    EXPECT_GE(zuSound::LoadPack("catch.wav", 1), 0);
    for (const char* absent : {"SE\\CATCH.WAV", "A_BAD.WAV", "NONE.WAV"})
        EXPECT_TRUE(zuSound::LoadPack(absent, 1) == -1 && reported(u8"WAVEファイルを読み込めません")) << absent;
    zuSound::MakePack("S.PAK", "SE", 0);  // every entry twice: the first copy still loads
    EXPECT_GE(zuSound::LoadPack("EXT.WAV", 1), 0);
}

TEST_F(PackStream, MalformedPacksFormatsAndPathsAreRefusedWithTheirMessageAndHoldNoNumber) {
    const Bytes format = pcmFormat(1, 44100, 16), data = noise(44100 * 2 * 6), good = entry("GOOD.WAV", format, noise(64));
    const char8_t *unreadable = u8"WAVEファイルを読み込めません", *unstreamable = u8"ストリーミング再生できません";
    const struct { const char* what; Bytes pack; bool stream; uint32_t loopOffset; const char8_t* message; } rows[] = {
        {"name over 259 bytes before it", entry(std::string(260, 'A'), format, data) + good, false, 0, unreadable},
        {"data past the end before it", entry("X", format, data, 1u << 30) + good, false, 0, unreadable},
        {"data past the end", entry("GOOD.WAV", format, data, data.size() + 1), false, 0, unreadable},
        {"format of 16 bytes", entry("GOOD.WAV", Bytes(format.begin(), format.end() - 2), data), false, 0, unreadable},
        {"format size at odds with cbSize", entry("GOOD.WAV", pcmFormat(1, 44100, 16, -1, 2), data), false, 0, unreadable},
        {"sizes 0", entry("GOOD.WAV", {}, {}), true, 0, unreadable},
        {"empty pack", {}, true, 0, unreadable},
        {"nAvgBytesPerSec 0", entry("GOOD.WAV", pcmFormat(1, 44100, 16, 0), data), true, 0, unstreamable},
        {"nAvgBytesPerSec not rate x align", entry("GOOD.WAV", pcmFormat(1, 44100, 16, 44100), data), true, 0, unstreamable},
        {"loop offset at the end", entry("GOOD.WAV", format, data), true, uint32_t(data.size()), unstreamable},
    };
    for (const auto& row : rows) {
        write("P.PAK", row.pack);
        zuSound::SetPackFile("P.PAK");
        const int32_t n = row.stream ? zuSound::LoadStream("GOOD.WAV", row.loopOffset) : zuSound::LoadPack("GOOD.WAV", 1);
        EXPECT_TRUE(n == -1 && reported(row.message) && !sound(0).used) << row.what;
    }
    EXPECT_TRUE(zuSound::LoadStream(std::string(31, 'A').c_str(), 0) == -1 && reported(u8"ファイル名が長すぎます"));
    EXPECT_EQ(zuSound::SetPackFile(std::string(259, 'P').c_str()), 0);
    EXPECT_TRUE(zuSound::LoadPack("GOOD.WAV", 1) == -1 && reported(u8"パックファイル名が指定されていません"));
}

TEST_F(PackStream, StreamsPlaySampleForSampleThroughChunksAndLoopsAtAnyFrameLength) {
    const struct { double seconds; uint32_t rate; uint16_t bits; double loopSeconds; bool loop; std::vector<double> chunks; } rows[] = {
        {9, 44100, 16, 0, false, {2, 2, 1.5, 1.5, 2}},  // the last 2 s are silence
        {5, 44100, 16, 0, false, {1.5, 1.5, 2}},
        {5.1, 22050, 16, 0, false, {68354 / 44100.0, 68356 / 44100.0, 2}},  // half the rest: whole frames
        {5.5, 11025, 8, 0, false, {}},                 // silence of 8-bit data is 0x80
        {5, 44100, 16, 1, true, {1.5, 1.5, 2, 1, 1, 2, 1, 1, 2, 1, 1}},  // three passes from 1 s on
        {6, 44100, 16, 5, false, {}},                  // the loop tail is not replayed after the end
    };
    for (const auto& row : rows) {
        const Bytes src = writeWav("S.WAV", row.seconds, row.rate, row.bits);
        makePack();
        const uint32_t avg = row.rate * row.bits / 8, frames = uint32_t(src.size() / (row.bits / 8));
        // A loop offset inside a frame goes back to the frame's start.
        const int32_t n = zuSound::LoadStream("S.WAV", uint32_t(row.loopSeconds * avg) + (row.loopSeconds > 0));
        const uint32_t ms = uint32_t(row.seconds * 1000) + (row.loop ? uint32_t((row.seconds - row.loopSeconds) * 3000) : 1000);
        for (uint32_t frameMs : {16u, 100u}) {
            (row.loop ? zuSound::PlayLoop : zuSound::Play)(n, 0);
            const Run run = play(n, ms, frameMs);
            EXPECT_EQ(firstMismatch(run.left, src, row.bits, row.rate, row.loop ? int64_t(row.loopSeconds * row.rate) : -1, ms), -1)
                << row.seconds << " s, " << frameMs << " ms";
            const double endMs = frames * 1000.0 / row.rate;  // stopped as the cursor entered the silence
            EXPECT_TRUE(row.loop || (run.stoppedAtMs >= endMs && run.stoppedAtMs < endMs + frameMs)) << row.seconds;
            std::vector<double> chunks;
            for (size_t i = 0; i < std::min(run.chunks.size(), row.chunks.size()); ++i) chunks.push_back(double(run.chunks[i]) / avg);
            EXPECT_EQ(chunks, row.chunks) << row.seconds << " s, " << frameMs << " ms";
            zuSound::Stop(n, 0);
        }
        zuSound::ReleaseObject(n);
    }
}

TEST_F(PackStream, ShortEntriesAreSoundsAndStreamsRestartComeBackWithTheirSettingsAndOutliveTheirPack) {
    writeWav("SHORT.WAV", 4.9);
    const Bytes src = writeWav("LONG.WAV", 7);
    makePack();
    const int32_t one = zuSound::LoadStream("SHORT.WAV", 0), n = zuSound::LoadStream("long.wav", 0);
    ASSERT_EQ(std::pair(one, n), std::pair(0, 1));
    const zuSound::SoundObject &s = sound(n), &shortOne = sound(one);
    EXPECT_TRUE(zuSound::soundState.streams[one].dataSize == 0 && shortOne.slotCount == 1 && shortOne.fromPack == 1);
    zuSound::Play(n, 0);
    play(n, 3000, 16);
    zuSound::Play(n, 0);  // while playing: begins again
    EXPECT_EQ(firstMismatch(play(n, 8000, 16).left, src, 16, 44100, -1, 8000), -1);
    // Released and restored from its own pack, though another is current: stopped, settings kept.
    zuSound::SetVolume(n, -10, 0), zuSound::SetPan(n, 20, 0), zuSound::SetFrequency(n, -50, 0), zuSound::SetPackFile("OTHER.PAK");
    zuSound::Release(), zuSound::Restore();
    ASSERT_TRUE(s.buffers[0] && shortOne.buffers[0]);
    EXPECT_EQ(std::pair(slots(n), zuSound::soundState.streams[n].dataSize),
              std::pair(Slots{{-1000, 2000, 39100, false}}, uint32_t(src.size())));
    // A pack cut short under a playing stream plays silence; one that vanished is reported once.
    zuSound::PlayLoop(n, 0);
    fs::resize_file(programFolder / "S.PAK", 3 * 88200);  // about 3 s of the data
    const Run cut = play(n, 6000, 16);
    EXPECT_TRUE(cut.left[44100] != 0 && cut.left[5 * 44100] == 0 && cut.stoppedAtMs == 0);
    fs::remove(programFolder / "S.PAK");
    const int32_t boxes = platform::headless::messageBoxCount(), stoppedAt = play(n, 4000, 16).stoppedAtMs;
    EXPECT_TRUE(stoppedAt > 0 && platform::headless::messageBoxCount() == boxes + 1 && reported(u8"パックファイル名が指定されていません"));
}

// Seeds for the pack fuzzer (sound, empty entry, extra format bytes, stream) when ZU_WRITE_CORPUS is set.
TEST(SoundPackCorpus, WritesSeeds) {
    const fs::path dir = corpusFolder("soundpack");
    if (dir.empty()) GTEST_SKIP() << "ZU_WRITE_CORPUS is not set";
    const Bytes pack = entry("EMPTY.WAV", {}, {}) + entry("EXT.WAV", pcmFormat(1, 100, 8, -1, 4) + Bytes(4, 0), noise(50)) +
                       entry("A.WAV", pcmFormat(2, 8000, 16), noise(64)) + entry("LONG.WAV", pcmFormat(2, 100, 16), noise(2200));
    ASSERT_TRUE(test::writeBytes((dir / "pack").string(), pack));
}

}  // namespace

// The error line on standard error names the pack and the entry a load tried; a load that read its
// entry leaves nothing behind for a later report that has no file to name.
TEST_F(PackStream, ErrorLinesNameThePackEntryTriedAndOnlyForTheLoadThatFailed) {
    write("P.PAK", entry("GOOD.WAV", pcmFormat(1, 44100, 16), noise(44100 * 2 * 6)));
    zuSound::SetPackFile("P.PAK");
    const struct { const char* what; std::function<int32_t()> load; bool namesEntry; } rows[] = {
        {"LoadPack of a missing entry", [] { return zuSound::LoadPack("GONE.WAV", 1); }, true},
        {"LoadStream of a missing entry", [] { return zuSound::LoadStream("GONE.WAV", 0); }, true},
        {"a stream read, then too many mixes", [] { return zuSound::LoadStream("GOOD.WAV", 0), zuSound::LoadPack("GOOD.WAV", 11); }, false},
        {"a sound read, then too many mixes", [] { return zuSound::LoadPack("GOOD.WAV", 1), zuSound::LoadPack("GOOD.WAV", 11); }, false},
    };
    for (const auto& row : rows) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(row.load(), -1) << row.what;
        const std::string err = testing::internal::GetCapturedStderr();
        zuSystem::systemState.errorRaised = 0;
        EXPECT_EQ(std::pair(err.find("P.PAK/GONE.WAV\")") != err.npos, err.find("(tried") != err.npos),
                  std::pair(row.namesEntry, row.namesEntry)) << row.what << err;
    }
}
