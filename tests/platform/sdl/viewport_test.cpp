// Fitting the picture into a window and mapping positions back: bars, sharp scaling, clamping.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_viewport.h"

using platform::fitPicture;
using platform::Point;
using platform::Size;

namespace {
void expectRect(const platform::Rect& r, int32_t l, int32_t t, int32_t rr, int32_t b) {
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}
}  // namespace

TEST(Viewport, FitsAspectCorrectBetweenBarsAndKnowsWhenTheScaleIsWhole) {
    auto wide = fitPicture(Size{1366, 768});
    expectRect(wide.placed, 171, 0, 1195, 768);
    EXPECT_FALSE(wide.wholeScale);
    EXPECT_EQ(wide.enlarge, 2) << "1.6 is enlarged to 2 first";

    auto exact = fitPicture(Size{1280, 960});
    expectRect(exact.placed, 0, 0, 1280, 960);
    EXPECT_TRUE(exact.wholeScale);

    auto hd = fitPicture(Size{1920, 1080});
    expectRect(hd.placed, 240, 0, 1680, 1080);
    EXPECT_EQ(hd.enlarge, 3);

    auto tall = fitPicture(Size{640, 1000});
    expectRect(tall.placed, 0, 260, 640, 740);
    EXPECT_TRUE(tall.wholeScale);

    auto small = fitPicture(Size{320, 240});
    expectRect(small.placed, 0, 0, 320, 240);
    EXPECT_FALSE(small.wholeScale);
    EXPECT_EQ(small.enlarge, 1) << "smaller than the picture: smoothed straight down";

    auto none = fitPicture(Size{0, 0});
    EXPECT_TRUE(none.placed.empty());
    EXPECT_EQ(platform::toPicture(none, Point{5, 5}).x, 0);
}

TEST(Viewport, PositionsMapBackIntoThePictureAndOverTheBarsClampToItsEdge) {
    auto v = fitPicture(Size{1366, 768});
    auto at = [&](int32_t x, int32_t y) { return platform::toPicture(v, Point{x, y}); };
    EXPECT_EQ(at(683, 384).x, 320);
    EXPECT_EQ(at(683, 384).y, 240);
    EXPECT_EQ(at(171, 0).x, 0);
    EXPECT_EQ(at(1194, 767).x, 639);
    EXPECT_EQ(at(1194, 767).y, 479);
    EXPECT_EQ(at(10, 400).x, 0) << "left bar";
    EXPECT_EQ(at(1300, 400).x, 639) << "right bar";
    EXPECT_EQ(at(-50, -50).y, 0);
    EXPECT_EQ(at(1195, 2000).y, 479);
}

TEST(Viewport, EveryPicturePixelSurvivesTheRoundTripAtEveryCommonSize) {
    for (Size s : {Size{1366, 768}, Size{1920, 1080}, Size{1280, 1024}, Size{800, 600},
                   Size{2560, 1440}, Size{640, 480}, Size{500, 500}}) {
        auto v = fitPicture(s);
        for (int32_t x = 0; x < 640; ++x) {
            Point back = platform::toPicture(v, platform::fromPicture(v, Point{x, x * 479 / 639}));
            if (s.cx >= 640) ASSERT_EQ(back.x, x) << s.cx << "x" << s.cy;
            else ASSERT_LE(std::abs(back.x - x), 1) << s.cx << "x" << s.cy;
        }
    }
}

TEST(Viewport, WindowedSizeIsTheLargestWholeMultipleThatFits) {
    EXPECT_EQ(platform::largestWholeWindow(Size{1366, 738}).cx, 640);
    EXPECT_EQ(platform::largestWholeWindow(Size{1920, 1050}).cy, 960);
    EXPECT_EQ(platform::largestWholeWindow(Size{2560, 1400}).cx, 1280);
    EXPECT_EQ(platform::largestWholeWindow(Size{600, 400}).cx, 640) << "never below one";
}
