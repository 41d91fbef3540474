// The generated assets: the same bytes on every run, the layouts the scenes rely on, cell
// colours apart in hue and lightness with their own marks, readable sounds and a looping tune.
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

#include "platform/video/bmp.h"
#include "sound/zu_sound.h"
#include "support/process.h"

namespace {

namespace fs = std::filesystem;

const char* const kFiles[] = {"BMP/RGB.BMP",     "BMP/BG.BMP",      "BMP/MOUSE.BMP",  "BMP/TITLE.BMP",
                              "BMP/CLICK.BMP",   "BMP/STAGE.BMP",   "BMP/THEEND.BMP", "SOUND/CATCH.WAV",
                              "SOUND/FILL.WAV",  "SOUND/WIN.WAV",   "MOD/BGM.XM",     "MAIN.BMP",
                              "tessora.png"};

std::vector<uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// One run of the tool into a folder of its own, shared by the tests of this file.
class Assets : public ::testing::Test {
protected:
    static fs::path run(const std::string& name) {
        fs::path out = fs::temp_directory_path() / ("zuassets-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(out);
        test::ProcessSpec spec;
        spec.argv = {std::string(ZU_BINARY_DIR) + "/zuassets", out.string()};
        test::Process tool;
        EXPECT_TRUE(tool.start(spec));
        test::ProcessResult result = tool.finish(60000);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return out;
    }
    static void SetUpTestSuite() { first = run("a"); }
    static void TearDownTestSuite() { fs::remove_all(first); }

    static platform::Image picture(const char* name) {
        platform::Image image;
        EXPECT_TRUE(platform::decodeBmp(readBytes(first / name), image)) << name;
        return image;
    }

    static fs::path first;
};
fs::path Assets::first;

uint32_t at(const platform::Image& image, int x, int y) { return image.xrgb[size_t(y) * image.width + x] & 0xFFFFFF; }

struct Colour {
    double r, g, b;
};
Colour colourOf(uint32_t xrgb) { return {double(xrgb >> 16 & 255), double(xrgb >> 8 & 255), double(xrgb & 255)}; }
double luma(Colour c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; }
double saturation(Colour c) {
    double hi = std::max({c.r, c.g, c.b}), lo = std::min({c.r, c.g, c.b});
    return hi == 0 ? 0 : (hi - lo) / hi;
}
double hue(Colour c) {
    double hi = std::max({c.r, c.g, c.b}), lo = std::min({c.r, c.g, c.b}), d = hi - lo;
    if (d == 0) return 0;
    double h = hi == c.r ? std::fmod((c.g - c.b) / d, 6.0) : hi == c.g ? (c.b - c.r) / d + 2 : (c.r - c.g) / d + 4;
    return std::fmod(h * 60 + 360, 360);
}
double hueGap(double a, double b) {
    double d = std::abs(a - b);
    return std::min(d, 360 - d);
}

TEST_F(Assets, TwoRunsGiveIdenticalBytes) {
    fs::path second = run("b");
    size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(first))
        if (entry.is_regular_file()) ++count;
    EXPECT_EQ(count, std::size(kFiles));
    for (const char* name : kFiles) {
        std::vector<uint8_t> bytes = readBytes(first / name);
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes, readBytes(second / name)) << name;
    }
    fs::remove_all(second);
}

