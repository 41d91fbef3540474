// The mixer heard through the headless device: gains, pan law, resampling across the loop seam,
// saturation, buffer acceptance, wrapping locks and output formats; playback through it: starts in
// turn, restarts, rate, pause and resume, the clamped settings and the echo on the virtual frame
// clock; the device at its limits: locking, mix 0, the volume law to -90 dB, and the real SDL audio
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

using namespace zuSound;
using platform::WaveFormat;
using V = std::vector<int64_t>;
using Playback = SoundFixture;

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

TEST_F(Playback, OneSlotRestartsAndThreeSlotsTakeTurnsAndSoundTogether) {
    const int32_t one = loadSamples("ONE.WAV", constant(4410, 1000), 1);
    Play(one, -1);
    render(1000);
    Play(one, -1);
    EXPECT_EQ(std::pair(GetPosition(one), sound(one).nextSlot), std::pair(0u, 0));
    EXPECT_EQ(soundingFrames(render(6000)), 4410u);  // from the start again, once
    Stop(one, -1);
    const int32_t three = loadSamples("THREE.WAV", constant(44100, 1000), 3);
    std::vector<int32_t> slotsUsed;
    for (int start = 0; start < 4; ++start) {
        slotsUsed.push_back(sound(three).nextSlot);
        Play(three, -1);
        EXPECT_EQ(render(441)[2 * 440], 1000 * std::min(start + 1, 3)) << "start " << start;
    }
    EXPECT_EQ(slotsUsed, (std::vector<int32_t>{0, 1, 2, 0}));
    // The fourth start cut the oldest voice off and began it again.
    const platform::SoundBuffer* const* buffers = sound(three).buffers;
    EXPECT_EQ(std::pair(platform::position(buffers[0]), platform::position(buffers[1])),
              std::pair(441u * 2, 3u * 441 * 2));
    Stop(three, 1);
    EXPECT_EQ(std::pair(playing(three, 1), playing(three, 2)), std::pair(false, true));
    Stop(three, -1);
    EXPECT_FALSE(playing(three, 0) || playing(three, 2));
}

