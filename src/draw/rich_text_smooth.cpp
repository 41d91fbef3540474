// The smooth rich text renderer: each line (or each part of a line that fills the font buffer)
// drawn at twice the size into the font buffer, then halved into the font sprite by Shrink2 with
// its edges blended over the back buffer. Boxes are in screen pixels, halves of the doubled ones.
#include <algorithm>

#include "draw/draw_internal.h"
#include "draw/rich_text.h"
#include "platform/video/surface.h"

namespace zuDraw {

namespace {

using namespace richtext;

struct Layout {
    int32_t x, y, right, bottom, flags;
    int32_t baseHeight;   // doubled line height of every new line
    int32_t bufferWidth;  // where the font buffer is full
};

// Doubled extents: rounded up to even, then the shadow and bold margins.
platform::Size measure(platform::DrawContext* dc, const char* p, int32_t length, int32_t flags) {
    platform::Size s = platform::textExtent(dc, p, length);
    s.cx = (s.cx + 1) & ~1;
    s.cy = (s.cy + 1) & ~1;
    if (flags & textShadow) s.cx += 2, s.cy += 2;
    if (flags & textBoldRight) ++s.cx;
    if (flags & textBoldDown) ++s.cy;
    return s;
}

// The line part drawn so far: screen position, doubled pen and doubled height.
struct Segment {
    int64_t lineX = 0, lineY = 0;
    int32_t pen = 0, height = 0;
};

// Halves the segment into the font sprite, cut at bottom, and starts a clean font buffer.
void flush(platform::DrawContext*& dc, const Segment& s, int32_t bottom) {
    giveWorkContext(dc);
    int64_t height = s.height;
    if (s.lineY + s.height / 2 > bottom) height -= 2 * (s.lineY + s.height / 2 - bottom);
    widenBounds({int32_t(s.lineX), int32_t(s.lineY), int32_t(s.lineX + s.pen / 2), int32_t(s.lineY + height / 2)});
    Shrink2(int32_t(s.lineX), int32_t(s.lineY), 0, 0, s.pen, int32_t(height));
    // Ink lies in the segment's rows (shadow and bold offsets included), and later segments of
    // the render are no taller: twice them is clean enough, much less than the whole buffer.
    platform::Surface& buffer = *objectSurface(fontBuffer);
    int64_t inked = 2 * int64_t(std::max(s.height, 0)) + 8;
    platform::fill(buffer, {0, 0, buffer.width, int32_t(std::min<int64_t>(inked, buffer.height))}, 0);
    dc = takeWorkContext(fontBuffer);
}

// A character at the margin goes to the next line unless it may hang; one that would be cut by
// the font buffer's edge starts the next part of the line; a line feed ends the line. A
// character that fits on no line ends the text.
void layOut(platform::DrawContext*& dc, const Layout& l, const char* text) {
    Segment s{l.x, l.y, 0, l.baseHeight};
    for (const char* p = text; int32_t length = characterLength(p);) {
        if (textBoxes.count >= textBoxCount || !dc) return;
        bool lineFeed = isLineFeed(p, length);
        platform::Size extent{};
        if (!lineFeed) {
            drawCharacter(dc, s.pen, 0, p, length, l.flags, 2);
            extent = measure(dc, p, length, l.flags);
        }
        int32_t boxX = int32_t(s.lineX + s.pen / 2);
        platform::Rect box{boxX, int32_t(s.lineY), int32_t(int64_t(boxX) + extent.cx / 2), int32_t(s.lineY + extent.cy / 2)};
        s.pen += extent.cx;
        s.height = std::max(s.height, extent.cy);
        bool margin = s.lineX + s.pen / 2 >= l.right, full = s.pen >= l.bufferWidth;
        if (!margin && !full && !lineFeed) {
            textBoxes.boxes[textBoxes.count++] = box;
            p += length;
            continue;
        }
        bool again = !lineFeed && ((margin && !isHanging(p, length)) || (s.pen > l.bufferWidth && s.pen > extent.cx));
        if (again) {
            s.pen -= extent.cx;
            if (s.pen == 0 && s.lineX == l.x) return;
        } else {
            if (!lineFeed) textBoxes.boxes[textBoxes.count++] = box;
            p += length;
        }
        flush(dc, s, l.bottom);
        s.lineX += s.pen / 2;
        if (s.lineX + extent.cx / 2 >= l.right || lineFeed) {
            s.lineX = l.x;
            s.lineY += s.height / 2;
        }
        s.pen = 0;
        s.height = l.baseHeight;
        if (s.lineY >= l.bottom) return;
    }
    if (s.pen > 0 && dc) flush(dc, s, l.bottom);
}

}  // namespace

void SmoothText(int32_t x, int32_t y, int32_t right, int32_t bottom, const char* text,
                int32_t flags) {
    LentRun run;
    platform::Surface* buffer = objectSurface(fontBuffer);
    if (!run.ok() || !buffer) {
        textBoxes.showAtEnd = 1;
        return;
    }
    guardColours();
    startBoxes(x, y);
    ClearObject(fontBuffer);
    platform::DrawContext* dc = takeWorkContext(fontBuffer);
    Layout l{x, y, right, bottom, flags, textState.currentHeight + (flags & 0xFF), buffer->width};
    layOut(dc, l, text ? text : "");
    giveWorkContext(dc);
    finishRender();
}

void PrepareSmoothText(int32_t x, int32_t y, int32_t right, int32_t bottom, const char* text,
                       int32_t flags) {
    textBoxes.showAtEnd = 0;
    SmoothText(x, y, right, bottom, text, flags);
}

}  // namespace zuDraw
