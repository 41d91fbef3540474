// Fitting the picture into a window and mapping positions back: bars, sharp scaling, clamping.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <utility>

#include "platform/sdl/sdl_viewport.h"

using namespace platform;

TEST(Viewport, FitsAspectCorrectBetweenBarsAndKnowsWhenTheScaleIsWhole) {
    struct Row { Size drawable; Rect placed; bool whole; int32_t enlarge; };
    // 1.6 times the picture is enlarged to 2 first; below its size it is smoothed straight down.
    for (const Row& r : {Row{{1366, 768}, {171, 0, 1195, 768}, false, 2},
                         Row{{1280, 960}, {0, 0, 1280, 960}, true, 2},
                         Row{{1920, 1080}, {240, 0, 1680, 1080}, false, 3},
                         Row{{640, 1000}, {0, 260, 640, 740}, true, 1},
                         Row{{320, 240}, {0, 0, 320, 240}, false, 1}}) {
        SCOPED_TRACE(testing::Message() << r.drawable.cx << "x" << r.drawable.cy);
        Viewport v = fitPicture(r.drawable);
        EXPECT_EQ((std::array{v.placed.left, v.placed.top, v.placed.right, v.placed.bottom}),
                  (std::array{r.placed.left, r.placed.top, r.placed.right, r.placed.bottom}));
        EXPECT_EQ(std::pair(v.wholeScale, v.enlarge), std::pair(r.whole, r.enlarge));
    }
    Viewport none = fitPicture(Size{0, 0});
    EXPECT_TRUE(none.placed.empty());
    EXPECT_EQ(toPicture(none, Point{5, 5}).x, 0);
}

TEST(Viewport, PositionsMapBackIntoThePictureAndOverTheBarsClampToItsEdge) {
    Viewport v = fitPicture(Size{1366, 768});  // the picture spans x 171 to 1194
    // {window x, y, picture x, y}: centre, corners, left and right bar, far outside.
    const int32_t cases[][4] = {{683, 384, 320, 240}, {171, 0, 0, 0},       {1194, 767, 639, 479},
                                {10, 400, 0, 250},    {1300, 400, 639, 250}, {-50, -50, 0, 0},
                                {1195, 2000, 639, 479}};
    for (const auto& c : cases) {
        Point p = toPicture(v, Point{c[0], c[1]});
        EXPECT_EQ(std::pair(p.x, p.y), std::pair(c[2], c[3])) << c[0] << "," << c[1];
    }
}

TEST(Viewport, EveryPicturePixelSurvivesTheRoundTripAtEveryCommonSize) {
    for (Size s : {Size{1366, 768}, Size{1920, 1080}, Size{1280, 1024}, Size{800, 600},
                   Size{2560, 1440}, Size{640, 480}, Size{500, 500}}) {
        Viewport v = fitPicture(s);
        for (int32_t x = 0; x < 640; ++x) {
            Point back = toPicture(v, fromPicture(v, Point{x, x * 479 / 639}));
            if (s.cx >= 640) ASSERT_EQ(back.x, x) << s.cx << "x" << s.cy;
            else ASSERT_LE(std::abs(back.x - x), 1) << s.cx << "x" << s.cy;
        }
    }
}

TEST(Viewport, WindowedSizeIsTheLargestWholeMultipleThatFitsButNeverBelowOne) {
    const int32_t cases[][3] = {{1366, 738, 1}, {1920, 1050, 2}, {2560, 1400, 2}, {600, 400, 1}};
    for (const auto& c : cases) {
        Size s = largestWholeWindow(Size{c[0], c[1]});
        EXPECT_EQ(std::pair(s.cx, s.cy), std::pair(640 * c[2], 480 * c[2])) << c[0] << "x" << c[1];
    }
}
