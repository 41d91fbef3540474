// A fresh program with the headless sound device open, helpers to write sounds into SOUND\ and
// to listen to the rendered output.
#pragma once
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/audio/audio.h"
#include "sound/zu_sound.h"
#include "support/fresh_program.h"
#include "support/wav_writer.h"
#include "system/zu_system.h"

class SoundFixture : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        while (platform::audioOpen()) platform::closeAudio();  // left open by an earlier test
        zuSound::soundState = {};
        std::filesystem::create_directories(programFolder / "SOUND");
        zuSound::Init();
        zuSound::ClearObjects();
    }
    void TearDown() override {
        zuSound::Release();
        zuSound::soundState = {};
        FreshProgram::TearDown();
    }

    void writeSound(const std::string& name, const std::vector<uint8_t>& image) {
        test::writeBytes((programFolder / "SOUND" / name).string(), image);
    }
    // Writes SOUND\<name> and loads it; returns the sound number.
    int32_t loadSamples(const std::string& name, const std::vector<int16_t>& samples, int32_t mix,
                        uint32_t rate = 44100) {
        writeSound(name, test::wavImage({.rate = rate}, test::pcm16(samples)));
        return zuSound::LoadObject(("SOUND\\" + name).c_str(), mix);
    }
    int32_t loadTone(const std::string& name, int32_t mix) {
        return loadSamples(name, test::sine(1000, 22050, 2000, 16000), mix, 22050);
    }
    static zuSound::SoundObject& sound(int32_t n) { return zuSound::soundState.objects[n]; }
    static bool playing(int32_t n, int32_t slot) { return platform::isPlaying(sound(n).buffers[slot]); }
    static bool reported(const char8_t* message) {
        return platform::headless::lastMessageBox().find(utf8(message)) != std::string::npos &&
               zuSystem::systemState.errorRaised == 1;
    }
    // Frequencies, volumes and pans of the first `count` slots, in that order.
    static std::vector<int64_t> settings(const zuSound::SoundObject& s, int count) {
        std::vector<int64_t> out(s.frequency, s.frequency + count);
        out.insert(out.end(), s.volume, s.volume + count);
        out.insert(out.end(), s.pan, s.pan + count);
        return out;
    }

    // Stereo 16-bit frames of the output.
    static std::vector<int16_t> render(uint32_t frames) {
        const std::vector<uint8_t> bytes = platform::headless::renderAudio(frames);
        std::vector<int16_t> out(bytes.size() / 2);
        std::memcpy(out.data(), bytes.data(), out.size() * 2);
        return out;
    }
    static int32_t peak(const std::vector<int16_t>& stereo, int channel) {
        int32_t best = 0;
        for (size_t i = channel; i < stereo.size(); i += 2) best = std::max(best, std::abs(int32_t(stereo[i])));
        return best;
    }
    // Frames from the first to the last sounding frame of the left channel, plus one.
    static size_t soundingFrames(const std::vector<int16_t>& out) {
        std::vector<size_t> on;
        for (size_t i = 0; i < out.size() / 2; ++i)
            if (out[2 * i] != 0) on.push_back(i);
        return on.empty() ? 0 : on.back() - on.front() + 1;
    }
    static std::vector<int16_t> constant(uint32_t frames, int16_t value) { return std::vector<int16_t>(frames, value); }
};
