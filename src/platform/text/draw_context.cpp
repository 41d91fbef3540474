// The drawing context on a surface: taking and giving back, fonts, pens and brushes with their
// counts, colours and modes, single pixels and polygon spans.
#include "platform/text/draw_context.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/text/draw_context_internal.h"
#include "platform/text/fonts.h"
#include "platform/faults.h"
#include "platform/sjis.h"

namespace platform {
namespace {

GdiCounts live;
int32_t contextsToFail = 0;

template <typename Object>
Object* selectInto(Object*& slot, Object* next) {
    Object* previous = slot;
    if (previous) --previous->selections;
    if (next) ++next->selections;
    slot = next;
    return previous;
}

template <typename Object>
bool deleteUnselected(Object* object, int32_t& count) {
    if (!object || object->selections > 0) return false;
    delete object;
    --count;
    return true;
}

uint32_t hatchHit(int32_t hatch, int32_t x, int32_t y) {
    bool h = (y & 7) == 0, v = (x & 7) == 0, f = ((x - y) & 7) == 0, b = ((x + y) & 7) == 0;
    switch (hatch) {
    case HS_HORIZONTAL: return h;
    case HS_VERTICAL: return v;
    case HS_FDIAGONAL: return f;
    case HS_BDIAGONAL: return b;
    case HS_CROSS: return h || v;
    default: return f || b;
    }
}

}  // namespace

DrawContext* getDC(Surface& s) {
    if (s.lost || s.lockCount > 0) return nullptr;
    if (contextsToFail > 0) {
        --contextsToFail;
        return nullptr;
    }
    ++s.lockCount;  // the surface is busy for copies and locks until released
    auto* dc = new DrawContext;
    dc->surface = &s;
    dc->clip = {0, 0, s.width, s.height};
    ++live.contexts;
    return dc;
}

void releaseDC(DrawContext* dc) {
    if (!dc) return;
    selectFont(dc, nullptr);
    selectPen(dc, nullptr);
    selectBrush(dc, nullptr);
    unlock(*dc->surface);
    delete dc;
    --live.contexts;
}

Surface* contextSurface(const DrawContext* dc) { return dc ? dc->surface : nullptr; }

Font* createFont(const LogFont& lf) {
    auto* f = new Font{lf, sizedFont(lf)};
    ++live.fonts;
    return f;
}

Font* selectFont(DrawContext* dc, Font* f) { return dc ? selectInto(dc->font, f) : nullptr; }
bool deleteFont(Font* f) { return deleteUnselected(f, live.fonts); }

Pen* createPen(int32_t style, int32_t width, COLORREF c) {
    ++live.pens;
    return new Pen{style, std::clamp(width, 1, maxPenWidth), c};
}

Brush* createSolidBrush(COLORREF c) {
    ++live.brushes;
    return new Brush{Brush::Kind::solid, 0, c};
}

Brush* createHatchBrush(int32_t hatch, COLORREF c) {
    ++live.brushes;
    return new Brush{Brush::Kind::hatch, hatch, c};
}

Brush* createHollowBrush() {
    ++live.brushes;
    return new Brush{Brush::Kind::hollow};
}

Pen* selectPen(DrawContext* dc, Pen* p) { return dc ? selectInto(dc->pen, p) : nullptr; }
Brush* selectBrush(DrawContext* dc, Brush* b) { return dc ? selectInto(dc->brush, b) : nullptr; }
bool deletePen(Pen* p) { return deleteUnselected(p, live.pens); }
bool deleteBrush(Brush* b) { return deleteUnselected(b, live.brushes); }

COLORREF setTextColor(DrawContext* dc, COLORREF c) {
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->textColor, c & 0xFFFFFF);
}

COLORREF setBkColor(DrawContext* dc, COLORREF c) {
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->bkColor, c & 0xFFFFFF);
}

int32_t setBkMode(DrawContext* dc, int32_t mode) {
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    return std::exchange(dc->bkMode, mode);
}

uint32_t rawColor(const DrawContext& dc, COLORREF c) { return pixelFromColor(dc.surface->format, c & 0xFFFFFF); }

void plot(DrawContext& dc, int32_t x, int32_t y, uint32_t raw) {
    if (x < dc.clip.left || x >= dc.clip.right || y < dc.clip.top || y >= dc.clip.bottom) return;
    Surface& s = *dc.surface;
    uint8_t* p = s.memory.data() + size_t(y) * s.pitch + size_t(x) * bytesPerPixel(s.format);
    if (bytesPerPixel(s.format) == 4)
        *reinterpret_cast<uint32_t*>(p) = raw;
    else
        *reinterpret_cast<uint16_t*>(p) = uint16_t(raw);
}

