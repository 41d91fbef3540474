// SoundProgram: a fresh program with the headless sound device open, an empty sound table and the
// folders sounds, packs and music are read from; the headless output as samples.
#pragma once
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/audio/audio.h"
#include "sound/zu_sound.h"
#include "support/fresh_program.h"
#include "support/wav_writer.h"
#include "system/zu_system.h"

// The next `frames` frames of the headless output as 16-bit samples (stereo unless set otherwise).
inline std::vector<int16_t> render(uint32_t frames) {
    const std::vector<uint8_t> bytes = platform::headless::renderAudio(frames);
    std::vector<int16_t> out(bytes.size() / 2);
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    return out;
}

class SoundProgram : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        while (platform::audioOpen()) platform::closeAudio();  // left open by an earlier test
        zuSound::soundState = {};
        for (const char* folder : {"SOUND", "SE", "MUSIC"}) std::filesystem::create_directories(programFolder / folder);
        zuSound::Init();
        zuSound::ClearObjects();
    }
    void TearDown() override {
        zuSound::Release();
        zuSound::soundState = {};
        FreshProgram::TearDown();
    }
    void write(const std::string& utf8Path, const std::vector<uint8_t>& bytes) {
        test::writeBytes((programFolder / utf8Path).string(), bytes);
    }
    static zuSound::SoundObject& sound(int32_t n) { return zuSound::soundState.objects[n]; }
    // Each slot's volume, pan, rate and playing state, as sound `n`'s buffers have them.
    using Slots = std::vector<std::tuple<int32_t, int32_t, uint32_t, bool>>;
    static Slots slots(int32_t n) {
        Slots out;
        for (const platform::SoundBuffer* b : sound(n).buffers)
            if (b) out.emplace_back(platform::volume(b), platform::pan(b), platform::frequency(b), platform::isPlaying(b));
        return out;
    }
    // Whether the last report showed `message` and raised the error flag, which it clears for the next one.
    static bool reported(const char8_t* message) {
        return std::exchange(zuSystem::systemState.errorRaised, 0) == 1 &&
               platform::headless::lastMessageBox().find(utf8(message)) != std::string::npos;
    }
};

// ZU_WRITE_CORPUS/<name>, made, for a test writing fuzzer seeds; empty when the variable is unset.
inline std::filesystem::path corpusFolder(const char* name) {
    const char* root = std::getenv("ZU_WRITE_CORPUS");
    if (!root) return {};
    std::filesystem::create_directories(std::filesystem::path(root) / name);
    return std::filesystem::path(root) / name;
}
