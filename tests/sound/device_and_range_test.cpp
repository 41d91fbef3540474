// The sound device at its limits: locking, mix 0, the volume law to -90 dB, and the real SDL audio
// thread mixing on through locks, loads, a stuck decoder and random calls (races, under TSan).
#include <atomic>
#include <cmath>
#include <complex>
#include <functional>
#include <memory>
#include <random>

#include "platform/audio/music.h"
#include "sound_fixture.h"

namespace {

constexpr uint32_t period = 100;  // source frames per cycle of the volume test tone

// True once `done` holds, polled for up to 30 seconds: a guard against hanging, not a measure.
bool eventually(const std::function<bool()>& done) {
    for (int ms = 0; ms < 30000 && !done(); ++ms) usleep(1000);
    return done();
}

// A source that stays inside mix() until it is let go.
struct StallingSource : platform::AudioSource {
    std::atomic<bool> inside{false}, released{false};
    void mix(int32_t*, uint32_t, uint32_t) override {
        inside = true;
        eventually([this] { return bool(released); });
        inside = false;
    }
};

using Buffer = std::unique_ptr<platform::SoundBuffer, void (*)(platform::SoundBuffer*)>;

Buffer sineBuffer(uint16_t bits, double amplitude, uint32_t rate = 44100) {
    const uint16_t align = uint16_t(bits / 8);
    const platform::WaveFormat format{.nChannels = 1, .nSamplesPerSec = rate, .nAvgBytesPerSec = rate * align,
                                      .nBlockAlign = align, .wBitsPerSample = bits};
    Buffer b(platform::createBuffer(format, period * align), platform::destroyBuffer);
    const platform::BufferLock lock = platform::lockBuffer(b.get(), 0, 0);
    for (uint32_t i = 0; i < period; ++i) {
        const int16_t v = int16_t(std::lround(amplitude * std::sin(2 * M_PI * i / period)));
        if (bits == 16) std::memcpy(lock.first + 2 * i, &v, 2);
        else lock.first[i] = uint8_t(128 + v);
    }
    platform::unlockBuffer(lock);
    return b;
}

using SoundDevice = SoundFixture;

// Written samples reach the output only at unlock: a buffer playing before the lock plays its old
// samples meanwhile, and one started during the lock waits for the new ones.
TEST_F(SoundDevice, LockedSamplesArePublishedAtUnlock) {
    const int32_t n = loadSamples("A.WAV", constant(4410, 1000), 2);
    for (const int32_t slot : {0, 1}) {
        SCOPED_TRACE(slot == 0 ? "playing before the lock" : "started during the lock");
        platform::SoundBuffer* b = sound(n).buffers[slot];
        if (slot == 0) platform::play(b, true);
        const platform::BufferLock lock = platform::lockBuffer(b, 0, 0);
        EXPECT_EQ(platform::lockBuffer(b, 0, 0).first, nullptr);  // one lock at a time
        if (slot == 1) platform::play(b, true);
        const std::vector<int16_t> twos(lock.firstBytes / 2, 2000);
        std::memcpy(lock.first, twos.data(), lock.firstBytes);
        EXPECT_EQ(render(8)[0], slot == 0 ? 1000 : 0);
        platform::unlockBuffer(lock);
        EXPECT_EQ(render(8)[0], 2000);
        platform::stop(b);
    }
}

// Every operation on it does nothing, also after the device is rebuilt.
TEST_F(SoundDevice, ASoundOfMixZeroHoldsItsNumberAndNeverSounds) {
    const int32_t n = loadSamples("A.WAV", constant(4410, 10000), 0);
    ASSERT_GE(n, 0);
    const zuSound::SoundObject& s = sound(n);
    EXPECT_EQ(std::pair(s.used, s.slotCount), std::pair(1, 0));
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
    EXPECT_EQ(std::tuple(s.nextSlot, s.volume[0], zuSound::GetPosition(n)), std::tuple(0, 0, 0u));
    zuSound::Restore();
    EXPECT_EQ(std::pair(s.used, s.slotCount), std::pair(1, 0));
    zuSound::Play(n, -1);
    EXPECT_EQ(peak(render(441), 0), 0);
}

// The law 10^(v/2000) for 8- and 16-bit sources: one voice at -90 dB is about one output step, too
// coarse to measure, but 32 equal voices add up to a measurable tone, and only if each keeps its
// own fraction of a step. A quiet zero-mean tone resampled so that every interpolation fraction
// occurs mixes without an offset: truncating the products would pull it half a step below zero.
TEST_F(SoundDevice, VolumeLawHoldsToMinus90DbAndQuietSignalsMixWithoutAnOffset) {
    for (const uint16_t bits : {16, 8}) {
        SCOPED_TRACE(::testing::Message() << bits << "-bit");
        const double fullScale = bits == 16 ? 32767.0 : 127.0 * 256;
        std::vector<Buffer> voices;
        for (int i = 0; i < 32; ++i) voices.push_back(sineBuffer(bits, bits == 16 ? 32767 : 127));
        for (const int32_t db : {-70, -80, -90}) {
            SCOPED_TRACE(::testing::Message() << db << " dB");
            for (const Buffer& b : voices) {
                platform::setVolume(b.get(), db * 100);
                platform::setPosition(b.get(), 0);
                platform::play(b.get(), true);
            }
            const std::vector<int16_t> out = render(period * 50);
            const size_t frames = out.size() / 2 / period * period;  // whole cycles, left channel
            std::complex<double> tone;
            for (size_t i = 0; i < frames; ++i)
                tone += double(out[2 * i]) * std::polar(1.0, 2 * M_PI * double(i) / period);
            const double measured = 2 * std::abs(tone) / double(frames);
            EXPECT_NEAR(20 * std::log10(measured / (32 * fullScale * std::pow(10.0, db / 20.0))), 0.0, 0.5);
            for (const Buffer& b : voices) platform::stop(b.get());
        }
        const Buffer quiet = sineBuffer(bits, bits == 16 ? 1000 : 100, 30011);
        platform::setVolume(quiet.get(), -4000);
        platform::play(quiet.get(), true);
        const std::vector<int16_t> out = render(44100);
        for (int channel : {0, 1}) {
            double sum = 0;
            for (size_t i = 0; i < out.size() / 2; ++i) sum += out[2 * i + channel];
            EXPECT_NEAR(sum / double(out.size() / 2), 0.0, 0.05) << "channel " << channel;
        }
        EXPECT_GT(peak(out, 0), 0);  // the quiet tone is there, not rounded away
    }
}

// The real SDL audio thread (dummy driver) against the main thread.
TEST_F(SoundDevice, TheSdlThreadMixesOnThroughLocksLoadsAStuckDecoderAndRandomCalls) {
    zuSound::Release();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(platform::useSdl());
    ASSERT_EQ(zuSound::Init(), 1);
    const char* names[] = {"SOUND\\A.WAV", "SOUND\\B.WAV", "SOUND\\C.WAV"};
    for (int32_t i = 0; i < 3; ++i) {
        test::WavSpec spec;
        spec.channels = uint16_t(1 + i % 2);
        const std::vector<int16_t> tone = test::sine(300 + 200 * i, 44100, 22050 + 5000 * i, 6000, spec.channels);
        test::writeBytes((programFolder / "SOUND" / (names[i] + 6)).string(), test::wavImage(spec, test::pcm16(tone)));
        ASSERT_EQ(zuSound::LoadObject(names[i], 4), i);
    }
    ASSERT_TRUE(platform::music::init(-1, 44100, platform::music::kInitSixteenBits, nullptr));
    ASSERT_TRUE(platform::music::start());
    uint32_t tune = platform::music::loadModule(ZU_BINARY_DIR "/MOD/BGM.XM", platform::music::kLoop);
    ASSERT_NE(tune, 0u);

    // The device's thread runs on while buffers are locked or a sound loads, and a source stuck
    // decoding (which needs no mixer lock) leaves the voices reachable.
    zuSound::PlayLoop(0, 0);
    const auto flows = [] {
        const uint32_t before = zuSound::GetPosition(0);
        return eventually([&] { return zuSound::GetPosition(0) != before; });
    };
    const Buffer fresh(platform::createBuffer(platform::WaveFormat{}, 1 << 20), platform::destroyBuffer);
    for (platform::SoundBuffer* b : {sound(0).buffers[0], fresh.get()}) {
        const platform::BufferLock lock = platform::lockBuffer(b, 0, 0);
        ASSERT_NE(lock.first, nullptr);
        EXPECT_TRUE(flows());
        platform::unlockBuffer(lock);
    }
    EXPECT_EQ(loadSamples("BIG.WAV", std::vector<int16_t>(1 << 20, 100), 10), 3);
    EXPECT_TRUE(flows());
    zuSound::ReleaseObject(3);  // not one of the sounds the calls below use
    StallingSource source;
    platform::attachSource(&source);
    EXPECT_TRUE(eventually([&] { return bool(source.inside); }));
    zuSound::Play(1, -1);  // needs the mixer while the device thread is decoding
    zuSound::SetVolume(1, -6, -1);
    EXPECT_TRUE(source.inside);
    source.released = true;
    platform::detachSource(&source);

    std::mt19937 random(7);
    for (int call = 0; call < 500; ++call) {
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
        usleep(500);
    }

    // The output still flows after the calls.
    zuSound::ReleaseObject(0);
    ASSERT_EQ(zuSound::LoadObject(names[0], 1), 0);
    zuSound::PlayLoop(0, 0);
    EXPECT_TRUE(flows());
    platform::music::release();
    zuSound::Release();
    platform::useHeadless({});  // later tests expect the headless backend
}

}  // namespace
