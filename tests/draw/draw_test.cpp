// The drawing core on the headless backend: objects, keys and restores; copies, fills and halving at
// the clip and surface edges; text runs and small text; transitions and the scroll view; device
// results; screens of other sizes; goldens of every transition kind, text and clipping.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "draw/zu_draw.h"
#include "platform/os/resources.h"
#include "platform/os/window.h"
#include "platform/text/draw_context.h"
#include "platform/video/image_write.h"
#include "platform/video/surface.h"
#include "platform/win32.h"
#include "support/bmp_writer.h"
#include "support/fresh_screen.h"
#include "support/golden.h"
#include "support/wav_writer.h"
#include "system/zu_system.h"

namespace {

using namespace testsupport;
using zuDraw::objectTable;
using zuDraw::screenState;
using zuDraw::transitionState;

COLORREF colorrefOf(uint32_t rgb) { return RGB(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)); }
uint32_t rgbOf(COLORREF c) { return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c); }

// A fresh program with a 640 x 480 screen, no wait for the vertical blank and a white object 1
// (the old frame a transition shows); colours are 0x00RRGGBB.
class Draw : public FreshScreen {
protected:
    void SetUp() override { FreshScreen::SetUp(); paint(object(1), 0xFFFFFF); }
    static int32_t startScreen(int32_t width, int32_t height) { zuDraw::Release(); return zuDraw::Screen(width, height, 1); }
    static platform::Surface& back() { return *zuDraw::screenState.back; }
    static platform::Surface& object(int32_t n) { return *objectTable[n].surface; }
    static void paint(platform::Surface& s, uint32_t rgb, platform::Rect area = {}) {
        if (area.empty()) area = {0, 0, s.width, s.height};
        platform::fill(s, area, platform::pixelFromColor(s.format, colorrefOf(rgb)));
    }
    static uint32_t pixelAt(const platform::Surface& s, int32_t x, int32_t y) { return platform::surfacePixels(s)[size_t(y) * s.width + x]; }
    // How a colour reads back from a surface of the format.
    static uint32_t shown(platform::Format f, uint32_t rgb) {
        return rgbOf(platform::colorFromPixel(f, platform::pixelFromColor(f, colorrefOf(rgb))));
    }
    void writeBmp(const std::string& name, const BmpPicture& picture) {
        test::writeBytes((programFolder / name).string(), testsupport::writeBmp(picture, {}));
    }
};

using DrawGolden = Draw;
using DrawDevice = Draw;

