// Music heard through the headless device: init rules, streams that wrap without a gap or end,
// source flags, handle rules, and the game's generated tune looping.
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/audio/audio.h"
#include "platform/audio/music.h"
#include "platform/headless.h"
#include "support/process.h"
#include "support/sound_program.h"  // render
#include "support/wav_writer.h"

namespace {

namespace music = platform::music;

class Music : public ::testing::Test {
protected:
    void SetUp() override {
        platform::useHeadless({});
        music::release();
        while (platform::audioOpen()) platform::closeAudio();
    }
    void TearDown() override {
        music::release();
        platform::headless::removeAudioDevice(false);
        test::removeTree(folder);
    }
    std::string wav(const std::string& name, uint16_t channels, uint16_t bits, const std::vector<uint8_t>& data) {
        test::writeBytes(folder + "/" + name, test::wavImage({.channels = channels, .bits = bits}, data));
        return folder + "/" + name;
    }

    const std::string folder = test::makeTempDir();
    // Stereo frames whose left and right samples all differ, so a wrong frame shows.
    const std::vector<int16_t> ramp = [] {
        std::vector<int16_t> frames;
        for (int32_t i = 0; i < 100; ++i) frames.insert(frames.end(), {int16_t(100 + i * 7), int16_t(-100 - i * 5)});
        return frames;
    }();
};

TEST_F(Music, InitNeedsAnOutputTheDefaultDeviceAndTheExactRateWhenAsked) {
    // Not yet initialised; a device other than the default; then no device at all.
    EXPECT_FALSE(music::start() || music::init(0, 44100, 0x50, nullptr) || music::init(1, 44100, 0x10, nullptr));
    platform::headless::removeAudioDevice(true);
    EXPECT_FALSE(music::init(-1, 44100, 0x50, nullptr) || music::init(-1, 44100, 0x10, nullptr) ||
                 music::openStream("anything.wav", 0));
    platform::headless::removeAudioDevice(false);

    // The output moved to another rate: the exact request fails, the fallback resamples.
    ASSERT_TRUE(platform::openAudio() && platform::setOutputFormat(2, 22050, 16));
    EXPECT_FALSE(music::init(-1, 44100, 0x50, nullptr));
    EXPECT_TRUE(music::init(-1, 44100, 0x10, nullptr) && music::start());
    platform::closeAudio();
    EXPECT_TRUE(platform::audioOpen());  // music holds the device until released
    music::release();
    EXPECT_FALSE(platform::audioOpen());

    // A new backend without a device: an earlier init does not carry over.
    ASSERT_TRUE(music::init(-1, 44100, 0x50, nullptr));
    platform::useHeadless({});
    platform::headless::removeAudioDevice(true);
    EXPECT_FALSE(music::init(-1, 44100, 0x50, nullptr));
}

TEST_F(Music, StreamsWrapInsideTheBlockOrEndAndSourceFlagsAndHandlesFollowTheirRules) {
    ASSERT_TRUE(music::init(-1, 44100, 0x50, nullptr));
    const std::string file = wav("loop.wav", 2, 16, test::pcm16(ramp));
    const uint32_t looping = music::openStream(file.c_str(), music::kLoop);
    ASSERT_TRUE(music::play(looping));
    EXPECT_EQ(render(64), std::vector<int16_t>(128, 0));  // silent, and held, until start
    ASSERT_TRUE(music::start());
    std::vector<int16_t> out = render(250);  // same rate: the file's frames exactly, wrapping
    ASSERT_EQ(out.size(), 500u);
    for (size_t i = 0; i < 500; ++i) ASSERT_EQ(out[i], ramp[i % 200]) << "sample " << i;
    ASSERT_TRUE(music::freeStream(looping));

    const uint32_t once = music::openStream(file.c_str(), 0);
    ASSERT_TRUE(music::play(once));
    out = render(150);
    EXPECT_EQ(out[2 * 99], ramp[2 * 99]);
    EXPECT_EQ(std::vector<int16_t>(out.begin() + 200, out.end()), std::vector<int16_t>(100, 0));
    ASSERT_TRUE(music::play(once));  // an ended stream starts again from its beginning
    EXPECT_EQ(render(10)[0], ramp[0]);
    ASSERT_TRUE(music::freeStream(once));

    // At half the output rate every second frame is heard, still wrapping at the seam.
    ASSERT_TRUE(platform::setOutputFormat(2, 22050, 16));
    ASSERT_TRUE(music::play(music::openStream(file.c_str(), music::kLoop)));
    out = render(120);
    for (size_t i = 0; i < 120; ++i) ASSERT_EQ(out[2 * i], ramp[2 * (2 * i % 100)]) << "frame " << i;

    const uint32_t eightBit = music::openStream(wav("u8.wav", 2, 8, std::vector<uint8_t>(400, 128)).c_str(), 0);
    const uint32_t mono = music::openStream(wav("mono.wav", 1, 16, test::pcm16(ramp)).c_str(), 0);
    const uint32_t stereo = music::openStream(wav("stereo.wav", 2, 16, test::pcm16(ramp)).c_str(), 0);
    ASSERT_TRUE(eightBit && mono && stereo);
    EXPECT_EQ((std::vector{music::channelFlags(eightBit), music::channelFlags(mono), music::channelFlags(stereo)}),
              (std::vector{uint32_t(music::kEightBitSource), uint32_t(music::kMonoSource), 0u}));
    EXPECT_EQ(music::openStream((folder + "/missing.wav").c_str(), 0), 0u);
    EXPECT_EQ(music::loadModule((folder + "/missing.xm").c_str(), 5), 0u);
    EXPECT_EQ(music::loadModule((folder + "/stereo.wav").c_str(), 5), 0u);  // not a module

    // Freeing 0, a handle of the other kind or an unknown one does nothing.
    EXPECT_FALSE(music::freeStream(0) || music::freeModule(0) || music::freeModule(stereo));
    EXPECT_TRUE(music::play(stereo));
    EXPECT_TRUE(music::freeStream(eightBit));
    EXPECT_FALSE(music::freeStream(eightBit) || music::play(eightBit));
    EXPECT_GT(music::openStream((folder + "/u8.wav").c_str(), 0), stereo);  // never a freed number
}

// The generated tune loads without a warning, with four channels and half a minute long at least.
TEST_F(Music, TheTuneLoadsCleanlyLoopsWithoutAGapAndEndsWithoutLooping) {
    const std::string tune = std::string(ZU_BINARY_DIR) + "/MOD/BGM.XM";
    std::ifstream file(tune, std::ios::binary);
    const std::vector<char> xm{std::istreambuf_iterator<char>(file), {}};
    std::string log;
    auto collect = [](const char* message, void* user) { *static_cast<std::string*>(user) += message; };
    openmpt_module* module = openmpt_module_create_from_memory2(xm.data(), xm.size(), collect, &log,
                                                                openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(module, nullptr) << tune;
    EXPECT_EQ(log, "");
    EXPECT_GE(openmpt_module_get_duration_seconds(module), 30.0);
    EXPECT_EQ(openmpt_module_get_num_channels(module), 4);
    openmpt_module_destroy(module);

    ASSERT_TRUE(music::init(-1, 44100, 0x50, nullptr) && music::start());
    EXPECT_EQ(music::openStream(tune.c_str(), 0), 0u);  // not a stream: the game falls back
    // The level of each 10 ms window of the left channel, from `from` seconds on.
    auto levels = [](const std::vector<int16_t>& stereo, double from) {
        std::vector<double> out;
        for (size_t at = size_t(from * 44100); at + 441 <= stereo.size() / 2; at += 441) {
            double sum = 0;
            for (size_t i = at; i < at + 441; ++i) sum += double(stereo[2 * i]) * stereo[2 * i];
            out.push_back(std::sqrt(sum / 441));
        }
        return out;
    };
    const uint32_t looping = music::loadModule(tune.c_str(), music::kLoop | music::kRamping);
    ASSERT_NE(looping, 0u);
    EXPECT_EQ(music::channelFlags(looping), 0u);
    ASSERT_TRUE(music::play(looping));
    for (double level : levels(render(44100 * 47), 45.5)) ASSERT_GT(level, 30.0);  // the seam: 46.08 s
    ASSERT_TRUE(music::freeModule(looping));
    ASSERT_TRUE(music::play(music::loadModule(tune.c_str(), 0)));
    for (double level : levels(render(44100 * 47), 46.2)) EXPECT_EQ(level, 0.0);
}

}  // namespace
