// The plain rich text renderer: characters at their final size into the font sprite, wrapped at
// the right margin, each box kept; the bounding box is shown at the end unless prepared.
#include <algorithm>

#include "draw/rich_text.h"

namespace zuDraw {

namespace {

using namespace richtext;

struct Layout {
    int32_t x, y, right, bottom, flags;
};

platform::Size measure(platform::DrawContext* dc, const char* p, int32_t length, int32_t flags) {
    platform::Size s = platform::textExtent(dc, p, length);
    if (flags & textShadow) ++s.cx, ++s.cy;
    if (flags & textBoldRight) ++s.cx;
    if (flags & textBoldDown) ++s.cy;
    return s;
}

void keepBox(const platform::Rect& box) {
    textBoxes.boxes[textBoxes.count++] = box;
    widenBounds(box);
}

// A character that passes the margin goes to the next line, unless it may hang past it; one
// that does not fit on an empty line fits on none and ends the text. The pen is 64-bit so no
// position wraps.
void layOut(platform::DrawContext* dc, const Layout& l, const char* text) {
    int64_t penX = l.x, penY = l.y;
    int32_t lineHeight = textState.currentHeight + (l.flags & 0xFF);
    for (const char* p = text; int32_t length = characterLength(p);) {
        if (textBoxes.count >= textBoxCount) return;
        bool lineFeed = isLineFeed(p, length);
        platform::Size extent = lineFeed ? platform::Size{} : measure(dc, p, length, l.flags);
        platform::Rect box{int32_t(penX), int32_t(penY), int32_t(penX + extent.cx), int32_t(penY + extent.cy)};
        bool lineStart = penX == l.x;
        penX += extent.cx;
        lineHeight = std::max(lineHeight, extent.cy);
        if (penX <= l.right && !lineFeed) {
            drawCharacter(dc, box.left, box.top, p, length, l.flags, 1);
            keepBox(box);
            p += length;
            continue;
        }
        if (lineFeed) {
            p += length;
        } else if (isHanging(p, length)) {
            drawCharacter(dc, box.left, box.top, p, length, l.flags, 1);
            keepBox(box);  // kept, so the character is shown with the rest
            p += length;
        } else if (lineStart) {
            return;
        }
        penX = l.x;
        penY += lineHeight;
        if (penY + lineHeight >= l.bottom) return;
    }
}

}  // namespace

void RichText(int32_t x, int32_t y, int32_t right, int32_t bottom, const char* text,
              int32_t flags) {
    LentRun run;
    if (!run.ok()) {
        textBoxes.showAtEnd = 1;
        return;
    }
    guardColours();
    startBoxes(x, y);
    platform::DrawContext* dc = takeWorkContext(fontSprite);
    if (dc) layOut(dc, {x, y, right, bottom, flags}, text ? text : "");
    giveWorkContext(dc);
    finishRender();
}

void PrepareRichText(int32_t x, int32_t y, int32_t right, int32_t bottom, const char* text,
                     int32_t flags) {
    textBoxes.showAtEnd = 0;
    RichText(x, y, right, bottom, text, flags);
}

}  // namespace zuDraw
