// Sound packs and streams on the headless device: packs built from a folder load the bytes the WAV
// files load, names follow Shift-JIS, streams come out sample for sample through every chunk and
// loop seam at any frame length, and malformed packs, formats and paths are refused.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/os/files.h"
#include "sound/zu_sound.h"
#include "support/fresh_program.h"
#include "support/process.h"
#include "support/wav_writer.h"
#include "system/zu_system.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint32_t outRate = 44100;

// Samples that never repeat nearby and are never silent: a lost or repeated block shows.
Bytes noise(uint32_t bytes, uint16_t bits) {
    Bytes out(bytes);
    for (uint32_t i = 0; i < bytes; ++i) out[i] = uint8_t((i * 2654435761u) >> 13 | 1);
    if (bits == 8)
        for (uint8_t& b : out) b = b == 0x80 ? 0x81 : b;
    return out;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void put32(Bytes& out, uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); }

// A pack entry written by hand: sizes may lie, names may be long.
Bytes entry(const std::string& name, const Bytes& format, const Bytes& data, int64_t claimedData = -1) {
    Bytes out;
    put32(out, claimedData >= 0 ? uint32_t(claimedData) : uint32_t(data.size()));
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0);
    put32(out, uint32_t(format.size()));
    out.insert(out.end(), format.begin(), format.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// An 18-byte PCM format; `avg` -1 means rate × block align.
Bytes pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits, int64_t avg = -1, uint16_t cbSize = 0) {
    const uint16_t align = uint16_t(channels * bits / 8);
    Bytes f;
    put32(f, 1 | channels << 16), put32(f, rate), put32(f, avg >= 0 ? uint32_t(avg) : rate * align);
    put32(f, align | bits << 16), f.insert(f.end(), {uint8_t(cbSize), uint8_t(cbSize >> 8)});
    return f;
}

class PackStream : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        while (platform::audioOpen()) platform::closeAudio();
        zuSound::soundState = {};
        std::filesystem::create_directories(programFolder / "SE");
        zuSound::Init();
        zuSound::ClearObjects();
    }
    void TearDown() override {
        zuSound::Release();
        zuSound::soundState = {};
        FreshProgram::TearDown();
    }
    void write(const std::string& utf8Path, const Bytes& bytes) { test::writeBytes((programFolder / utf8Path).string(), bytes); }
    // SE\<name>: a WAV of `seconds` of noise; returns its data.
    Bytes writeWav(const std::string& name, double seconds, uint32_t rate = 44100, uint16_t bits = 16, uint16_t channels = 1) {
        const uint32_t align = channels * bits / 8;
        const Bytes data = noise(uint32_t(std::lround(seconds * rate)) * align, bits);
        write("SE/" + name, test::wavImage({.channels = channels, .rate = rate, .bits = bits}, data));
        return data;
    }
    static bool reported(const char8_t* message) {
        const bool seen = platform::headless::lastMessageBox().find(utf8(message)) != std::string::npos;
        zuSystem::systemState.errorRaised = 0;
        return seen;
    }
    static Bytes bufferBytes(int32_t n, int32_t slot = 0) {
        const platform::BufferLock lock = platform::lockBuffer(zuSound::soundState.objects[n].buffers[slot], 0, 0);
        Bytes out(lock.first, lock.first + lock.firstBytes);
        platform::unlockBuffer(lock);
        return out;
    }
    // Plays `ms` in frames of `frameMs`, calling Streaming after each; returns the left channel,
    // the chunk sizes written and the time the stream `n` stopped (0: it did not).
    struct Run {
        std::vector<int16_t> left;
        std::vector<uint32_t> chunks;
        uint32_t stoppedAtMs = 0;
    };
    static Run play(int32_t n, uint32_t ms, uint32_t frameMs) {
        Run run;
        const zuSound::SoundStream& st = zuSound::soundState.streams[n];
        uint64_t thousandths = 0;
        for (uint32_t t = frameMs; t <= ms; t += frameMs) {
            thousandths += uint64_t(outRate) * frameMs;
            const Bytes out = platform::headless::renderAudio(uint32_t(thousandths / 1000));
            thousandths %= 1000;
            for (size_t i = 0; i + 1 < out.size(); i += 4) run.left.push_back(int16_t(out[i] | out[i + 1] << 8));
            const uint32_t before = st.writePos;
            zuSound::Streaming();
            if (st.writePos != before) run.chunks.push_back((st.writePos + st.bufferSize - before) % st.bufferSize);
            if (!run.stoppedAtMs && !platform::isPlaying(zuSound::soundState.objects[n].buffers[0])) run.stoppedAtMs = t;
        }
        return run;
    }
    // The first output frame that is not the source sample (16-bit, or 8-bit scaled) it should be.
    static int64_t firstMismatch(const std::vector<int16_t>& left, const Bytes& src, uint16_t bits, uint32_t rate,
                                 const std::vector<uint32_t>& frameOrder) {
        const uint32_t step = outRate / rate;
        for (size_t k = 0; k < frameOrder.size() && k * step < left.size(); ++k) {
            const uint32_t f = frameOrder[k];
            const int16_t want = f == UINT32_MAX ? 0 : bits == 8 ? int16_t((src[f] - 128) << 8) : int16_t(src[2 * f] | src[2 * f + 1] << 8);
            if (left[k * step] != want) return int64_t(k);
        }
        return -1;
    }
};

