// The sound layer heard through the headless device: the mixer and its buffers, playback and slot
// settings, the echo on the virtual frame clock, the real SDL audio thread under random calls (races,
// under TSan), the sound table and its reports, a device that vanishes, and reading WAV files.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/audio/music.h"
#include "platform/os/resources.h"
#include "platform/os/window.h"
#include "sound/wave_reader.h"
#include "support/process.h"
#include "support/sound_program.h"

// Sounds written into SOUND\ and the output heard.
class Sound : public SoundProgram {
protected:
    void writeSound(const std::string& name, const std::vector<uint8_t>& image) { write("SOUND/" + name, image); }
    int32_t loadSamples(const std::string& name, const std::vector<int16_t>& samples, int32_t mix, uint32_t rate = 44100) {
        writeSound(name, test::wavImage({.rate = rate}, test::pcm16(samples)));
        return zuSound::LoadObject(("SOUND\\" + name).c_str(), mix);
    }
    int32_t loadTone(const std::string& name, int32_t mix) {
        return loadSamples(name, test::sine(1000, 22050, 2000, 16000), mix, 22050);
    }
    static bool playing(int32_t n, int32_t slot) { return platform::isPlaying(sound(n).buffers[slot]); }
    // Frequencies, volumes and pans of the first `count` slots, in that order.
    static std::vector<int64_t> settings(const zuSound::SoundObject& s, int count) {
        std::vector<int64_t> out(s.frequency, s.frequency + count);
        out.insert(out.end(), s.volume, s.volume + count);
        out.insert(out.end(), s.pan, s.pan + count);
        return out;
    }

    static int32_t peak(const std::vector<int16_t>& stereo, int channel) {
        int32_t best = 0;
        for (size_t i = channel; i < stereo.size(); i += 2) best = std::max(best, std::abs(int32_t(stereo[i])));
        return best;
    }
    // Frames from the first to the last sounding frame of the left channel, plus one.
    static size_t soundingFrames(const std::vector<int16_t>& out) {
        size_t first = SIZE_MAX, last = 0;
        for (size_t i = 0; i < out.size() / 2; ++i)
            if (out[2 * i] != 0) first = std::min(first, i), last = i;
        return first > last ? 0 : last - first + 1;
    }
    static std::vector<int16_t> constant(uint32_t frames, int16_t value) { return std::vector<int16_t>(frames, value); }
};

namespace {

using namespace zuSound;
using platform::WaveFormat;
using V = std::vector<int64_t>;

WaveFormat pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
    const uint16_t align = uint16_t(channels * bits / 8);
    return {.nChannels = channels, .nSamplesPerSec = rate, .nAvgBytesPerSec = rate * align, .nBlockAlign = align,
            .wBitsPerSample = bits};
}

