// A fresh headless program with the sound device open, a module folder of its own and helpers
// to write sounds into SOUND\ and to listen to the rendered output.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/headless.h"
#include "platform/os/files.h"
#include "sound/zu_sound.h"
#include "support/wav_writer.h"
#include "system/zu_system.h"

class SoundFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::useHeadless({});
        while (platform::audioOpen()) platform::closeAudio();  // left open by an earlier test
        zuSystem::systemState = {};
        zuSystem::frameClock = {};
        zuSound::soundState = {};
        folder = std::filesystem::temp_directory_path() /
                 ("zusound-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder / "SOUND");
        std::string module = (folder / "prog").string();
        std::replace(module.begin(), module.end(), '/', '\\');
        platform::setModuleFileName(module.c_str());
        zuSound::Init();
        zuSound::ClearObjects();
    }
    void TearDown() override {
        zuSound::Release();
        zuSound::soundState = {};
        platform::setModuleFileName("");
        std::filesystem::remove_all(folder);
    }

    // Writes SOUND\<name>; loadSamples also loads it and returns the sound number.
    void writeSamples(const std::string& name, const std::vector<int16_t>& samples, uint32_t rate) {
        test::WavSpec spec;
        spec.rate = rate;
        test::writeBytes((folder / "SOUND" / name).string(), test::wavImage(spec, test::pcm16(samples)));
    }
    int32_t loadSamples(const std::string& name, const std::vector<int16_t>& samples, int32_t mix,
                        uint32_t rate = 44100) {
        writeSamples(name, samples, rate);
        return zuSound::LoadObject(("SOUND\\" + name).c_str(), mix);
    }
    static zuSound::SoundObject& sound(int32_t n) { return zuSound::soundState.objects[n]; }
    // The first `count` entries of a per-slot setting, to compare slots at once.
    template <class T>
    static std::vector<int64_t> slots(const T (&field)[zuSound::slotLimit], int count) {
        return {std::begin(field), std::begin(field) + count};
    }

    // Stereo 16-bit frames of the output.
    static std::vector<int16_t> render(uint32_t frames) {
        const std::vector<uint8_t> bytes = platform::headless::renderAudio(frames);
        std::vector<int16_t> out(bytes.size() / 2);
        std::memcpy(out.data(), bytes.data(), out.size() * 2);
        return out;
    }
    static int32_t peak(const std::vector<int16_t>& stereo, int channel, size_t from = 0, size_t to = SIZE_MAX) {
        int32_t best = 0;
        for (size_t i = from; i < std::min(to, stereo.size() / 2); ++i)
            best = std::max(best, std::abs(int32_t(stereo[2 * i + channel])));
        return best;
    }
    static std::vector<int16_t> constant(uint32_t frames, int16_t value) { return std::vector<int16_t>(frames, value); }

    std::filesystem::path folder;
};
