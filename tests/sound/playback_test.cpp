// Playback heard through the headless device: starts in turn, restarts, rate, pause and resume,
// the clamped settings and the echo on the virtual frame clock.
#include <cmath>

#include "sound_fixture.h"

namespace {

using namespace zuSound;

class Playback : public SoundFixture {
protected:
    // Frames from the first to the last sounding frame of the left channel, plus one.
    static size_t soundingFrames(const std::vector<int16_t>& out) {
        size_t first = SIZE_MAX, last = 0;
        for (size_t i = 0; i < out.size() / 2; ++i)
            if (out[2 * i] != 0) {
                first = std::min(first, i);
                last = i;
            }
        return first == SIZE_MAX ? 0 : last - first + 1;
    }
    static bool playing(int32_t n, int32_t slot) { return platform::isPlaying(soundState.objects[n].buffers[slot]); }
};

TEST_F(Playback, OneSlotRestartsAndThreeSlotsTakeTurnsAndSoundTogether) {
    const int32_t one = loadSamples("ONE.WAV", constant(4410, 1000), 1);
    Play(one, -1);
    render(1000);
    EXPECT_EQ(GetPosition(one), 2000u);
    Play(one, -1);
    EXPECT_EQ(GetPosition(one), 0u);
    EXPECT_EQ(soundState.objects[one].nextSlot, 0);
    EXPECT_EQ(soundingFrames(render(6000)), 4410u);  // from the start again, once
    Stop(one, -1);

    const int32_t three = loadSamples("THREE.WAV", constant(44100, 1000), 3);
    std::vector<int32_t> slotsUsed;
    for (int start = 0; start < 4; ++start) {
        slotsUsed.push_back(soundState.objects[three].nextSlot);
        Play(three, -1);
        const std::vector<int16_t> out = render(441);
        EXPECT_EQ(out[2 * 440], 1000 * std::min(start + 1, 3)) << "start " << start;
    }
    EXPECT_EQ(slotsUsed, (std::vector<int32_t>{0, 1, 2, 0}));
    // The fourth start cut the oldest voice off and began it again.
    EXPECT_EQ(platform::position(soundState.objects[three].buffers[0]), 441u * 2);
    EXPECT_EQ(platform::position(soundState.objects[three].buffers[1]), 3u * 441 * 2);
    Stop(three, 1);
    EXPECT_FALSE(playing(three, 1));
    EXPECT_TRUE(playing(three, 2));
    Stop(three, -1);
    EXPECT_FALSE(playing(three, 0) || playing(three, 2));
}

TEST_F(Playback, RateVolumeAndPanAreClampedStoredAndHeard) {
    const int32_t n = loadSamples("A.WAV", constant(4400, 2000), 2, 22000);
    SetFrequency(n, 0, 0);
    EXPECT_EQ(soundState.objects[n].frequency[0], 22000u);
    Play(n, 0);
    const double atBase = double(soundingFrames(render(10000)));
    EXPECT_NEAR(atBase, 8820.0, 2.0);
    SetFrequency(n, 220, 0);  // twice the base rate
    Play(n, 0);
    EXPECT_NEAR(double(soundingFrames(render(10000))) / atBase, 0.5, 0.0005);
    ResetFrequency(n, 0);

    AddFrequency(n, -300, 0);
    EXPECT_EQ(soundState.objects[n].frequency[0], 100u);
    AddFrequency(n, 1000, 0);
    EXPECT_EQ(soundState.objects[n].frequency[0], 100000u);
    AddFrequency(n, INT32_MAX, -1);
    EXPECT_EQ(soundState.objects[n].frequency[1], 100000u);
    ResetFrequency(n, -1);
    EXPECT_EQ(platform::frequency(soundState.objects[n].buffers[0]), 22000u);

    SetVolume(n, 5, 0);
    EXPECT_EQ(soundState.objects[n].volume[0], 0);
    SetVolume(n, -150, 0);
    EXPECT_EQ(soundState.objects[n].volume[0], -10000);
    AddVolume(n, 30, -1);
    EXPECT_EQ(soundState.objects[n].volume[0], -7000);
    EXPECT_EQ(soundState.objects[n].volume[1], 0);
    ResetVolume(n, -1);
    SetVolume(n, -6, -2);  // the slot next in turn only
    EXPECT_EQ(soundState.objects[n].volume[soundState.objects[n].nextSlot], -600);
    ResetVolume(n, -1);

    PanRight(n, 0);
    AddPan(n, 200, 0);
    EXPECT_EQ(soundState.objects[n].pan[0], 10000);
    Play(n, 0);
    std::vector<int16_t> out = render(100);
    EXPECT_EQ(out[100], 0);
    EXPECT_EQ(out[101], 2000);
    PanLeft(n, 0);
    AddPan(n, 50, 0);
    SetPan(n, -3, 1);
    EXPECT_EQ(soundState.objects[n].pan[0], -5000);
    EXPECT_EQ(soundState.objects[n].pan[1], -300);
    ResetPan(n, -1);
    EXPECT_EQ(platform::pan(soundState.objects[n].buffers[0]), 0);
    SetVolume(n, -6, 7);  // a slot the sound does not have: nothing
    EXPECT_EQ(soundState.objects[n].volume[7], 0);
}

TEST_F(Playback, PauseTwiceResumesAtTheSameCursor) {
    std::vector<int16_t> ramp(20000);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = int16_t(i + 1);
    const int32_t n = loadSamples("RAMP.WAV", ramp, 1);
    Play(n, 0);
    render(1234);
    Pause(n, -1);
    const uint32_t paused = GetPosition(n);
    EXPECT_EQ(paused, 1234u * 2);
    EXPECT_EQ(peak(render(500), 0), 0);
    Pause(n, -1);
    EXPECT_EQ(GetPosition(n), paused);
    const std::vector<int16_t> out = render(3);
    EXPECT_EQ(out[0], 1235);
    EXPECT_EQ(out[4], 1237);

    // A slot that never played starts from its saved cursor, 0.
    const int32_t m = loadSamples("TWO.WAV", constant(100, 700), 2);
    Pause(m, 1);
    EXPECT_TRUE(playing(m, 1));
    EXPECT_FALSE(playing(m, 0));
}

TEST_F(Playback, EchoRepeatsQuieterAtTheIntervalOnTheFrameClock) {
    const uint32_t frameFrames = 441;  // 10 ms frames
    zuSystem::frameClock.seconds = 0.01f;
    const int32_t n = loadSamples("PING.WAV", test::sine(1000, 44100, 441, 16000), 4);
    SetVolume(n, -20, -1);  // an echo start resets every slot
    SetPan(n, 50, -1);
    Play(n, -2);
    EXPECT_EQ(soundState.objects[n].echoState, 1);
    EXPECT_EQ(soundState.objects[n].volume[2], 0);
    std::vector<int16_t> heard;
    for (int frame = 0; frame < 60; ++frame) {
        if (frame > 0) Echo(n, 100, 3, 6);
        const std::vector<int16_t> out = render(frameFrames);
        heard.insert(heard.end(), out.begin(), out.end());
    }
    EXPECT_EQ(soundState.objects[n].echoState, 0);

    // Onsets and levels of the four soundings.
    std::vector<size_t> onsets;
    std::vector<int32_t> levels;
    for (size_t i = 0; i < heard.size() / 2; ++i) {
        if (heard[2 * i] == 0 || (!onsets.empty() && i < onsets.back() + 2 * frameFrames)) continue;
        onsets.push_back(i);
        levels.push_back(peak(heard, 0, i, i + frameFrames));
    }
    ASSERT_EQ(onsets.size(), 4u);
    const double expectedDb[] = {0, -6, -12, -18};
    for (size_t k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(double(onsets[k]), k * 10.0 * frameFrames, frameFrames);
        EXPECT_NEAR(20 * std::log10(levels[k] / 16000.0), expectedDb[k], 0.1);
    }

    // Count 0 does nothing; a stop of every slot ends a running echo.
    Play(n, -2);
    Echo(n, 0, 0, 6);
    EXPECT_EQ(soundState.objects[n].echoState, 1);
    Stop(n, -1);
    EXPECT_EQ(soundState.objects[n].echoState, 0);
    Echo(n, 0, 3, 6);
    EXPECT_EQ(soundState.objects[n].echoState, 0);

    // Without echo, -2 is only a start in turn.
    const int32_t plain = loadSamples("PLAIN.WAV", constant(100, 1), -4);
    Play(plain, -2);
    EXPECT_EQ(soundState.objects[plain].echoState, -1);
    EXPECT_EQ(soundState.objects[plain].nextSlot, 1);
}

TEST_F(Playback, EchoPanWandersWithinThirtyHundredths) {
    zuSystem::frameClock.seconds = 0.5f;
    const int32_t n = loadSamples("PING.WAV", constant(100, 100), 10);
    Play(n, -2);
    const int32_t direction = soundState.objects[n].echoDirection;
    EchoPan(n, 100, 9, 1, 1);  // +-50 per step: reaches the end at once and turns
    EXPECT_EQ(soundState.objects[n].echoPan, 30.0f * direction);
    EXPECT_EQ(soundState.objects[n].echoDirection, -direction);
    EXPECT_EQ(soundState.objects[n].pan[1], 3000 * direction);
    EXPECT_EQ(soundState.objects[n].volume[1], -100);
    EchoPan(n, 100, 9, 1, 1);
    EXPECT_EQ(soundState.objects[n].pan[2], -2000 * direction);
}

}  // namespace
