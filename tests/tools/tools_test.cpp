// The build's tools. zuassets: the same bytes on every run, cell colours apart in hue and lightness
// with their own marks, icons with alpha, readable sounds (the tune is heard in the music tests). zuembed: manifest lines
// become table entries with the files' bytes; a bad line or a missing file stops it with the
// line's number and leaves no output behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <sstream>
#include <string>

#include "platform/video/bmp.h"
#include "sound/zu_sound.h"
#include "support/process.h"

namespace {

namespace fs = std::filesystem;

// Every file the tool writes. How each picture looks in the scenes is held to the game's golden
// pictures; here are the properties that hold whatever their design.
const char* const kFiles[] = {"BMP/RGB.BMP",   "BMP/BG.BMP",     "BMP/MOUSE.BMP",   "BMP/TITLE.BMP",  "BMP/CLICK.BMP",
                              "BMP/STAGE.BMP", "BMP/THEEND.BMP", "MAIN.BMP",        "SOUND/CATCH.WAV", "SOUND/FILL.WAV",
                              "SOUND/WIN.WAV", "MOD/BGM.XM",     "tessora.png"};

std::vector<uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class Assets : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        out = test::makeTempDir();
        test::ProcessSpec spec;
        spec.argv = {std::string(ZU_BINARY_DIR) + "/zuassets", out.string()}, spec.timeoutMs = 60000;
        test::ProcessResult result = test::runProcess(spec);
        EXPECT_EQ(result.exitCode, 0) << result.err;
    }
    static void TearDownTestSuite() { fs::remove_all(out); }

    static inline fs::path out;
};

uint32_t at(const platform::Image& image, int x, int y) { return image.xrgb[size_t(y) * image.width + x] & 0xFFFFFF; }

struct Colour {
    double r, g, b, hi, lo;
    explicit Colour(uint32_t xrgb) : r(xrgb >> 16 & 255), g(xrgb >> 8 & 255), b(xrgb & 255) {
        hi = std::max({r, g, b}), lo = std::min({r, g, b});
    }
    double luma() const { return 0.2126 * r + 0.7152 * g + 0.0722 * b; }
    double saturation() const { return hi == 0 ? 0 : (hi - lo) / hi; }
    double hue() const {
        double d = hi - lo;
        double h = d == 0 ? 0 : hi == r ? std::fmod((g - b) / d, 6.0) : hi == g ? (b - r) / d + 2 : (r - g) / d + 4;
        return std::fmod(h * 60 + 360, 360);
    }
};

// The build ran the tool before: a second run writes exactly its files, byte for byte.
TEST_F(Assets, EveryRunWritesTheSameBytes) {
    EXPECT_EQ(std::count_if(fs::recursive_directory_iterator(out), fs::recursive_directory_iterator(),
                            [](const fs::directory_entry& e) { return e.is_regular_file(); }),
              std::ssize(kFiles));
    for (const char* name : kFiles) {
        std::vector<uint8_t> bytes = readBytes(out / name);
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes, readBytes(fs::path(ZU_BINARY_DIR) / name)) << name;
    }
}

TEST_F(Assets, CellColoursDifferInHueAndLightnessAndEachHasItsMark) {
    platform::Image sheet;
    ASSERT_TRUE(platform::decodeBmp(readBytes(out / "BMP/RGB.BMP"), sheet));
    enum { freeRow, filledRow, pieceRow };
    auto face = [&](int colour, int row) { return Colour(at(sheet, colour * 32 + 6, row * 32 + 16)); };
    auto mark = [&](int colour, int row) {  // the pixels of a cell that differ from its face
        std::vector<bool> m;
        for (int y = row * 32 + 8; y < row * 32 + 24; ++y)
            for (int x = colour * 32 + 8; x < colour * 32 + 24; ++x)
                m.push_back(at(sheet, x, y) != at(sheet, colour * 32 + 6, row * 32 + 16));
        return m;
    };
    for (int row : {freeRow, filledRow, pieceRow})
        for (int a = 0; a < 3; ++a) {
            std::vector<bool> ma = mark(a, row);
            EXPECT_GE(std::count(ma.begin(), ma.end(), true), 30) << a << " in row " << row;
            for (int b = a + 1; b < 3; ++b) {
                SCOPED_TRACE(testing::Message() << "colours " << a << " and " << b << " in row " << row);
                EXPECT_GE(std::abs(face(a, row).luma() - face(b, row).luma()), 20.0);
                double gap = std::abs(face(a, row).hue() - face(b, row).hue());
                EXPECT_GE(std::min(gap, 360 - gap), 25.0);
                std::vector<bool> mb = mark(b, row);
                EXPECT_GE(std::inner_product(ma.begin(), ma.end(), mb.begin(), 0, std::plus<>(), std::not_equal_to<>()),
                          30) << "their marks differ";
            }
        }
    for (int colour = 0; colour < 3; ++colour) {
        EXPECT_LT(face(colour, filledRow).luma(), face(colour, pieceRow).luma());
        EXPECT_LT(face(colour, filledRow).luma(), face(colour, freeRow).luma() + 1);
        EXPECT_LT(face(colour, freeRow).saturation(), face(colour, pieceRow).saturation());
    }
    EXPECT_EQ(at(sheet, 2 * 32 + 6, 2 * 32 + 16), 0xF0E442u);  // the yellow exactly
}

