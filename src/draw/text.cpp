// Text runs on the back buffer or the font buffer (object 3): a begin fills the shared font
// record, makes the font and takes the surface's context; colours, strings and boxes follow; the
// end gives both back. A begin while a run is open ends that run first.
#include <cstring>

#include "draw/draw_internal.h"
#include "platform/text/draw_context.h"
#include "platform/sjis.h"
#include "platform/win32.h"
#include "system/zu_system.h"

namespace zuDraw {

namespace {

constexpr int32_t fontBuffer = 3;

const char* faceOfNumber(int32_t face) {
    if (face == 0) return "標準明朝";
    if (face == 1) return "標準ゴシック";
    return "Arial";
}

int32_t weightOf(int32_t weight) {
    if (weight == 0) return FW_NORMAL;
    if (weight == 1) return FW_BOLD;
    return 0;
}

// The listed character set of a face named exactly so; Shift-JIS when it is not listed.
uint8_t charSetOfFace(const char* faceName) {
    for (int32_t i = 0; i < fontList.count; ++i)
        if (std::strcmp(fontList.entries[i].faceName, faceName) == 0) return fontList.entries[i].charSet;
    return SHIFTJIS_CHARSET;
}

platform::LogFont& sharedLogFont() {
    if (!textState.logFont) textState.logFont = new platform::LogFont{};
    return *textState.logFont;
}

struct FontRequest {
    const char* face;
    int32_t height, escapement, weight;
    uint8_t italic, underline, charSet;
};

void endRun() {
    TextState& t = textState;
    if (t.dc) {
        platform::selectFont(t.dc, t.previousFont);
        platform::releaseDC(t.dc);
    }
    if (t.currentFont) platform::deleteFont(t.currentFont);
    t.dc = nullptr;
    t.currentFont = nullptr;
    t.previousFont = nullptr;
}

void beginRun(const FontRequest& request, platform::Surface* surface) {
    endRun();
    platform::LogFont& f = sharedLogFont();
    platform::sjisCopy(f.lfFaceName, sizeof f.lfFaceName, request.face ? request.face : "");
    f.lfHeight = request.height;
    f.lfWidth = 0;
    f.lfEscapement = request.escapement;
    f.lfWeight = request.weight;
    f.lfItalic = request.italic;
    f.lfUnderline = request.underline;
    f.lfCharSet = request.charSet;
    TextState& t = textState;
    t.currentFont = platform::createFont(f);
    t.dc = surface ? platform::getDC(*surface) : nullptr;
    if (t.dc) t.previousFont = platform::selectFont(t.dc, t.currentFont);
    t.currentHeight = request.height;
}

FontRequest screenFont(const char* face, uint8_t charSet, int32_t height, int32_t angle,
                       int32_t weight, int32_t italic, int32_t underline) {
    return {face, height, angle * 10, weightOf(weight), uint8_t(italic), uint8_t(underline), charSet};
}

FontRequest bufferFont(const char* face, uint8_t charSet, int32_t size) {
    return {face, 2 * size, 0, FW_NORMAL, 0, 0, charSet};
}

int32_t lengthOf(const char* text) { return text ? int32_t(std::strlen(text)) : 0; }

}  // namespace

void BeginText(int32_t face, int32_t height, int32_t angle, int32_t weight, int32_t italic,
               int32_t underline) {
    beginRun(screenFont(faceOfNumber(face), SHIFTJIS_CHARSET, height, angle, weight, italic, underline),
             screenState.back);
}

void BeginTextFace(const char* faceName, int32_t height, int32_t angle, int32_t weight,
                   int32_t italic, int32_t underline) {
    const char* face = faceName ? faceName : "";
    beginRun(screenFont(face, charSetOfFace(face), height, angle, weight, italic, underline),
             screenState.back);
}

void BeginBufferText(int32_t face, int32_t size) {
    beginRun(bufferFont(faceOfNumber(face), SHIFTJIS_CHARSET, size), objectSurface(fontBuffer));
}

void BeginBufferTextFace(const char* faceName, int32_t size) {
    const char* face = faceName ? faceName : "";
    beginRun(bufferFont(face, charSetOfFace(face), size), objectSurface(fontBuffer));
}

void EndText() { endRun(); }
void EndBufferText() { endRun(); }

void SetTextColors(COLORREF text, COLORREF background, int32_t transparent) {
    TextState& t = textState;
    t.textColor = text;
    t.backColor = background;
    if (!t.dc) return;
    platform::setTextColor(t.dc, text);
    platform::setBkColor(t.dc, background);
    platform::setBkMode(t.dc, transparent != 0 ? TRANSPARENT : OPAQUE);
}

void PutText(int32_t x, int32_t y, const char* text) {
    if (textState.dc && text) platform::textOut(textState.dc, x, y, text, lengthOf(text));
}

void DrawTextBox(int32_t left, int32_t top, int32_t right, int32_t bottom, const char* text,
                 int32_t alignment) {
    static constexpr uint32_t alignments[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    if (!textState.dc || !text || alignment < 0 || alignment > 2) return;
    platform::Rect box{left, top, right, bottom};
    platform::drawText(textState.dc, text, lengthOf(text), box,
                       DT_NOPREFIX | DT_WORDBREAK | alignments[alignment]);
}

int32_t MeasureTextBox(int32_t left, int32_t top, int32_t right, int32_t bottom,
                       const char* text) {
    textState.measuredBox = {left, top, right, bottom};
    if (!textState.dc || !text) return 0;
    return platform::drawText(textState.dc, text, lengthOf(text), textState.measuredBox,
                              DT_NOPREFIX | DT_CALCRECT | DT_WORDBREAK);
}

}  // namespace zuDraw

namespace zuSystem {

void PrintText(int32_t x, int32_t y, const char* text, COLORREF colour, int32_t size) {
    zuDraw::BeginText(1, size, 0, 1, 0, 0);
    zuDraw::SetTextColors(colour, 0, 1);
    zuDraw::PutText(x, y, text);
    zuDraw::EndText();
}

}  // namespace zuSystem
