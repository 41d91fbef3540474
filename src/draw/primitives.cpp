// Pixels, lines, rectangles, polygons and Bézier curves on the back buffer: each takes the back
// buffer's context, draws with pens and brushes made for the call, frees them and gives the
// context back.
#include "draw/zu_draw.h"
#include "platform/text/draw_context.h"
#include "platform/win32.h"

namespace zuDraw {

namespace {

// The back buffer's context for one call; the pen and brush given to it are freed with it.
class BackContext {
public:
    BackContext() : dc_(screenState.back ? platform::getDC(*screenState.back) : nullptr) {}
    ~BackContext() {
        if (!dc_) return;
        platform::selectPen(dc_, nullptr);
        platform::selectBrush(dc_, nullptr);
        if (pen_) platform::deletePen(pen_);
        if (brush_) platform::deleteBrush(brush_);
        platform::releaseDC(dc_);
    }
    BackContext(const BackContext&) = delete;
    BackContext& operator=(const BackContext&) = delete;
    explicit operator bool() const { return dc_ != nullptr; }
    platform::DrawContext* dc() const { return dc_; }
    void usePen(COLORREF colour, int32_t width) {
        pen_ = platform::createPen(platform::PS_SOLID, width, colour);
        platform::selectPen(dc_, pen_);
    }
    void useBrush(platform::Brush* brush) {
        brush_ = brush;
        platform::selectBrush(dc_, brush_);
    }

private:
    platform::DrawContext* dc_;
    platform::Pen* pen_ = nullptr;
    platform::Brush* brush_ = nullptr;
};

}  // namespace

void GetPixel(int32_t x, int32_t y, int32_t* red, int32_t* green, int32_t* blue) {
    COLORREF c = platform::CLR_INVALID;
    if (BackContext back; back) c = platform::getPixel(back.dc(), x, y);
    if (red) *red = GetRValue(c);
    if (green) *green = GetGValue(c);
    if (blue) *blue = GetBValue(c);
}

int32_t SetPixel(int32_t x, int32_t y, COLORREF colour) {
    BackContext back;
    if (!back) return 0;
    platform::setPixel(back.dc(), x, y, colour);
    return 1;
}

int32_t Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, COLORREF colour, int32_t width) {
    BackContext back;
    if (!back) return 0;
    back.usePen(colour, width);
    platform::moveTo(back.dc(), x1, y1);
    platform::lineTo(back.dc(), x2, y2);
    return 1;
}

int32_t Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, COLORREF fill,
                  COLORREF pen, int32_t width) {
    BackContext back;
    if (!back) return 0;
    back.useBrush(platform::createSolidBrush(fill));
    back.usePen(pen, width);
    platform::rectangle(back.dc(), left, top, right, bottom);
    return 1;
}

int32_t Polygon(const platform::Point* points, int32_t count, COLORREF colour,
                COLORREF background, int32_t width, int32_t mode) {
    if (!points || count < 2) return 0;
    BackContext back;
    if (!back) return 0;
    back.usePen(colour, width);
    back.useBrush(mode == 0 ? platform::createHollowBrush()
                            : platform::createHatchBrush(platform::HS_DIAGCROSS, colour));
    if (mode == 2)
        platform::setBkMode(back.dc(), TRANSPARENT);
    else
        platform::setBkColor(back.dc(), background);
    return platform::polygon(back.dc(), points, count) ? 1 : 0;
}

int32_t Bezier(const platform::Point* points, int32_t count, COLORREF colour, int32_t width) {
    if (!points || count < 4 || (count - 1) % 3 != 0) return 0;
    BackContext back;
    if (!back) return 0;
    back.usePen(colour, width);
    return platform::polyBezier(back.dc(), points, count) ? 1 : 0;
}

}  // namespace zuDraw
