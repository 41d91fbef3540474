// The sound table: loading rules and their reports, freeing numbers, no device, release and
// restore, and the output format change; an audio device that vanishes under the program (no
// message, time kept, sounds back with their settings); reading WAV files: chunk order, format
// extras, refusals of malformed images, files by their framework path, the fuzzer's seed corpus.
#include <cstdlib>
#include <filesystem>

#include "platform/os/resources.h"
#include "platform/os/window.h"
#include "sound/wave_reader.h"
#include "sound_fixture.h"

namespace {

using namespace zuSound;
using V = std::vector<int64_t>;

using SoundTable = SoundFixture;

TEST_F(SoundTable, WithoutADeviceEverythingIsSilentAndQuiet) {
    Release();
    soundState = {};
    platform::headless::removeAudioDevice(true);
    EXPECT_EQ(Init(), 0);
    ClearObjects();
    EXPECT_EQ(loadTone("A.WAV", 1), -1);
    Play(0, -1);
    SetVolume(0, -10, -1);
    EXPECT_EQ(SelectFormat(2, 22, 16), 1);
    EXPECT_EQ(std::pair(GetPosition(0), platform::headless::messageBoxCount()), std::pair(0u, 0));
    EXPECT_EQ(platform::headless::renderAudio(10).size(), 0u);
}

TEST_F(SoundTable, LoadSetsSlotsAndEchoTakesResourcesAndRefusesWhatItCannotHold) {
    // Mix count, slots and echo state: a negative count has no echo, 0 gets no slot.
    const struct { int32_t mix, slots, echo; } loads[] = {{1, 1, -1}, {4, 4, 0}, {-4, 4, -1}, {0, 0, -1}};
    for (int32_t n = 0; n < 4; ++n) {
        SCOPED_TRACE(loads[n].mix);
        ASSERT_EQ(loadTone("A.WAV", loads[n].mix), n);
        EXPECT_EQ(std::pair(sound(n).slotCount, sound(n).echoState), std::pair(loads[n].slots, loads[n].echo));
    }
    const SoundObject& s = sound(1);
    EXPECT_EQ(settings(s, 4), V({22050, 22050, 22050, 22050, 0, 0, 0, 0, 0, 0, 0, 0}));
    for (int j = 0; j < 4; ++j) EXPECT_NE(s.buffers[j], nullptr);
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
    // Resources stand in for missing files, whatever the case of the name.
    const std::vector<uint8_t> image = test::wavImage({}, test::pcm16(constant(100, 5000)));
    const std::vector<uint8_t> cut(image.begin(), image.end() - 2);  // claims more than it holds
    const platform::Resource resources[] = {{"RCDATA", "SOUND\\RES.WAV", image}, {"WAVE", "SOUND\\CUT.WAV", cut}};
    platform::Instance instance{resources, ""};
    zuSystem::systemState.instance = &instance;
    // Refusals are reported and leave the next number free, also after the buffers were made.
    writeSound("ABCDEFGHIJKLMNOPQRSTU.WAV", test::wavImage({}, test::pcm16(constant(100, 1))));  // 31 characters
    writeSound("F.WAV", test::wavImage({.tag = 3, .bits = 32}, std::vector<uint8_t>(64)));
    const struct { const char* name; int32_t mix; const char8_t* report; } refused[] = {
        {"A.WAV", 11, u8"ミックス数が多過ぎます"},
        {"A.WAV", -11, u8"ミックス数が多過ぎます"},
        {"MISSING.WAV", 1, u8"WAVEリソースが見つかりません"},
        {"CUT.WAV", 1, u8"WAVEリソースが見つかりません"},
        {"ABCDEFGHIJKLMNOPQRSTU.WAV", 1, u8"ファイル名またはリソース名が長すぎます"},
        {"F.WAV", 3, u8"サウンドバッファが生成できません"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.name);
        zuSystem::systemState.errorRaised = 0;
        EXPECT_EQ(LoadObject(("SOUND\\" + std::string(r.name)).c_str(), r.mix), -1);
        EXPECT_TRUE(reported(r.report));
        EXPECT_EQ(std::pair(sound(4).used, sound(4).buffers[0] == nullptr), std::pair(0, true));
    }
    EXPECT_EQ(loadTone("ABCDEFGHIJKLMNOPQRST.WAV", 1), 4);  // exactly 30
    ASSERT_EQ(LoadObject("sound\\res.wav", 1), 5);
    Play(5, 0);
    EXPECT_EQ(render(10)[0], 5000);
}

TEST_F(SoundTable, NumbersRunOutAndFreedOnesAreReusedLowestFirst) {
    for (int n = 0; n < soundCount; ++n) ASSERT_EQ(loadTone("A.WAV", 1), n);
    EXPECT_EQ(loadTone("A.WAV", 1), -1);
    EXPECT_TRUE(reported(u8"オブジェクト数が多過ぎます"));
    ReleaseObject(40);
    ReleaseObject(12);
    EXPECT_EQ(std::pair(sound(12).used, sound(12).buffers[0] == nullptr), std::pair(0, true));
    EXPECT_EQ(loadTone("A.WAV", 1), 12);
    EXPECT_EQ(loadTone("A.WAV", 1), 40);
    ReleaseObject(12);
    const SoundObject before = sound(12);
    ReleaseObject(12);  // free: nothing changes, nor for numbers out of range
    ReleaseObject(-1);
    ReleaseObject(soundCount);
    Play(12, -1);
    Play(soundCount, 0);
    SetVolume(-5, 0, -1);
    EXPECT_EQ(std::memcmp(&before, &sound(12), sizeof before), 0);
}

TEST_F(SoundTable, ReleaseAndRestoreBringEverySoundBackStopped) {
    const int32_t a = loadTone("A.WAV", 3), b = loadTone("B.WAV", -2);
    SetVolume(a, -6, 1);
    SetPan(a, 20, 2);
    SetFrequency(a, 10, 0);
    SetVolume(b, -10, -1);
    PlayLoop(a, -1);
    PlayLoop(b, 0);
    const int32_t nextSlot = sound(a).nextSlot;
    Release();
    EXPECT_FALSE(platform::headless::audioDeviceOpen());
    EXPECT_EQ(sound(a).buffers[0], nullptr);
    Restore();
    ASSERT_TRUE(platform::headless::audioDeviceOpen());
    const SoundObject& s = sound(a);
    EXPECT_EQ(std::tuple(s.used, s.slotCount, s.echoState, s.nextSlot), std::tuple(1, 3, 0, nextSlot));
    EXPECT_EQ(sound(b).echoState, -1);  // loaded without echo, still without
    EXPECT_EQ(settings(s, 3), V({22050 + 1000, 22050, 22050, 0, -600, 0, 0, 0, 2000}));
    EXPECT_EQ(sound(b).volume[1], -1000);
    for (int j = 0; j < 3; ++j) {
        const platform::SoundBuffer* buffer = s.buffers[j];
        EXPECT_EQ(std::tuple(platform::volume(buffer), platform::pan(buffer), platform::frequency(buffer)),
                  std::tuple(s.volume[j], s.pan[j], s.frequency[j])) << "slot " << j;
        EXPECT_FALSE(platform::isPlaying(buffer)) << "slot " << j;
    }
    EXPECT_EQ(peak(render(500), 0), 0);
}

TEST_F(SoundTable, FormatChangeRebuildsAndARefusalSilencesUntilRestore) {
    const int32_t n = loadSamples("A.WAV", constant(4000, 8000), 2);
    SetVolume(n, -6, 0);
    EXPECT_EQ(SelectFormat(2, 22, 16), 1);
    const platform::AudioOutput out = platform::outputFormat();
    EXPECT_EQ(std::tuple(out.channels, out.rate, out.bits), std::tuple(2, 22050u, 16));
    EXPECT_EQ(sound(n).volume[0], -600);
    Play(n, 0);
    EXPECT_NEAR(render(10)[0], 4010, 3);
    platform::headless::refuseOutputFormats(true);
    EXPECT_EQ(SelectFormat(1, 44, 8), 0);
    platform::headless::refuseOutputFormats(false);
    EXPECT_TRUE(reported(u8"再生フォーマットを変更できません"));
    EXPECT_EQ(sound(n).buffers[0], nullptr);
    Play(n, -1);  // ignored: there is nothing to play through
    Pause(n, -1);
    SetPan(n, 10, -1);
    EXPECT_EQ(GetPosition(n), 0u);
    EXPECT_GT(peak(render(4000), 0), 0);  // the report's beep, 150 ms
    EXPECT_EQ(peak(render(100), 0), 0);
    Release();
    Restore();
    EXPECT_NE(sound(n).buffers[1], nullptr);
    EXPECT_EQ(sound(n).pan[1], 1000);
}

class LostDevice : public SoundFixture {
protected:
    // Lets `ms` pass on the virtual clock and pumps events, as the program's loop does.
    static void pass(uint32_t ms) {
        platform::headless::setClock(platform::headless::clock() + ms);
        platform::Message m;
        while (platform::peekMessage(m)) {}
    }
};

TEST_F(LostDevice, SoundsKeepTimeWhileTheDeviceIsAwayAndComeBackWithTheirSettings) {
    const int32_t loop = loadSamples("LOOP.WAV", constant(44100, 4000), 2);  // one second
    const int32_t shot = loadSamples("SHOT.WAV", constant(4410, 4000), 1);   // a tenth
    SetVolume(loop, -6, 0);  // decibels, stored in hundredths
    SetPan(loop, 30, 0);
    PlayLoop(loop, 0);
    Play(shot, -1);
    render(441);
    const uint32_t before = GetPosition(loop);

    platform::headless::removeAudioDevice(true);
    platform::headless::pullAudioDevice();
    EXPECT_FALSE(platform::headless::audioDeviceOpen());
    pass(500);
    // 500 ms at 44.1 kHz is 22050 mono 16-bit frames.
    EXPECT_EQ(GetPosition(loop), before + 22050 * 2) << "the loop moved on with the clock";
    EXPECT_FALSE(platform::isPlaying(sound(shot).buffers[0])) << "the short sound ended meanwhile";
    SetVolume(loop, -12, 1);
    Play(loop, 1);
    const int32_t later = loadSamples("LATER.WAV", constant(441, 100), 1);
    EXPECT_GE(later, 0) << "loading goes on without a device";

    platform::headless::removeAudioDevice(false);
    ASSERT_TRUE(platform::headless::audioDeviceOpen());
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
    EXPECT_EQ(zuSystem::systemState.errorRaised, 0);
    EXPECT_EQ(std::pair(sound(loop).volume[0], sound(loop).volume[1]), std::pair(-600, -1200));
    EXPECT_EQ(platform::volume(sound(loop).buffers[0]), -600);
    EXPECT_EQ(platform::pan(sound(loop).buffers[0]), 3000);
    EXPECT_TRUE(platform::isPlaying(sound(loop).buffers[0]) && platform::isPlaying(sound(loop).buffers[1]));
    const std::vector<int16_t> out = render(441);
    EXPECT_GT(peak(out, 0), 0) << "the output resumes";
    EXPECT_GT(peak(out, 1), peak(out, 0)) << "slot 0 is still panned right";
}

// Whether a new default is there when the device vanishes decides whether the output goes on
// at once or waits for the device to come back; a format chosen meanwhile is the one it opens
// in.
TEST_F(LostDevice, TheDefaultDeviceReplacesALostOneInTheFormatLastChosen) {
    const struct {
        bool replacement;
        int32_t channels, rate, bits;
        uint32_t bytesPerFrame;
    } cases[] = {{true, 2, 44, 16, 4}, {false, 1, 22, 8, 1}, {false, 2, 11, 16, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.replacement ? "replaced at once" : "no device for a while")
                                        << ", format " << c.channels << "/" << c.rate << "/" << c.bits);
        const int32_t n = loadSamples("TONE.WAV", constant(44100, 3000), 1);
        PlayLoop(n, -1);
        platform::headless::removeAudioDevice(!c.replacement);
        platform::headless::pullAudioDevice();
        EXPECT_EQ(platform::headless::audioDeviceOpen(), c.replacement);
        EXPECT_EQ(SelectFormat(c.channels, c.rate, c.bits), 1);
        pass(1500);  // a retry on the clock finds no device while it is removed
        EXPECT_EQ(platform::headless::audioDeviceOpen(), c.replacement);
        platform::headless::removeAudioDevice(false);
        ASSERT_TRUE(platform::headless::audioDeviceOpen());
        const platform::AudioOutput out = platform::outputFormat();
        EXPECT_EQ(out.channels, c.channels);
        EXPECT_EQ(out.bits, c.bits);
        EXPECT_EQ(platform::headless::renderAudio(10).size(), 10 * c.bytesPerFrame);
        EXPECT_EQ(platform::headless::messageBoxCount(), 0);
        ReleaseObject(n);
    }
}

