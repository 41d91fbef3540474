// The whole volume range through the mixer: the law 10^(v/2000) held down to -90 dB for 8- and
// 16-bit sources, and quiet signals mixed without a rounding offset.
#include <cmath>
#include <cstring>

#include "sound_fixture.h"

namespace {

constexpr uint32_t period = 100;  // source frames per cycle of the test tone

// One full-scale looping cycle of a sine, as 8- or 16-bit mono PCM.
platform::SoundBuffer* sineBuffer(uint16_t bits, double amplitude, uint32_t rate = 44100) {
    platform::WaveFormat f;
    f.nChannels = 1;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = bits;
    f.nBlockAlign = uint16_t(bits / 8);
    f.nAvgBytesPerSec = rate * f.nBlockAlign;
    platform::SoundBuffer* b = platform::createBuffer(f, period * f.nBlockAlign);
    if (!b) return nullptr;
    const platform::BufferLock lock = platform::lockBuffer(b, 0, 0);
    for (uint32_t i = 0; i < period; ++i) {
        const long s = std::lround(amplitude * std::sin(2 * M_PI * i / period));
        if (bits == 16) {
            const int16_t v = int16_t(s);
            std::memcpy(lock.first + 2 * i, &v, 2);
        } else {
            lock.first[i] = uint8_t(128 + s);
        }
    }
    platform::unlockBuffer(lock);
    return b;
}

class VolumeRange : public SoundFixture {
protected:
    void TearDown() override {
        for (platform::SoundBuffer* b : made) platform::destroyBuffer(b);
        SoundFixture::TearDown();
    }
    std::vector<platform::SoundBuffer*> made;
};

// Amplitude of the tone's own frequency in the left channel, over whole cycles.
double toneAmplitude(const std::vector<int16_t>& stereo) {
    const size_t frames = stereo.size() / 2 / period * period;
    double inPhase = 0, quadrature = 0;
    for (size_t i = 0; i < frames; ++i) {
        inPhase += stereo[2 * i] * std::sin(2 * M_PI * double(i) / period);
        quadrature += stereo[2 * i] * std::cos(2 * M_PI * double(i) / period);
    }
    return 2 * std::hypot(inPhase, quadrature) / double(frames);
}

// A single voice at -90 dB is about one output step, too coarse to measure; 32 equal voices
// add up to a measurable tone, and only if each keeps its own fraction of a step.
TEST_F(VolumeRange, LawHoldsWithinHalfADecibelDownToMinus90Db) {
    constexpr int voices = 32;
    for (const uint16_t bits : {16, 8}) {
        const double fullScale = bits == 16 ? 32767.0 : 127.0 * 256;
        for (auto* b : made) platform::destroyBuffer(b);
        made.clear();
        for (int i = 0; i < voices; ++i) made.push_back(sineBuffer(bits, bits == 16 ? 32767 : 127));
        for (const int32_t db : {-70, -80, -90}) {
            for (auto* b : made) {
                platform::setVolume(b, db * 100);
                platform::setPosition(b, 0);
                platform::play(b, true);
            }
            const double expected = voices * fullScale * std::pow(10.0, db / 20.0);
            const double measured = toneAmplitude(render(period * 50));
            ASSERT_GT(measured, 0) << bits << "-bit at " << db << " dB";
            EXPECT_NEAR(20 * std::log10(measured / expected), 0.0, 0.5) << bits << "-bit at " << db << " dB";
            for (auto* b : made) platform::stop(b);
        }
    }
}

// A quiet zero-mean tone, resampled so that every interpolation fraction occurs: truncating
// the products would pull each voice half a step below zero.
TEST_F(VolumeRange, QuietSignalsMixWithoutAnOffset) {
    for (const uint16_t bits : {16, 8}) {
        platform::SoundBuffer* b = sineBuffer(bits, bits == 16 ? 1000 : 100, 30011);
        made.push_back(b);
        platform::setVolume(b, -4000);
        platform::play(b, true);
        const std::vector<int16_t> out = render(44100);
        for (int channel : {0, 1}) {
            double sum = 0;
            for (size_t i = 0; i < out.size() / 2; ++i) sum += out[2 * i + channel];
            EXPECT_NEAR(sum / double(out.size() / 2), 0.0, 0.05) << bits << "-bit, channel " << channel;
        }
        EXPECT_GT(peak(out, 0), 0);  // the tone is there, not rounded away
        platform::stop(b);
    }
}

}  // namespace
