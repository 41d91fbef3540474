// The error report, the two formatted message boxes and the display-depth check.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "draw/zu_draw.h"
#include "platform/video/display.h"
#include "platform/os/message_box.h"
#include "platform/sjis.h"
#include "platform/win32.h"
#include "platform/os/window.h"
#include "sound/zu_sound.h"
#include "system/error_detail.h"
#include "system/zu_system.h"

namespace zuSystem {
namespace {

constexpr size_t textBytes = 256;

std::string triedPath;  // Shift-JIS, framework form; empty when the failure has no path

// "<caption>: <message>" and the path tried, in UTF-8 with '/', on one line of standard error.
void printReport(const char* caption, const char* message) {
    std::string line = platform::sjisToUtf8(caption ? caption : "") + ": " +
                       platform::sjisToUtf8(message ? message : "");
    if (!triedPath.empty()) {
        std::string path = platform::sjisToUtf8(triedPath);
        for (char& c : path)
            if (c == '\\') c = '/';
        line += " (tried \"" + path + "\")";
        triedPath.clear();
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

// Formats into a 256-byte text cut on a character boundary, leaving room for the line break.
void formatLine(char (&text)[textBytes], const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string full(length > 0 ? size_t(length) : 0, '\0');
    if (length > 0) std::vsnprintf(full.data(), full.size() + 1, format, args);
    size_t n = platform::sjisCopy(text, textBytes - 2, full);
    std::memcpy(text + n, "\r\n", 3);
}

int32_t showFormatted(uint32_t type, const char* format, va_list args) {
    char text[textBytes];
    formatLine(text, format, args);
    if (systemState.cursorShown == 0) {
        platform::showCursor(true);
        systemState.cursorShown = 1;
    }
    systemState.messageBoxOpen = 1;
    int32_t answer = platform::messageBox(systemState.window, text, "メッセージ", type);
    systemState.messageBoxOpen = 0;
    ResetClock();
    return answer;
}

// 8 -> 1, 16 -> 2, 24 or 32 -> 3, else 0.
int32_t depthIndex(int32_t depth) {
    switch (depth) {
    case 8: return 1;
    case 16: return 2;
    case 24:
    case 32: return 3;
    default: return 0;
    }
}

const char* depthQuestion(const char* settings) {
    if (settings[0] == '\0') return nullptr;
    return std::strcmp(settings, "*") == 0 ? "フルスクリーンに切り換えますか？"
                                           : "フルスクリーンに設定し直しますか？";
}

}  // namespace

void NoteTriedPath(const char* sjisPath) { triedPath = sjisPath ? sjisPath : ""; }

void NoteTriedEntry(const char* sjisPack, const char* entry) {
    if (sjisPack && sjisPack[0]) triedPath = std::string(sjisPack) + "\\" + (entry ? entry : "");
}

int32_t ReportError(const char* caption, const char* message, int32_t code) {
    (void)code;  // kept for the caller's reference, never shown
    printReport(caption, message);
    char text[textBytes];
    size_t n = platform::sjisCopy(text, sizeof text, caption);
    n += platform::sjisCopy(text + n, sizeof text - n, " : ");
    platform::sjisCopy(text + n, sizeof text - n, message);
    zuSound::Beep();
    platform::messageBox(systemState.window, text, "エラー発生", MB_SYSTEMMODAL | MB_ICONWARNING);
    systemState.errorRaised = 1;
    return 0;
}

int32_t HasError() { return systemState.errorRaised; }

int32_t QuitOnError() {
    if (systemState.errorRaised == 1) Quit();
    return systemState.errorRaised;
}

void Message(const char* format, ...) {
    va_list args;
    va_start(args, format);
    showFormatted(MB_SYSTEMMODAL | MB_ICONWARNING, format, args);
    va_end(args);
}

int32_t YesNo(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int32_t answer = showFormatted(MB_ICONQUESTION | MB_YESNO, format, args);
    va_end(args);
    return answer == IDYES ? 1 : 0;
}

int32_t DesktopBits() { return platform::desktopBits(); }

int32_t IsWindowed() { return systemState.fullScreen == 0 ? 1 : 0; }

int32_t CheckDisplayDepth(const char* settings) {
    static const char* const colourCounts[] = {"16", "256", "65536", "1670万"};
    int32_t depth = zuDraw::screenState.colorDepth;
    int32_t k = depthIndex(depth);
    if (k == 0 || systemState.fullScreen || DesktopBits() >= depth) return 1;
    Message("　ウィンドウ状態で実行しようとしていますが、"
            "画面が%s色以下に設定されています。\n"
            "正しく動作させるには、%s色以上に設定するか、"
            "フルスクリーンで実行させて下さい。",
            colourCounts[k - 1], colourCounts[k]);
    const char* question = depthQuestion(settings);
    if (!question || YesNo("%s", question) == 0) {
        Quit();
        return 0;
    }
    if (std::strcmp(settings, "*") != 0) WriteNumber(settings, 1);
    systemState.fullScreen = 1;
    return 1;
}

}  // namespace zuSystem