class Mixer : public Sound {
protected:
    void TearDown() override {
        for (platform::SoundBuffer* b : made) platform::destroyBuffer(b);
        Sound::TearDown();
    }
    platform::SoundBuffer* create(const WaveFormat& f, uint32_t n) { return made.emplace_back(platform::createBuffer(f, n)); }
    platform::SoundBuffer* make(const std::vector<uint8_t>& bytes, const WaveFormat& f) {
        platform::SoundBuffer* b = create(f, uint32_t(bytes.size()));
        const platform::BufferLock lock = platform::lockBuffer(b, 0, 0);
        std::memcpy(lock.first, bytes.data(), lock.firstBytes);
        platform::unlockBuffer(lock);
        return b;
    }
    platform::SoundBuffer* make(const std::vector<int16_t>& samples, uint16_t channels = 1, uint32_t rate = 44100) {
        return make(test::pcm16(samples), pcmFormat(channels, rate, 16));
    }
    static constexpr uint32_t period = 100;  // frames in one cycle of the volume law's tone
    // One cycle of a sine in 16 bits or unsigned 8.
    platform::SoundBuffer* cycle(uint16_t bits, int16_t amplitude, uint32_t rate = 44100) {
        const std::vector<int16_t> sine = test::sine(1, period, period, amplitude);
        std::vector<uint8_t> unsigned8;
        for (int16_t v : sine) unsigned8.push_back(uint8_t(128 + v));
        return bits == 16 ? make(sine, 1, rate) : make(unsigned8, pcmFormat(1, rate, 8));
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
        platform::setVolume(tone, r.volume), platform::setPan(tone, r.pan);
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
    platform::setFrequency(loop, 37777), platform::play(loop, true);
    const std::vector<int16_t> looped = render(20000);
    const double steepest = 20000 * 2 * M_PI * 441 / 44100 * 37777 / 44100;
    for (size_t i = 1; i < looped.size() / 2; ++i)
        ASSERT_LE(std::abs(looped[2 * i] - looped[2 * i - 2]), steepest + 2) << "frame " << i;
    EXPECT_TRUE(platform::isPlaying(loop));
}

TEST_F(Mixer, SumsSaturateAndStereoSourcesKeepTheirSides) {
    platform::SoundBuffer* loud[] = {make(constant(1000, 30000)), make(constant(1000, 30000))};
    for (platform::SoundBuffer* b : loud) platform::play(b, false);
    EXPECT_EQ(render(100), constant(200, 32767));
    for (platform::SoundBuffer* b : loud) platform::stop(b);
    std::vector<int16_t> sides;
    for (int i = 0; i < 100; ++i) sides.insert(sides.end(), {int16_t(-1234), int16_t(4321)});
    platform::play(make(sides, 2), false);
    EXPECT_EQ(render(50), std::vector<int16_t>(sides.begin(), sides.begin() + 100));
}

TEST_F(Mixer, AcceptsOnlyPlayablePcmBuffersAndLocksWrapIntoTwoRegions) {
    // Channels, rate, bits, bytes (18 is not whole blocks), whether a buffer is made, and the tag:
    // 3 is float samples; the extensible form carries PCM (1) or float (3) as its sub-format.
    constexpr uint16_t ext = platform::waveFormatExtensible;
    const struct {
        uint16_t channels; uint32_t rate; uint16_t bits; uint32_t bytes; bool ok; uint16_t tag = 1; uint8_t sub = 1;
    } rows[] = {
        {2, 22050, 16, 8, true},   {1, 100, 8, 4, true},      {1, 100000, 8, 4, true},
        {3, 44100, 16, 24, false}, {1, 44100, 24, 24, false}, {1, 99, 16, 16, false},
        {1, 100001, 16, 16, false}, {1, 44100, 16, 2, false}, {2, 44100, 16, 18, false},
        {2, 44100, 16, (64u << 20) + 4, false}, {2, 44100, 16, 16, false, 3},
        {2, 44100, 16, 16, true, ext}, {2, 44100, 16, 16, false, ext, 3},
    };
    const uint8_t guid[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};  // PCM's
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.channels << "x" << r.bits << "@" << r.rate << ", " << r.bytes << ", tag " << r.tag);
        WaveFormat f = pcmFormat(r.channels, r.rate, r.bits);
        f.wFormatTag = r.tag, f.cbSize = r.tag == ext ? 22 : 0;
        std::memcpy(f.subFormat, guid, 16), f.subFormat[0] = r.sub;
        EXPECT_EQ(create(f, r.bytes) != nullptr, r.ok);
    }
    // A 16-byte buffer locked from 12 for 8 bytes: its last 4 and its first 4.
    platform::SoundBuffer* b = create(pcmFormat(2, 44100, 16), 16);
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
}

TEST_F(Sound, OneSlotRestartsAndThreeSlotsTakeTurnsAndSoundTogether) {
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
    EXPECT_EQ(std::pair(platform::position(sound(three).buffers[0]), platform::position(sound(three).buffers[1])),
              std::pair(441u * 2, 3u * 441 * 2));
    Stop(three, 1);
    EXPECT_EQ(std::pair(playing(three, 1), playing(three, 2)), std::pair(false, true));
    Stop(three, -1);
    EXPECT_FALSE(playing(three, 0) || playing(three, 2));
}

