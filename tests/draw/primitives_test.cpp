// Primitives and development text on the back buffer: white read back on every depth, the
// frame-rate counters on the virtual clock, unusable point lists and over-long formats, the
// objects every call frees, and a golden sheet of the shapes over a picture.
#include <string>
#include <tuple>
#include <vector>

#include "draw/zu_draw.h"
#include "platform/text/draw_context.h"
#include "platform/video/image_write.h"
#include "support/fresh_program.h"
#include "support/golden.h"

namespace {

using platform::Point;

class Primitives : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        zuDraw::SetVBlankWait(0);
        ASSERT_EQ(zuDraw::Screen(640, 480, 1), 1);
    }
    static std::vector<uint32_t> screen() { return platform::surfacePixels(*zuDraw::screenState.back); }
};

using PrimitivesGolden = Primitives;

TEST_F(Primitives, WhiteReadsAs255InEveryChannelOn565And555And32BitScreens) {
    for (auto [depth, rgb555] : {std::tuple(16, false), std::tuple(16, true), std::tuple(32, false)}) {
        platform::headless::useRgb555For16(rgb555);
        zuDraw::Release();
        zuDraw::SetColorDepth(depth, 0, 0);
        ASSERT_EQ(zuDraw::Screen(64, 48, 1), 1);
        zuDraw::WhiteScreen();
        int32_t r = 0, g = 0, b = 0;
        zuDraw::GetPixel(5, 7, &r, &g, &b);
        EXPECT_EQ(std::tuple(r, g, b), std::tuple(255, 255, 255)) << depth << rgb555;
    }
}

TEST_F(Primitives, FpsLineFollowsTheTwoSecondSamplesOnTheVirtualClock) {
    platform::headless::setClock(10000);
    zuDraw::fpsCounters = {};
    zuDraw::DrawFps();
    EXPECT_STREQ(zuDraw::fpsCounters.text, "0.0 fps ( max 0.0 / min 999.9 )");
    // Calls per second for two seconds, then the line the next call shows.
    const std::tuple<int32_t, const char*> phases[] = {
        {60, "60.0 fps ( max 60.0 / min 60.0 )"},
        {30, "30.0 fps ( max 60.0 / min 30.0 )"},
        {90, "90.0 fps ( max 90.0 / min 30.0 )"},
        {2000, "499.5 fps ( max 499.5 / min 30.0 )"},  // the count is held at 999
    };
    uint32_t start = 10000;
    for (const auto& [rate, line] : phases) {
        for (int32_t call = 1; call < 2 * rate; ++call) {
            platform::headless::setClock(start + uint32_t(call * 1000 / rate));
            zuDraw::DrawFps();
        }
        start += 2000;
        platform::headless::setClock(start);
        zuDraw::DrawFps();
        EXPECT_STREQ(zuDraw::fpsCounters.text, line);
    }
}

