// Lines and shapes on a drawing context: pen lines, rectangles, polygons, Bezier curves, inverted
// rectangles and the stretching copy between contexts.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/text/draw_context_internal.h"

namespace platform {
namespace {

constexpr int32_t maxPoints = 65536;

// Squares of the pen's width centred on each point of the line; the last point is left out. One
// point per step along the longer axis, the other axis rounded from the exact line, so any step
// can be found at once and only those near the clip are visited.
void penLine(DrawContext& dc, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    Pen standard;
    const Pen& pen = dc.pen ? *dc.pen : standard;
    if (pen.style == PS_NULL) return;
    uint32_t raw = rawColor(dc, pen.color);
    const int64_t lo = -(pen.width - 1) / 2, hi = pen.width / 2;
    const Rect& c = dc.clip;
    int64_t dx = int64_t(x1) - x0, dy = int64_t(y1) - y0;
    bool xMajor = std::abs(dx) >= std::abs(dy);
    int64_t steps = std::max(std::abs(dx), std::abs(dy)), minorSpan = std::min(std::abs(dx), std::abs(dy));
    if (steps == 0) return;
    int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
    int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1, minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    int64_t first = (xMajor ? c.left : c.top) - hi, last = (xMajor ? c.right : c.bottom) - 1 - lo;
    int64_t from = majorStep > 0 ? first - major0 : major0 - last, to = majorStep > 0 ? last - major0 : major0 - first;
    for (int64_t i = std::max<int64_t>(from, 0); i <= std::min(to, steps - 1); ++i) {
        int64_t minor = minor0 + minorStep * int64_t((__int128(2) * i * minorSpan + steps) / (2 * steps));
        int64_t x = xMajor ? major0 + majorStep * i : minor, y = xMajor ? minor : major0 + majorStep * i;
        int64_t left = std::max<int64_t>(x + lo, c.left), right = std::min<int64_t>(x + hi, c.right - 1);
        int64_t top = std::max<int64_t>(y + lo, c.top), bottom = std::min<int64_t>(y + hi, c.bottom - 1);
        for (int64_t py = top; py <= bottom; ++py)
            for (int64_t px = left; px <= right; ++px) plot(dc, int32_t(px), int32_t(py), raw);
    }
}

std::vector<PointF> toPointsF(const Point* points, int32_t count) {
    std::vector<PointF> out;
    for (int32_t i = 0; i < count; ++i) out.push_back({double(points[i].x), double(points[i].y)});
    return out;
}

PointF bezierAt(const Point* p, double t) {
    double u = 1 - t, a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * p[0].x + b * p[1].x + c * p[2].x + d * p[3].x, a * p[0].y + b * p[1].y + c * p[2].y + d * p[3].y};
}

uint32_t convertPixel(uint32_t raw, Format from, Format to) {
    return from == to ? raw : pixelFromColor(to, colorFromPixel(from, raw));
}

}  // namespace

Point moveTo(DrawContext* dc, int32_t x, int32_t y) {
    if (!dc) return {};
    return std::exchange(dc->position, Point{x, y});
}

bool lineTo(DrawContext* dc, int32_t x, int32_t y) {
    if (!dc) return false;
    penLine(*dc, dc->position.x, dc->position.y, x, y);
    dc->position = {x, y};
    return true;
}

bool rectangle(DrawContext* dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!dc) return false;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    bool noPen = dc->pen && dc->pen->style == PS_NULL;
    double r = noPen ? right - 1.0 : right, b = noPen ? bottom - 1.0 : bottom;
    PointF box[4] = {{double(left), double(top)}, {r, double(top)}, {r, b}, {double(left), b}};
    fillWithBrush(*dc, box, 4);
    if (int64_t(right) - left < 1 || int64_t(bottom) - top < 1) return true;
    penLine(*dc, left, top, right - 1, top);
    penLine(*dc, right - 1, top, right - 1, bottom - 1);
    penLine(*dc, right - 1, bottom - 1, left, bottom - 1);
    penLine(*dc, left, bottom - 1, left, top);
    return true;
}

