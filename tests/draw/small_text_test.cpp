// Small text stays legible: Latin and Japanese lines at 8 to 16 pixels in both standard faces,
// regular and bold, against a golden; no capital at the loading line's size is a solid block, and
// the letters that monochrome rendering once filled stay apart from each other.
#include <map>
#include <string>
#include <vector>

#include "draw/zu_draw.h"
#include "support/fresh_program.h"
#include "support/golden.h"

namespace drawtest {
namespace {

using testsupport::Picture;

constexpr int32_t gothic = 1, mincho = 0;
constexpr int32_t regular = 0, bold = 1;

class SmallText : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        zuDraw::Release();
        ASSERT_EQ(zuDraw::Screen(640, 480, 1), 1);
    }
    Picture backPicture() { return testsupport::pictureOf(*zuDraw::screenState.back); }

    // One capital, white on black, as grey levels 0..255 cropped to its ink box.
    Picture capital(int32_t face, int32_t weight, char letter) {
        zuDraw::ClearScreen();
        zuDraw::BeginText(face, 10, 0, weight, 0, 0);
        zuDraw::SetTextColors(RGB(255, 255, 255), RGB(0, 0, 0), 1);
        char text[2] = {letter, 0};
        zuDraw::PutText(8, 8, text);
        zuDraw::EndText();
        Picture all = testsupport::crop(backPicture(), {0, 0, 32, 32});
        platform::Rect box{32, 32, 0, 0};
        for (int32_t y = 0; y < all.height; ++y)
            for (int32_t x = 0; x < all.width; ++x)
                if (all.at(x, y) != 0)
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
        if (box.empty()) return {};
        Picture ink = testsupport::crop(all, box);
        for (uint32_t& p : ink.xrgb) p = p >> 8 & 0xFF;  // the green channel, the finest in 565
        return ink;
    }
};

TEST_F(SmallText, LinesAtEverySmallSizeInBothFacesMatchTheGolden) {
    zuDraw::WhiteScreen();
    int32_t y = 2;
    for (int32_t face : {gothic, mincho})
        for (int32_t size : {8, 10, 12, 16})
            for (int32_t weight : {regular, bold}) {
                zuDraw::BeginText(face, size, 0, weight, 0, 0);
                zuDraw::SetTextColors(RGB(0, 0, 0), RGB(255, 255, 255), 1);
                zuDraw::PutText(4, y, "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789");
                zuDraw::PutText(4, y + size, "abcdefghijklmnopqrstuvwxyz 日本語の文章を表示します。");
                zuDraw::EndText();
                y += 2 * size + 1;
            }
    EXPECT_TRUE(testsupport::matchesGolden("draw_text_small_sizes", testsupport::crop(backPicture(), {0, 0, 480, y + 1})));
}

// A capital four pixels wide or more has a pixel strictly inside its ink box that is nearer the
// background than the ink: a counter, a gap between strokes or a diagonal's side. Narrower ones
// (I) are a single stem.
TEST_F(SmallText, NoCapitalAtTheLoadingSizeIsASolidBlockAndLookAlikesDiffer) {
    for (int32_t face : {gothic, mincho})
        for (int32_t weight : {regular, bold}) {
            std::map<char, Picture> letters;
            for (char letter = 'A'; letter <= 'Z'; ++letter) {
                Picture ink = capital(face, weight, letter);
                ASSERT_GT(ink.width, 0) << letter << " drew nothing";
                letters[letter] = ink;
                if (ink.width < 4) continue;
                bool open = false;
                for (int32_t y = 1; y + 1 < ink.height; ++y)
                    for (int32_t x = 1; x + 1 < ink.width; ++x) open = open || ink.at(x, y) < 128;
                EXPECT_TRUE(open) << letter << " in face " << face << ", weight " << weight << " is a filled "
                                  << ink.width << " x " << ink.height << " block";
            }
            const std::string alike = "NMWHB";
            for (size_t i = 0; i < alike.size(); ++i)
                for (size_t j = i + 1; j < alike.size(); ++j) {
                    const Picture &a = letters[alike[i]], &b = letters[alike[j]];
                    EXPECT_FALSE(a.width == b.width && a.height == b.height && a.xrgb == b.xrgb)
                        << alike[i] << " and " << alike[j] << " look the same in face " << face << ", weight " << weight;
                }
        }
}

}  // namespace
}  // namespace drawtest
