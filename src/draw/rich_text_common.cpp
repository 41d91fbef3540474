// The rich text renderers' shared pieces: characters, hanging characters, the colour guard,
// character drawing, the lent text run and the boxes' start and end.
#include <algorithm>
#include <string_view>

#include "draw/draw_internal.h"
#include "draw/rich_text.h"
#include "platform/sjis.h"
#include "platform/win32.h"

namespace zuDraw {

TextBoxes textBoxes;

namespace richtext {

namespace {

// These may stay past the right margin instead of starting the next line.
constexpr std::string_view hangingCharacters[] = {"、", "。", "，", "．", "・", "…", "‥", "”",
                                                  "’", "（", "」", ",", ".", "　", " "};

COLORREF guarded(COLORREF c) {
    return GetRValue(c) < 16 && GetGValue(c) < 16 && GetBValue(c) < 16 ? RGB(16, 16, 16) : c;
}

}  // namespace

int32_t characterLength(const char* p) {
    if (*p == '\0') return 0;
    if (!platform::isSjisLeadByte(uint8_t(*p))) return 1;
    return p[1] != '\0' ? 2 : 0;
}

bool isLineFeed(const char* p, int32_t length) { return length == 1 && *p == '\n'; }

bool isHanging(const char* p, int32_t length) {
    std::string_view c(p, size_t(length));
    return std::find(std::begin(hangingCharacters), std::end(hangingCharacters), c) !=
           std::end(hangingCharacters);
}

void guardColours() {
    textState.textColor = guarded(textState.textColor);
    textState.backColor = guarded(textState.backColor);
}

void drawCharacter(platform::DrawContext* dc, int32_t x, int32_t y, const char* p, int32_t length,
                   int32_t flags, int32_t shadowStep) {
    int32_t right = (flags & textBoldRight) ? 1 : 0, down = (flags & textBoldDown) ? 1 : 0;
    if (flags & textShadow) {
        platform::setTextColor(dc, textState.backColor);
        platform::textOut(dc, x + shadowStep + right, y + shadowStep + down, p, length);
    }
    platform::setTextColor(dc, textState.textColor);
    platform::textOut(dc, x, y, p, length);
    if (right) {
        platform::textOut(dc, x + 1, y, p, length);
        if (down) platform::textOut(dc, x + 1, y + 1, p, length);
    }
    if (down) platform::textOut(dc, x, y + 1, p, length);
}

LentRun::LentRun() {
    TextState& t = textState;
    if (!t.dc || !t.currentFont) return;
    home_ = platform::contextSurface(t.dc);
    text_ = platform::setTextColor(t.dc, 0);
    back_ = platform::setBkColor(t.dc, 0);
    mode_ = platform::setBkMode(t.dc, OPAQUE);
    platform::selectFont(t.dc, t.previousFont);
    platform::releaseDC(t.dc);
    t.dc = nullptr;
    t.previousFont = nullptr;
}

LentRun::~LentRun() {
    if (!home_) return;
    TextState& t = textState;
    t.dc = platform::getDC(*home_);
    if (!t.dc) return;
    t.previousFont = platform::selectFont(t.dc, t.currentFont);
    platform::setTextColor(t.dc, text_);
    platform::setBkColor(t.dc, back_);
    platform::setBkMode(t.dc, mode_);
}

platform::DrawContext* takeWorkContext(int32_t object) {
    platform::Surface* surface = objectSurface(object);
    platform::DrawContext* dc = surface ? platform::getDC(*surface) : nullptr;
    if (!dc) return nullptr;
    platform::selectFont(dc, textState.currentFont);
    platform::setBkMode(dc, TRANSPARENT);
    return dc;
}

void giveWorkContext(platform::DrawContext*& dc) {
    if (!dc) return;
    platform::selectFont(dc, nullptr);
    platform::releaseDC(dc);
    dc = nullptr;
}

void startBoxes(int32_t x, int32_t y) {
    textBoxes.boxes[0] = {x, y, x, y};
    textBoxes.count = 1;
    ClearObject(fontSprite);
}

void widenBounds(const platform::Rect& box) {
    platform::Rect& b = textBoxes.boxes[0];
    b = {std::min(b.left, box.left), std::min(b.top, box.top), std::max(b.right, box.right),
         std::max(b.bottom, box.bottom)};
}

void showBox(const platform::Rect& box) {
    Blit(box.left, box.top, fontSprite, box.left, box.top, box.right, box.bottom);
}

void finishRender() {
    TextBoxes& t = textBoxes;
    if (t.showAtEnd) showBox(t.boxes[0]);
    t.revealed = 0;
    t.revealTimer = 0.0f;
    t.showAtEnd = 1;
}

}  // namespace richtext
}  // namespace zuDraw
