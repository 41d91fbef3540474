// The real SDL audio thread (dummy driver) mixing while the main thread changes every sound
// setting, reloads, releases and restores: run under ThreadSanitizer, this finds races.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/audio/music.h"
#include "platform/headless.h"
#include "platform/os/files.h"
#include "sound/zu_sound.h"
#include "support/process.h"
#include "support/wav_writer.h"

namespace {

TEST(AudioThreadStress, RandomCallsWhileTheDeviceMixes) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(platform::useSdl());
    const std::filesystem::path folder = test::makeTempDir();
    std::filesystem::create_directories(folder / "SOUND");
    std::string module = (folder / "prog").string();
    std::replace(module.begin(), module.end(), '/', '\\');
    platform::setModuleFileName(module.c_str());

    zuSound::soundState = {};
    ASSERT_EQ(zuSound::Init(), 1);
    zuSound::ClearObjects();
    const char* names[] = {"SOUND\\A.WAV", "SOUND\\B.WAV", "SOUND\\C.WAV"};
    for (int32_t i = 0; i < 3; ++i) {  // tones of different lengths and pitches, the second in stereo
        const uint16_t channels = uint16_t(1 + i % 2);
        const std::vector<int16_t> tone = test::sine(400 + 300 * i, 44100, 22050 + 5000 * i, 6000, channels);
        test::writeBytes((folder / "SOUND" / (names[i] + 6)).string(),
                         test::wavImage({.channels = channels}, test::pcm16(tone)));
        ASSERT_EQ(zuSound::LoadObject(names[i], 4), i);
    }
    ASSERT_TRUE(platform::music::init(-1, 44100, platform::music::kInitSixteenBits, nullptr));
    ASSERT_TRUE(platform::music::start());
    uint32_t tune = platform::music::loadModule(ZU_BINARY_DIR "/MOD/BGM.XM", platform::music::kLoop);
    ASSERT_NE(tune, 0u);

    std::mt19937 random(7);
    for (const double end = test::monotonicSeconds() + 2.0; test::monotonicSeconds() < end; usleep(500)) {
        const int32_t n = int32_t(random() % 3), mix = int32_t(random() % 5) - 1;
        switch (random() % 14) {
        case 0: zuSound::Play(n, mix); break;
        case 1: zuSound::PlayLoop(n, mix); break;
        case 2: zuSound::Stop(n, mix); break;
        case 3: zuSound::Pause(n, mix); break;
        case 4: zuSound::SetVolume(n, -int32_t(random() % 10000), mix); break;
        case 5: zuSound::SetPan(n, int32_t(random() % 20001) - 10000, mix); break;
        case 6: zuSound::SetFrequency(n, 8000 + random() % 40000, mix); break;
        case 7: zuSound::Echo(n, 5, 3, 2); break;
        case 8: zuSound::ReleaseObject(n); zuSound::LoadObject(names[n], 4); break;
        case 9: zuSound::Release(); zuSound::Restore(); break;
        case 10: zuSound::SelectFormat(2, random() % 2 ? 44 : 22, 16); break;
        case 11: platform::music::play(tune); break;
        case 12:
            platform::music::freeModule(tune);
            tune = platform::music::loadModule(ZU_BINARY_DIR "/MOD/BGM.XM", platform::music::kLoop);
            platform::music::play(tune);
            break;
        default: (void)zuSound::GetPosition(n); break;
        }
    }

    // The output still flows: a looping sound's play cursor moves on its own.
    zuSound::ReleaseObject(0);
    ASSERT_EQ(zuSound::LoadObject(names[0], 1), 0);
    zuSound::PlayLoop(0, 0);
    const uint32_t before = zuSound::GetPosition(0);
    usleep(200000);
    EXPECT_NE(zuSound::GetPosition(0), before);

    platform::music::release();
    zuSound::Release();
    zuSound::soundState = {};
    platform::setModuleFileName("");
    platform::useHeadless({});  // later tests expect the headless backend
    test::removeTree(folder);
}

}  // namespace