TEST_F(Assets, PicturesHaveTheLayoutsTheScenesUse) {
    const std::map<std::string, std::pair<int, int>> sizes = {
        {"BMP/RGB.BMP", {96, 96}},     {"BMP/BG.BMP", {640, 480}},    {"BMP/MOUSE.BMP", {25, 40}},
        {"BMP/TITLE.BMP", {400, 150}}, {"BMP/CLICK.BMP", {252, 40}},  {"BMP/STAGE.BMP", {338, 100}},
        {"BMP/THEEND.BMP", {290, 112}}, {"MAIN.BMP", {32, 32}}};
    for (const auto& [name, size] : sizes) {
        platform::Image image = picture(name.c_str());
        EXPECT_EQ(image.width, size.first) << name;
        EXPECT_EQ(image.height, size.second) << name;
    }

    // Black only where the key removes it: never in the opaque pictures, always in keyed corners.
    for (const char* opaque : {"BMP/RGB.BMP", "BMP/BG.BMP"}) {
        platform::Image image = picture(opaque);
        EXPECT_EQ(std::count_if(image.xrgb.begin(), image.xrgb.end(), [](uint32_t p) { return (p & 0xFFFFFF) == 0; }), 0)
            << opaque;
    }
    for (const char* keyed : {"BMP/MOUSE.BMP", "BMP/TITLE.BMP", "BMP/CLICK.BMP", "BMP/STAGE.BMP", "BMP/THEEND.BMP"}) {
        platform::Image image = picture(keyed);
        EXPECT_EQ(at(image, image.width - 1, 0), 0u) << keyed;
        EXPECT_EQ(at(image, 0, image.height - 1), 0u) << keyed;
        EXPECT_GT(std::count(image.xrgb.begin(), image.xrgb.end(), 0xFF181818u) +
                      std::count(image.xrgb.begin(), image.xrgb.end(), 0x00181818u),
                  0)
            << keyed << " has its outline";
    }

    // The pointer's tip is at the top-left, white inside a dark outline.
    platform::Image mouse = picture("BMP/MOUSE.BMP");
    EXPECT_EQ(at(mouse, 0, 0), 0x181818u);
    EXPECT_EQ(at(mouse, 3, 8), 0xFFFFFFu);

    // The word takes only its 186 columns, and each digit stays inside its 38-column cell.
    platform::Image stage = picture("BMP/STAGE.BMP");
    auto columnUsed = [&](int x) {
        for (int y = 0; y < 100; ++y)
            if (at(stage, x, y) != 0) return true;
        return false;
    };
    for (int cell = 0; cell <= 4; ++cell) EXPECT_FALSE(columnUsed(186 + 38 * cell - 1)) << "boundary " << cell;
    for (int s = 0; s < 4; ++s) EXPECT_TRUE(columnUsed(186 + 38 * s + 19)) << "digit " << s + 1;
}

// Pixels of a cell that differ from its face colour: the mark.
std::vector<bool> markOf(const platform::Image& sheet, int colour, int row) {
    const uint32_t face = at(sheet, colour * 32 + 6, row * 32 + 16);
    std::vector<bool> mark;
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x) mark.push_back(at(sheet, colour * 32 + x, row * 32 + y) != face);
    return mark;
}

TEST_F(Assets, CellColoursDifferInHueAndLightnessAndEachHasItsMark) {
    platform::Image sheet = picture("BMP/RGB.BMP");
    enum { freeRow, filledRow, pieceRow };
    auto face = [&](int colour, int row) { return colourOf(at(sheet, colour * 32 + 6, row * 32 + 16)); };
    for (int row : {freeRow, filledRow, pieceRow})
        for (int a = 0; a < 3; ++a)
            for (int b = a + 1; b < 3; ++b) {
                EXPECT_GE(std::abs(luma(face(a, row)) - luma(face(b, row))), 20.0) << row << ": " << a << b;
                EXPECT_GE(hueGap(hue(face(a, row)), hue(face(b, row))), 25.0) << row << ": " << a << b;
                std::vector<bool> ma = markOf(sheet, a, row), mb = markOf(sheet, b, row);
                size_t differ = 0;
                for (size_t i = 0; i < ma.size(); ++i) differ += ma[i] != mb[i];
                EXPECT_GE(differ, 30u) << "marks of " << a << " and " << b << " in row " << row;
            }
    for (int colour = 0; colour < 3; ++colour) {
        for (int row : {freeRow, filledRow, pieceRow}) {
            std::vector<bool> mark = markOf(sheet, colour, row);
            EXPECT_GE(std::count(mark.begin(), mark.end(), true), 30) << colour << " in row " << row;
        }
        EXPECT_LT(luma(face(colour, filledRow)), luma(face(colour, pieceRow)));
        EXPECT_LT(luma(face(colour, filledRow)), luma(face(colour, freeRow)) + 1);
        EXPECT_LT(saturation(face(colour, freeRow)), saturation(face(colour, pieceRow)));
    }
    EXPECT_EQ(at(sheet, 2 * 32 + 6, 2 * 32 + 16), 0xF0E442u);  // the yellow exactly
}

