// Copies and fills at the edges: the clip rectangle (also into objects), fills beyond the
// surface, HalfRect's arithmetic and its refusal when the back buffer cannot be locked.
#include "draw/draw_fixture.h"
#include "platform/headless.h"
#include "platform/video/image_write.h"

namespace drawtest {
namespace {

using zuDraw::objectTable;
using zuDraw::screenState;

class DrawBlits : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        ASSERT_EQ(startScreen(640, 480), 1);
        sprite = zuDraw::CreateObject(64, 48, 2);
        // Column x of the sprite is grey level 4x, so a drawn pixel tells its source column.
        for (int32_t x = 0; x < 64; ++x) paint(*objectTable[sprite].surface, 0x040404u * x, {x, 0, x + 1, 48});
    }
    int32_t sprite = 0;
    platform::Surface& back() { return *screenState.back; }
    uint32_t column(int32_t x) { return shown(back().format, 0x040404u * x); }
};

TEST_F(DrawBlits, CopiesAreCutByTheClipRectangle) {
    paint(back(), 0xFFFFFF);
    zuDraw::BlitOpaque(-10, 0, sprite, 0, 0, 64, 48);
    EXPECT_EQ(pixelAt(back(), 0, 10), column(10));  // source column 10
    EXPECT_EQ(pixelAt(back(), 53, 10), column(63));
    EXPECT_EQ(pixelAt(back(), 54, 10), 0xFFFFFFu);

    zuDraw::BlitOpaque(600, 100, sprite, 0, 0, 64, 48);
    EXPECT_EQ(pixelAt(back(), 639, 110), column(39));  // column 39 is the last

    paint(back(), 0xFFFFFF);
    zuDraw::BlitOpaque(-70, 0, sprite, 0, 0, 64, 48);  // wholly left: nothing
    EXPECT_EQ(pixelAt(back(), 0, 0), 0xFFFFFFu);

    zuDraw::SetClip(100, 100, 200, 200);
    zuDraw::BlitOpaque(80, 80, sprite, 0, 0, 64, 48);
    zuDraw::BlitOpaque(180, 180, sprite, 0, 0, 64, 48);
    EXPECT_EQ(pixelAt(back(), 99, 110), 0xFFFFFFu);
    EXPECT_EQ(pixelAt(back(), 100, 110), column(20));  // column 20
    EXPECT_EQ(pixelAt(back(), 199, 199), column(19));
    EXPECT_EQ(pixelAt(back(), 200, 199), 0xFFFFFFu);

    int32_t target = zuDraw::CreateObject(300, 300, 2);
    paint(*objectTable[target].surface, 0xFFFFFF);
    zuDraw::BlitOpaqueToObject(target, 0, 150, sprite, 0, 0, 64, 48);
    EXPECT_EQ(pixelAt(*objectTable[target].surface, 20, 160), 0xFFFFFFu);   // left of the clip
    EXPECT_EQ(pixelAt(*objectTable[target].surface, 30, 160), 0xFFFFFFu);
    zuDraw::BlitToObject(target, 120, 120, sprite, 0, 0, 64, 48);
    EXPECT_EQ(pixelAt(*objectTable[target].surface, 130, 130), column(10));
    EXPECT_EQ(pixelAt(*objectTable[target].surface, 120, 130), 0xFFFFFFu);  // key: black column 0
}

TEST_F(DrawBlits, FillsStayOnTheSurface) {
    EXPECT_EQ(zuDraw::FillRect(-50, -50, 5000, 5000, 0x1234), 0);
    EXPECT_EQ(pixelAt(back(), 639, 479), platform::surfacePixels(back())[0]);
    EXPECT_EQ(zuDraw::WhiteScreen(), 0);
    EXPECT_EQ(zuDraw::FrameRect(0, 0, 640, 480), 0);
    EXPECT_EQ(pixelAt(back(), 0, 240), 0u);
    EXPECT_EQ(pixelAt(back(), 639, 0), 0u);
    EXPECT_EQ(pixelAt(back(), 1, 1), 0xFFFFFFu);
}

TEST_F(DrawBlits, HalfRectBlendsInsideClipAndSurface) {
    paint(back(), 0xFFFFFF);
    zuDraw::SetClip(-100, -100, 5000, 5000);
    EXPECT_EQ(zuDraw::HalfRect(-100, -100, 5000, 5000, 0), 1);
    EXPECT_EQ(pixelAt(back(), 639, 479), 0x7B7D7Bu);  // 0xFFFF halved: 0x7BEF
    zuDraw::SetClip(0, 0, 640, 480);
    EXPECT_EQ(zuDraw::HalfRect(10, 10, 20, 20, 0xF800), 1);
    EXPECT_EQ(pixelAt(back(), 10, 10), 0xB53C39u);  // (15, 31, 15) halved plus red 15
    EXPECT_EQ(zuDraw::HalfRect(50, 50, 40, 60, 0), 1);  // inverted: untouched
    platform::headless::failNextLocks(1);
    EXPECT_EQ(zuDraw::HalfRect(0, 0, 10, 10, 0), 0);
}

}  // namespace
}  // namespace drawtest