TEST_F(Draw, ObjectsTakeFreeSlotsKeepTheirColourKeysAndReportFailures) {
    writeBmp("A.BMP", testPicture(4, 4, 2));
    std::string thirty = std::string(26, 'x') + ".BMP";
    writeBmp(thirty, testPicture(4, 4, 2));
    EXPECT_EQ(zuDraw::LoadObject(thirty.c_str(), 2), 4);
    EXPECT_EQ(zuDraw::LoadObject(("y" + thirty).c_str(), 2), 0);  // too long: reported, no slot taken
    EXPECT_EQ(zuSystem::systemState.errorRaised, 1);
    EXPECT_EQ(zuDraw::LoadObject("MISSING.BMP", 2), 0);  // a failed load gives its slot back
    for (int32_t expected = 5; expected <= 9; ++expected) EXPECT_EQ(zuDraw::LoadObject("A.BMP", 2), expected);
    zuDraw::ReleaseObject(5);
    EXPECT_EQ(zuDraw::LoadObject("A.BMP", 2), 5);

    // Keys: black unless the load takes the top-left pixel's; set later, the probed pixel is put back.
    writeBmp("K.BMP", {2, 1, {0x000000, 0xFFFFFF}, {1, 0}});
    auto keyOf = [&](int32_t n) { return std::tuple(object(n).key, objectTable[n].colorKey); };
    int32_t black = zuDraw::LoadObject("K.BMP", 2);
    EXPECT_EQ(keyOf(black), std::tuple(0u, 0));
    zuDraw::SetLoadColorKeyFromPixel();
    EXPECT_EQ(keyOf(zuDraw::LoadObject("K.BMP", 2)), std::tuple(zuDraw::pixelFormat.whiteValue, -1));
    const COLORREF blue = RGB(0, 0, 255);
    EXPECT_EQ(zuDraw::SetObjectColorKey(black, blue), 0);
    EXPECT_EQ(keyOf(black), std::tuple(platform::pixelFromColor(object(black).format, blue), int32_t(blue)));
    EXPECT_EQ(pixelAt(object(black), 0, 0), 0xFFFFFFu);

    // A resource named exactly as passed stands in for a missing file.
    static const std::vector<uint8_t> bytes = testsupport::writeBmp(testPicture(3, 2, 2), {});
    static const platform::Resource table[] = {{"BITMAP", "BMP\\R.BMP", bytes}};
    static platform::Instance instance{table};
    zuSystem::systemState.instance = &instance;
    EXPECT_EQ(objectTable[zuDraw::LoadObject("BMP\\R.BMP", 2)].width, 3);

    while (zuDraw::CreateObject(2, 2, 2) != 0) continue;
    EXPECT_EQ(platform::headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::CreateObject : オブジェクト数が多過ぎます"));
    EXPECT_NE(objectTable[zuDraw::objectCount - 1].surface, nullptr);
}

// Loaded objects hold the file's pixels, again after the surfaces are lost; created ones come back blank.
TEST_F(Draw, RestoreReloadsFilesAndLeavesCreatedObjectsBlank) {
    const BmpPicture picture = testPicture(8, 8, 4);
    writeBmp("P.BMP", picture);
    const int32_t loaded = zuDraw::LoadObject("P.BMP", 2), created = zuDraw::CreateObject(8, 8, 2);
    EXPECT_EQ(pixelAt(object(created), 3, 3), 0u);
    paint(object(created), 0x4080C0);
    std::vector<uint32_t> expected;
    for (int32_t i = 0; i < 64; ++i) expected.push_back(shown(object(loaded).format, picture.color(i % 8, i / 8)));
    EXPECT_EQ(platform::surfacePixels(object(loaded)), expected);

    platform::headless::loseAllSurfaces();
    zuDraw::Blit(0, 0, loaded, 0, 0, 8, 8);  // meets the loss and restores everything
    ASSERT_NE(objectTable[loaded].surface, nullptr);
    EXPECT_FALSE(platform::isLost(back()));
    EXPECT_EQ(platform::surfacePixels(object(loaded)), expected);
    EXPECT_EQ(pixelAt(object(created), 3, 3), 0u);
    EXPECT_EQ(std::string(objectTable[created].name), "*");
    platform::headless::loseAllSurfaces();
    zuDraw::Present();  // lost on the way to the display: restored, frame skipped
    EXPECT_FALSE(platform::isLost(back()));
}

TEST_F(Draw, PixelFormatOfEachDisplayFormatThenScreenSetUpAndReleaseToAnIconInFullScreen) {
    // Red, green and blue shifts, their 5-bit shifts, maxima, the half mask, its pair and white.
    const std::tuple<int32_t, bool, std::vector<uint32_t>> cases[] = {
        {16, false, {11, 5, 0, 11, 6, 0, 31, 63, 31, 0x7BEF, 0x7BEF7BEF, 0xFFFF}},
        {16, true, {10, 5, 0, 10, 5, 0, 31, 31, 31, 0x3DEF, 0x3DEF3DEF, 0x7FFF}},
        {32, false, {16, 8, 0, 16, 8, 0, 255, 255, 255, 0x7F7F7F, 0x7F7F7F7F, 0xFFFFFF}},
    };
    for (const auto& [depth, rgb555, expected] : cases) {
        SCOPED_TRACE(rgb555 ? "rgb555" : std::to_string(depth));
        platform::headless::useRgb555For16(rgb555);
        ASSERT_EQ(showFullScreen(depth), 1);
        const zuDraw::PixelFormat& f = zuDraw::pixelFormat;
        EXPECT_EQ((std::vector<uint32_t>{f.redShift, f.greenShift, f.blueShift, f.red5Shift, f.green5Shift, f.blue5Shift,
                                         f.redMax, f.greenMax, f.blueMax, f.halfMask, f.halfMaskPair, f.whiteValue}),
                  expected);
    }
    zuDraw::SetColorDepth(16, 32, 0);
    platform::headless::refuseDepth(16);
    ASSERT_EQ(startScreen(640, 480), 1);
    const zuDraw::ScreenState& screen = zuDraw::screenState;  // depth, device, stretching, clip
    EXPECT_EQ(std::tuple(screen.colorDepth, screen.hardwareDevice, screen.canStretch, screen.clipRight),
              std::tuple(32, 0, 1, 640));
    for (int32_t n = 0; n < 4; ++n) EXPECT_EQ(std::tuple(objectTable[n].width, object(n).key), std::tuple(640, 0u));
    EXPECT_STREQ(objectTable[3].name, "内部用４");
    const int32_t icons = platform::headless::minimizeCount();
    zuDraw::Release();  // in full screen the window is shown as an icon, again with nothing left to release
    EXPECT_EQ(platform::headless::minimizeCount(), icons + 1);
    for (const zuDraw::ObjectRecord& record : objectTable.objects) EXPECT_EQ(record.surface, nullptr);
    EXPECT_EQ(screen.ddraw, nullptr);
    zuDraw::Release();
    zuSystem::systemState.fullScreen = 0;
    ASSERT_EQ(startScreen(640, 480), 1);
    zuDraw::Release();
    EXPECT_EQ(platform::headless::minimizeCount(), icons + 2);

    zuSystem::systemState.fullScreen = 1;
    platform::headless::refuseDepth(32);
    EXPECT_EQ(startScreen(640, 480), 0);
    EXPECT_EQ(platform::headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::Screen : 解像度が変更できません"));
}

// Copies to the screen at its edges and inside the clip are shown by the golden clip examples.
TEST_F(Draw, FillsAndHalfRectsStayOnTheSurfaceAndCopiesIntoObjectsKeepToTheClip) {
    EXPECT_EQ(zuDraw::FillRect(-50, -50, 5000, 5000, 0x1234), 0);
    const uint32_t raw = rgbOf(platform::colorFromPixel(back().format, 0x1234));  // as 0x00RRGGBB
    EXPECT_EQ(std::pair(pixelAt(back(), 0, 0), pixelAt(back(), 639, 479)), std::pair(raw, raw));

    paint(back(), 0xFFFFFF);
    zuDraw::SetClip(-100, -100, 5000, 5000);
    EXPECT_EQ(zuDraw::HalfRect(-100, -100, 5000, 5000, 0), 1);
    EXPECT_EQ(pixelAt(back(), 639, 479), 0x7B7D7Bu);  // 0xFFFF halved: 0x7BEF
    zuDraw::SetClip(0, 0, 640, 480);
    EXPECT_EQ(zuDraw::HalfRect(10, 10, 20, 20, 0xF800), 1);  // (15, 31, 15) halved plus red 15
    EXPECT_EQ(zuDraw::HalfRect(50, 50, 40, 60, 0), 1);       // inverted: untouched
    EXPECT_EQ(std::pair(pixelAt(back(), 10, 10), pixelAt(back(), 45, 55)), std::pair(0xB53C39u, 0x7B7D7Bu));
    platform::headless::failNextLocks(1);
    EXPECT_EQ(zuDraw::HalfRect(0, 0, 10, 10, 0), 0);

    // Keyed copies skip black (column 0 of a sprite whose column x is grey level 4x).
    int32_t sprite = zuDraw::CreateObject(64, 48, 2);
    for (int32_t x = 0; x < 64; ++x) paint(object(sprite), 0x040404u * x, {x, 0, x + 1, 48});
    int32_t target = zuDraw::CreateObject(300, 300, 2);
    paint(object(target), 0xFFFFFF);
    zuDraw::SetClip(100, 100, 200, 200);
    zuDraw::BlitOpaqueToObject(target, 0, 150, sprite, 0, 0, 64, 48);
    zuDraw::BlitToObject(target, 120, 120, sprite, 0, 0, 64, 48);
    const auto at = [&](int32_t x, int32_t y) { return pixelAt(object(target), x, y); };
    EXPECT_EQ(std::tuple(at(20, 160), at(30, 160), at(120, 130), at(130, 130)),
              std::tuple(0xFFFFFFu, 0xFFFFFFu, 0xFFFFFFu, shown(object(target).format, 0x040404u * 10)));
}

TEST_F(Draw, TextRunsFillTheSharedFontRecordAndMeasureWrappedBoxes) {
    zuDraw::BeginText(1, 16, 0, 0, 0, 0);
    const platform::LogFont* font = zuDraw::textState.logFont;  // one record for every run
    ASSERT_NE(font, nullptr);
    auto record = [&] { return std::tuple(std::string(font->lfFaceName), font->lfHeight, font->lfWeight,
                                          int(font->lfCharSet), font->lfEscapement, int(font->lfItalic)); };
    EXPECT_EQ(record(), std::tuple(std::string("標準ゴシック"), 16, 400, 128, 0, 0));
    int32_t height = zuDraw::MeasureTextBox(0, 0, 60, 10, "日本語の文章を折り返して表示します。");
    EXPECT_GT(height, 16);
    EXPECT_EQ(zuDraw::textState.measuredBox.bottom, height);
    zuDraw::BeginText(2, 12, 90, 1, 1, 0);  // a second begin ends the first run
    EXPECT_EQ(record(), std::tuple(std::string("Arial"), 12, 700, 128, 900, 1));
    zuDraw::BeginTextFace("No Such Face", 12, 0, 2, 0, 0);
    EXPECT_EQ(std::tuple(font->lfWeight, int(font->lfCharSet)), std::tuple(0, 128));
    const zuDraw::FontEntry *first = zuDraw::fontList.entries, *end = first + zuDraw::fontList.count;
    const zuDraw::FontEntry* latin = std::find_if(first, end, [](auto& e) { return e.charSet == 0; });
    ASSERT_NE(latin, end) << "no installed face outside the Japanese character set";
    zuDraw::BeginBufferTextFace(latin->faceName, 8);
    EXPECT_EQ(std::tuple(int(font->lfCharSet), font->lfHeight), std::tuple(0, 16));
    zuDraw::EndBufferText();
    EXPECT_EQ(std::tuple(platform::gdiCounts().contexts, platform::gdiCounts().fonts), std::tuple(0, 0));
}

TEST_F(Draw, PresentRunsTransitionsSafelyToTheirEndAFrameAStepAndScrollsTheScrollViewWithinThePage) {
    const uint32_t shownBefore = platform::headless::framesShown();
    transitionState = {2, 20, 20, -1, transitionState.coverPattern};
    for (int32_t i = 0; i < 20; ++i, zuDraw::Present()) EXPECT_NE(transitionState.step, 0) << i;
    EXPECT_EQ(std::tuple(transitionState.step, transitionState.direction, platform::headless::framesShown()),
              std::tuple(0, 0, shownBefore + 20));

    transitionState = {13, 7, 7, -1, transitionState.coverPattern};
    for (int32_t i = 0; i < 6; ++i) zuDraw::Present();
    EXPECT_EQ(transitionState.step, 1);

    // A covering run always takes ten steps (see the frame loop); with length 4, a jittered kind
    // has no jitter at steps 5 to 10, so the old (white) frame's rows reach across unshifted.
    for (int32_t kind : {3, 4}) {
        transitionState.kind = kind, transitionState.length = 4;
        zuDraw::BeginCover();
        for (int32_t i = 0; i < 4; ++i) zuDraw::Present();
        zuDraw::ClearScreen();
        zuDraw::Present();  // step 5
        const Picture shown = pictureOf(back());
        int32_t y = 0;
        while (y < 480 && shown.at(0, y) != 0xFFFFFFu) ++y;
        ASSERT_LT(y, 480) << "kind " << kind;
        EXPECT_EQ(shown.at(639, y), 0xFFFFFFu) << "kind " << kind;
    }
    for (int32_t kind = 2; kind <= 12; ++kind) {
        transitionState.kind = kind, transitionState.length = 0;
        zuDraw::BeginCover();
        zuDraw::ClearScreen();
        zuDraw::Present();  // would divide or stride by zero
        EXPECT_EQ(transitionState.step, 2) << "kind " << kind;
        EXPECT_TRUE(platform::surfacePixels(back()) == std::vector<uint32_t>(640 * 480, 0u)) << "kind " << kind;
    }

    zuDraw::ToggleScrollView();
    EXPECT_EQ(zuDraw::scrollView.visible, 0);  // no page to show yet
    zuDraw::scrollView.pageObject = zuDraw::CreateObject(640, 1000, 2);
    zuDraw::scrollView.tileObject = zuDraw::CreateObject(64, 48, 2);
    zuDraw::scrollView.pageHeight = 1000;
    zuDraw::ToggleScrollView();
    ASSERT_EQ(zuDraw::scrollView.visible, 1);

    zuSystem::frameClock.seconds = 1.0f;  // a second a frame; the page scrolls within 0..520
    const std::tuple<int32_t, int32_t, float> runs[] = {
        {VK_DOWN, 1, 100}, {VK_DOWN, 10, 520}, {VK_LEFT, 1, 220}, {VK_LEFT, 1, 0}};
    for (auto [key, frames, scrollY] : runs) {
        zuSystem::inputState.viewKey = key;
        for (int32_t i = 0; i < frames; ++i) zuDraw::Present();
        EXPECT_FLOAT_EQ(zuDraw::scrollView.scrollY, scrollY) << "after " << frames << " frames";
    }
    EXPECT_FLOAT_EQ(zuDraw::scrollView.tileX, -2.0f);  // 13 seconds at 10 per second, wrapped at -64
}

// Each kind at its first, a middle and its last step from the old frame (object 1: vertical bars
// and a stripe) to the new scene (horizontal bands), covering kinds over ten frames of squares.
TEST_F(DrawGolden, EveryTransitionKind) {
    ASSERT_EQ(startScreen(64, 48), 1);
    static const uint32_t bars[] = {0xFF0000, 0xFF8000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0080FF, 0xFF00FF, 0xFFFFFF};
    for (int32_t i = 0; i < 8; ++i) paint(object(1), bars[i], {i * 8, 0, i * 8 + 8, 48});
    paint(object(1), 0x000080, {0, 20, 64, 26});
    int32_t sheet = zuDraw::CreateObject(640, 48, 2);  // ten 64 x 48 frames of growing squares
    for (int32_t f = 0, half = 2; f < 10; ++f, half += 2)
        paint(object(sheet), 0xE0E0E0, {f * 64 + 32 - half * 3 / 2, 24 - half, f * 64 + 32 + half * 3 / 2, 24 + half});
    auto frameAtStep = [&](int32_t kind, int32_t step, int32_t direction) {
        transitionState = {kind, 8, step, direction, sheet};
        static const uint32_t bands[] = {0x203060, 0x306020, 0x602030, 0x404040, 0x205050, 0x502050};
        for (int32_t i = 0; i < 6; ++i) paint(back(), bands[i], {0, i * 8, 64, i * 8 + 8});
        zuDraw::Present();
        return pictureOf(back());
    };
    for (int32_t kind = 0; kind <= 13; ++kind) {
        std::srand(7);
        std::vector<Picture> steps;
        for (int32_t s : kind == 0 ? std::vector<int32_t>{1, 5, 10} : std::vector<int32_t>{8, 4, 1})
            steps.push_back(frameAtStep(kind, s, kind == 0 ? 1 : -1));
        const std::string name = "draw_transition_kind" + std::string(kind < 10 ? "0" : "") + std::to_string(kind);
        EXPECT_TRUE(matchesGolden(name, besideEachOther(steps)));
    }
}

TEST_F(DrawGolden, LoadingLineAndTextBoxes) {
    zuDraw::ClearScreen();
    zuSystem::PrintText(292, 235, "NOW LOADING", RGB(255, 255, 255), 10);
    EXPECT_TRUE(matchesGolden("draw_text_now_loading", crop(pictureOf(back()), {284, 228, 380, 256})));

    zuDraw::WhiteScreen();
    zuDraw::BeginText(1, 16, 0, 0, 0, 0);
    zuDraw::SetTextColors(RGB(0, 0, 0), RGB(255, 255, 0), 0);
    for (int32_t alignment = 0; alignment < 3; ++alignment)
        zuDraw::DrawTextBox(10, 10 + alignment * 24, 210, 30 + alignment * 24, "Box text", alignment);
    zuDraw::SetTextColors(RGB(0, 0, 128), RGB(255, 255, 255), 1);
    zuDraw::DrawTextBox(10, 90, 130, 200, "日本語の文章を折り返して表示します。", 0);
    zuDraw::DrawTextBox(140, 90, 210, 160, "text", 3);  // alignment 3 draws nothing
    zuDraw::EndText();
    EXPECT_TRUE(matchesGolden("draw_text_boxes", crop(pictureOf(back()), {0, 0, 220, 170})));
}

TEST_F(DrawGolden, ClipExamples) {
    int32_t sprite = zuDraw::CreateObject(64, 48, 2);
    for (int32_t x = 0; x < 64; x += 4) paint(object(sprite), 0x10C000u + uint32_t(x) * 0x030001u, {x, 0, x + 4, 48});
    paint(object(sprite), 0x000000, {24, 16, 40, 32});  // keyed hole
    zuDraw::FillRect(0, 0, 640, 480, 0x8410);            // mid grey
    zuDraw::Blit(-10, 10, sprite, 0, 0, 64, 48);
    zuDraw::Blit(600, 10, sprite, 0, 0, 64, 48);
    zuDraw::Blit(-70, 100, sprite, 0, 0, 64, 48);
    zuDraw::SetClip(100, 100, 200, 200);
    zuDraw::BlitOpaque(80, 80, sprite, 0, 0, 64, 48);
    zuDraw::Blit(130, 130, sprite, 0, 0, 64, 48);
    zuDraw::BlitOpaque(180, 180, sprite, 0, 0, 64, 48);
    zuDraw::SetClip(0, 0, 640, 480);
    zuDraw::FrameRect(0, 0, 640, 480);
    zuDraw::HalfRect(300, 300, 400, 400, 0);
    auto part = [all = pictureOf(back())](platform::Rect r) { return crop(all, r); };
    Picture top = besideEachOther({part({0, 0, 64, 64}), part({576, 0, 640, 64})});
    Picture middle = besideEachOther({part({70, 70, 230, 230}), part({290, 290, 410, 410})});
    EXPECT_TRUE(matchesGolden("draw_clip_examples", aboveEachOther({top, middle})));
}

static_assert(DDERR_GENERIC < 0 && DDERR_SURFACELOST < 0, "callers test failures for a negative result");

TEST_F(DrawDevice, LinesAtEverySmallSizeInBothFacesMatchTheGolden) {
    zuDraw::WhiteScreen();
    int32_t y = 2;
    for (int32_t face : {1, 0})  // gothic, mincho
        for (int32_t size : {8, 10, 12, 16})
            for (int32_t weight : {0, 1}) {
                zuDraw::BeginText(face, size, 0, weight, 0, 0);
                zuDraw::SetTextColors(RGB(0, 0, 0), RGB(255, 255, 255), 1);
                zuDraw::PutText(4, y, "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789");
                zuDraw::PutText(4, y + size, "abcdefghijklmnopqrstuvwxyz 日本語の文章を表示します。");
                zuDraw::EndText();
                y += 2 * size + 1;
            }
    EXPECT_TRUE(matchesGolden("draw_text_small_sizes", crop(pictureOf(back()), {0, 0, 480, y + 1})));
}

// At the loading line's size, a capital four pixels wide or more has a pixel strictly inside its
// ink box nearer the background than the ink: a counter, a gap between strokes or a diagonal's
// side (narrower ones, I, are a single stem); and the letters monochrome text once filled differ.
TEST_F(DrawDevice, NoCapitalAtTheLoadingSizeIsASolidBlockAndLookAlikesDiffer) {
    for (int32_t face : {1, 0})
        for (int32_t weight : {0, 1}) {
            SCOPED_TRACE(::testing::Message() << "face " << face << ", weight " << weight);
            std::map<char, Picture> letters;
            for (char letter = 'A'; letter <= 'Z'; ++letter) {
                zuDraw::ClearScreen();
                zuDraw::BeginText(face, 10, 0, weight, 0, 0);
                zuDraw::SetTextColors(RGB(255, 255, 255), RGB(0, 0, 0), 1);
                zuDraw::PutText(8, 8, std::string(1, letter).c_str());
                zuDraw::EndText();
                const Picture all = crop(pictureOf(back()), {0, 0, 32, 32});
                platform::Rect box{32, 32, 0, 0};
                for (int32_t y = 0; y < 32; ++y)
                    for (int32_t x = 0; x < 32; ++x)
                        if (all.at(x, y))
                            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
                ASSERT_FALSE(box.empty()) << letter << " drew nothing";
                Picture& ink = letters[letter] = crop(all, box);
                for (uint32_t& p : ink.xrgb) p = p >> 8 & 0xFF;  // the green channel, the finest in 565
                bool open = ink.width < 4;
                for (int32_t y = 1; y + 1 < ink.height; ++y)
                    for (int32_t x = 1; x + 1 < ink.width; ++x) open = open || ink.at(x, y) < 128;
                EXPECT_TRUE(open) << letter << " is a filled " << ink.width << " x " << ink.height << " block";
            }
            const auto look = [&](char c) { return std::tie(letters[c].width, letters[c].height, letters[c].xrgb); };
            const std::string alike = "NMWHB";
            for (size_t i = 0; i < alike.size(); ++i)
                for (size_t j = i + 1; j < alike.size(); ++j)
                    EXPECT_NE(look(alike[i]), look(alike[j])) << alike[i] << " and " << alike[j] << " look the same";
        }
}

TEST_F(DrawDevice, FillsAndKeysReturnZeroOrANegativeDeviceResult) {
    const struct { const char* name; int32_t (*run)(); } fills[] = {
        {"ClearScreen", [] { return zuDraw::ClearScreen(); }},
        {"ClearRect", [] { return zuDraw::ClearRect(0, 0, 10, 10); }},
        {"FrameRect", [] { return zuDraw::FrameRect(0, 0, 10, 10); }},
        {"WhiteScreen", [] { return zuDraw::WhiteScreen(); }},
        {"WhiteRect", [] { return zuDraw::WhiteRect(0, 0, 10, 10); }},
        {"FillRect", [] { return zuDraw::FillRect(0, 0, 10, 10, 0x1234); }},
    };
    for (const auto& fill : fills) {
        SCOPED_TRACE(fill.name);
        EXPECT_EQ(fill.run(), DD_OK);
        platform::LockedRect locked;
        ASSERT_EQ(platform::lock(*screenState.back, locked), platform::Status::ok);
        EXPECT_EQ(fill.run(), DDERR_GENERIC) << "on a locked surface";
        platform::unlock(*screenState.back);
        platform::headless::loseSurface(screenState.back);
        EXPECT_EQ(fill.run(), DDERR_SURFACELOST) << "on a lost surface";
        platform::restore(*screenState.back);
    }
    const int32_t object = zuDraw::CreateObject(32, 32, 2), unused = object + 1, red = RGB(255, 0, 0);
    EXPECT_EQ((std::vector{zuDraw::ClearObject(object), zuDraw::SetObjectColorKey(object, red), zuDraw::CopyColorKey(object, 0)}),
              std::vector(3, DD_OK));
    EXPECT_EQ((std::vector{zuDraw::ClearObject(unused), zuDraw::SetObjectColorKey(unused, red), zuDraw::SetObjectColorKeyFromPixel(unused),
                           zuDraw::CopyColorKey(object, unused)}),
              std::vector(4, DDERR_GENERIC));
}

// Kind 11 at step 5 of 10 wipes the left half with the captured (white) frame.
TEST_F(DrawDevice, AStepWithDirectionZeroIsDrawnEveryFrame) {
    zuDraw::transitionState = {.kind = 11, .length = 10, .step = 5, .direction = 0};
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_EQ(zuDraw::ClearScreen(), DD_OK);
        zuDraw::Present();
        EXPECT_EQ(std::tuple(pixelAt(back(), 319, 240), pixelAt(back(), 320, 240), transitionState.step, transitionState.direction),
                  std::tuple(0xFFFFFFu, 0u, 5, 0)) << "frame " << frame;
    }
}

// Windowed or full screen, the whole back buffer (its last pixel marked) reaches the frame.
TEST_F(DrawDevice, PrimaryBackBufferFrameAndPointerTakeTheScreenSize) {
    const struct { int32_t width, height, fullScreen; } cases[] = {
        {800, 600, 0}, {320, 240, 0}, {1024, 768, 0}, {800, 600, 1}, {320, 240, 1}, {640, 480, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << (c.fullScreen ? " full screen" : " windowed"));
        zuSystem::systemState.fullScreen = c.fullScreen;
        ASSERT_EQ(startScreen(c.width, c.height), 1);
        ASSERT_NE(screenState.primary, nullptr);
        const platform::Surface& primary = *screenState.primary;
        EXPECT_EQ(std::tuple(primary.width, primary.height, back().width, back().height), std::tuple(c.width, c.height, c.width, c.height));
        paint(back(), 0x000000);
        paint(back(), 0xFFFFFF, {c.width - 1, c.height - 1, c.width, c.height});
        zuDraw::Present();
        const platform::Surface* frame = platform::headless::lastFrame();
        ASSERT_NE(frame, nullptr);
        const std::vector<uint32_t> pixels = platform::surfacePixels(*frame);
        EXPECT_EQ(std::tuple(frame->width, frame->height, pixels.front(), pixels.back()), std::tuple(c.width, c.height, 0u, 0xFFFFFFu));
        platform::setCursorPos(100000, 100000);
        EXPECT_EQ(std::tuple(platform::cursorPos().x + 1, platform::cursorPos().y + 1), std::tuple(c.width, c.height));
    }
}

}  // namespace
