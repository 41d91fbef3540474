// The drawing device at 640 x 480: small text (a golden, no capital a solid block), device results
// of fills and colour keys, a direction-0 transition step, and Release iconifying in full screen;
// screens of other sizes, whose primary, back buffer, shown frame and pointer take the size asked for.
#include <map>
#include <string>
#include <tuple>

#include "draw/zu_draw.h"
#include "platform/os/window.h"
#include "platform/video/image_write.h"
#include "platform/video/surface.h"
#include "platform/win32.h"
#include "support/fresh_program.h"
#include "support/golden.h"
#include "system/zu_system.h"

namespace {

using testsupport::Picture;
using zuDraw::screenState;

static_assert(DDERR_GENERIC < 0 && DDERR_SURFACELOST < 0, "callers test failures for a negative result");

class DrawDevice : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        zuDraw::Release();
        ASSERT_EQ(zuDraw::Screen(640, 480, 1), 1);
    }
};

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
    const Picture lines = testsupport::crop(testsupport::pictureOf(*screenState.back), {0, 0, 480, y + 1});
    EXPECT_TRUE(testsupport::matchesGolden("draw_text_small_sizes", lines));
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
                const Picture all = testsupport::crop(testsupport::pictureOf(*screenState.back), {0, 0, 32, 32});
                platform::Rect box{32, 32, 0, 0};
                for (int32_t y = 0; y < 32; ++y)
                    for (int32_t x = 0; x < 32; ++x)
                        if (all.at(x, y) != 0)
                            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                                   std::max(box.bottom, y + 1)};
                ASSERT_FALSE(box.empty()) << letter << " drew nothing";
                Picture& ink = letters[letter] = testsupport::crop(all, box);
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
    const int32_t object = zuDraw::CreateObject(32, 32, 2), unused = object + 1;
    EXPECT_EQ(zuDraw::ClearObject(object), DD_OK);
    EXPECT_EQ(zuDraw::ClearObject(unused), DDERR_GENERIC);
    EXPECT_EQ(zuDraw::SetObjectColorKey(object, RGB(255, 0, 0)), DD_OK);
    EXPECT_EQ(zuDraw::SetObjectColorKey(unused, RGB(255, 0, 0)), DDERR_GENERIC);
    EXPECT_EQ(zuDraw::SetObjectColorKeyFromPixel(unused), DDERR_GENERIC);
    EXPECT_EQ(zuDraw::CopyColorKey(object, 0), DD_OK);
    EXPECT_EQ(zuDraw::CopyColorKey(object, unused), DDERR_GENERIC);
}

// Kind 11 at step 5 of 10 wipes the left half with the captured frame.
TEST_F(DrawDevice, AStepWithDirectionZeroIsDrawnEveryFrame) {
    platform::Surface& captured = *zuDraw::objectTable[1].surface;
    platform::fill(captured, {0, 0, 640, 480}, platform::pixelFromColor(captured.format, RGB(255, 255, 255)));
    zuDraw::transitionState = {.kind = 11, .length = 10, .step = 5, .direction = 0};
    for (int frame = 0; frame < 3; ++frame) {
        SCOPED_TRACE(frame);
        ASSERT_EQ(zuDraw::ClearScreen(), DD_OK);
        zuDraw::Present();
        const Picture shown = testsupport::pictureOf(*screenState.back);
        EXPECT_EQ(std::pair(shown.at(319, 240), shown.at(320, 240)), std::pair(0xFFFFFFu, 0u));
        EXPECT_EQ(std::pair(zuDraw::transitionState.step, zuDraw::transitionState.direction), std::pair(5, 0));
    }
}

TEST_F(DrawDevice, ReleaseInFullScreenShowsTheWindowAsAnIcon) {
    const int32_t before = platform::headless::minimizeCount();
    zuDraw::Release();
    EXPECT_EQ(platform::headless::minimizeCount(), before + 1);
    EXPECT_EQ(screenState.ddraw, nullptr);
    zuDraw::Release();  // with nothing left to release, still
    EXPECT_EQ(platform::headless::minimizeCount(), before + 2);
    zuSystem::systemState.fullScreen = 0;
    ASSERT_EQ(zuDraw::Screen(640, 480, 1), 1);
    zuDraw::Release();
    EXPECT_EQ(platform::headless::minimizeCount(), before + 2);
}

// Windowed or full screen, the whole back buffer (its last pixel marked) reaches the frame.
TEST_F(DrawDevice, PrimaryBackBufferFrameAndPointerTakeTheScreenSize) {
    const struct { int32_t width, height, fullScreen; } cases[] = {
        {800, 600, 0}, {320, 240, 0}, {1024, 768, 0}, {800, 600, 1}, {320, 240, 1}, {640, 480, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << (c.fullScreen ? " full screen" : " windowed"));
        zuDraw::Release();
        zuSystem::systemState.fullScreen = c.fullScreen;
        ASSERT_EQ(zuDraw::Screen(c.width, c.height, 1), 1);
        ASSERT_NE(screenState.primary, nullptr);
        const auto size = std::tuple(c.width, c.height);
        EXPECT_EQ(std::tuple(screenState.primary->width, screenState.primary->height), size);
        EXPECT_EQ(std::tuple(screenState.back->width, screenState.back->height), size);
        const uint32_t white = platform::pixelFromColor(screenState.back->format, RGB(255, 255, 255));
        platform::fill(*screenState.back, {0, 0, c.width, c.height}, 0);
        platform::fill(*screenState.back, {c.width - 1, c.height - 1, c.width, c.height}, white);
        zuDraw::Present();
        const platform::Surface* frame = platform::headless::lastFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(std::tuple(frame->width, frame->height), size);
        const std::vector<uint32_t> pixels = platform::surfacePixels(*frame);
        EXPECT_EQ(std::pair(pixels.front(), pixels.back()), std::pair(0u, 0xFFFFFFu));
        platform::setCursorPos(100000, 100000);
        EXPECT_EQ(std::tuple(platform::cursorPos().x + 1, platform::cursorPos().y + 1), size);
    }
}

}  // namespace
