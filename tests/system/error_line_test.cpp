// Each error report writes one line to standard error naming the operation, its message and the
// path it tried, while the box keeps its text.
#include <gtest/gtest.h>

#include <string>

#include "draw/zu_draw.h"
#include "platform/headless.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

class ErrorLine : public FreshProgram {};

int linesStartingWith(const std::string& text, const std::string& start) {
    int n = 0;
    for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        if (text.compare(at, start.size(), start) == 0) ++n;
        if (text.find('\n', at) == std::string::npos) break;
    }
    return n;
}

TEST_F(ErrorLine, NamesTheOperationAndThePathTriedOnceAndLeavesTheBoxAsItWas) {
    const std::string folder = programFolder.string();
    struct Case {
        const char* what;
        int32_t (*fail)();
        std::string line;  // the whole standard-error line
        std::string box;
    } cases[] = {
        {"missing picture", [] { return zuDraw::LoadObject("BMP\\NOPE.BMP", 0); },
         "zuDraw::LoadObject: " + utf8(u8"BMPファイルを読み込めません") + " (tried \"" + folder + "/BMP/NOPE.BMP\")",
         utf8(u8"エラー発生: zuDraw::LoadObject : BMPファイルを読み込めません")},
        {"name too long, no path", [] { return zuDraw::LoadObject("0123456789012345678901234567890123", 0); },
         "zuDraw::LoadObject: " + utf8(u8"ファイル名またはリソース名が長すぎます"),
         utf8(u8"エラー発生: zuDraw::LoadObject : ファイル名またはリソース名が長すぎます")},
    };
    for (const Case& c : cases) {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(c.fail(), 0) << c.what;
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(linesStartingWith(err, "zuDraw::LoadObject:"), 1) << c.what << err;
        EXPECT_NE(err.find(c.line + "\n"), std::string::npos) << c.what << "\n" << err;
        EXPECT_EQ(platform::headless::lastMessageBox(), c.box) << c.what;
    }
}

}  // namespace