uint32_t readPixel(const DrawContext& dc, int32_t x, int32_t y) {
    const Surface& s = *dc.surface;
    const uint8_t* p = s.memory.data() + size_t(y) * s.pitch + size_t(x) * bytesPerPixel(s.format);
    return bytesPerPixel(s.format) == 4 ? *reinterpret_cast<const uint32_t*>(p) & 0xFFFFFF
                                        : *reinterpret_cast<const uint16_t*>(p);
}

COLORREF getPixel(DrawContext* dc, int32_t x, int32_t y) {
    if (!dc || x < 0 || y < 0 || x >= dc->surface->width || y >= dc->surface->height) return CLR_INVALID;
    return colorFromPixel(dc->surface->format, readPixel(*dc, x, y));
}

COLORREF setPixel(DrawContext* dc, int32_t x, int32_t y, COLORREF c) {
    if (!dc || x < 0 || y < 0 || x >= dc->surface->width || y >= dc->surface->height) return CLR_INVALID;
    uint32_t raw = rawColor(*dc, c);
    plot(*dc, x, y, raw);
    return colorFromPixel(dc->surface->format, raw);
}

void scanPolygon(const DrawContext& dc, const PointF* points, int32_t count, const SpanPaint& paint) {
    if (count < 3) return;
    double top = points[0].y, bottom = points[0].y;
    for (int32_t i = 1; i < count; ++i) top = std::min(top, points[i].y), bottom = std::max(bottom, points[i].y);
    int32_t y0 = std::max(dc.clip.top, int32_t(std::ceil(top - 0.5)));
    int32_t y1 = std::min(dc.clip.bottom, int32_t(std::ceil(bottom - 0.5)));
    std::vector<double> crossings;
    for (int32_t y = y0; y < y1; ++y) {
        double cy = y + 0.5;
        crossings.clear();
        for (int32_t i = 0; i < count; ++i) {
            PointF a = points[i], b = points[(i + 1) % count];
            if ((a.y <= cy) == (b.y <= cy)) continue;
            crossings.push_back(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            int32_t x0 = std::max(dc.clip.left, int32_t(std::ceil(crossings[i] - 0.5)));
            int32_t x1 = std::min(dc.clip.right, int32_t(std::ceil(crossings[i + 1] - 0.5)));
            if (x0 < x1) paint(y, x0, x1);
        }
    }
}

void fillPolygon(DrawContext& dc, const PointF* points, int32_t count, uint32_t raw) {
    scanPolygon(dc, points, count, [&](int32_t y, int32_t x0, int32_t x1) {
        for (int32_t x = x0; x < x1; ++x) plot(dc, x, y, raw);
    });
}

void fillWithBrush(DrawContext& dc, const PointF* points, int32_t count) {
    Brush white;
    const Brush& b = dc.brush ? *dc.brush : white;
    if (b.kind == Brush::Kind::hollow) return;
    uint32_t ink = rawColor(dc, b.color), back = rawColor(dc, dc.bkColor);
    bool opaque = dc.bkMode == OPAQUE;
    scanPolygon(dc, points, count, [&](int32_t y, int32_t x0, int32_t x1) {
        for (int32_t x = x0; x < x1; ++x) {
            if (b.kind == Brush::Kind::solid || hatchHit(b.hatch, x, y))
                plot(dc, x, y, ink);
            else if (opaque)
                plot(dc, x, y, back);
        }
    });
}

SizedFont& currentFont(DrawContext& dc) {
    if (dc.font && dc.font->sized) return *dc.font->sized;
    static std::shared_ptr<SizedFont> standard = [] {
        LogFont lf;
        lf.lfHeight = 16;
        lf.lfCharSet = SHIFTJIS_CHARSET;
        return sizedFont(lf);
    }();
    return *standard;
}

const std::vector<FontFace>& listFonts() {
    static const std::vector<FontFace> faces = [] {
        std::vector<FontFace> out{{gothicFaceSjis, SHIFTJIS_CHARSET}, {minchoFaceSjis, SHIFTJIS_CHARSET}};
        for (const InstalledFamily& f : installedFamilies()) {
            std::string sjis;
            if (utf8ToSjis(f.nameUtf8, sjis) && sjis.size() < sizeof(LogFont::lfFaceName)) out.push_back({sjis, f.charSet});
        }
        return out;
    }();
    return faces;
}

GdiCounts gdiCounts() { return live; }

namespace headless {
void failNextContexts(int32_t n) { contextsToFail = std::max(n, 0); }
}  // namespace headless

}  // namespace platform
