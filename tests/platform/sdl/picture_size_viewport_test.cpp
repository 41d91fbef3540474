// Pictures other than 640 x 480: the window a picture asks for, where it lands in a drawable,
// whether it scales sharp straight on, and the pointer mapping both ways at its edges.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_viewport.h"

namespace {

using platform::Point;
using platform::Rect;
using platform::Size;

TEST(PictureSizeViewport, LayoutScalingAndPointerFollowThePictureSize) {
    const struct {
        Size picture, drawable;
        Size window;  // largest whole multiple of the picture within the drawable
        Rect placed;
        bool wholeScale;
        int32_t enlarge;
    } rows[] = {
        {{800, 600}, {1366, 768}, {800, 600}, {171, 0, 1195, 768}, false, 2},
        {{800, 600}, {1600, 1200}, {1600, 1200}, {0, 0, 1600, 1200}, true, 2},
        {{320, 240}, {960, 720}, {960, 720}, {0, 0, 960, 720}, true, 3},
        {{320, 240}, {1366, 768}, {960, 720}, {171, 0, 1195, 768}, false, 4},
        {{1024, 768}, {800, 600}, {1024, 768}, {0, 0, 800, 600}, false, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.picture.cx << "x" << r.picture.cy << " in " << r.drawable.cx << "x"
                                        << r.drawable.cy);
        const Size window = platform::largestWholeWindow(r.drawable, r.picture);
        EXPECT_EQ(std::pair(window.cx, window.cy), std::pair(r.window.cx, r.window.cy));
        const platform::Viewport v = platform::fitPicture(r.drawable, r.picture);
        EXPECT_EQ(v.placed.left, r.placed.left);
        EXPECT_EQ(v.placed.top, r.placed.top);
        EXPECT_EQ(v.placed.right, r.placed.right);
        EXPECT_EQ(v.placed.bottom, r.placed.bottom);
        EXPECT_EQ(v.wholeScale, r.wholeScale);
        EXPECT_EQ(v.enlarge, r.enlarge);
        const Point edges[] = {{0, 0}, {r.picture.cx - 1, r.picture.cy - 1}, {r.picture.cx / 2, 7}};
        for (Point p : edges) {
            const Point back = platform::toPicture(v, platform::fromPicture(v, p));
            EXPECT_EQ(std::pair(back.x, back.y), std::pair(p.x, p.y)) << "picture pixel " << p.x << "," << p.y;
        }
        const Point outside = platform::toPicture(v, Point{r.drawable.cx + 50, r.drawable.cy + 50});
        EXPECT_EQ(std::pair(outside.x, outside.y), std::pair(r.picture.cx - 1, r.picture.cy - 1));
    }
}

}  // namespace
