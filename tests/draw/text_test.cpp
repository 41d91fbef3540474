// Text runs: the shared font record each begin fills, the listed character sets, runs that are
// begun twice, and boxes with an alignment that draws nothing.
#include <cstring>

#include "draw/draw_fixture.h"
#include "platform/text/draw_context.h"
#include "platform/video/image_write.h"

namespace drawtest {
namespace {

class DrawText : public DrawTest {};

TEST_F(DrawText, BeginFillsTheSharedFontRecord) {
    ASSERT_EQ(startScreen(640, 480), 1);
    zuDraw::BeginText(1, 12, 0, 0, 0, 0);
    const platform::LogFont* font = zuDraw::textState.logFont;  // one record for every run
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(font->lfFaceName, "標準ゴシック");
    EXPECT_EQ(font->lfHeight, 12);
    EXPECT_EQ(font->lfWeight, 400);
    EXPECT_EQ(font->lfCharSet, 128);
    zuDraw::BeginText(2, 12, 90, 1, 1, 0);  // a second begin ends the first run
    EXPECT_STREQ(font->lfFaceName, "Arial");
    EXPECT_EQ(font->lfWeight, 700);
    EXPECT_EQ(font->lfEscapement, 900);
    EXPECT_EQ(font->lfItalic, 1);
    zuDraw::BeginTextFace("No Such Face", 12, 0, 2, 0, 0);
    EXPECT_EQ(font->lfWeight, 0);
    EXPECT_EQ(font->lfCharSet, 128);
    for (int32_t i = 0; i < zuDraw::fontList.count; ++i) {
        if (zuDraw::fontList.entries[i].charSet != 0) continue;
        zuDraw::BeginBufferTextFace(zuDraw::fontList.entries[i].faceName, 8);
        EXPECT_EQ(font->lfCharSet, 0);
        EXPECT_EQ(font->lfHeight, 16);
        break;
    }
    zuDraw::EndBufferText();
    EXPECT_EQ(platform::gdiCounts().contexts, 0);
    EXPECT_EQ(platform::gdiCounts().fonts, 0);
}

TEST_F(DrawText, BoxesAndTheirMeasure) {
    ASSERT_EQ(startScreen(640, 480), 1);
    zuDraw::ClearScreen();
    std::vector<uint32_t> before = platform::surfacePixels(*zuDraw::screenState.back);
    zuDraw::BeginText(1, 16, 0, 0, 0, 0);
    zuDraw::SetTextColors(RGB(255, 255, 255), RGB(0, 0, 128), 0);
    zuDraw::DrawTextBox(0, 0, 200, 100, "text", 3);
    EXPECT_EQ(platform::surfacePixels(*zuDraw::screenState.back), before);
    int32_t height = zuDraw::MeasureTextBox(0, 0, 60, 10, "日本語の文章を折り返して表示します。");
    EXPECT_GT(height, 16);
    EXPECT_EQ(zuDraw::textState.measuredBox.bottom, height);
    zuDraw::EndText();
}

}  // namespace
}  // namespace drawtest