TEST_F(Playback, RateVolumeAndPanAreClampedStoredAndHeard) {
    const int32_t n = loadSamples("A.WAV", constant(4400, 2000), 2, 22000);
    const SoundObject& s = sound(n);
    Play(n, 0);
    const double atBase = double(soundingFrames(render(10000)));
    EXPECT_NEAR(atBase, 8820.0, 2.0);
    SetFrequency(n, 220, 0);  // twice the base rate
    Play(n, 0);
    EXPECT_NEAR(double(soundingFrames(render(10000))) / atBase, 0.5, 0.0005);
    ResetFrequency(n, 0);
    // Each call from the reset settings, then the frequency, volume and pan of both slots.
    const struct { const char* what; std::function<void()> call; V after; } rows[] = {
        {"rate 0 is the base", [&] { SetFrequency(n, 0, 0); }, {22000, 22000, 0, 0, 0, 0}},
        {"rate floor", [&] { AddFrequency(n, -300, 0); }, {100, 22000, 0, 0, 0, 0}},
        {"rate ceiling", [&] { AddFrequency(n, 1000, 0); }, {100000, 22000, 0, 0, 0, 0}},
        {"every slot", [&] { AddFrequency(n, INT32_MAX, -1); }, {100000, 100000, 0, 0, 0, 0}},
        {"volume ceiling", [&] { SetVolume(n, 5, 0); }, {22000, 22000, 0, 0, 0, 0}},
        {"volume floor", [&] { SetVolume(n, -150, 0); }, {22000, 22000, -10000, 0, 0, 0}},
        {"volume step", [&] { SetVolume(n, -100, 0); AddVolume(n, 30, -1); }, {22000, 22000, -7000, 0, 0, 0}},
        {"pan ceiling", [&] { PanRight(n, 0); AddPan(n, 200, 0); }, {22000, 22000, 0, 0, 10000, 0}},
        {"pan left", [&] { PanLeft(n, 0); AddPan(n, 50, 0); }, {22000, 22000, 0, 0, -5000, 0}},
        {"pan of slot 1", [&] { SetPan(n, -3, 1); }, {22000, 22000, 0, 0, 0, -300}},
        {"no such slot", [&] { SetVolume(n, -6, 7); }, {22000, 22000, 0, 0, 0, 0}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        r.call();
        EXPECT_EQ(settings(s, 2), r.after);
        EXPECT_EQ(s.volume[7], 0);
        ResetFrequency(n, -1);
        ResetVolume(n, -1);
        ResetPan(n, -1);
        EXPECT_EQ(platform::frequency(s.buffers[0]), 22000u);
        EXPECT_EQ(platform::pan(s.buffers[0]), 0);
    }
    SetVolume(n, -6, -2);  // the slot next in turn only
    EXPECT_EQ(s.volume[s.nextSlot], -600);
    EXPECT_EQ(s.volume[1 - s.nextSlot], 0);
    ResetVolume(n, -1);
    PanRight(n, 0);
    Play(n, 0);
    const std::vector<int16_t> out = render(100);
    EXPECT_EQ(std::pair(out[100], out[101]), std::pair(int16_t(0), int16_t(2000)));
}

TEST_F(Playback, PauseTwiceResumesAtTheSameCursor) {
    std::vector<int16_t> ramp(20000);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = int16_t(i + 1);
    const int32_t n = loadSamples("RAMP.WAV", ramp, 1);
    Play(n, 0);
    render(1234);
    Pause(n, -1);
    EXPECT_EQ(GetPosition(n), 1234u * 2);
    EXPECT_EQ(peak(render(500), 0), 0);
    Pause(n, -1);
    EXPECT_EQ(GetPosition(n), 1234u * 2);
    EXPECT_EQ(render(3), (std::vector<int16_t>{1235, 1235, 1236, 1236, 1237, 1237}));
    // A slot that never played starts from its saved cursor, 0.
    const int32_t m = loadSamples("TWO.WAV", constant(100, 700), 2);
    Pause(m, 1);
    EXPECT_EQ(std::pair(playing(m, 0), playing(m, 1)), std::pair(false, true));
}

TEST_F(Playback, EchoRepeatsQuieterAtTheIntervalAndItsPanWandersWithinThirtyHundredths) {
    zuSystem::frameClock.seconds = 0.01f;
    const int32_t n = loadSamples("PING.WAV", test::sine(1000, 44100, 441, 16000), 4);  // one frame long
    SetVolume(n, -20, -1);  // an echo start resets every slot
    SetPan(n, 50, -1);
    Play(n, -2);
    EXPECT_EQ(std::pair(sound(n).echoState, sound(n).volume[2]), std::pair(1, 0));
    // Three repeats 100 ms apart, each 6 dB quieter, and silence between and after.
    for (int frame = 0; frame < 60; ++frame) {
        SCOPED_TRACE(frame);
        if (frame > 0) Echo(n, 100, 3, 6);
        const int32_t level = peak(render(441), 0);
        if (frame % 10 == 0 && frame < 40)
            EXPECT_NEAR(20 * std::log10(level / 16000.0), -0.6 * frame, 0.1);
        else
            EXPECT_EQ(level, 0);
    }
    EXPECT_EQ(sound(n).echoState, 0);
    // Count 0 does nothing; a stop of every slot ends a running echo.
    Play(n, -2);
    Echo(n, 0, 0, 6);
    EXPECT_EQ(sound(n).echoState, 1);
    Stop(n, -1);
    EXPECT_EQ(sound(n).echoState, 0);
    Echo(n, 0, 3, 6);
    EXPECT_EQ(sound(n).echoState, 0);
    // Without echo, -2 is only a start in turn.
    const int32_t plain = loadSamples("PLAIN.WAV", constant(100, 1), -4);
    Play(plain, -2);
    EXPECT_EQ(std::pair(sound(plain).echoState, sound(plain).nextSlot), std::pair(-1, 1));
    // The echo pan moves 50 hundredths a step at half-second frames: at the end at once, it turns.
    zuSystem::frameClock.seconds = 0.5f;
    const int32_t wander = loadSamples("WANDER.WAV", constant(100, 100), 10);
    Play(wander, -2);
    const SoundObject& w = sound(wander);
    const int32_t direction = w.echoDirection;
    EchoPan(wander, 100, 9, 1, 1);
    EXPECT_EQ(std::tuple(w.echoPan, w.echoDirection, w.pan[1], w.volume[1]),
              std::tuple(30.0f * direction, -direction, 3000 * direction, -100));
    EchoPan(wander, 100, 9, 1, 1);
    EXPECT_EQ(w.pan[2], -2000 * direction);
}

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
    Buffer b(platform::createBuffer(pcmFormat(1, rate, bits), period * bits / 8), platform::destroyBuffer);
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
