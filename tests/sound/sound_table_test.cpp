// The sound table: loading rules and their reports, freeing numbers, no device, release and
// restore, and the output format change.
#include "platform/os/resources.h"
#include "sound_fixture.h"

namespace {

using namespace zuSound;

class SoundTable : public SoundFixture {
protected:
    int32_t loadTone(const std::string& name, int32_t mix, uint32_t rate = 22050) {
        return loadSamples(name, test::sine(1000, rate, 2000, 16000), mix, rate);
    }
    static std::string lastBox() { return platform::headless::lastMessageBox(); }
    static bool reported(const char8_t* message) {
        return lastBox().find(reinterpret_cast<const char*>(message)) != std::string::npos &&
               zuSystem::systemState.errorRaised == 1;
    }
};

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
    EXPECT_EQ(GetPosition(0), 0u);
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
    EXPECT_EQ(platform::headless::renderAudio(10).size(), 0u);
}

TEST_F(SoundTable, LoadSetsSlotsEchoAndRatesAndRefusesWhatItCannotHold) {
    const int32_t one = loadTone("A.WAV", 1), four = loadTone("A.WAV", 4), minusFour = loadTone("A.WAV", -4);
    const int32_t zero = loadTone("A.WAV", 0);
    EXPECT_EQ(one, 0);
    EXPECT_EQ(four, 1);
    EXPECT_EQ(soundState.objects[one].slotCount, 1);
    EXPECT_EQ(soundState.objects[one].echoState, -1);
    EXPECT_EQ(soundState.objects[four].slotCount, 4);
    EXPECT_EQ(soundState.objects[four].echoState, 0);
    EXPECT_EQ(soundState.objects[minusFour].slotCount, 4);
    EXPECT_EQ(soundState.objects[minusFour].echoState, -1);
    EXPECT_EQ(soundState.objects[zero].slotCount, 0);  // a mix of 0 gets no slot
    const SoundObject& s = soundState.objects[four];
    EXPECT_STREQ(s.name, "SOUND\\A.WAV");
    EXPECT_EQ(s.baseFrequency, 22050u);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(s.frequency[j], 22050u);
        EXPECT_EQ(s.volume[j], 0);
        EXPECT_EQ(s.pan[j], 0);
        EXPECT_NE(s.buffers[j], nullptr);
    }
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);

    EXPECT_EQ(loadTone("A.WAV", 11), -1);
    EXPECT_TRUE(reported(u8"ミックス数が多過ぎます"));
    EXPECT_EQ(loadTone("A.WAV", -11), -1);
    EXPECT_EQ(LoadObject("SOUND\\MISSING.WAV", 1), -1);
    EXPECT_TRUE(reported(u8"WAVEリソースが見つかりません"));

    // An over-long name is refused before anything is loaded: the number stays free.
    EXPECT_EQ(loadTone("ABCDEFGHIJKLMNOPQRSTU.WAV", 1), -1);  // 31 characters
    EXPECT_TRUE(reported(u8"ファイル名またはリソース名が長すぎます"));
    EXPECT_EQ(soundState.objects[4].used, 0);
    EXPECT_EQ(loadTone("ABCDEFGHIJKLMNOPQRST.WAV", 1), 4);  // exactly 30

    // A format the device cannot play: reported, and the number is free again.
    test::WavSpec float32;
    float32.tag = 3;
    float32.bits = 32;
    test::writeBytes((folder / "SOUND" / "F.WAV").string(), test::wavImage(float32, std::vector<uint8_t>(64)));
    EXPECT_EQ(LoadObject("SOUND\\F.WAV", 3), -1);
    EXPECT_TRUE(reported(u8"サウンドバッファが生成できません"));
    EXPECT_EQ(soundState.objects[5].used, 0);
    EXPECT_EQ(soundState.objects[5].buffers[0], nullptr);
}

TEST_F(SoundTable, NumbersRunOutAndFreedOnesAreReusedLowestFirst) {
    for (int n = 0; n < soundCount; ++n) ASSERT_EQ(loadTone("A.WAV", 1), n);
    EXPECT_EQ(loadTone("A.WAV", 1), -1);
    EXPECT_TRUE(reported(u8"オブジェクト数が多過ぎます"));
    ReleaseObject(40);
    ReleaseObject(12);
    EXPECT_EQ(soundState.objects[12].used, 0);
    EXPECT_EQ(soundState.objects[12].buffers[0], nullptr);
    EXPECT_EQ(loadTone("A.WAV", 1), 12);
    EXPECT_EQ(loadTone("A.WAV", 1), 40);

    ReleaseObject(12);
    const SoundObject before = soundState.objects[12];
    ReleaseObject(12);  // free: nothing changes
    ReleaseObject(-1);
    ReleaseObject(soundCount);
    EXPECT_EQ(std::memcmp(&before, &soundState.objects[12], sizeof before), 0);
    Play(12, -1);
    Play(soundCount, 0);
    SetVolume(-5, 0, -1);
}