uint16_t field16(const std::vector<uint8_t>& f, size_t at) { return uint16_t(f[at] | (f[at + 1] << 8)); }
uint32_t field32(const std::vector<uint8_t>& f, size_t at) { return field16(f, at) | (uint32_t(field16(f, at + 2)) << 16); }

const std::vector<uint8_t> samples = {1, 2, 3, 4, 5, 6, 7, 8};

// Images the reader must take, each with what it must give back.
const std::pair<const char*, test::WavSpec> acceptedImages[] = {
    {"plain", {}},
    {"dataFirst", {.dataFirst = true}},
    {"extra", {.tag = 2, .extra = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 11, 12}}},
    {"padded", {.oddChunkBefore = true}},
    {"pcmWithSpareBytes", {.fmtSize = 18}},
    {"stereo8", {.channels = 2, .bits = 8}},
};

TEST(WaveReader, TakesDataOnEitherSideOfTheFormatAndKeepsExtraBytes) {
    for (const auto& [what, spec] : acceptedImages) {
        SCOPED_TRACE(what);
        const std::vector<uint8_t> image = test::wavImage(spec, samples);
        std::vector<uint8_t> format, data;
        ASSERT_TRUE(zuSound::parseWave(image.data(), image.size(), format, data));
        EXPECT_EQ(data, samples);
        ASSERT_EQ(format.size(), 18 + spec.extra.size());
        EXPECT_EQ(std::tuple(field16(format, 0), field16(format, 2), field32(format, 4), field16(format, 14)),
                  std::tuple(spec.tag, spec.channels, spec.rate, spec.bits));
        EXPECT_EQ(field16(format, 16), spec.extra.size());
        EXPECT_TRUE(std::equal(spec.extra.begin(), spec.extra.end(), format.begin() + 18));
    }
}

