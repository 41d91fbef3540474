// A sound loaded with a mix of 0 holds its number but has no slots: every operation on it does
// nothing, also after the device is rebuilt.
#include "sound_fixture.h"

namespace {

class SlotlessSound : public SoundFixture {};

TEST_F(SlotlessSound, HoldsItsNumberAndNeverSounds) {
    const int32_t n = loadSamples("A.WAV", constant(4410, 10000), 0);
    ASSERT_GE(n, 0);
    const zuSound::SoundObject& s = zuSound::soundState.objects[n];
    EXPECT_EQ(s.used, 1);
    EXPECT_EQ(s.slotCount, 0);
    for (platform::SoundBuffer* b : s.buffers) EXPECT_EQ(b, nullptr);
    EXPECT_EQ(loadSamples("B.WAV", constant(10, 1), 1), n + 1);  // the number stays taken

    for (int32_t mix : {0, -1, -2}) {
        zuSound::Play(n, mix);
        zuSound::PlayLoop(n, mix);
        zuSound::Pause(n, mix);
        zuSound::SetVolume(n, -10, mix);
        zuSound::SetPan(n, 5, mix);
        zuSound::AddFrequency(n, 3, mix);
    }
    zuSound::Echo(n, 0, 3, 6);
    EXPECT_EQ(peak(render(441), 0), 0);
    EXPECT_EQ(s.nextSlot, 0);
    EXPECT_EQ(s.volume[0], 0);
    EXPECT_EQ(zuSound::GetPosition(n), 0u);

    zuSound::Restore();
    EXPECT_EQ(s.used, 1);
    EXPECT_EQ(s.slotCount, 0);
    zuSound::Play(n, -1);
    EXPECT_EQ(peak(render(441), 0), 0);
}

}  // namespace
