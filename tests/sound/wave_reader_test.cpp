// Reading WAV files: chunk order, format extras, refusals of malformed images, files by their
// framework path, and the seed corpus of the fuzzer.
#include <cstdlib>
#include <filesystem>

#include "sound/wave_reader.h"
#include "sound_fixture.h"

namespace {

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

class WaveFiles : public SoundFixture {};

TEST_F(WaveFiles, ReadsFilesByFrameworkPathInAnyCaseAndEmptiesBothOutputsWhenMissing) {
    writeSound("A.WAV", test::wavImage({}, samples));
    std::vector<uint8_t> format, data;
    const std::string dir = zuSystem::ModuleDir(0);
    EXPECT_EQ(zuSound::ReadWave((dir + "sound\\a.wav").c_str(), format, data), 0);
    EXPECT_EQ(data, samples);
    EXPECT_EQ(zuSound::ReadWave((dir + "SOUND\\NONE.WAV").c_str(), format, data), 1);
    EXPECT_TRUE(format.empty() && data.empty());
}

// Seeds for the fuzzer: written only when ZU_WRITE_CORPUS names a folder.
TEST(WaveCorpus, WritesSeeds) {
    const char* root = std::getenv("ZU_WRITE_CORPUS");
    if (!root) GTEST_SKIP() << "ZU_WRITE_CORPUS is not set";
    const std::filesystem::path dir = std::filesystem::path(root) / "wave";
    std::filesystem::create_directories(dir);
    for (const auto& [what, spec] : acceptedImages)
        ASSERT_TRUE(test::writeBytes((dir / what).string() + ".wav", test::wavImage(spec, samples)));
}

}  // namespace
