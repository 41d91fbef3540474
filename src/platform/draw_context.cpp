// The drawing context on a surface: state, objects and their counts.
#include "platform/draw_context.h"

#include "platform/headless.h"

namespace platform {

struct DrawContext {};
struct Font {};
struct Pen {};
struct Brush {};

DrawContext* getDC(Surface&) { return nullptr; }
void releaseDC(DrawContext*) {}
Font* createFont(const LogFont&) { return nullptr; }
Font* selectFont(DrawContext*, Font*) { return nullptr; }
bool deleteFont(Font*) { return false; }
Pen* createPen(int32_t, int32_t, COLORREF) { return nullptr; }
Brush* createSolidBrush(COLORREF) { return nullptr; }
Brush* createHatchBrush(int32_t, COLORREF) { return nullptr; }
Brush* createHollowBrush() { return nullptr; }
Pen* selectPen(DrawContext*, Pen*) { return nullptr; }
Brush* selectBrush(DrawContext*, Brush*) { return nullptr; }
bool deletePen(Pen*) { return false; }
bool deleteBrush(Brush*) { return false; }
COLORREF setTextColor(DrawContext*, COLORREF) { return 0; }
COLORREF setBkColor(DrawContext*, COLORREF) { return 0; }
int32_t setBkMode(DrawContext*, int32_t) { return 0; }
bool textOut(DrawContext*, int32_t, int32_t, const char*, int32_t) { return false; }
Size textExtent(DrawContext*, const char*, int32_t) { return {}; }
int32_t drawText(DrawContext*, const char*, int32_t, Rect&, uint32_t) { return 0; }
COLORREF getPixel(DrawContext*, int32_t, int32_t) { return CLR_INVALID; }
COLORREF setPixel(DrawContext*, int32_t, int32_t, COLORREF) { return CLR_INVALID; }
Point moveTo(DrawContext*, int32_t, int32_t) { return {}; }
bool lineTo(DrawContext*, int32_t, int32_t) { return false; }
bool rectangle(DrawContext*, int32_t, int32_t, int32_t, int32_t) { return false; }
bool polygon(DrawContext*, const Point*, int32_t) { return false; }
bool polyBezier(DrawContext*, const Point*, int32_t) { return false; }
bool invertRect(DrawContext*, const Rect&) { return false; }
bool stretchBlt(DrawContext*, Rect, DrawContext*, Rect) { return false; }
const std::vector<FontFace>& listFonts() {
    static std::vector<FontFace> none;
    return none;
}
GdiCounts gdiCounts() { return {}; }

namespace headless {
void failNextContexts(int32_t) {}
}  // namespace headless

}  // namespace platform
