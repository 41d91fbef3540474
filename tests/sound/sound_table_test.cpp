// The sound table: loading rules and their reports, freeing numbers, no device, release and
// restore, and the output format change.
#include "platform/os/resources.h"
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

}  // namespace
