// What the SDL backend draws itself: the picture of any size fitted into a window between bars with
// positions mapped back and clamped, and the self-drawn message box with its Japanese texts in the
// gothic face (golden, looked at), the answer of each key and click, and wrapping to its room.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/sdl/message_box_view.h"
#include "platform/sdl/sdl_viewport.h"
#include "platform/win32.h"
#include "support/golden.h"

using namespace platform;

namespace {

// The box takes UTF-8; this file's plain literals are Shift-JIS.
std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

Point middleOf(Rect r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TEST(MessageBoxViewGolden, ErrorAndQuestionBoxesShowTheirTextsAndButtons) {
    MessageBoxView error(utf8(u8"zuDraw::LoadObject : BMPファイルを読み込めません"), utf8(u8"エラー発生"),
                         MB_SYSTEMMODAL | MB_ICONWARNING);
    MessageBoxView question(utf8(u8"フルスクリーンに切り換えますか？\r\n"), utf8(u8"メッセージ"),
                            MB_ICONQUESTION | MB_YESNO);
    ASSERT_TRUE(error.drawn() && question.drawn());
    EXPECT_TRUE(testsupport::matchesGolden(
        "message_boxes", testsupport::besideEachOther({testsupport::pictureOf(error.picture()),
                                                       testsupport::pictureOf(question.picture())})));
}

TEST(MessageBoxView, ALongTextWrapsToTheRoomGiven) {
    const std::string text = utf8(u8"　ウィンドウ状態で実行しようとしていますが、画面が256色以下に設定されています。\n"
                                  u8"正しく動作させるには、65536色以上に設定するか、フルスクリーンで実行させて下さい。\r\n");
    MessageBoxView roomy(text, "caption", MB_ICONINFORMATION), narrow(text, "caption", MB_ICONINFORMATION, 1, 400);
    ASSERT_TRUE(roomy.drawn() && narrow.drawn());
    EXPECT_GT(roomy.picture().width, 400);
    EXPECT_LE(narrow.picture().width, 400);
    EXPECT_GT(narrow.picture().height, roomy.picture().height) << "more lines";
}

TEST(MessageBoxView, KeysAndClicksGiveTheAnswersOfTheirButtons) {
    struct Case { uint32_t type; std::vector<int32_t> keys; int32_t answer; };
    const Case cases[] = {
        {MB_OK, {VK_RETURN}, IDOK}, {MB_OK, {VK_SPACE}, IDOK}, {MB_OK, {VK_ESCAPE}, IDOK},
        {MB_OK, {'Y'}, 0}, {MB_OK, {VK_TAB, VK_RETURN}, IDOK},
        {MB_YESNO, {VK_RETURN}, IDYES}, {MB_YESNO, {VK_SPACE}, IDYES}, {MB_YESNO, {VK_ESCAPE}, IDNO},
        {MB_YESNO, {VK_TAB, VK_RETURN}, IDNO}, {MB_YESNO, {VK_RIGHT, VK_RIGHT, VK_RETURN}, IDYES},
        {MB_YESNO, {VK_LEFT, VK_SPACE}, IDNO}, {MB_YESNO, {VK_TAB, 'Y'}, IDYES}, {MB_YESNO, {'N'}, IDNO},
        {MB_YESNO, {'A', VK_SHIFT}, 0},
        {MB_OKCANCEL, {VK_RETURN}, IDOK}, {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
    };
    for (const Case& c : cases) {
        MessageBoxView box("text", "caption", c.type | MB_ICONWARNING);
        int32_t answer = 0;
        for (int32_t k : c.keys) answer = answer ? answer : box.key(k);
        EXPECT_EQ(answer, c.answer) << "type " << c.type << ", first key " << c.keys[0];
    }

    MessageBoxView box("text", "caption", MB_YESNO | MB_ICONQUESTION);
    Rect yes = box.buttonArea(IDYES), no = box.buttonArea(IDNO);
    ASSERT_FALSE(yes.empty() || no.empty());
    EXPECT_LT(yes.right, no.left) << "Yes stands left of No";
    // The middles of the buttons, just past No's edge, and the caption bar.
    EXPECT_EQ((std::vector{box.buttonAt(middleOf(yes)), box.buttonAt(middleOf(no)), box.buttonAt({no.right, no.top}),
                           box.buttonAt({1, 1})}),
              (std::vector{IDYES, IDNO, 0, 0}));

    // The focus ring follows Tab: the picture is painted again.
    auto edge = [&](Rect r) { return testsupport::pictureOf(box.picture()).at(r.left, middleOf(r).y); };
    uint32_t focusedEdge = edge(yes), plainEdge = edge(no);
    EXPECT_NE(focusedEdge, plainEdge);
    box.key(VK_TAB);
    EXPECT_EQ(std::pair(edge(no), edge(yes)), std::pair(focusedEdge, plainEdge));
}

// Any picture size: the largest whole multiple as the window, its place between bars, whether it
// scales sharp straight on, and its edges surviving the round trip and clamping from outside.
TEST(Viewport, FitsBetweenBarsKnowsWhenTheScaleIsWholeAndSizesTheWindowByWholeMultiples) {
    struct Row { Size picture, drawable, window; Rect placed; bool whole; int32_t enlarge; };
    // 1.6 times the picture is enlarged to 2 first; below its size it is smoothed straight down.
    for (const Row& r : {Row{{640, 480}, {1366, 768}, {640, 480}, {171, 0, 1195, 768}, false, 2},
                         Row{{640, 480}, {1280, 960}, {1280, 960}, {0, 0, 1280, 960}, true, 2},
                         Row{{640, 480}, {1920, 1080}, {1280, 960}, {240, 0, 1680, 1080}, false, 3},
                         Row{{640, 480}, {640, 1000}, {640, 480}, {0, 260, 640, 740}, true, 1},
                         Row{{640, 480}, {320, 240}, {640, 480}, {0, 0, 320, 240}, false, 1},
                         Row{{800, 600}, {1366, 768}, {800, 600}, {171, 0, 1195, 768}, false, 2},
                         Row{{800, 600}, {1600, 1200}, {1600, 1200}, {0, 0, 1600, 1200}, true, 2},
                         Row{{320, 240}, {960, 720}, {960, 720}, {0, 0, 960, 720}, true, 3},
                         Row{{320, 240}, {1366, 768}, {960, 720}, {171, 0, 1195, 768}, false, 4},
                         Row{{1024, 768}, {800, 600}, {1024, 768}, {0, 0, 800, 600}, false, 1}}) {
        SCOPED_TRACE(testing::Message() << r.picture.cx << "x" << r.picture.cy << " in " << r.drawable.cx << "x"
                                        << r.drawable.cy);
        const Size window = largestWholeWindow(r.drawable, r.picture);
        EXPECT_EQ(std::pair(window.cx, window.cy), std::pair(r.window.cx, r.window.cy));
        Viewport v = fitPicture(r.drawable, r.picture);
        EXPECT_EQ((std::array{v.placed.left, v.placed.top, v.placed.right, v.placed.bottom}),
                  (std::array{r.placed.left, r.placed.top, r.placed.right, r.placed.bottom}));
        EXPECT_EQ(std::pair(v.wholeScale, v.enlarge), std::pair(r.whole, r.enlarge));
        // Shrunk to half, two pixels share one: the round trip is held only to 1 pixel (below).
        for (Point p : {Point{0, 0}, Point{r.picture.cx - 1, r.picture.cy - 1}, Point{r.picture.cx / 2, 7}}) {
            if (v.placed.width() * 2 <= r.picture.cx) break;
            const Point back = toPicture(v, fromPicture(v, p));
            EXPECT_EQ(std::pair(back.x, back.y), std::pair(p.x, p.y)) << "picture pixel " << p.x << "," << p.y;
        }
        const Point outside = toPicture(v, Point{r.drawable.cx + 50, r.drawable.cy + 50});
        EXPECT_EQ(std::pair(outside.x, outside.y), std::pair(r.picture.cx - 1, r.picture.cy - 1));
    }
    Viewport none = fitPicture(Size{0, 0});
    EXPECT_TRUE(none.placed.empty());
    EXPECT_EQ(toPicture(none, Point{5, 5}).x, 0);
    // The window for a work area: the largest whole multiple that fits, at least one.
    for (auto [w, h, times] : {std::tuple(1366, 738, 1), {1920, 1050, 2}, {2560, 1400, 2}, {600, 400, 1}}) {
        Size s = largestWholeWindow(Size{w, h});
        EXPECT_EQ(std::pair(s.cx, s.cy), std::pair(640 * times, 480 * times)) << w << "x" << h;
    }
}

TEST(Viewport, PositionsMapBackIntoThePictureOverTheBarsClampToItsEdgeAndEveryPixelSurvivesTheRoundTrip) {
    Viewport v = fitPicture(Size{1366, 768});  // the picture spans x 171 to 1194
    // {window x, y, picture x, y}: centre, corners, left and right bar, far outside.
    const int32_t cases[][4] = {{683, 384, 320, 240}, {171, 0, 0, 0},       {1194, 767, 639, 479},
                                {10, 400, 0, 250},    {1300, 400, 639, 250}, {-50, -50, 0, 0}};
    for (const auto& c : cases) {
        Point p = toPicture(v, Point{c[0], c[1]});
        EXPECT_EQ(std::pair(p.x, p.y), std::pair(c[2], c[3])) << c[0] << "," << c[1];
    }
    for (Size s : {Size{1366, 768}, Size{1920, 1080}, Size{1280, 1024}, Size{800, 600},
                   Size{2560, 1440}, Size{640, 480}, Size{500, 500}}) {
        v = fitPicture(s);
        for (int32_t x = 0; x < 640; ++x) {
            Point back = toPicture(v, fromPicture(v, Point{x, x * 479 / 639}));
            if (s.cx >= 640) ASSERT_EQ(back.x, x) << s.cx << "x" << s.cy;
            else ASSERT_LE(std::abs(back.x - x), 1) << s.cx << "x" << s.cy;
        }
    }
}

}  // namespace