TEST_F(Assets, IconsCarryAlpha) {
    std::vector<uint8_t> bmp = readBytes(first / "MAIN.BMP");
    ASSERT_EQ(bmp.size(), 14u + 108u + 32u * 32u * 4u);
    auto alpha = [&](int x, int y) { return bmp[122 + (size_t(31 - y) * 32 + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(16, 16), 255);

    std::vector<uint8_t> png = readBytes(first / "tessora.png");
    ASSERT_GT(png.size(), 33u);
    auto be32 = [&](size_t i) { return uint32_t(png[i]) << 24 | png[i + 1] << 16 | png[i + 2] << 8 | png[i + 3]; };
    EXPECT_EQ(be32(16), 128u);  // width and height in the header chunk
    EXPECT_EQ(be32(20), 128u);
    EXPECT_EQ(png[25], 6);  // RGBA
}

TEST_F(Assets, SoundsReadBackAsSixteenBitMonoWaves) {
    for (const char* name : {"SOUND/CATCH.WAV", "SOUND/FILL.WAV", "SOUND/WIN.WAV"}) {
        std::vector<uint8_t> format, data;
        ASSERT_EQ(zuSound::ReadWave((first / name).c_str(), format, data), 0) << name;
        ASSERT_GE(format.size(), 16u);
        EXPECT_EQ(format[0] | format[1] << 8, 1) << name;                   // PCM
        EXPECT_EQ(format[2] | format[3] << 8, 1) << name;                   // mono
        EXPECT_EQ(format[4] | format[5] << 8 | format[6] << 16, 44100) << name;
        EXPECT_EQ(format[14] | format[15] << 8, 16) << name;
        EXPECT_GT(data.size(), 44100u / 10 * 2) << name;  // longer than a tenth of a second
        int peak = 0;
        for (size_t i = 0; i + 1 < data.size(); i += 2) peak = std::max(peak, std::abs(int(int16_t(data[i] | data[i + 1] << 8))));
        EXPECT_GT(peak, 12000) << name;
        EXPECT_LT(peak, 32767) << name;  // never clipped
    }
}

void collectLog(const char* message, void* user) { *static_cast<std::string*>(user) += message; }

TEST_F(Assets, TheTuneLoadsSilentlyLastsAndLoops) {
    std::vector<uint8_t> xm = readBytes(first / "MOD/BGM.XM");
    std::string log;
    openmpt_module* tune = openmpt_module_create_from_memory2(xm.data(), xm.size(), collectLog, &log,
                                                              openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(tune, nullptr);
    EXPECT_EQ(log, "");
    const double seconds = openmpt_module_get_duration_seconds(tune);
    EXPECT_GE(seconds, 30.0);
    EXPECT_EQ(openmpt_module_get_num_channels(tune), 4);

    // Repeating forever renders straight past the end; played once, it stops there.
    std::vector<int16_t> block(2 * 44100);
    const auto renderSeconds = [&](int count) {
        size_t frames = 0;
        for (int i = 0; i < count; ++i) frames += openmpt_module_read_interleaved_stereo(tune, 44100, 44100, block.data());
        return frames;
    };
    const int past = int(seconds) + 3;
    openmpt_module_set_repeat_count(tune, -1);
    EXPECT_EQ(renderSeconds(past), size_t(past) * 44100);
    openmpt_module_set_position_seconds(tune, 0);
    openmpt_module_set_repeat_count(tune, 0);
    EXPECT_LT(renderSeconds(past), size_t(past) * 44100);
    openmpt_module_destroy(tune);
}

}  // namespace
