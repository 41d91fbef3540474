// The self-drawn message box: its Japanese texts in the gothic face (golden, looked at), the
// answer of each key and click, and wrapping to the room it has.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sdl/message_box_view.h"
#include "platform/win32.h"
#include "support/golden.h"

namespace {

using platform::MessageBoxView;

// The box takes UTF-8; this file's plain literals are Shift-JIS.
std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

const std::string errorText = utf8(u8"zuDraw::LoadObject : BMPファイルを読み込めません");
const std::string depthText =
    utf8(u8"　ウィンドウ状態で実行しようとしていますが、画面が256色以下に設定されています。\n"
         u8"正しく動作させるには、65536色以上に設定するか、フルスクリーンで実行させて下さい。\r\n");

platform::Point middleOf(platform::Rect r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

TEST(MessageBoxViewGolden, ErrorAndQuestionBoxesShowTheirTextsAndButtons) {
    MessageBoxView error(errorText, utf8(u8"エラー発生"), MB_SYSTEMMODAL | MB_ICONWARNING);
    MessageBoxView question(utf8(u8"フルスクリーンに切り換えますか？\r\n"), utf8(u8"メッセージ"),
                            MB_ICONQUESTION | MB_YESNO);
    ASSERT_TRUE(error.drawn() && question.drawn());
    EXPECT_TRUE(testsupport::matchesGolden(
        "message_boxes", testsupport::besideEachOther({testsupport::pictureOf(error.picture()),
                                                       testsupport::pictureOf(question.picture())})));
}

TEST(MessageBoxView, ALongTextWrapsToTheRoomGiven) {
    MessageBoxView roomy(depthText, "caption", MB_ICONINFORMATION), narrow(depthText, "caption", MB_ICONINFORMATION, 1, 400);
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
    platform::Rect yes = box.buttonArea(IDYES), no = box.buttonArea(IDNO);
    ASSERT_FALSE(yes.empty() || no.empty());
    EXPECT_LT(yes.right, no.left) << "Yes stands left of No";
    EXPECT_EQ(box.buttonAt(middleOf(yes)), IDYES);
    EXPECT_EQ(box.buttonAt(middleOf(no)), IDNO);
    EXPECT_EQ(box.buttonAt({no.right, no.top}), 0);
    EXPECT_EQ(box.buttonAt({1, 1}), 0) << "the caption bar is no button";

    // The focus ring follows Tab: the picture is painted again.
    auto edge = [&](platform::Rect r) { return testsupport::pictureOf(box.picture()).at(r.left, middleOf(r).y); };
    uint32_t focusedEdge = edge(yes), plainEdge = edge(no);
    EXPECT_NE(focusedEdge, plainEdge);
    box.key(VK_TAB);
    EXPECT_EQ(edge(no), focusedEdge);
    EXPECT_EQ(edge(yes), plainEdge);
}