bool polygon(DrawContext* dc, const Point* points, int32_t count) {
    if (!dc || !points || count < 2 || count > maxPoints) return false;
    std::vector<PointF> shape = toPointsF(points, count);
    fillWithBrush(*dc, shape.data(), count);
    for (int32_t i = 0; i < count; ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % count];
        penLine(*dc, a.x, a.y, b.x, b.y);
    }
    return true;
}

bool polyBezier(DrawContext* dc, const Point* points, int32_t count) {
    if (!dc || !points || count < 4 || count > maxPoints || (count - 1) % 3 != 0) return false;
    for (int32_t i = 0; i + 3 < count; i += 3) {
        const Point* p = points + i;
        double span = std::hypot(p[3].x - p[0].x, p[3].y - p[0].y) + std::hypot(p[1].x - p[0].x, p[1].y - p[0].y) +
                      std::hypot(p[2].x - p[3].x, p[2].y - p[3].y);
        int32_t steps = std::clamp(int32_t(span / 4), 4, 256);
        PointF from = bezierAt(p, 0);
        for (int32_t s = 1; s <= steps; ++s) {
            PointF to = bezierAt(p, double(s) / steps);
            penLine(*dc, int32_t(std::lround(from.x)), int32_t(std::lround(from.y)), int32_t(std::lround(to.x)),
                    int32_t(std::lround(to.y)));
            from = to;
        }
    }
    const Point& last = points[count - 1];
    penLine(*dc, last.x, last.y, last.x + 1, last.y);  // the end point itself
    return true;
}

bool invertRect(DrawContext* dc, const Rect& r) {
    if (!dc) return false;
    uint32_t all = bytesPerPixel(dc->surface->format) == 4 ? 0xFFFFFF : 0xFFFF;
    if (dc->surface->format == Format::rgb555) all = 0x7FFF;
    int32_t x0 = std::max(r.left, dc->clip.left), x1 = std::min(r.right, dc->clip.right);
    int32_t y0 = std::max(r.top, dc->clip.top), y1 = std::min(r.bottom, dc->clip.bottom);
    for (int32_t y = y0; y < y1; ++y)
        for (int32_t x = x0; x < x1; ++x) plot(*dc, x, y, readPixel(*dc, x, y) ^ all);
    return true;
}

bool stretchBlt(DrawContext* to, Rect toRect, DrawContext* from, Rect fromRect) {
    if (!to || !from || toRect.width() == 0 || toRect.height() == 0 || fromRect.width() == 0 ||
        fromRect.height() == 0)
        return false;
    // Negative extents mirror; each destination pixel takes the source pixel under its centre.
    int32_t x0 = std::max(std::min(toRect.left, toRect.right), to->clip.left);
    int32_t x1 = std::min(std::max(toRect.left, toRect.right), to->clip.right);
    int32_t y0 = std::max(std::min(toRect.top, toRect.bottom), to->clip.top);
    int32_t y1 = std::min(std::max(toRect.top, toRect.bottom), to->clip.bottom);
    const Surface& src = *from->surface;
    std::vector<uint32_t> copy;  // read first, so a context may copy onto itself
    for (int32_t y = y0; y < y1; ++y)
        for (int32_t x = x0; x < x1; ++x) {
            int64_t sx = fromRect.left + nearestSource(x - toRect.left, fromRect.width(), toRect.width());
            int64_t sy = fromRect.top + nearestSource(y - toRect.top, fromRect.height(), toRect.height());
            bool inside = sx >= 0 && sy >= 0 && sx < src.width && sy < src.height;
            copy.push_back(inside ? convertPixel(readPixel(*from, int32_t(sx), int32_t(sy)), src.format, to->surface->format) + 1 : 0);
        }
    size_t i = 0;
    for (int32_t y = y0; y < y1; ++y)
        for (int32_t x = x0; x < x1; ++x, ++i)
            if (copy[i]) plot(*to, x, y, copy[i] - 1);
    return true;
}

}  // namespace platform
