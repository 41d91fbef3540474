// An audio device that vanishes under the program: no message, every call goes on, the mixer
// keeps time so positions move and short sounds end, and when a device is there again every
// sound comes back with its settings and the output flows.
#include "platform/os/window.h"
#include "sound_fixture.h"

namespace {

using namespace zuSound;

class LostDevice : public SoundFixture {
protected:
    // Lets `ms` pass on the virtual clock and pumps events, as the program's loop does.
    static void pass(uint32_t ms) {
        platform::headless::setClock(platform::headless::clock() + ms);
        platform::Message m;
        while (platform::peekMessage(m)) {}
    }
    static platform::SoundBuffer* slot(int32_t n, int32_t s) { return sound(n).buffers[s]; }
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
    EXPECT_FALSE(platform::isPlaying(slot(shot, 0))) << "the short sound ended meanwhile";
    SetVolume(loop, -12, 1);
    Play(loop, 1);
    const int32_t later = loadSamples("LATER.WAV", constant(441, 100), 1);
    EXPECT_GE(later, 0) << "loading goes on without a device";

    platform::headless::removeAudioDevice(false);
    ASSERT_TRUE(platform::headless::audioDeviceOpen());
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
    EXPECT_EQ(zuSystem::systemState.errorRaised, 0);
    EXPECT_EQ(std::pair(sound(loop).volume[0], sound(loop).volume[1]), std::pair(-600, -1200));
    EXPECT_EQ(platform::volume(slot(loop, 0)), -600);
    EXPECT_EQ(platform::pan(slot(loop, 0)), 3000);
    EXPECT_TRUE(platform::isPlaying(slot(loop, 0)) && platform::isPlaying(slot(loop, 1)));
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

}  // namespace