TEST_F(Primitives, UnusablePointListsAndOverlongFormatsDrawNothingUnsafeAndEveryObjectIsFreed) {
    const platform::GdiCounts before = platform::gdiCounts();
    zuDraw::ClearScreen();
    const std::vector<uint32_t> blank = screen();
    const Point points[7] = {{10, 10}, {100, 10}, {100, 100}, {10, 100}, {50, 50}, {60, 60}, {70, 70}};
    const std::tuple<const char*, int32_t> refused[] = {
        {"polygon without points", zuDraw::Polygon(nullptr, 3, RGB(255, 0, 0), 0, 1, 1)},
        {"polygon of one point", zuDraw::Polygon(points, 1, RGB(255, 0, 0), 0, 1, 1)},
        {"polygon of a negative count", zuDraw::Polygon(points, -5, RGB(255, 0, 0), 0, 1, 1)},
        {"curve without points", zuDraw::Bezier(nullptr, 4, RGB(255, 0, 0), 1)},
        {"curve of three points", zuDraw::Bezier(points, 3, RGB(255, 0, 0), 1)},
        {"curve of 1 + 3n + 1 points", zuDraw::Bezier(points, 5, RGB(255, 0, 0), 1)},
        {"curve of one point", zuDraw::Bezier(points, 1, RGB(255, 0, 0), 1)},
    };
    for (const auto& [what, result] : refused) EXPECT_EQ(result, 0) << what;
    EXPECT_EQ(screen(), blank);

    // Cut at 255 bytes, never inside a double-byte character; the end of the line is on screen.
    std::string kanji;
    for (int32_t i = 0; i < 200; ++i) kanji += "漢";
    const std::tuple<std::string, std::string> cuts[] = {
        {"A" + kanji.substr(0, 254), "A" + kanji.substr(0, 254)},  // 255 bytes: whole
        {"AB" + kanji.substr(0, 254), "AB" + kanji.substr(0, 252)},  // the last character would split
        {"AB" + kanji, "AB" + kanji.substr(0, 252)},
    };
    for (const auto& [formatted, drawn] : cuts) {
        zuDraw::DebugText(-1000, 0, drawn.c_str());
        const std::vector<uint32_t> expected = screen();
        zuDraw::ClearScreen();
        zuDraw::DebugPrintf(-1000, 0, "%s", formatted.c_str());
        EXPECT_EQ(screen(), expected) << formatted.size();
        zuDraw::ClearScreen();
    }

    EXPECT_EQ(zuDraw::Line(-2000000000, 5, 2000000000, 6, RGB(0, 255, 0), 2000000000), 1);  // only the screen's part
    EXPECT_EQ(zuDraw::Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, RGB(1, 2, 3), 3), 1);
    EXPECT_EQ(zuDraw::Bezier(points, 7, RGB(255, 0, 0), 40), 1);
    zuDraw::BeginText(1, 12, 0, 0, 0, 0);  // a text run holds the back buffer: the primitives wait
    EXPECT_EQ(std::tuple(zuDraw::SetPixel(1, 1, 0xFFFFFF), zuDraw::Line(0, 0, 5, 5, 0, 1)), std::tuple(0, 0));
    zuDraw::EndText();
    const platform::GdiCounts after = platform::gdiCounts();
    EXPECT_EQ(std::tie(after.contexts, after.fonts, after.pens, after.brushes),
              std::tie(before.contexts, before.fonts, before.pens, before.brushes));
}

TEST_F(PrimitivesGolden, ShapesOverAPictureAndTheDebugLine) {
    const COLORREF stripes[] = {RGB(200, 60, 60), RGB(60, 160, 80), RGB(70, 90, 200), RGB(230, 210, 90)};
    for (int32_t i = 0; i < 16; ++i)
        zuDraw::Rectangle(i * 40, 0, i * 40 + 40, 480, stripes[i % 4], stripes[i % 4], 1);
    for (int32_t mode = 0; mode < 3; ++mode) {
        const int32_t l = 20 + mode * 200;
        const Point star[5] = {{l + 80, 40}, {l + 130, 190}, {l, 95}, {l + 160, 95}, {l + 30, 190}};
        zuDraw::Polygon(star, 5, RGB(255, 255, 255), RGB(20, 20, 20), 2, mode);
    }
    zuDraw::Line(20, 230, 300, 260, RGB(0, 0, 0), 1);
    zuDraw::Line(20, 260, 300, 330, RGB(255, 255, 255), 5);
    zuDraw::Rectangle(340, 230, 460, 330, RGB(250, 250, 250), RGB(10, 10, 120), 4);
    const Point curve[7] = {{480, 330}, {480, 220}, {620, 220}, {620, 280}, {620, 340}, {500, 400}, {560, 460}};
    zuDraw::Bezier(curve, 7, RGB(255, 0, 255), 3);
    for (int32_t x = 20; x < 300; x += 7) zuDraw::SetPixel(x, 400, RGB(255, 255, 255));
    zuDraw::DebugPrintf(20, 420, "debug %d %s", 42, "デバッグ表示");
    platform::headless::setClock(0);
    zuDraw::fpsCounters = {};
    zuDraw::DrawFps();
    EXPECT_TRUE(testsupport::matchesGolden("draw_primitives", testsupport::pictureOf(*zuDraw::screenState.back)));
}

}  // namespace
