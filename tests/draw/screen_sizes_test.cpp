// A screen of any size, in a window or full screen: the primary, the back buffer and the shown
// frame all take the size asked for, the whole back buffer reaches the frame, and the pointer
// stays on the picture.
#include "draw/zu_draw.h"
#include "platform/os/window.h"
#include "platform/video/image_write.h"
#include "platform/video/surface.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace drawtest {
namespace {

using zuDraw::screenState;

class ScreenSizes : public FreshProgram {};

struct SizeCase {
    int32_t width, height;
    int32_t fullScreen;
};

TEST_F(ScreenSizes, PrimaryBackBufferFrameAndPointerTakeTheScreenSize) {
    const SizeCase cases[] = {{800, 600, 0}, {320, 240, 0}, {1024, 768, 0},
                              {800, 600, 1}, {320, 240, 1}, {640, 480, 0}};
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << (c.fullScreen ? " full screen" : " windowed"));
        zuDraw::Release();
        zuSystem::systemState.fullScreen = c.fullScreen;
        ASSERT_EQ(zuDraw::Screen(c.width, c.height, 1), 1);
        ASSERT_NE(screenState.primary, nullptr);
        EXPECT_EQ(screenState.primary->width, c.width);
        EXPECT_EQ(screenState.primary->height, c.height);
        EXPECT_EQ(screenState.back->width, c.width);
        EXPECT_EQ(screenState.back->height, c.height);

        // A distinct value in the bottom-right pixel of the back buffer must reach the frame.
        const uint32_t white = platform::pixelFromColor(screenState.back->format, RGB(255, 255, 255));
        platform::fill(*screenState.back, {0, 0, c.width, c.height}, 0);
        platform::fill(*screenState.back, {c.width - 1, c.height - 1, c.width, c.height}, white);
        zuDraw::Present();
        const platform::Surface* frame = platform::headless::lastFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->width, c.width);
        EXPECT_EQ(frame->height, c.height);
        const std::vector<uint32_t> pixels = platform::surfacePixels(*frame);
        EXPECT_EQ(pixels.back(), 0xFFFFFFu) << "the last pixel of the back buffer is shown";
        EXPECT_EQ(pixels.front(), 0u);

        platform::setCursorPos(100000, 100000);
        EXPECT_EQ(platform::cursorPos().x, c.width - 1);
        EXPECT_EQ(platform::cursorPos().y, c.height - 1);
    }
}

}  // namespace
}  // namespace drawtest