TEST_F(Sound, RateVolumeAndPanAreClampedStoredAndHeard) {
    const int32_t n = loadSamples("A.WAV", constant(4400, 2000), 2, 22000);
    const SoundObject& s = sound(n);
    Play(n, 0);
    const double atBase = double(soundingFrames(render(10000)));
    EXPECT_NEAR(atBase, 8820.0, 2.0);
    SetFrequency(n, 220, 0), Play(n, 0);  // twice the base rate
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
        for (auto reset : {ResetFrequency, ResetVolume, ResetPan}) reset(n, -1);
        EXPECT_EQ(slots(n), Slots(2, {0, 0, 22000, false}));
    }
    SetVolume(n, -6, -2);  // the slot next in turn only
    EXPECT_EQ(std::pair(s.volume[s.nextSlot], s.volume[1 - s.nextSlot]), std::pair(-600, 0));
    ResetVolume(n, -1), PanRight(n, 0), Play(n, 0);
    const std::vector<int16_t> out = render(100);
    EXPECT_EQ(std::pair(out[100], out[101]), std::pair(int16_t(0), int16_t(2000)));
}

TEST_F(Sound, PauseTwiceResumesAtTheSameCursor) {
    std::vector<int16_t> ramp(20000);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = int16_t(i + 1);
    const int32_t n = loadSamples("RAMP.WAV", ramp, 1);
    Play(n, 0);
    render(1234);
    Pause(n, -1);
    EXPECT_EQ(std::pair(GetPosition(n), peak(render(500), 0)), std::pair(1234u * 2, 0));
    Pause(n, -1);  // resumes where it paused: the samples after the 1234th
    EXPECT_EQ(render(3), (std::vector<int16_t>{1235, 1235, 1236, 1236, 1237, 1237}));
    // A slot that never played starts from its saved cursor, 0.
    const int32_t m = loadSamples("TWO.WAV", constant(100, 700), 2);
    Pause(m, 1);
    EXPECT_EQ(std::pair(playing(m, 0), playing(m, 1)), std::pair(false, true));
}