TEST(WaveReader, RefusesMalformedImagesWithBothOutputsEmpty) {
    const std::vector<uint8_t> good = test::wavImage({}, samples);
    const std::pair<const char*, std::vector<uint8_t>> refused[] = {
        {"shortFormat", test::wavImage({.fmtSize = 14}, samples)},
        {"otherForm", test::wavImage({.form = "AVI "}, samples)},
        {"longData", test::wavImage({.claimedDataSize = 9}, samples)},
        // Claims 4 extra bytes, holds 2.
        {"extraPastChunk", test::wavImage({.tag = 2, .extra = {1, 2, 3, 4}, .fmtSize = 20}, samples)},
        {"cutInData", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"headerOnly", std::vector<uint8_t>(good.begin(), good.begin() + 12)},
        {"empty", {}},
    };
    for (const auto& [what, image] : refused) {
        SCOPED_TRACE(what);
        std::vector<uint8_t> format, data;
        EXPECT_FALSE(zuSound::parseWave(image.data(), image.size(), format, data));
        EXPECT_TRUE(format.empty() && data.empty());
    }
}

using WaveFiles = SoundFixture;

TEST_F(WaveFiles, ReadsFilesByFrameworkPathInAnyCaseAndEmptiesBothOutputsWhenMissing) {
    writeSound("A.WAV", test::wavImage({}, samples));
    std::vector<uint8_t> format, data;
    const std::string dir = zuSystem::ModuleDir(0);
    EXPECT_EQ(zuSound::ReadWave((dir + "sound\\a.wav").c_str(), format, data), 0);
    EXPECT_EQ(data, samples);
    EXPECT_EQ(zuSound::ReadWave((dir + "SOUND\\NONE.WAV").c_str(), format, data), 1);
    EXPECT_TRUE(format.empty() && data.empty());
}

// Seeds for the fuzzer: written only when ZU_WRITE_CORPUS names a folder.
TEST(WaveCorpus, WritesSeeds) {
    const char* root = std::getenv("ZU_WRITE_CORPUS");
    if (!root) GTEST_SKIP() << "ZU_WRITE_CORPUS is not set";
    const std::filesystem::path dir = std::filesystem::path(root) / "wave";
    std::filesystem::create_directories(dir);
    for (const auto& [what, spec] : acceptedImages)
        ASSERT_TRUE(test::writeBytes((dir / what).string() + ".wav", test::wavImage(spec, samples)));
}

}  // namespace
