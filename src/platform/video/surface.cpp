// Surfaces: creation in the display format, locking, colour keys, loss and restore, and the
// clipping of copies and fills, whose rows go through pixel_rows.
#include "platform/video/surface.h"

#include <algorithm>
#include <cstring>

#include "platform/backend.h"
#include "platform/video/display.h"
#include "platform/video/pixel_rows.h"
#include "platform/faults.h"

namespace platform {
namespace {

constexpr int32_t maxSide = 16384;

std::vector<Surface*> liveSurfaces;
int32_t locksToFail = 0;
int32_t copiesToLose = 0;

uint32_t pixelMask(Format f) { return f == Format::xrgb8888 ? 0xFFFFFFu : 0xFFFFu; }

// Copies and fills refuse lost surfaces and surfaces held by a lock or a drawing context.
Status usable(const Surface& s) {
    if (s.lost) return Status::surfaceLost;
    if (s.lockCount > 0) return Status::failed;
    return Status::ok;
}

Status usable(const Surface& d, const Surface& s) {
    if (copiesToLose > 0) {
        --copiesToLose;
        headless::loseAllSurfaces();
    }
    Status a = usable(d), b = usable(s);
    if (a == Status::surfaceLost || b == Status::surfaceLost) return Status::surfaceLost;
    return a != Status::ok ? a : b;
}

Rect intersect(Rect a, Rect b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

Rect boundsOf(const Surface& s) { return {0, 0, s.width, s.height}; }

template <typename P>
P* rowOf(Surface& s, int32_t x, int32_t y) {
    return reinterpret_cast<P*>(s.memory.data() + size_t(y) * s.pitch) + x;
}
template <typename P>
const P* rowOf(const Surface& s, int32_t x, int32_t y) {
    return reinterpret_cast<const P*>(s.memory.data() + size_t(y) * s.pitch) + x;
}

PixelRows rowsAt(Surface& s, int32_t x, int32_t y) {
    return {s.memory.data() + size_t(y) * s.pitch + size_t(x) * bytesPerPixel(s.format), s.pitch};
}
SourceRows rowsAt(const Surface& s, int32_t x, int32_t y) {
    return {s.memory.data() + size_t(y) * s.pitch + size_t(x) * bytesPerPixel(s.format), s.pitch};
}

void copyRows(Surface& d, int32_t x, int32_t y, const Surface& s, Rect from, bool keyed) {
    PixelRows to = rowsAt(d, x, y);
    SourceRows in = rowsAt(s, from.left, from.top);
    if (!keyed)
        copyOpaque(to, in, from.width() * bytesPerPixel(d.format), from.height());
    else if (bytesPerPixel(d.format) == 4)
        copyKeyed32(to, in, from.width(), from.height(), s.key);
    else
        copyKeyed16(to, in, from.width(), from.height(), uint16_t(s.key));
}

// A copy within one surface whose rectangles overlap goes through a copy of the source.
bool overlaps(const Surface& d, int32_t x, int32_t y, const Surface& s, Rect from) {
    if (&d != &s) return false;
    Rect to{x, y, x + from.width(), y + from.height()};
    return !intersect(to, from).empty();
}

void copyClipped(Surface& d, int32_t x, int32_t y, const Surface& s, Rect from, bool keyed) {
    if (overlaps(d, x, y, s, from)) {
        Surface copy = s;
        copyClipped(d, x, y, copy, from, keyed);
        return;
    }
    copyRows(d, x, y, s, from, keyed);
}

// Clips the source rectangle to the source, then the destination to the destination, moving
// both together. Returns false when nothing is left.
bool clipCopy(const Surface& d, int32_t& x, int32_t& y, const Surface& s, Rect& from) {
    Rect r = intersect(from, boundsOf(s));
    x += r.left - from.left;
    y += r.top - from.top;
    from = r;
    Rect to = intersect({x, y, x + from.width(), y + from.height()}, boundsOf(d));
    from = {from.left + to.left - x, from.top + to.top - y, from.left + to.right - x,
            from.top + to.bottom - y};
    x = to.left;
    y = to.top;
    return !from.empty();
}

template <typename P>
void scaleRows(Surface& d, Rect to, Rect clipped, const Surface& s, Rect from, bool keyed) {
    P key = P(s.key), mask = P(pixelMask(s.format));
    std::vector<int32_t> columns;  // the source column of each destination column
    for (int32_t x = clipped.left; x < clipped.right; ++x)
        columns.push_back(from.left + int32_t(nearestSource(x - to.left, from.width(), to.width())));
    for (int32_t y = clipped.top; y < clipped.bottom; ++y) {
        int32_t sy = from.top + int32_t(nearestSource(y - to.top, from.height(), to.height()));
        P* out = rowOf<P>(d, clipped.left, y);
        const P* in = rowOf<P>(s, 0, sy);
        for (size_t i = 0; i < columns.size(); ++i) {
            P p = in[columns[i]];
            out[i] = keyed && P(p & mask) == key ? out[i] : p;
        }
    }
}

}  // namespace

FormatMasks masksOf(Format f) {
    switch (f) {
    case Format::rgb565: return {0xF800, 0x07E0, 0x001F, 16};
    case Format::rgb555: return {0x7C00, 0x03E0, 0x001F, 16};
    case Format::xrgb8888: return {0xFF0000, 0x00FF00, 0x0000FF, 32};
    }
    return {};
}

uint32_t pixelFromColor(Format f, COLORREF c) {
    switch (f) {
    case Format::rgb565:
        return uint32_t(GetRValue(c) >> 3) << 11 | uint32_t(GetGValue(c) >> 2) << 5 | GetBValue(c) >> 3;
    case Format::rgb555:
        return uint32_t(GetRValue(c) >> 3) << 10 | uint32_t(GetGValue(c) >> 3) << 5 | GetBValue(c) >> 3;
    case Format::xrgb8888:
        return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
    }
    return 0;
}

COLORREF colorFromPixel(Format f, uint32_t raw) {
    auto five = [](uint32_t v) { return uint8_t(v << 3 | v >> 2); };
    auto six = [](uint32_t v) { return uint8_t(v << 2 | v >> 4); };
    switch (f) {
    case Format::rgb565: return RGB(five(raw >> 11 & 31), six(raw >> 5 & 63), five(raw & 31));
    case Format::rgb555: return RGB(five(raw >> 10 & 31), five(raw >> 5 & 31), five(raw & 31));
    case Format::xrgb8888: return RGB(uint8_t(raw >> 16), uint8_t(raw >> 8), uint8_t(raw));
    }
    return 0;
}

Surface* createSurface(int32_t w, int32_t h) { return createSurface(w, h, displayFormat()); }

Surface* createSurface(int32_t w, int32_t h, Format f) {
    if (w <= 0 || h <= 0 || w > maxSide || h > maxSide) return nullptr;
    auto* s = new Surface;
    s->width = w;
    s->height = h;
    s->format = f;
    s->pitch = (w * bytesPerPixel(f) + 3) & ~3;
    s->memory.assign(size_t(s->pitch) * h, 0);
    liveSurfaces.push_back(s);
    return s;
}

void destroySurface(Surface* s) {
    if (!s) return;
    std::erase(liveSurfaces, s);
    delete s;
}

int32_t liveSurfaceCount() { return int32_t(liveSurfaces.size()); }

Status lock(Surface& s, LockedRect& out) {
    if (s.lost) return Status::surfaceLost;
    if (locksToFail > 0) {
        --locksToFail;
        return Status::failed;
    }
    if (!backend().allowLock(s)) return Status::failed;
    ++s.lockCount;
    out = {s.memory.data(), s.pitch, s.width, s.height, s.format};
    return Status::ok;
}

void unlock(Surface& s) {
    if (s.lockCount > 0) --s.lockCount;
}

void setColorKey(Surface& s, uint32_t raw) {
    s.hasKey = true;
    s.key = raw & pixelMask(s.format);
}

void clearColorKey(Surface& s) { s.hasKey = false; }

bool isLost(const Surface& s) { return s.lost; }

Status restore(Surface& s) {
    if (s.lost) std::fill(s.memory.begin(), s.memory.end(), uint8_t(0));
    s.lost = false;
    return Status::ok;
}

Status bltFast(Surface& d, int32_t x, int32_t y, const Surface& s, Rect from, bool keyed) {
    if (Status st = usable(d, s); st != Status::ok) return st;
    if (d.format != s.format) return Status::failed;
    if (clipCopy(d, x, y, s, from)) copyClipped(d, x, y, s, from, keyed && s.hasKey);
    return Status::ok;
}

Status blt(Surface& d, Rect to, const Surface& s, Rect from, bool keyed) {
    if (to.width() == from.width() && to.height() == from.height())
        return bltFast(d, to.left, to.top, s, from, keyed);
    return bltClipped(d, to, s, from, keyed, boundsOf(d));
}

Status bltClipped(Surface& d, Rect to, const Surface& s, Rect from, bool keyed, Rect clip) {
    if (Status st = usable(d, s); st != Status::ok) return st;
    if (d.format != s.format) return Status::failed;
    Rect inside = intersect(from, boundsOf(s));
    if (to.empty() || from.empty() || inside.left != from.left || inside.top != from.top ||
        inside.right != from.right || inside.bottom != from.bottom)
        return Status::failed;  // a stretch reads only whole source rectangles
    Rect clipped = intersect(intersect(to, boundsOf(d)), clip);
    if (clipped.empty()) return Status::ok;
    if (&d == &s) {  // a stretch within one surface reads from a copy
        Surface copy = s;
        return bltClipped(d, to, copy, from, keyed, clip);
    }
    if (bytesPerPixel(d.format) == 4)
        scaleRows<uint32_t>(d, to, clipped, s, from, keyed && s.hasKey);
    else
        scaleRows<uint16_t>(d, to, clipped, s, from, keyed && s.hasKey);
    return Status::ok;
}

int64_t nearestSource(int64_t d, int64_t fromLength, int64_t toLength) {
    int64_t n = (2 * d + 1) * fromLength, q = 2 * toLength;
    int64_t r = n / q;
    return (n % q != 0 && (n < 0) != (q < 0)) ? r - 1 : r;  // floor, whatever the signs
}

Status fill(Surface& d, Rect r, uint32_t raw) {
    if (Status st = usable(d); st != Status::ok) return st;
    r = intersect(r, boundsOf(d));
    if (r.empty()) return Status::ok;
    raw &= pixelMask(d.format);
    if (bytesPerPixel(d.format) == 4)
        fill32(rowsAt(d, r.left, r.top), r.width(), r.height(), raw);
    else
        fill16(rowsAt(d, r.left, r.top), r.width(), r.height(), uint16_t(raw));
    return Status::ok;
}

namespace headless {

void loseAllSurfaces() {
    for (Surface* s : liveSurfaces) s->lost = true;
}

void loseSurface(Surface* s) {
    if (s) s->lost = true;
}

void failNextLocks(int32_t n) { locksToFail = std::max(n, 0); }
void loseAtNextCopies(int32_t n) { copiesToLose = std::max(n, 0); }

}  // namespace headless
}  // namespace platform