TEST_F(PackStream, PackedWavsLoadTheBytesOfTheFilesAndNamesLoseTheirFolderButNotTheirCase) {
    writeWav("8M.WAV", 0.1, 11025, 8, 1), writeWav("8S.WAV", 0.1, 22050, 8, 2), writeWav("16S.WAV", 0.1, 44100, 16, 2);
    write(utf8(u8"SE/Catch.wav"), test::wavImage({}, noise(400, 16)));
    write(utf8(u8"SE/表ヂ.wav"), test::wavImage({}, noise(200, 16)));  // 表 ends in 0x5C, ヂ in 'a'
    Bytes extensible = {16, 0, 4, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    write("SE/EXT.WAV", test::wavImage({.tag = 0xFFFE, .extra = extensible}, noise(300, 16)));
    write("SE/A_BAD.WAV", {'R', 'I', 'F', 'F'});  // first in order: entered empty
    EXPECT_EQ(zuSound::MakePack("S.PAK", "SE", 1), 1);
    EXPECT_EQ(zuSound::AddToPack("S.PAK", "SE\\NONE.WAV"), 0);
    ASSERT_EQ(zuSound::SetPackFile("S.PAK"), 1);
    for (const char* name : {"8M.WAV", "8S.WAV", "16S.WAV", "Catch.wav", "EXT.WAV", "表ヂ.WAV"}) {
        const int32_t packed = zuSound::LoadPack(name, 2);
        const int32_t file = zuSound::LoadObject(("SE\\" + std::string(name)).c_str(), 1);
        ASSERT_GE(packed, 0) << name;
        ASSERT_GE(file, 0) << name;
        EXPECT_EQ(bufferBytes(packed, 1), bufferBytes(file)) << name;
        EXPECT_EQ(zuSound::soundState.objects[packed].baseFrequency, zuSound::soundState.objects[file].baseFrequency);
        EXPECT_EQ(zuSound::soundState.objects[packed].fromPack, 1);
    }
    EXPECT_GE(zuSound::LoadPack("catch.wav", 1), 0);
    EXPECT_NE(fileText(programFolder / "S.PAK").find(std::string("\xC8\0\0\0\x95\x5C\x83\x61.WAV\0", 13)), std::string::npos);
    for (const char* absent : {"SE\\CATCH.WAV", "A_BAD.WAV", "NONE.WAV", "\x95"})
        EXPECT_TRUE(zuSound::LoadPack(absent, 1) == -1 && reported(u8"WAVEファイルを読み込めません")) << absent;
    // Built again without fresh, every entry is there twice and the first copy still loads.
    zuSound::MakePack("S.PAK", "SE", 0);
    EXPECT_GE(zuSound::LoadPack("EXT.WAV", 1), 0);
}

TEST_F(PackStream, MalformedPacksFormatsAndPathsAreRefusedWithTheirMessageAndHoldNoNumber) {
    const Bytes format = pcmFormat(1, 44100, 16), data = noise(44100 * 2 * 6, 16);
    const Bytes good = entry("GOOD.WAV", format, noise(64, 16));
    Bytes cbAtOdds = pcmFormat(1, 44100, 16, 0, 2);
    const struct {
        const char* what;
        Bytes pack;
        bool stream;
        uint32_t loopOffset;
        const char8_t* message;
    } rows[] = {
        {"name over 259 bytes before it", entry(std::string(260, 'A'), format, data) + good, false, 0, u8"WAVEファイルを読み込めません"},
        {"data past the end before it", entry("X", format, data, 1u << 30) + good, false, 0, u8"WAVEファイルを読み込めません"},
        {"data past the end", entry("GOOD.WAV", format, data, data.size() + 1), false, 0, u8"WAVEファイルを読み込めません"},
        {"format of 16 bytes", entry("GOOD.WAV", Bytes(format.begin(), format.end() - 2), data), false, 0, u8"WAVEファイルを読み込めません"},
        {"format size at odds with cbSize", entry("GOOD.WAV", cbAtOdds, data), false, 0, u8"WAVEファイルを読み込めません"},
        {"sizes 0", entry("GOOD.WAV", {}, {}), true, 0, u8"WAVEファイルを読み込めません"},
        {"empty pack", {}, true, 0, u8"WAVEファイルを読み込めません"},
        {"nAvgBytesPerSec 0", entry("GOOD.WAV", pcmFormat(1, 44100, 16, 0), data), true, 0, u8"ストリーミング再生できません"},
        {"nAvgBytesPerSec not rate x align", entry("GOOD.WAV", pcmFormat(1, 44100, 16, 44100), data), true, 0, u8"ストリーミング再生できません"},
        {"loop offset at the end", entry("GOOD.WAV", format, data), true, uint32_t(data.size()), u8"ストリーミング再生できません"},
    };
    for (const auto& row : rows) {
        write("P.PAK", row.pack);
        zuSound::SetPackFile("P.PAK");
        const int32_t n = row.stream ? zuSound::LoadStream("GOOD.WAV", row.loopOffset) : zuSound::LoadPack("GOOD.WAV", 1);
        EXPECT_TRUE(n == -1 && reported(row.message)) << row.what;
        EXPECT_EQ(zuSound::soundState.objects[0].used, 0) << row.what;
    }
    EXPECT_TRUE(zuSound::LoadStream(std::string(31, 'A').c_str(), 0) == -1 && reported(u8"ファイル名が長すぎます"));
    EXPECT_EQ(zuSound::SetPackFile(std::string(259, 'P').c_str()), 0);
    EXPECT_TRUE(zuSound::LoadPack("GOOD.WAV", 1) == -1 && reported(u8"パックファイル名が指定されていません"));
}

// The source frames the output should play, in order (UINT32_MAX: silence), for `ms` of output.
std::vector<uint32_t> expectedFrames(uint32_t frames, int64_t loopFrame, uint32_t rate, uint32_t ms) {
    std::vector<uint32_t> order;
    for (uint32_t k = 0, f = 0; order.size() < uint64_t(rate) * ms / 1000; ++k) {
        order.push_back(f < frames ? f : UINT32_MAX);
        if (++f == frames && loopFrame >= 0) f = uint32_t(loopFrame);
    }
    return order;
}

TEST_F(PackStream, StreamsPlaySampleForSampleThroughChunksAndLoopsAtAnyFrameLength) {
    const struct {
        double seconds;
        uint32_t rate;
        uint16_t bits;
        double loopSeconds;
        bool loop;
        std::vector<double> chunkSeconds;  // the first ones after the first, at load
    } rows[] = {
        {9, 44100, 16, 0, false, {2, 2, 1.5, 1.5, 2}},  // the last 2 s are silence
        {5, 44100, 16, 0, false, {1.5, 1.5, 2}},
        {5.1, 22050, 16, 0, false, {68354 / 44100.0, 68356 / 44100.0, 2}},  // half the rest: whole frames
        {5.5, 11025, 8, 0, false, {}},                 // silence of 8-bit data is 0x80
        {5, 44100, 16, 1, true, {1.5, 1.5, 2, 1, 1, 2, 1, 1, 2, 1, 1}},  // three passes from 1 s on
        {6, 44100, 16, 5, false, {}},                  // the loop tail is not replayed after the end
    };
    for (const auto& row : rows) {
        const Bytes src = writeWav("S.WAV", row.seconds, row.rate, row.bits);
        zuSound::MakePack("S.PAK", "SE", 1);
        zuSound::SetPackFile("S.PAK");
        const uint32_t avg = row.rate * row.bits / 8, frames = uint32_t(src.size() * 8 / row.bits);
        // A loop offset inside a frame goes back to the frame's start.
        const int32_t n = zuSound::LoadStream("S.WAV", uint32_t(row.loopSeconds * avg) + (row.loopSeconds > 0));
        ASSERT_EQ(n, 0);
        const bool once = !row.loop;
        const uint32_t ms = uint32_t(row.seconds * 1000) + (once ? 1000 : uint32_t((row.seconds - row.loopSeconds) * 3000));
        const std::vector<uint32_t> order = expectedFrames(frames, once ? -1 : int64_t(row.loopSeconds * row.rate), row.rate, ms - 100);
        std::vector<int16_t> first;
        for (uint32_t frameMs : {16u, 100u}) {
            (once ? zuSound::Play : zuSound::PlayLoop)(n, 0);
            const Run run = play(n, ms, frameMs);
            EXPECT_EQ(firstMismatch(run.left, src, row.bits, row.rate, order), -1) << row.seconds << " s, " << frameMs << " ms";
            if (once) {  // stopped as the cursor entered the silence
                const double endMs = frames * 1000.0 / row.rate;
                EXPECT_TRUE(run.stoppedAtMs >= endMs && run.stoppedAtMs < endMs + frameMs) << row.seconds << ": " << run.stoppedAtMs;
            }
            std::vector<double> chunks;
            for (uint32_t c : run.chunks) chunks.push_back(double(c) / avg);
            chunks.resize(std::min(chunks.size(), row.chunkSeconds.size()));
            EXPECT_EQ(chunks, row.chunkSeconds) << row.seconds << " s, " << frameMs << " ms";
            if (first.empty()) first = run.left;
            else EXPECT_TRUE(std::equal(first.begin(), first.begin() + order.size(), run.left.begin())) << row.seconds;
            zuSound::Stop(n, 0);
        }
        zuSound::ReleaseObject(n);
    }
}

TEST_F(PackStream, ShortEntriesAreSoundsAndStreamsRestartPauseAndComeBackStoppedWithTheirSettings) {
    writeWav("SHORT.WAV", 4.9);
    const Bytes src = writeWav("LONG.WAV", 7);
    zuSound::MakePack("S.PAK", "SE", 1);
    zuSound::SetPackFile("S.PAK");
    const int32_t sound = zuSound::LoadStream("SHORT.WAV", 0), n = zuSound::LoadStream("long.wav", 0);
    ASSERT_EQ(std::pair(sound, n), std::pair(0, 1));
    EXPECT_EQ(zuSound::soundState.streams[sound].dataSize, 0u);
    EXPECT_EQ(std::pair(zuSound::soundState.objects[sound].slotCount, zuSound::soundState.objects[sound].fromPack), std::pair(1, 1));
    const std::vector<uint32_t> order = expectedFrames(7 * 44100, -1, 44100, 8000);
    // A start while playing begins again; a pause holds the place and resumes circling.
    zuSound::Play(n, 0);
    play(n, 3000, 16);
    zuSound::Play(n, 0);
    Run run = play(n, 2000, 16);
    zuSound::Pause(n, 0);
    play(n, 500, 16);
    zuSound::Pause(n, 0);
    const Run rest = play(n, 6000, 16);
    run.left.insert(run.left.end(), rest.left.begin(), rest.left.end());
    EXPECT_EQ(firstMismatch(run.left, src, 16, 44100, order), -1);
    // Released and restored from its own pack, though another is current: stopped, settings kept.
    zuSound::SetVolume(n, -10, 0), zuSound::SetPan(n, 20, 0), zuSound::SetFrequency(n, -50, 0);
    zuSound::SetPackFile("OTHER.PAK");
    zuSound::Release();
    zuSound::Restore();
    const zuSound::SoundObject& s = zuSound::soundState.objects[n];
    ASSERT_NE(s.buffers[0], nullptr);
    EXPECT_FALSE(platform::isPlaying(s.buffers[0]));
    EXPECT_EQ(std::tuple(platform::volume(s.buffers[0]), platform::pan(s.buffers[0]), platform::frequency(s.buffers[0])),
              std::tuple(-1000, 2000, 39100u));
    EXPECT_EQ(zuSound::soundState.streams[n].dataSize, src.size());
    EXPECT_NE(zuSound::soundState.objects[sound].buffers[0], nullptr);
}

TEST_F(PackStream, APackChangedUnderAStreamPlaysSilenceAndAVanishedOneIsReportedOnceAndStops) {
    writeWav("LONG.WAV", 8);
    zuSound::MakePack("S.PAK", "SE", 1);
    zuSound::SetPackFile("S.PAK");
    const int32_t n = zuSound::LoadStream("LONG.WAV", 0);
    zuSound::PlayLoop(n, 0);
    std::filesystem::resize_file(programFolder / "S.PAK", 3 * 88200);  // about a second of data left
    const Run cut = play(n, 6000, 16);
    EXPECT_NE(cut.left[44100], 0);
    EXPECT_EQ(cut.left[5 * 44100], 0);
    EXPECT_EQ(cut.stoppedAtMs, 0u);
    std::filesystem::remove(programFolder / "S.PAK");
    const int32_t boxes = platform::headless::messageBoxCount();
    const Run gone = play(n, 4000, 16);
    EXPECT_EQ(platform::headless::messageBoxCount(), boxes + 1);
    EXPECT_TRUE(reported(u8"パックファイル名が指定されていません"));
    EXPECT_GT(gone.stoppedAtMs, 0u);
}

TEST_F(PackStream, AStreamBufferCirclesAndSkipsTheFramesBeingWrittenWhileItPlays) {
    platform::WaveFormat mono{.nChannels = 1, .nAvgBytesPerSec = 88200, .nBlockAlign = 2};
    platform::SoundBuffer* b = platform::createStreamBuffer(mono, 2000);  // 1000 frames
    const platform::BufferLock fill = platform::lockBuffer(b, 0, 0);
    std::memset(fill.first, 0x11, fill.firstBytes);
    platform::unlockBuffer(fill);
    platform::play(b, false);
    const auto left = [](uint32_t frames) {
        const Bytes out = platform::headless::renderAudio(frames);
        return int16_t(out[0] | out[1] << 8);
    };
    EXPECT_NE(left(640), 0);  // cursor at 640
    const platform::BufferLock lock = platform::lockBuffer(b, 1200, 1000);  // frames 600 to 99, circling
    EXPECT_EQ(std::pair(lock.firstBytes, lock.secondBytes), std::pair(800u, 200u));
    EXPECT_EQ(left(64), 0);  // the block would read the frames being written: silent
    platform::unlockBuffer(lock);
    EXPECT_NE(left(64), 0);
    EXPECT_TRUE(platform::isPlaying(b) && platform::isLooping(b));
    EXPECT_EQ(platform::position(b), 768u * 2);
    platform::destroyBuffer(b);
}

TEST_F(PackStream, ThePackerWritesWhatMakePackWritesListsItAndSaysWhatItSkipped) {
    writeWav("B.WAV", 0.2, 22050, 8, 2), writeWav("A.WAV", 0.1);
    write("SE/C.WAV", {'R', 'I', 'F', 'F'});
    zuSound::MakePack("M.PAK", "SE", 1);
    const auto packer = [&](std::vector<std::string> args) {
        args.insert(args.begin(), std::string(ZU_BINARY_DIR) + "/zusoundpack");
        return test::runProcess({.argv = args, .workDir = programFolder.string()});
    };
    for (const char* pack : {"T1.PAK", "T2.PAK"}) {
        const test::ProcessResult made = packer({"SE", pack});
        EXPECT_EQ(made.exitCode, 1);
        EXPECT_EQ(made.out, "written SE/A.WAV\nwritten SE/B.WAV\nskipped SE/C.WAV: not a readable WAV (entered empty; loads refuse it)\n");
        EXPECT_EQ(fileText(programFolder / pack), fileText(programFolder / "M.PAK")) << pack;
    }
    const test::ProcessResult listed = packer({"--list", "T1.PAK"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, "A.WAV  8820 data bytes  18 format bytes  44100 Hz 16-bit 1 ch\n"
                          "B.WAV  8820 data bytes  18 format bytes  22050 Hz 8-bit 2 ch\n"
                          "C.WAV  0 data bytes  0 format bytes\n");
    EXPECT_EQ(packer({"--append", "SE", "T1.PAK"}).exitCode, 1);
    EXPECT_EQ(std::filesystem::file_size(programFolder / "T1.PAK"), 2 * std::filesystem::file_size(programFolder / "M.PAK"));
}

}  // namespace
