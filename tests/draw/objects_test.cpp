// The object table: BMP variants decoded into objects, load errors and slot numbering, colour
// keys, lost surfaces brought back by Restore.
#include <string>

#include "draw/draw_fixture.h"
#include "draw/draw_internal.h"
#include "platform/headless.h"
#include "platform/video/image_write.h"
#include "platform/os/resources.h"
#include "platform/video/surface.h"
#include "support/bmp_writer.h"
#include "system/zu_system.h"

namespace drawtest {
namespace {

using zuDraw::objectTable;

bool reported(const char8_t* text) {
    return platform::headless::lastMessageBox().find(reinterpret_cast<const char*>(text)) != std::string::npos;
}

class DrawObjects : public DrawTest {};

TEST_F(DrawObjects, EveryBmpVariantLoadsToItsPixels) {
    ASSERT_EQ(startScreen(640, 480), 1);
    for (const testsupport::BmpVariant& variant : testsupport::allBmpVariants()) {
        SCOPED_TRACE(variant.name);
        testsupport::BmpPicture picture = testsupport::testPicture(13, 7, variant.colours);
        writeProgramFile("BMP/V.BMP", testsupport::writeBmp(picture, variant.options));
        int32_t n = zuDraw::LoadObject("BMP\\V.BMP", 2);
        ASSERT_EQ(n, 4);
        const platform::Surface& s = *objectTable[n].surface;
        ASSERT_EQ(objectTable[n].width, 13);
        ASSERT_EQ(objectTable[n].height, 7);
        for (int32_t y = 0; y < 7; ++y)
            for (int32_t x = 0; x < 13; ++x)
                ASSERT_EQ(pixelAt(s, x, y), shown(s.format, picture.color(x, y))) << x << "," << y;
        zuDraw::ReleaseObject(n);
    }
}

TEST_F(DrawObjects, NamesSlotsAndFailures) {
    ASSERT_EQ(startScreen(64, 48), 1);
    writeProgramFile("A.BMP", testsupport::writeBmp(testsupport::testPicture(4, 4, 2), {}));
    std::string thirty(26, 'x');
    thirty += ".BMP";
    writeProgramFile(thirty, testsupport::writeBmp(testsupport::testPicture(4, 4, 2), {}));
    EXPECT_EQ(zuDraw::LoadObject(thirty.c_str(), 2), 4);

    zuSystem::systemState.errorRaised = 0;
    EXPECT_EQ(zuDraw::LoadObject(("y" + thirty).c_str(), 2), 0);
    EXPECT_EQ(zuSystem::systemState.errorRaised, 1);
    EXPECT_TRUE(reported(u8"ファイル名またはリソース名が長すぎます"));
    EXPECT_EQ(objectTable[5].name[0], '\0');

    // A failed load reports and gives its slot back.
    EXPECT_EQ(zuDraw::LoadObject("MISSING.BMP", 2), 0);
    EXPECT_TRUE(reported(u8"zuDraw::LoadObject : BMPファイルを読み込めません"));
    for (int32_t expected = 5; expected <= 9; ++expected) EXPECT_EQ(zuDraw::LoadObject("A.BMP", 2), expected);
    zuDraw::ReleaseObject(5);
    EXPECT_EQ(zuDraw::LoadObject("A.BMP", 2), 5);

    // A resource named exactly as passed stands in for a missing file.
    static const std::vector<uint8_t> bytes = testsupport::writeBmp(testsupport::testPicture(3, 2, 2), {});
    static const platform::Resource table[] = {{"BITMAP", "BMP\\R.BMP", bytes}};
    static platform::Instance instance{table};
    zuSystem::systemState.instance = &instance;
    int32_t fromResource = zuDraw::LoadObject("BMP\\R.BMP", 2);
    EXPECT_EQ(objectTable[fromResource].width, 3);

    while (zuDraw::CreateObject(2, 2, 2) != 0) {
    }
    EXPECT_TRUE(reported(u8"オブジェクト数が多過ぎます"));
    EXPECT_NE(objectTable[zuDraw::objectCount - 1].surface, nullptr);
}

TEST_F(DrawObjects, ColourKeysFollowTheLoadSetting) {
    ASSERT_EQ(startScreen(64, 48), 1);
    testsupport::BmpPicture picture{2, 1, {0x000000, 0xFFFFFF}, {1, 0}};
    writeProgramFile("K.BMP", testsupport::writeBmp(picture, {}));
    int32_t black = zuDraw::LoadObject("K.BMP", 2);
    EXPECT_EQ(objectTable[black].surface->key, 0u);
    EXPECT_EQ(objectTable[black].colorKey, 0);
    zuDraw::SetLoadColorKeyFromPixel();
    int32_t topLeft = zuDraw::LoadObject("K.BMP", 2);
    EXPECT_EQ(objectTable[topLeft].surface->key, zuDraw::pixelFormat.whiteValue);
    EXPECT_EQ(objectTable[topLeft].colorKey, -1);
    const platform::Surface& s = *objectTable[black].surface;
    EXPECT_EQ(zuDraw::SetObjectColorKey(black, RGB(0, 0, 255)), 0);
    EXPECT_EQ(s.key, platform::pixelFromColor(s.format, RGB(0, 0, 255)));
    EXPECT_EQ(objectTable[black].colorKey, int32_t(RGB(0, 0, 255)));
    EXPECT_EQ(pixelAt(s, 0, 0), 0xFFFFFFu);  // the probe puts the pixel back
}

TEST_F(DrawObjects, RestoreReloadsFilesAndLeavesCreatedObjectsBlank) {
    ASSERT_EQ(startScreen(64, 48), 1);
    testsupport::BmpPicture picture = testsupport::testPicture(8, 8, 4);
    writeProgramFile("P.BMP", testsupport::writeBmp(picture, {}));
    int32_t loaded = zuDraw::LoadObject("P.BMP", 2);
    int32_t created = zuDraw::CreateObject(8, 8, 2);
    EXPECT_EQ(pixelAt(*objectTable[created].surface, 3, 3), 0u);
    paint(*objectTable[created].surface, 0x4080C0);
    std::vector<uint32_t> before = platform::surfacePixels(*objectTable[loaded].surface);

    platform::headless::loseAllSurfaces();
    zuDraw::Blit(0, 0, loaded, 0, 0, 8, 8);  // meets the loss and restores everything
    ASSERT_NE(objectTable[loaded].surface, nullptr);
    EXPECT_FALSE(platform::isLost(*zuDraw::screenState.back));
    EXPECT_EQ(platform::surfacePixels(*objectTable[loaded].surface), before);
    EXPECT_EQ(pixelAt(*objectTable[created].surface, 3, 3), 0u);
    EXPECT_EQ(std::string(objectTable[created].name), "*");
}

TEST_F(DrawObjects, ScreenSetUpAndRelease) {
    zuDraw::SetColorDepth(16, 32, 0);
    platform::headless::refuseDepth(16);
    ASSERT_EQ(startScreen(640, 480), 1);
    EXPECT_EQ(zuDraw::screenState.colorDepth, 32);
    EXPECT_EQ(zuDraw::screenState.hardwareDevice, 0);
    EXPECT_EQ(zuDraw::screenState.canStretch, 1);
    EXPECT_EQ(zuDraw::screenState.clipRight, 640);
    for (int32_t n = 0; n < 4; ++n) {
        EXPECT_EQ(objectTable[n].width, 640);
        EXPECT_EQ(objectTable[n].surface->key, 0u);
    }
    EXPECT_STREQ(objectTable[3].name, "内部用４");
    zuDraw::Release();
    for (const zuDraw::ObjectRecord& record : objectTable.objects) EXPECT_EQ(record.surface, nullptr);

    platform::headless::refuseDepth(32);
    EXPECT_EQ(startScreen(640, 480), 0);
    EXPECT_TRUE(reported(u8"zuDraw::Screen : 解像度が変更できません"));
}

TEST_F(DrawObjects, PixelFormatOfEachDisplayFormat) {
    struct Case {
        int32_t depth;
        bool rgb555;
        uint16_t shifts[3], fiveShifts[3];
        uint32_t maxima[3], halfMask, halfMaskPair, white;
    };
    const Case cases[] = {
        {16, false, {11, 5, 0}, {11, 6, 0}, {31, 63, 31}, 0x7BEF, 0x7BEF7BEF, 0xFFFF},
        {16, true, {10, 5, 0}, {10, 5, 0}, {31, 31, 31}, 0x3DEF, 0x3DEF3DEF, 0x7FFF},
        {32, false, {16, 8, 0}, {16, 8, 0}, {255, 255, 255}, 0x7F7F7F, 0x7F7F7F7F, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.halfMask);
        platform::headless::useRgb555For16(c.rgb555);
        zuDraw::SetColorDepth(c.depth, 0, 0);
        ASSERT_EQ(startScreen(64, 48), 1);
        const zuDraw::PixelFormat& f = zuDraw::pixelFormat;
        EXPECT_EQ((std::vector<uint32_t>{f.redShift, f.greenShift, f.blueShift, f.red5Shift, f.green5Shift,
                                         f.blue5Shift, f.redMax, f.greenMax, f.blueMax}),
                  (std::vector<uint32_t>{c.shifts[0], c.shifts[1], c.shifts[2], c.fiveShifts[0], c.fiveShifts[1],
                                         c.fiveShifts[2], c.maxima[0], c.maxima[1], c.maxima[2]}));
        EXPECT_EQ(f.halfMask, c.halfMask);
        EXPECT_EQ(f.halfMaskPair, c.halfMaskPair);
        EXPECT_EQ(f.whiteValue, c.white);
    }
}

}  // namespace
}  // namespace drawtest
