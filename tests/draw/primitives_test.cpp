// Primitives and development text on the back buffer: the frame-rate counters on the virtual
// clock, unusable point lists, over-long formats, the objects every call frees, and a golden sheet
// of the shapes over a picture. White read back on every depth is with Shrink2's formats.
#include <string>
#include <tuple>
#include <vector>

#include "draw/zu_draw.h"
#include "platform/text/draw_context.h"
#include "platform/video/image_write.h"
#include "support/fresh_screen.h"
#include "support/golden.h"

namespace {

using platform::Point;

class Primitives : public FreshScreen {
protected:
    static std::vector<uint32_t> screen() { return platform::surfacePixels(*zuDraw::screenState.back); }
};

using PrimitivesGolden = Primitives;

TEST_F(Primitives, FpsLineFollowsTheTwoSecondSamplesOnTheVirtualClock) {
    platform::headless::setClock(10000);
    zuDraw::fpsCounters = {};
    zuDraw::DrawFps();
    EXPECT_STREQ(zuDraw::fpsCounters.text, "0.0 fps ( max 0.0 / min 999.9 )");
    const std::tuple<int32_t, const char*> phases[] = {  // calls a second for two seconds, then the line
        {60, "60.0 fps ( max 60.0 / min 60.0 )"}, {30, "30.0 fps ( max 60.0 / min 30.0 )"},
        {90, "90.0 fps ( max 90.0 / min 30.0 )"}, {2000, "499.5 fps ( max 499.5 / min 30.0 )"}};  // held at 999
    for (uint32_t start = 10000; const auto& [rate, line] : phases) {
        for (int32_t call = 1; call <= 2 * rate; ++call) {
            platform::headless::setClock(start + uint32_t(call * 1000 / rate));
            zuDraw::DrawFps();
        }
        start += 2000;
        EXPECT_STREQ(zuDraw::fpsCounters.text, line);
    }
}

TEST_F(Primitives, UnusablePointListsAndOverlongFormatsDrawNothingUnsafeAndEveryObjectIsFreed) {
    auto live = [] { auto c = platform::gdiCounts(); return std::tuple(c.contexts, c.fonts, c.pens, c.brushes); };
    const auto before = live();
    zuDraw::ClearScreen();
    const std::vector<uint32_t> blank = screen();
    const Point p[7] = {{10, 10}, {100, 10}, {100, 100}, {10, 100}, {50, 50}, {60, 60}, {70, 70}};
    for (int32_t refused : {zuDraw::Polygon(nullptr, 3, 0xFF, 0, 1, 1), zuDraw::Polygon(p, 1, 0xFF, 0, 1, 1),
                            zuDraw::Polygon(p, -5, 0xFF, 0, 1, 1), zuDraw::Bezier(nullptr, 4, 0xFF, 1),
                            zuDraw::Bezier(p, 3, 0xFF, 1), zuDraw::Bezier(p, 5, 0xFF, 1), zuDraw::Bezier(p, 1, 0xFF, 1)})
        EXPECT_EQ(refused, 0);
    EXPECT_EQ(screen(), blank);

    // 255 bytes stay whole; 256 are cut before the split character. The line's end is on screen.
    std::string kanji;
    for (int32_t i = 0; i < 200; ++i) kanji += "漢";
    const std::tuple<std::string, std::string> cuts[] = {{"A" + kanji.substr(0, 254), "A" + kanji.substr(0, 254)},
                                                          {"AB" + kanji.substr(0, 254), "AB" + kanji.substr(0, 252)}};
    for (const auto& [formatted, drawn] : cuts) {
        zuDraw::DebugText(-1000, 0, drawn.c_str());
        const std::vector<uint32_t> expected = screen();
        zuDraw::ClearScreen();
        zuDraw::DebugPrintf(-1000, 0, "%s", formatted.c_str());
        EXPECT_EQ(screen(), expected) << formatted.size();
        zuDraw::ClearScreen();
    }
    EXPECT_EQ(zuDraw::Line(-2000000000, 5, 2000000000, 6, 0xFF00, 2000000000), 1);  // only the screen's steps
    EXPECT_EQ(zuDraw::Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, 0x10203, 3), 1);
    EXPECT_EQ(zuDraw::Bezier(p, 7, 0xFF, 40), 1);
    zuDraw::BeginText(1, 12, 0, 0, 0, 0);  // a text run holds the back buffer: the primitives wait
    EXPECT_EQ(std::tuple(zuDraw::SetPixel(1, 1, 0xFFFFFF), zuDraw::Line(0, 0, 5, 5, 0, 1)), std::tuple(0, 0));
    zuDraw::EndText();
    EXPECT_EQ(live(), before);  // every context, font, pen and brush freed
}

TEST_F(PrimitivesGolden, ShapesOverAPictureAndTheDebugLine) {
    const COLORREF stripes[] = {RGB(200, 60, 60), RGB(60, 160, 80), RGB(70, 90, 200), RGB(230, 210, 90)};
    for (int32_t i = 0; i < 16; ++i) zuDraw::Rectangle(i * 40, 0, i * 40 + 40, 480, stripes[i % 4], stripes[i % 4], 1);
    for (int32_t mode = 0; mode < 3; ++mode) {  // outline; hatch over dark grey; hatch over the picture
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
