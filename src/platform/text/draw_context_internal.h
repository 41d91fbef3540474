// The drawing context's objects and the pixel helpers its drawing files share.
#pragma once
#include <functional>
#include <memory>

#include "platform/text/draw_context.h"
#include "platform/text/glyph_cache.h"
#include "platform/win32.h"

namespace platform {

struct Font {
    LogFont record;
    std::shared_ptr<SizedFont> sized;
    int32_t selections = 0;
};

struct Pen {
    int32_t style = PS_SOLID, width = 1;
    COLORREF color = 0;
    int32_t selections = 0;
};

struct Brush {
    enum class Kind : uint8_t { solid, hatch, hollow } kind = Kind::solid;
    int32_t hatch = 0;
    COLORREF color = RGB(255, 255, 255);
    int32_t selections = 0;
};

struct DrawContext {
    Surface* surface = nullptr;
    Font* font = nullptr;    // null: the default font
    Pen* pen = nullptr;      // null: a black pen one pixel wide
    Brush* brush = nullptr;  // null: a white brush
    COLORREF textColor = RGB(0, 0, 0), bkColor = RGB(255, 255, 255);
    int32_t bkMode = OPAQUE;
    Point position{};
    Rect clip{};  // the surface, narrowed while a text box clips
};

struct PointF {
    double x = 0, y = 0;
};

uint32_t rawColor(const DrawContext&, COLORREF);
void plot(DrawContext&, int32_t x, int32_t y, uint32_t raw);  // clipped
uint32_t readPixel(const DrawContext&, int32_t x, int32_t y);  // inside the surface only
// Hands over the spans of pixels whose centres lie inside the polygon (alternate rule), clipped;
// x1 is exclusive.
using SpanPaint = std::function<void(int32_t y, int32_t x0, int32_t x1)>;
void scanPolygon(const DrawContext&, const PointF* points, int32_t count, const SpanPaint& paint);
void fillPolygon(DrawContext&, const PointF* points, int32_t count, uint32_t raw);
void fillWithBrush(DrawContext&, const PointF* points, int32_t count);
SizedFont& currentFont(DrawContext&);

}  // namespace platform
