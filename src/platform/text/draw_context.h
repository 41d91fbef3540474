// The drawing context on a surface: fonts and Shift-JIS text, pens and brushes, pixels, lines
// and shapes. Texts are Shift-JIS; coordinates are the surface's.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/video/surface.h"
#include "platform/types.h"

namespace platform {

// Mirrors LOGFONTA field by field (60 bytes). A positive height is the cell height, a negative
// one the character height; escapement is in tenths of a degree, anticlockwise.
struct LogFont {
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[32] = {};  // Shift-JIS
};
static_assert(sizeof(LogFont) == 60);

struct DrawContext;
struct Font;
struct Pen;
struct Brush;

// Null when the surface is lost, locked, already held, or a headless control says so.
DrawContext* getDC(Surface&);
void releaseDC(DrawContext*);
Surface* contextSurface(const DrawContext*);  // the surface a context is held on

Font* createFont(const LogFont&);
Font* selectFont(DrawContext*, Font*);  // returns the previous font; null is the default font
bool deleteFont(Font*);                 // refused (false) while selected into a context

constexpr int32_t PS_SOLID = 0, PS_NULL = 5;
constexpr int32_t HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3,
                  HS_CROSS = 4, HS_DIAGCROSS = 5;
constexpr int32_t maxPenWidth = 256;  // wider pens draw this wide
Pen* createPen(int32_t style, int32_t width, COLORREF);  // width 0 or less: 1
Brush* createSolidBrush(COLORREF);
Brush* createHatchBrush(int32_t hatch, COLORREF);
Brush* createHollowBrush();
Pen* selectPen(DrawContext*, Pen*);        // null is the default black pen
Brush* selectBrush(DrawContext*, Brush*);  // null is the default white brush
bool deletePen(Pen*);      // refused (false) while selected
bool deleteBrush(Brush*);  // refused (false) while selected

COLORREF setTextColor(DrawContext*, COLORREF);  // each returns the previous value
COLORREF setBkColor(DrawContext*, COLORREF);
int32_t setBkMode(DrawContext*, int32_t mode);  // TRANSPARENT or OPAQUE

// Cell top-left at (x, y); an opaque background fills the cells.
bool textOut(DrawContext*, int32_t x, int32_t y, const char* sjis, int32_t length);
Size textExtent(DrawContext*, const char* sjis, int32_t length);
// DT_LEFT/CENTER/RIGHT, DT_WORDBREAK, DT_NOPREFIX, DT_CALCRECT (moves rect.right/bottom).
// Returns the height of the text.
int32_t drawText(DrawContext*, const char* sjis, int32_t length, Rect&, uint32_t dtFlags);

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
COLORREF getPixel(DrawContext*, int32_t x, int32_t y);  // CLR_INVALID outside
COLORREF setPixel(DrawContext*, int32_t x, int32_t y, COLORREF);  // the colour it became
Point moveTo(DrawContext*, int32_t x, int32_t y);                  // the previous position
bool lineTo(DrawContext*, int32_t x, int32_t y);                   // last pixel left out
bool rectangle(DrawContext*, int32_t left, int32_t top, int32_t right, int32_t bottom);
bool polygon(DrawContext*, const Point*, int32_t count);
bool polyBezier(DrawContext*, const Point*, int32_t count);  // 1 + 3n points
bool invertRect(DrawContext*, const Rect&);
bool stretchBlt(DrawContext* to, Rect toRect, DrawContext* from, Rect fromRect);  // copy

// The faces the font list enumerates: the two standard Japanese faces first as character set
// 128, then the installed families as 128, 2 (symbol) or 0. Names are Shift-JIS.
struct FontFace {
    std::string name;
    uint8_t charSet = 0;
};
const std::vector<FontFace>& listFonts();

// Live objects, for tests.
struct GdiCounts {
    int32_t contexts = 0, fonts = 0, pens = 0, brushes = 0;
};
GdiCounts gdiCounts();

}  // namespace platform
