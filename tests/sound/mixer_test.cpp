// The mixer heard through the headless device: gains, pan law, resampling across the loop seam,
// saturation, buffer acceptance, wrapping locks and output formats.
#include <cmath>

#include "sound_fixture.h"

namespace {

using platform::WaveFormat;

WaveFormat pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
    const uint16_t align = uint16_t(channels * bits / 8);
    return {.nChannels = channels, .nSamplesPerSec = rate, .nAvgBytesPerSec = rate * align, .nBlockAlign = align,
            .wBitsPerSample = bits};
}

class Mixer : public SoundFixture {
protected:
    void TearDown() override {
        for (platform::SoundBuffer* b : made) platform::destroyBuffer(b);
        SoundFixture::TearDown();
    }
    platform::SoundBuffer* create(const WaveFormat& f, uint32_t bytes) {
        return made.emplace_back(platform::createBuffer(f, bytes));
    }
    platform::SoundBuffer* make(const std::vector<int16_t>& samples, uint16_t channels = 1, uint32_t rate = 44100) {
        platform::SoundBuffer* b = create(pcmFormat(channels, rate, 16), uint32_t(samples.size() * 2));
        const platform::BufferLock lock = platform::lockBuffer(b, 0, 0);
        std::memcpy(lock.first, samples.data(), lock.firstBytes);
        platform::unlockBuffer(lock);
        return b;
    }
    std::vector<platform::SoundBuffer*> made;
};

TEST_F(Mixer, VolumeIsTenToTheHundredthsOverTwoThousandAndPanLowersTheFarSide) {
    platform::SoundBuffer* tone = make(test::sine(1000, 44100, 4410, 20000));
    platform::play(tone, true);
    const double full = peak(render(4410), 0);
    EXPECT_NEAR(full, 20000, 20);
    // Each side's peak as a share of the full one, with its tolerance in samples.
    const struct { int32_t volume, pan; double left, leftOff, right, rightOff; } rows[] = {
        {-600, 0, 0.5, 0.005 * full, 0.5, 0.005 * full},
        {0, 10000, 0, 0, 1, 2},
        {0, -2000, 1, 2, 0.1, 0.002 * full},  // right lowered by 20 dB, left untouched
        {-10000, 0, 0, 0, 0, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "volume " << r.volume << " pan " << r.pan);
        platform::setVolume(tone, r.volume);
        platform::setPan(tone, r.pan);
        const std::vector<int16_t> out = render(4410);
        EXPECT_NEAR(peak(out, 0), r.left * full, r.leftOff);
        EXPECT_NEAR(peak(out, 1), r.right * full, r.rightOff);
    }
}

TEST_F(Mixer, ResamplesLinearlyAndLoopsWithoutAClick) {
    // Half the output rate: every second output frame lies halfway between two source frames.
    platform::SoundBuffer* ramp = make({0, 1000, 2000, 3000, 4000}, 1, 22050);
    platform::play(ramp, false);
    const std::vector<int16_t> out = render(12);
    const int16_t expected[] = {0, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4000, 0, 0};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(out[2 * i], expected[i]) << "frame " << i;
    EXPECT_EQ(std::pair(platform::isPlaying(ramp), platform::position(ramp)), std::pair(false, 0u));
    // Ten whole cycles looped at an uneven rate: no step between neighbours larger than the
    // sine's own steepest step.
    platform::SoundBuffer* loop = make(test::sine(441, 44100, 1000, 20000));
    platform::setFrequency(loop, 37777);
    platform::play(loop, true);
    const std::vector<int16_t> looped = render(20000);
    const double steepest = 20000 * 2 * M_PI * 441 / 44100 * 37777 / 44100;
    for (size_t i = 1; i < looped.size() / 2; ++i)
        ASSERT_LE(std::abs(looped[2 * i] - looped[2 * i - 2]), steepest + 2) << "frame " << i;
    EXPECT_TRUE(platform::isPlaying(loop));
}

TEST_F(Mixer, SumsSaturateAndStereoSourcesKeepTheirSides) {
    platform::SoundBuffer* a = make(constant(1000, 30000));
    platform::SoundBuffer* b = make(constant(1000, 30000));
    platform::play(a, false);
    platform::play(b, false);
    EXPECT_EQ(render(100), constant(200, 32767));
    platform::stop(a);
    platform::stop(b);
    std::vector<int16_t> sides;
    for (int i = 0; i < 100; ++i) sides.insert(sides.end(), {int16_t(-1234), int16_t(4321)});
    platform::play(make(sides, 2), false);
    EXPECT_EQ(render(50), std::vector<int16_t>(sides.begin(), sides.begin() + 100));
}

TEST_F(Mixer, AcceptsOnlyPlayablePcmBuffersAndLocksWrapIntoTwoRegions) {
    // Channels, rate, bits, bytes (18 is not whole blocks) and whether a buffer is made.
    const struct { uint16_t channels; uint32_t rate; uint16_t bits; uint32_t bytes; bool ok; } rows[] = {
        {2, 22050, 16, 8, true},   {1, 100, 8, 4, true},      {1, 100000, 8, 4, true},
        {3, 44100, 16, 24, false}, {1, 44100, 24, 24, false}, {1, 99, 16, 16, false},
        {1, 100001, 16, 16, false}, {1, 44100, 16, 2, false}, {2, 44100, 16, 18, false},
        {2, 44100, 16, (64u << 20) + 4, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.channels << "x" << r.bits << "@" << r.rate << ", " << r.bytes);
        EXPECT_EQ(create(pcmFormat(r.channels, r.rate, r.bits), r.bytes) != nullptr, r.ok);
    }
    WaveFormat f = pcmFormat(2, 44100, 16);
    f.wFormatTag = 3;  // float samples
    EXPECT_EQ(create(f, 16), nullptr);
    f.wFormatTag = platform::waveFormatExtensible;
    f.cbSize = 22;
    const uint8_t pcmGuid[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    std::memcpy(f.subFormat, pcmGuid, 16);
    platform::SoundBuffer* b = create(f, 16);
    ASSERT_NE(b, nullptr);
    f.subFormat[0] = 3;  // float samples
    EXPECT_EQ(create(f, 16), nullptr);
    // The 16-byte buffer locked from 12 for 8 bytes: its last 4 and its first 4.
    platform::BufferLock lock = platform::lockBuffer(b, 12, 8);
    ASSERT_NE(lock.first, nullptr);
    EXPECT_EQ(std::tuple(lock.firstBytes, lock.secondBytes, lock.second + 12), std::tuple(4u, 4u, lock.first));
    platform::unlockBuffer(lock);
    EXPECT_EQ(platform::lockBuffer(b, 16, 4).first, nullptr);
    EXPECT_EQ(platform::lockBuffer(b, 0, 20).first, nullptr);
}

TEST_F(Mixer, OutputFormatChangesWhatTheDeviceGets) {
    platform::SoundBuffer* tone = make(constant(4000, 16384), 1, 22050);
    ASSERT_TRUE(platform::setOutputFormat(1, 22050, 8));
    platform::play(tone, false);
    // One voice at half scale, in unsigned 8 bits.
    EXPECT_EQ(platform::headless::renderAudio(100), std::vector<uint8_t>(100, 128 + 64));
    platform::stop(tone);
    EXPECT_EQ(platform::headless::renderAudio(4)[0], 128);
    EXPECT_FALSE(platform::setOutputFormat(2, 44100, 24));
    EXPECT_EQ(platform::outputFormat().rate, 22050u);
    EXPECT_TRUE(platform::setOutputFormat(2, 44100, 16));
}

}  // namespace
