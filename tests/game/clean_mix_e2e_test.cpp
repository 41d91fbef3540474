// The game's sounds mix cleanly over its music: each generated effect starts and ends at zero,
// carries no DC and peaks at or below -6 dBFS, and a whole first stage rendered headless, music
// and every effect together, has no clipped sample.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/game_run.h"
#include "sound/zu_sound.h"

namespace {

std::vector<int16_t> samplesOf(const std::string& path, int& channels) {
    std::vector<uint8_t> format, data;
    if (zuSound::ReadWave(path.c_str(), format, data) != 0 || format.size() < 16) return {};
    channels = format[2];
    std::vector<int16_t> out(data.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) out[i] = int16_t(data[2 * i] | data[2 * i + 1] << 8);
    return out;
}

int peakOf(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
    return peak;
}

TEST(CleanMixE2E, EffectsStartAndEndAtZeroWithoutDcAndPeakAtMostMinusSixDb) {
    const double fullScale = 32768, minusSixDb = fullScale * std::pow(10.0, -6.0 / 20);
    for (const char* name : {"CATCH", "FILL", "WIN"}) {
        int channels = 0;
        std::vector<int16_t> s = samplesOf(test::binaryDir() + "/SOUND/" + name + ".WAV", channels);
        ASSERT_GT(s.size(), 1000u) << name;
        double sum = 0;
        for (int16_t v : s) sum += v;
        EXPECT_LE(std::abs(sum / double(s.size())), 0.001 * fullScale) << name << " carries a DC offset";
        EXPECT_EQ(s.front(), 0) << name;
        EXPECT_EQ(s.back(), 0) << name;
        EXPECT_LE(peakOf(s), minusSixDb) << name;
        EXPECT_GE(peakOf(s), minusSixDb / 2) << name << " is too quiet to be heard over the music";
    }
}

TEST(CleanMixE2E, TheFirstStageWithMusicAndEveryEffectHasNoClippedSample) {
    gamerun::GameRun run;
    const std::string audio = run.folder + "/stage1.wav";
    // The stage, then long enough for the whole win sound over the next intro's music.
    test::ProcessResult result = run.play(gamerun::wait(3) + gamerun::click({320, 400}) + gamerun::wait(gamerun::framesToPlay) + gamerun::solveStage(0) + "wait 150\n", {{"TESSORA_AUDIO_FILE", audio}});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    int channels = 0;
    std::vector<int16_t> s = samplesOf(audio, channels);
    ASSERT_EQ(channels, 2);
    ASSERT_GT(s.size(), 44100u * 2 * 5) << "less than five seconds were rendered";
    EXPECT_GT(peakOf(s), 8000) << "the music and the effects were not heard";
    size_t clipped = std::count_if(s.begin(), s.end(), [](int16_t v) { return v >= 32767 || v <= -32767; });
    EXPECT_EQ(clipped, 0u);
}

}  // namespace