TEST_F(Assets, IconsCarryAlphaAndSoundsReadBackAsSixteenBitMonoWaves) {
    std::vector<uint8_t> bmp = readBytes(out / "MAIN.BMP");
    ASSERT_EQ(bmp.size(), 14u + 108u + 32u * 32u * 4u);
    auto alpha = [&](int x, int y) { return bmp[122 + (size_t(31 - y) * 32 + x) * 4 + 3]; };
    EXPECT_EQ(std::pair(alpha(0, 0), alpha(16, 16)), std::pair(uint8_t(0), uint8_t(255)));
    std::vector<uint8_t> png = readBytes(out / "tessora.png");
    ASSERT_GT(png.size(), 33u);
    auto be32 = [&](size_t i) { return uint32_t(png[i]) << 24 | png[i + 1] << 16 | png[i + 2] << 8 | png[i + 3]; };
    // Width and height in the header chunk, and RGBA.
    EXPECT_EQ(std::tuple(be32(16), be32(20), png[25]), std::tuple(128u, 128u, uint8_t(6)));
    for (const char* name : {"SOUND/CATCH.WAV", "SOUND/FILL.WAV", "SOUND/WIN.WAV"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> format, data;
        ASSERT_EQ(zuSound::ReadWave((out / name).c_str(), format, data), 0);
        ASSERT_GE(format.size(), 16u);
        auto u16 = [&](size_t i) { return format[i] | format[i + 1] << 8; };
        EXPECT_EQ(std::vector({u16(0), u16(2), u16(4) | format[6] << 16, u16(14)}), std::vector({1, 1, 44100, 16}));
        EXPECT_GT(data.size(), 44100u / 10 * 2);  // longer than a tenth of a second
        int peak = 0;
        for (size_t i = 0; i + 1 < data.size(); i += 2) peak = std::max(peak, std::abs(int(int16_t(data[i] | data[i + 1] << 8))));
        EXPECT_GT(peak, 12000);
        EXPECT_LT(peak, 32767);  // never clipped
    }
}

TEST(Embed, ManifestLinesBecomeResourcesAndBadOnesStopWithTheirLine) {
    const fs::path folder = test::makeTempDir();
    fs::create_directories(folder / "BMP");
    std::ofstream(folder / "BMP" / "A.BMP", std::ios::binary) << std::string("\x01\x02\xff", 3);
    std::ofstream(folder / "empty.bin");
    auto embed = [&](const std::string& manifest) {
        fs::remove(folder / "out.cpp");
        std::ofstream(folder / "game.rc", std::ios::binary) << manifest;
        test::ProcessSpec spec;
        spec.argv = {std::string(ZU_BINARY_DIR) + "/zuembed", folder / "game.rc", folder, folder / "out.cpp"};
        return test::runProcess(spec);
    };
    test::ProcessResult ok = embed("// icons and pictures\n\nMAIN ICON \"BMP\\A.BMP\"\n  Data_2 RCDATA \"empty.bin\"\r\n");
    ASSERT_EQ(ok.exitCode, 0) << ok.err;
    std::stringstream source;
    source << std::ifstream(folder / "out.cpp").rdbuf();
    for (const char* part : {"1,2,255,", "{\"ICON\", \"MAIN\", {kBytes0, 3}}", "{\"RCDATA\", \"Data_2\", {kBytes1, 0}}"})
        EXPECT_NE(source.str().find(part), std::string::npos) << part;

    const std::pair<const char*, const char*> bad[] = {
        {"MAIN ICON \"BMP/A.BMP\"\nSECOND BITMAP \"missing.bmp\"\n", "game.rc:2: cannot read"},
        {"MAIN ICON BMP/A.BMP\n", "game.rc:1: the file name must be in double quotes"},
        {"MAIN ICON \"BMP/A.BMP\" extra\n", "game.rc:1: the file name must be in double quotes"},
        {"MA\"IN ICON \"BMP/A.BMP\"\n", "game.rc:1: expected NAME TYPE"},
    };
    for (const auto& [manifest, message] : bad) {
        SCOPED_TRACE(manifest);
        test::ProcessResult refused = embed(manifest);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
        EXPECT_FALSE(fs::exists(folder / "out.cpp"));
    }
    fs::remove_all(folder);
}

}  // namespace
