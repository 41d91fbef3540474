// Golden pictures of the drawing core: every transition kind at its first, a middle and its
// last step over two known pictures; the loading line and text boxes; the clip examples.
#include <cstdio>
#include <cstdlib>

#include "draw/draw_fixture.h"
#include "support/golden.h"
#include "system/zu_system.h"

namespace drawtest {
namespace {

using testsupport::Picture;
using zuDraw::objectTable;
using zuDraw::transitionState;

class DrawGolden : public DrawTest {
protected:
    platform::Surface& back() { return *zuDraw::screenState.back; }
    Picture backPicture() { return testsupport::pictureOf(back()); }

    // The new scene: horizontal bands; the old frame (object 1): vertical bars and a stripe.
    void drawNewScene() {
        static const uint32_t bands[] = {0x203060, 0x306020, 0x602030, 0x404040, 0x205050, 0x502050};
        for (int32_t i = 0; i < 6; ++i) paint(back(), bands[i], {0, i * 8, 64, i * 8 + 8});
    }
    void drawOldFrame() {
        static const uint32_t bars[] = {0xFF0000, 0xFF8000, 0xFFFF00, 0x00FF00,
                                        0x00FFFF, 0x0080FF, 0xFF00FF, 0xFFFFFF};
        platform::Surface& old = *objectTable[1].surface;
        for (int32_t i = 0; i < 8; ++i) paint(old, bars[i], {i * 8, 0, i * 8 + 8, 48});
        paint(old, 0x000080, {0, 20, 64, 26});
    }
    // Ten 64 x 48 frames of growing white squares on the black key.
    void makeCoverPattern() {
        int32_t sheet = zuDraw::CreateObject(640, 48, 2);
        for (int32_t f = 0; f < 10; ++f) {
            int32_t half = 2 + f * 2;
            paint(*objectTable[sheet].surface, 0xE0E0E0, {f * 64 + 32 - half * 3 / 2, 24 - half, f * 64 + 32 + half * 3 / 2, 24 + half});
        }
        transitionState.coverPattern = sheet;
    }
    Picture frameAtStep(int32_t kind, int32_t length, int32_t step, int32_t direction) {
        transitionState.kind = kind;
        transitionState.length = length;
        transitionState.step = step;
        transitionState.direction = direction;
        drawNewScene();
        zuDraw::Present();
        return backPicture();
    }
};

TEST_F(DrawGolden, EveryTransitionKind) {
    ASSERT_EQ(startScreen(64, 48), 1);
    zuDraw::SetVBlankWait(0);
    drawOldFrame();
    makeCoverPattern();
    constexpr int32_t length = 8;
    for (int32_t kind = 0; kind <= 13; ++kind) {
        std::srand(7);
        std::vector<Picture> steps;
        if (kind == 0) {
            for (int32_t s : {1, 5, 10}) steps.push_back(frameAtStep(kind, length, s, 1));
        } else {
            for (int32_t s : {length, length / 2, 1}) steps.push_back(frameAtStep(kind, length, s, -1));
        }
        char name[40];
        std::snprintf(name, sizeof name, "draw_transition_kind%02d", kind);
        EXPECT_TRUE(testsupport::matchesGolden(name, testsupport::besideEachOther(steps)));
    }
}

TEST_F(DrawGolden, LoadingLineAndTextBoxes) {
    ASSERT_EQ(startScreen(640, 480), 1);
    zuDraw::ClearScreen();
    zuSystem::PrintText(292, 235, "NOW LOADING", RGB(255, 255, 255), 10);
    EXPECT_TRUE(testsupport::matchesGolden("draw_text_now_loading", testsupport::crop(backPicture(), {284, 228, 380, 256})));

    zuDraw::WhiteScreen();
    zuDraw::BeginText(1, 16, 0, 0, 0, 0);
    zuDraw::SetTextColors(RGB(0, 0, 0), RGB(255, 255, 0), 0);
    for (int32_t alignment = 0; alignment < 3; ++alignment)
        zuDraw::DrawTextBox(10, 10 + alignment * 24, 210, 30 + alignment * 24, "Box text", alignment);
    zuDraw::SetTextColors(RGB(0, 0, 128), RGB(255, 255, 255), 1);
    zuDraw::DrawTextBox(10, 90, 130, 200, "日本語の文章を折り返して表示します。", 0);
    zuDraw::EndText();
    EXPECT_TRUE(testsupport::matchesGolden("draw_text_boxes", testsupport::crop(backPicture(), {0, 0, 220, 170})));
}

TEST_F(DrawGolden, ClipExamples) {
    ASSERT_EQ(startScreen(640, 480), 1);
    int32_t sprite = zuDraw::CreateObject(64, 48, 2);
    for (int32_t x = 0; x < 64; x += 4)
        paint(*objectTable[sprite].surface, 0x10C000u + uint32_t(x) * 0x030001u, {x, 0, x + 4, 48});
    paint(*objectTable[sprite].surface, 0x000000, {24, 16, 40, 32});  // keyed hole
    zuDraw::FillRect(0, 0, 640, 480, 0x8410);  // mid grey
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
    Picture all = backPicture();
    Picture top = testsupport::besideEachOther({testsupport::crop(all, {0, 0, 64, 64}),
                                                testsupport::crop(all, {576, 0, 640, 64})});
    Picture middle = testsupport::besideEachOther({testsupport::crop(all, {70, 70, 230, 230}),
                                                   testsupport::crop(all, {290, 290, 410, 410})});
    EXPECT_TRUE(testsupport::matchesGolden("draw_clip_examples", testsupport::aboveEachOther({top, middle})));
}

}  // namespace
}  // namespace drawtest