TEST_F(Sound, EchoRepeatsQuieterAtTheIntervalAndItsPanWandersWithinThirtyHundredths) {
    zuSystem::frameClock.seconds = 0.01f;
    const int32_t n = loadSamples("PING.WAV", test::sine(1000, 44100, 441, 16000), 4);  // one frame long
    SetVolume(n, -20, -1), SetPan(n, 50, -1), Play(n, -2);  // an echo start resets every slot
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
    Play(n, -2), Echo(n, 0, 0, 6);
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

// A source that stays inside mix() until it is let go.
struct StallingSource : platform::AudioSource {
    std::atomic<bool> inside{false}, released{false};
    void mix(int32_t*, uint32_t, uint32_t) override {
        inside = true;
        test::eventually([this] { return bool(released); }, 30);
        inside = false;
    }
};

// Written samples reach the output only at unlock: a buffer playing before the lock plays its old
// samples meanwhile, and one started during the lock waits for the new ones.
TEST_F(Sound, LockedSamplesArePublishedAtUnlock) {
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
TEST_F(Sound, ASoundOfMixZeroHoldsItsNumberAndNeverSounds) {
    const int32_t n = loadSamples("A.WAV", constant(4410, 10000), 0);
    ASSERT_GE(n, 0);
    const SoundObject& s = sound(n);
    for (int32_t mix : {0, -1, -2}) {
        for (auto start : {Play, PlayLoop, Pause}) start(n, mix);
        SetVolume(n, -10, mix), SetPan(n, 5, mix), AddFrequency(n, 3, mix);
    }
    Echo(n, 0, 3, 6);
    EXPECT_EQ(peak(render(441), 0), 0);
    EXPECT_EQ(std::tuple(s.nextSlot, s.volume[0], GetPosition(n)), std::tuple(0, 0, 0u));
    Restore();
    EXPECT_EQ(std::tuple(s.used, s.slotCount, s.buffers[0]), std::tuple(1, 0, nullptr));
    Play(n, -1);
    EXPECT_EQ(peak(render(441), 0), 0);
}

// The law 10^(v/2000) for 8- and 16-bit sources: one voice at -90 dB is about one output step, too
// coarse to measure, but 32 equal voices add up to a measurable tone, and only if each keeps its
// own fraction of a step. A quiet zero-mean tone resampled so that every interpolation fraction
// occurs mixes without an offset: truncating the products would pull it half a step below zero.
TEST_F(Mixer, VolumeLawHoldsToMinus90DbAndQuietSignalsMixWithoutAnOffset) {
    for (const uint16_t bits : {16, 8}) {
        SCOPED_TRACE(::testing::Message() << bits << "-bit");
        const double fullScale = bits == 16 ? 32767.0 : 127.0 * 256;
        std::vector<platform::SoundBuffer*> voices;
        for (int i = 0; i < 32; ++i) voices.push_back(cycle(bits, bits == 16 ? 32767 : 127));
        for (const int32_t db : {-70, -80, -90}) {
            SCOPED_TRACE(::testing::Message() << db << " dB");
            for (platform::SoundBuffer* b : voices) {
                platform::setVolume(b, db * 100);
                platform::setPosition(b, 0);
                platform::play(b, true);
            }
            const std::vector<int16_t> out = render(period * 50);
            const size_t frames = out.size() / 2 / period * period;  // whole cycles, left channel
            std::complex<double> tone;
            for (size_t i = 0; i < frames; ++i)
                tone += double(out[2 * i]) * std::polar(1.0, 2 * M_PI * double(i) / period);
            const double measured = 2 * std::abs(tone) / double(frames);
            EXPECT_NEAR(20 * std::log10(measured / (32 * fullScale * std::pow(10.0, db / 20.0))), 0.0, 0.5);
            for (platform::SoundBuffer* b : voices) platform::stop(b);
        }
        platform::SoundBuffer* quiet = cycle(bits, bits == 16 ? 1000 : 100, 30011);
        platform::setVolume(quiet, -4000);
        platform::play(quiet, true);
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
TEST_F(Mixer, TheSdlThreadMixesOnThroughLocksLoadsAStuckDecoderAndRandomCalls) {
    zuSound::Release();
    for (const char* driver : {"SDL_VIDEODRIVER", "SDL_AUDIODRIVER"}) setenv(driver, "dummy", 1);
    ASSERT_TRUE(platform::useSdl());
    ASSERT_EQ(zuSound::Init(), 1);
    const char* names[] = {"SOUND\\A.WAV", "SOUND\\B.WAV", "SOUND\\C.WAV"};
    for (int32_t i = 0; i < 3; ++i) {
        const uint16_t channels = uint16_t(1 + i % 2);
        const std::vector<int16_t> tone = test::sine(300 + 200 * i, 44100, 22050 + 5000 * i, 6000, channels);
        writeSound(names[i] + 6, test::wavImage({.channels = channels}, test::pcm16(tone)));
        ASSERT_EQ(LoadObject(names[i], 4), i);
    }
    namespace music = platform::music;
    ASSERT_TRUE(music::init(-1, 44100, music::kInitSixteenBits, nullptr) && music::start());
    const char* const xm = ZU_BINARY_DIR "/MOD/BGM.XM";
    uint32_t tune = music::loadModule(xm, music::kLoop);
    ASSERT_NE(tune, 0u);

    // The device's thread runs on while buffers are locked or a sound loads, and a source stuck
    // decoding (which needs no mixer lock) leaves the voices reachable.
    zuSound::PlayLoop(0, 0);
    const auto flows = [] {
        const uint32_t before = zuSound::GetPosition(0);
        return test::eventually([&] { return zuSound::GetPosition(0) != before; }, 30);
    };
    for (platform::SoundBuffer* b : {sound(0).buffers[0], create(WaveFormat{}, 1 << 20)}) {
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
    EXPECT_TRUE(test::eventually([&] { return bool(source.inside); }, 30));
    Play(1, -1), SetVolume(1, -6, -1);  // need the mixer while the device thread is decoding
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
        case 11: music::play(tune); break;
        case 12: music::freeModule(tune), music::play(tune = music::loadModule(xm, music::kLoop)); break;
        default: (void)zuSound::GetPosition(n); break;
        }
        usleep(500);
    }

    // The output still flows after the calls.
    zuSound::ReleaseObject(0);
    ASSERT_EQ(zuSound::LoadObject(names[0], 1), 0);
    zuSound::PlayLoop(0, 0);
    EXPECT_TRUE(flows());
    music::release();
    zuSound::Release();
    platform::useHeadless({});  // later tests expect the headless backend
}

TEST_F(Sound, WithoutADeviceEverythingIsSilentAndQuiet) {
    Release();
    soundState = {};
    platform::headless::removeAudioDevice(true);
    EXPECT_EQ(Init(), 0);
    ClearObjects();
    EXPECT_EQ(loadTone("A.WAV", 1), -1);
    Play(0, -1), SetVolume(0, -10, -1);
    EXPECT_EQ(SelectFormat(2, 22, 16), 1);
    EXPECT_EQ(std::pair(GetPosition(0), platform::headless::messageBoxCount()), std::pair(0u, 0));
    EXPECT_EQ(platform::headless::renderAudio(10).size(), 0u);
}

TEST_F(Sound, LoadSetsSlotsAndEchoTakesResourcesAndRefusesWhatItCannotHold) {
    // Mix count, slots and echo state: a negative count has no echo, 0 gets no slot.
    const struct { int32_t mix, slots, echo; } loads[] = {{1, 1, -1}, {4, 4, 0}, {-4, 4, -1}, {0, 0, -1}};
    for (int32_t n = 0; n < 4; ++n) {
        SCOPED_TRACE(loads[n].mix);
        ASSERT_EQ(loadTone("A.WAV", loads[n].mix), n);
        EXPECT_EQ(std::pair(sound(n).slotCount, sound(n).echoState), std::pair(loads[n].slots, loads[n].echo));
    }
    EXPECT_EQ(settings(sound(1), 4), V({22050, 22050, 22050, 22050, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(slots(1), Slots(4, {0, 0, 22050, false}));
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
    // Resources stand in for missing files, whatever the case of the name.
    const std::vector<uint8_t> image = test::wavImage({}, test::pcm16(constant(100, 5000)));
    const std::vector<uint8_t> cut(image.begin(), image.end() - 2);  // claims more than it holds
    const platform::Resource resources[] = {{"RCDATA", "SOUND\\RES.WAV", image}, {"WAVE", "SOUND\\CUT.WAV", cut}};
    platform::Instance instance{resources, ""};
    zuSystem::systemState.instance = &instance;
    // Refusals are reported and leave the next number free, also after the buffers were made.
    writeSound("ABCDEFGHIJKLMNOPQRSTU.WAV", test::wavImage({}, test::pcm16(constant(100, 1))));  // 31 characters
    writeSound("F.WAV", test::wavImage({.tag = 3, .bits = 32}, std::vector<uint8_t>(64)));
    const struct { const char* name; int32_t mix; const char8_t* report; } refused[] = {
        {"A.WAV", 11, u8"ミックス数が多過ぎます"},
        {"A.WAV", -11, u8"ミックス数が多過ぎます"},
        {"MISSING.WAV", 1, u8"WAVEリソースが見つかりません"},
        {"CUT.WAV", 1, u8"WAVEリソースが見つかりません"},
        {"ABCDEFGHIJKLMNOPQRSTU.WAV", 1, u8"ファイル名またはリソース名が長すぎます"},
        {"F.WAV", 3, u8"サウンドバッファが生成できません"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(LoadObject(("SOUND\\" + std::string(r.name)).c_str(), r.mix), -1);
        EXPECT_TRUE(reported(r.report));
        EXPECT_EQ(std::pair(sound(4).used, sound(4).buffers[0] == nullptr), std::pair(0, true));
    }
    EXPECT_EQ(loadTone("ABCDEFGHIJKLMNOPQRST.WAV", 1), 4);  // exactly 30
    ASSERT_EQ(LoadObject("sound\\res.wav", 1), 5);
    Play(5, 0);
    EXPECT_EQ(render(10)[0], 5000);
}

TEST_F(Sound, NumbersRunOutAndFreedOnesAreReusedLowestFirst) {
    for (int n = 0; n < soundCount; ++n) ASSERT_EQ(loadTone("A.WAV", 1), n);
    EXPECT_EQ(loadTone("A.WAV", 1), -1);
    EXPECT_TRUE(reported(u8"オブジェクト数が多過ぎます"));
    ReleaseObject(40), ReleaseObject(12);
    EXPECT_EQ(std::pair(sound(12).used, sound(12).buffers[0] == nullptr), std::pair(0, true));
    EXPECT_EQ(loadTone("A.WAV", 1), 12);
    EXPECT_EQ(loadTone("A.WAV", 1), 40);
    ReleaseObject(12);
    const SoundObject before = sound(12);
    for (int32_t free : {12, -1, soundCount}) ReleaseObject(free), Play(free, -1), Play(free, 0);  // free or out of range
    SetVolume(-5, 0, -1);
    EXPECT_EQ(std::memcmp(&before, &sound(12), sizeof before), 0);
}

TEST_F(Sound, ReleaseAndRestoreBringEverySoundBackStopped) {
    const int32_t a = loadTone("A.WAV", 3), b = loadTone("B.WAV", -2);
    SetVolume(a, -6, 1), SetPan(a, 20, 2), SetFrequency(a, 10, 0), SetVolume(b, -10, -1);
    PlayLoop(a, -1), PlayLoop(b, 0);
    const int32_t nextSlot = sound(a).nextSlot;
    Release();
    EXPECT_FALSE(platform::headless::audioDeviceOpen());
    EXPECT_EQ(sound(a).buffers[0], nullptr);
    Restore();
    ASSERT_TRUE(platform::headless::audioDeviceOpen());
    const SoundObject& s = sound(a);
    EXPECT_EQ(std::tuple(s.used, s.slotCount, s.echoState, s.nextSlot), std::tuple(1, 3, 0, nextSlot));
    EXPECT_EQ(std::pair(sound(b).echoState, slots(b)), std::pair(-1, Slots(2, {-1000, 0, 22050, false})));  // still without echo
    EXPECT_EQ(settings(s, 3), V({22050 + 1000, 22050, 22050, 0, -600, 0, 0, 0, 2000}));
    EXPECT_EQ(slots(a), (Slots{{0, 0, 23050, false}, {-600, 0, 22050, false}, {0, 2000, 22050, false}}));
}

TEST_F(Sound, FormatChangeRebuildsAndARefusalSilencesUntilRestore) {
    const int32_t n = loadSamples("A.WAV", constant(4000, 8000), 2);
    SetVolume(n, -6, 0);
    EXPECT_EQ(SelectFormat(2, 22, 16), 1);
    const platform::AudioOutput out = platform::outputFormat();
    EXPECT_EQ(std::tuple(out.channels, out.rate, out.bits), std::tuple(2, 22050u, 16));
    EXPECT_EQ(sound(n).volume[0], -600);
    Play(n, 0);
    EXPECT_NEAR(render(10)[0], 4010, 3);
    platform::headless::refuseOutputFormats(true);
    EXPECT_EQ(SelectFormat(1, 44, 8), 0);
    platform::headless::refuseOutputFormats(false);
    EXPECT_TRUE(reported(u8"再生フォーマットを変更できません"));
    EXPECT_EQ(sound(n).buffers[0], nullptr);
    Play(n, -1), Pause(n, -1), SetPan(n, 10, -1);  // ignored: there is nothing to play through
    EXPECT_EQ(GetPosition(n), 0u);
    EXPECT_GT(peak(render(4000), 0), 0);  // the report's beep, 150 ms
    EXPECT_EQ(peak(render(100), 0), 0);
    Release(), Restore();
    EXPECT_EQ(slots(n), (Slots{{-600, 1000, 44100, false}, {0, 1000, 44100, false}}));
}

class LostDevice : public Sound {
protected:
    // Lets `ms` pass on the virtual clock and pumps events, as the program's loop does.
    static void pass(uint32_t ms) {
        platform::headless::setClock(platform::headless::clock() + ms);
        platform::Message m;
        while (platform::peekMessage(m)) {}
    }
};

TEST_F(LostDevice, SoundsKeepTimeWhileTheDeviceIsAwayAndComeBackWithTheirSettings) {
    const int32_t loop = loadSamples("LOOP.WAV", constant(44100, 4000), 2);  // one second
    const int32_t shot = loadSamples("SHOT.WAV", constant(4410, 4000), 1);   // a tenth
    SetVolume(loop, -6, 0), SetPan(loop, 30, 0);  // both stored in hundredths
    PlayLoop(loop, 0), Play(shot, -1);
    render(441);
    const uint32_t before = GetPosition(loop);

    platform::headless::removeAudioDevice(true);
    platform::headless::pullAudioDevice();
    EXPECT_FALSE(platform::headless::audioDeviceOpen());
    pass(500);
    // 500 ms at 44.1 kHz is 22050 mono 16-bit frames.
    EXPECT_EQ(GetPosition(loop), before + 22050 * 2) << "the loop moved on with the clock";
    EXPECT_FALSE(platform::isPlaying(sound(shot).buffers[0])) << "the short sound ended meanwhile";
    SetVolume(loop, -12, 1), Play(loop, 1);
    EXPECT_GE(loadSamples("LATER.WAV", constant(441, 100), 1), 0) << "loading goes on without a device";

    platform::headless::removeAudioDevice(false);
    ASSERT_TRUE(platform::headless::audioDeviceOpen());
    EXPECT_EQ(std::pair(platform::headless::messageBoxCount(), zuSystem::systemState.errorRaised), std::pair(0, 0));
    EXPECT_EQ(slots(loop), (Slots{{-600, 3000, 44100, true}, {-1200, 0, 44100, true}}));
    EXPECT_GT(peak(render(441), 0), 0) << "the output resumes";
}

// Whether a new default is there when the device vanishes decides whether the output goes on
// at once or waits for the device to come back; a format chosen meanwhile is the one it opens
// in.
TEST_F(LostDevice, TheDefaultDeviceReplacesALostOneInTheFormatLastChosen) {
    const struct { bool replacement; int32_t channels, rate, bits; uint32_t bytesPerFrame; } cases[] = {
        {true, 2, 44, 16, 4}, {false, 1, 22, 8, 1}, {false, 2, 11, 16, 4}};
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
        EXPECT_EQ(std::pair(out.channels, out.bits), std::pair(c.channels, c.bits));
        EXPECT_EQ(platform::headless::renderAudio(10).size(), 10 * c.bytesPerFrame);
        EXPECT_EQ(platform::headless::messageBoxCount(), 0);
        ReleaseObject(n);
    }
}

uint16_t field16(const std::vector<uint8_t>& f, size_t at) { return uint16_t(f[at] | (f[at + 1] << 8)); }
uint32_t field32(const std::vector<uint8_t>& f, size_t at) { return field16(f, at) | (uint32_t(field16(f, at + 2)) << 16); }

const std::vector<uint8_t> samples = {1, 2, 3, 4, 5, 6, 7, 8};

// Images the reader must take, each with what it must give back.
const std::pair<const char*, test::WavSpec> acceptedImages[] = {
    {"plain", {}},
    {"dataFirst", {.dataFirst = true}},
    {"extra", {.tag = 2, .extra = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 11, 12}}},
    {"padded", {.oddChunkBefore = true}},
    {"pcmWithSpareBytes", {.fmtSize = 18}},
    {"stereo8", {.channels = 2, .bits = 8}},
};

TEST(WaveReader, TakesDataOnEitherSideOfTheFormatAndKeepsExtraBytes) {
    for (const auto& [what, spec] : acceptedImages) {
        SCOPED_TRACE(what);
        const std::vector<uint8_t> image = test::wavImage(spec, samples);
        std::vector<uint8_t> format, data;
        ASSERT_TRUE(zuSound::parseWave(image.data(), image.size(), format, data));
        EXPECT_EQ(data, samples);
        ASSERT_EQ(format.size(), 18 + spec.extra.size());
        EXPECT_EQ(std::tuple(field16(format, 0), field16(format, 2), field32(format, 4), field16(format, 14)),
                  std::tuple(spec.tag, spec.channels, spec.rate, spec.bits));
        EXPECT_EQ(field16(format, 16), spec.extra.size());
        EXPECT_TRUE(std::equal(spec.extra.begin(), spec.extra.end(), format.begin() + 18));
    }
}

TEST(WaveReader, RefusesMalformedImagesWithBothOutputsEmpty) {
    const std::vector<uint8_t> good = test::wavImage({}, samples);
    const std::pair<const char*, std::vector<uint8_t>> refused[] = {
        {"shortFormat", test::wavImage({.fmtSize = 14}, samples)},
        {"otherForm", test::wavImage({.form = "AVI "}, samples)},
        {"longData", test::wavImage({.claimedDataSize = 9}, samples)},
        // Claims 4 extra bytes, holds 2.
        {"extraPastChunk", test::wavImage({.tag = 2, .extra = {1, 2, 3, 4}, .fmtSize = 20}, samples)},
        {"cutInData", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"headerOnly", std::vector<uint8_t>(good.begin(), good.begin() + 12)},
        {"empty", {}},
    };
    for (const auto& [what, image] : refused) {
        SCOPED_TRACE(what);
        std::vector<uint8_t> format, data;
        EXPECT_FALSE(zuSound::parseWave(image.data(), image.size(), format, data));
        EXPECT_TRUE(format.empty() && data.empty());
    }
}

TEST_F(Sound, ReadsFilesByFrameworkPathInAnyCaseAndEmptiesBothOutputsWhenMissing) {
    writeSound("A.WAV", test::wavImage({}, samples));
    std::vector<uint8_t> format, data;
    const std::string dir = zuSystem::ModuleDir(0);
    EXPECT_EQ(zuSound::ReadWave((dir + "sound\\a.wav").c_str(), format, data), 0);
    EXPECT_EQ(data, samples);
    EXPECT_EQ(zuSound::ReadWave((dir + "SOUND\\NONE.WAV").c_str(), format, data), 1);
    EXPECT_TRUE(format.empty() && data.empty());
}

TEST(WaveCorpus, WritesSeeds) {
    const std::filesystem::path dir = corpusFolder("wave");
    if (dir.empty()) GTEST_SKIP() << "ZU_WRITE_CORPUS is not set";
    for (const auto& [what, spec] : acceptedImages)
        ASSERT_TRUE(test::writeBytes((dir / what).string() + ".wav", test::wavImage(spec, samples)));
}

}  // namespace