TEST_F(SoundTable, ResourcesStandInForMissingFiles) {
    std::vector<uint8_t> image = test::wavImage({}, test::pcm16(constant(100, 5000)));
    const platform::Resource table[] = {{"RCDATA", "SOUND\\RES.WAV", image}};
    platform::Instance instance{table, ""};
    zuSystem::systemState.instance = &instance;
    const int32_t n = LoadObject("sound\\res.wav", 1);
    ASSERT_GE(n, 0);
    Play(n, 0);
    EXPECT_EQ(render(10)[0], 5000);

    std::vector<uint8_t> cut(image.begin(), image.end() - 2);  // claims more than it holds
    const platform::Resource broken[] = {{"WAVE", "SOUND\\CUT.WAV", cut}};
    instance.resources = broken;
    EXPECT_EQ(LoadObject("SOUND\\CUT.WAV", 1), -1);
    EXPECT_TRUE(reported(u8"WAVEリソースが見つかりません"));
    zuSystem::systemState.instance = nullptr;
}

TEST_F(SoundTable, ReleaseAndRestoreBringEverySoundBackStopped) {
    const int32_t a = loadTone("A.WAV", 3), b = loadTone("B.WAV", -2);
    SetVolume(a, -6, 1);
    SetPan(a, 20, 2);
    SetFrequency(a, 10, 0);
    SetVolume(b, -10, -1);
    PlayLoop(a, -1);
    PlayLoop(b, 0);
    const SoundObject before = soundState.objects[a];

    Release();
    EXPECT_FALSE(platform::headless::audioDeviceOpen());
    EXPECT_EQ(soundState.objects[a].buffers[0], nullptr);
    Restore();
    ASSERT_TRUE(platform::headless::audioDeviceOpen());
    const SoundObject& s = soundState.objects[a];
    EXPECT_EQ(s.used, 1);
    EXPECT_EQ(s.slotCount, 3);
    EXPECT_EQ(s.echoState, 0);
    EXPECT_EQ(soundState.objects[b].echoState, -1);  // loaded without echo, still without
    EXPECT_EQ(s.nextSlot, before.nextSlot);
    for (int j = 0; j < 3; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(s.volume[j], before.volume[j]);
        EXPECT_EQ(s.pan[j], before.pan[j]);
        EXPECT_EQ(s.frequency[j], before.frequency[j]);
        EXPECT_EQ(platform::volume(s.buffers[j]), before.volume[j]);
        EXPECT_EQ(platform::pan(s.buffers[j]), before.pan[j]);
        EXPECT_EQ(platform::frequency(s.buffers[j]), before.frequency[j]);
        EXPECT_FALSE(platform::isPlaying(s.buffers[j]));
    }
    EXPECT_EQ(s.frequency[0], 22050u + 1000u);
    EXPECT_EQ(soundState.objects[b].volume[1], -1000);
    EXPECT_EQ(peak(render(500), 0), 0);
}

TEST_F(SoundTable, FormatChangeRebuildsAndARefusalSilencesUntilRestore) {
    const int32_t n = loadSamples("A.WAV", constant(4000, 8000), 2);
    SetVolume(n, -6, 0);
    EXPECT_EQ(SelectFormat(2, 22, 16), 1);
    const platform::AudioOutput out = platform::outputFormat();
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.rate, 22050u);
    EXPECT_EQ(out.bits, 16);
    EXPECT_EQ(soundState.objects[n].volume[0], -600);
    Play(n, 0);
    EXPECT_NEAR(render(10)[0], 4010, 3);

    platform::headless::refuseOutputFormats(true);
    EXPECT_EQ(SelectFormat(1, 44, 8), 0);
    platform::headless::refuseOutputFormats(false);
    EXPECT_TRUE(reported(u8"再生フォーマットを変更できません"));
    EXPECT_EQ(soundState.objects[n].buffers[0], nullptr);
    Play(n, -1);  // ignored: there is nothing to play through
    Pause(n, -1);
    SetPan(n, 10, -1);
    EXPECT_EQ(GetPosition(n), 0u);
    EXPECT_GT(peak(render(4000), 0), 0);  // the report's beep, 150 ms
    EXPECT_EQ(peak(render(100), 0), 0);

    Release();
    Restore();
    EXPECT_NE(soundState.objects[n].buffers[1], nullptr);
    EXPECT_EQ(soundState.objects[n].pan[1], 1000);
}

}  // namespace
