// The rotation family: Rotate, RotateTile, RotateZoom, RotateZoomTile and Floor. A destination
// pixel (i, j) of the box looks up the source through fixed-point accumulators scaled by 360,
//   a = (U0 + i·C − j·S) / 360 − offX,  b = (V0 + i·S + j·C) / 360 − offY,
// then maps a and b to source columns and rows. The maps depend on one coordinate each, so they
// are tabled once per call (per row for Floor) over the range a and b take in the visible part:
// the inner loop is two divisions by a constant, two look-ups and the pixel copy. Accumulators
// are 64-bit so that far-away boxes cannot overflow them.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "draw/effects/effect_frame.h"

namespace zuDraw {

namespace {

using effects::Pixels16;

enum class Fetch { plain, tile, zoom, zoomTile };

// Truncation toward zero to a 32-bit value, out-of-range values clamped and NaN taken as 0.
int64_t truncClamped(float value) {
    if (!(value == value)) return 0;
    if (value >= 2147483648.0f) return INT32_MAX;
    if (value <= -2147483648.0f) return INT32_MIN;
    return int64_t(value);
}

bool usableZoom(float zoom) { return zoom == zoom && zoom != 0.0f; }

// Source coordinate (0 to size − 1, relative to the rectangle) for a box coordinate, or −1.
int64_t mapCoordinate(int64_t a, Fetch fetch, float zoom, int64_t size) {
    if (fetch == Fetch::zoom || fetch == Fetch::zoomTile)
        a = truncClamped(float(a) / zoom);  // the division stays in single precision
    if (fetch == Fetch::tile || fetch == Fetch::zoomTile) return std::llabs(a) % size;
    return a >= 0 && a < size ? a : -1;
}

// One axis of the lookup: for box coordinates first … last, the source position on the
// surface scaled by `stride` (1 for columns, the pitch for rows), or −1 where nothing is drawn.
struct AxisMap {
    std::vector<int64_t> to;

    void build(int64_t first, int64_t last, Fetch fetch, float zoom, int64_t start, int64_t size,
               int64_t extent, int64_t stride) {
        to.resize(size_t(last - first + 1));
        for (int64_t a = first; a <= last; ++a) {
            int64_t s = mapCoordinate(a, fetch, zoom, size);
            int64_t onSurface = start + s;
            to[size_t(a - first)] = s >= 0 && onSurface >= 0 && onSurface < extent ? onSurface * stride : -1;
        }
    }
};

struct Rotation {
    int32_t x1, y1, x2, y2, angle, object;
    platform::Rect source;
    Fetch fetch;
    float zoomX = 1.0f, zoomY = 1.0f;
    float zoomXStep = 0.0f, zoomYStep = 0.0f;  // Floor only
    bool floor = false;
    float scale[3] = {1.0f, 1.0f, 1.0f};       // Floor only
};

// Floor's colour scaling of one pixel, through a table per channel.
struct ChannelScale {
    uint8_t level[3][32];
    explicit ChannelScale(const float scale[3]) {
        for (int32_t c = 0; c < 3; ++c)
            for (int32_t v = 0; v < 32; ++v) level[c][v] = uint8_t(v * effects::clampUnit(scale[c]));
    }
    uint16_t apply(uint16_t p) const {
        const uint8_t* rgb = effects::rgb5(p);
        return effects::pack5(level[0][rgb[0]], level[1][rgb[1]], level[2][rgb[2]]);
    }
};

// The part of the box inside the clip rectangle, in columns and rows of the box.
struct Visible {
    int64_t firstColumn, endColumn, firstRow, endRow;
    bool none() const { return endColumn < firstColumn || endRow < firstRow; }
    bool empty() const { return endColumn == firstColumn || endRow == firstRow; }
};

Visible visiblePart(const Rotation& r, const platform::Rect& clip) {
    const int64_t W = int64_t(r.x2) - r.x1, H = int64_t(r.y2) - r.y1;
    return {std::max<int64_t>(0, int64_t(clip.left) - r.x1), std::min<int64_t>(W, int64_t(clip.right) - r.x1),
            std::max<int64_t>(0, int64_t(clip.top) - r.y1), std::min<int64_t>(H, int64_t(clip.bottom) - r.y1)};
}

// The turn's accumulators at any pixel (i, j) of the box, and the offsets that centre the
// source in it.
struct Turn {
    int64_t S = 0, C = 0, U0 = 0, V0 = 0, offX = 0, offY = 0;
    int64_t U(int64_t i, int64_t j) const { return U0 + i * C - j * S; }
    int64_t V(int64_t i, int64_t j) const { return V0 + i * S + j * C; }
};

Turn turnOf(const Rotation& r, int64_t srcW, int64_t srcH) {
    const int64_t W = int64_t(r.x2) - r.x1, H = int64_t(r.y2) - r.y1, halfW = W >> 1, halfH = H >> 1;
    const int32_t angle = (r.angle % 360 + 360) % 360;
    Turn t;
    t.S = effectTables.sine[angle], t.C = effectTables.sine[angle + 90];
    t.U0 = 360 * halfW - halfW * t.C + halfH * t.S;
    t.V0 = 360 * halfH - halfW * t.S - halfH * t.C;
    t.offX = (W - srcW) >> 1, t.offY = (H - srcH) >> 1;
    if (r.fetch == Fetch::zoom) {
        t.offX = (W - truncClamped(float(srcW) * r.zoomX)) >> 1;
        t.offY = (H - truncClamped(float(srcH) * r.zoomX)) >> 1;
    }
    return t;
}

// Floor's zooms grow row by row from the box's first row, visible or not. Once a step no
// longer changes them (or they are NaN) they stay put, so far-away boxes end the loop early.
void zoomsAtRow(const Rotation& r, int64_t row, float& zoomX, float& zoomY) {
    zoomX = r.zoomX, zoomY = r.zoomY;
    for (int64_t j = 0; j < row; ++j) {
        const float nextX = zoomX + r.zoomXStep, nextY = zoomY + r.zoomYStep;
        const bool settled = (nextX == zoomX && nextY == zoomY) || !(nextX == nextX && nextY == nextY);
        zoomX = nextX, zoomY = nextY;
        if (settled) break;
    }
}

// The lookup of one call: column and row maps over the a and b that a band of rows meets.
struct Lookup {
    AxisMap columns, rows;
    int64_t columnBase = 0, rowBase = 0;  // a and b of the maps' first entries, before offsets

    // U and V are linear in i and j, and a division truncating toward zero keeps their order:
    // the corners of the band bound its a and b.
    void build(const Rotation& r, const Turn& t, const Visible& v, int64_t top, int64_t bottom,
               float zoomX, float zoomY, const Pixels16& src) {
        int64_t aLo = INT64_MAX, aHi = INT64_MIN, bLo = INT64_MAX, bHi = INT64_MIN;
        for (int64_t i : {v.firstColumn, v.endColumn - 1})
            for (int64_t j : {top, bottom}) {
                aLo = std::min(aLo, t.U(i, j) / 360), aHi = std::max(aHi, t.U(i, j) / 360);
                bLo = std::min(bLo, t.V(i, j) / 360), bHi = std::max(bHi, t.V(i, j) / 360);
            }
        const int64_t srcW = int64_t(r.source.right) - r.source.left;
        const int64_t srcH = int64_t(r.source.bottom) - r.source.top;
        columns.build(aLo - t.offX, aHi - t.offX, r.fetch, zoomX, r.source.left, srcW, src.width, 1);
        rows.build(bLo - t.offY, bHi - t.offY, r.fetch, zoomY, r.source.top, srcH, src.height, src.pitch);
        columnBase = aLo, rowBase = bLo;
    }
};

int32_t rotate(const Rotation& r) {
    if (!effects::ready()) return 0;
    platform::Surface* surface = effects::spriteSurface(r.object);
    if (!surface) return 0;
    const Visible visible = visiblePart(r, effects::clipOnBack());
    if (visible.none()) return 1;
    const int64_t srcW = int64_t(r.source.right) - r.source.left;
    const int64_t srcH = int64_t(r.source.bottom) - r.source.top;
    if (srcW <= 0 || srcH <= 0) return 1;  // the tiling forms would take a modulo by 0
    const bool zooms = r.fetch == Fetch::zoom || r.fetch == Fetch::zoomTile;
    if (zooms && !r.floor && !usableZoom(r.zoomX)) return 1;
    const Turn turn = turnOf(r, srcW, srcH);

    effects::EffectLock lock(*surface, *screenState.back);
    if (!lock.ok()) return 0;
    if (visible.empty()) return 1;
    const Pixels16& src = lock.source;
    static Lookup lookup;  // kept between calls: an effect runs every frame
    float zoomX = r.zoomX, zoomY = r.zoomY;
    if (r.floor)
        zoomsAtRow(r, visible.firstRow, zoomX, zoomY);
    else
        lookup.build(r, turn, visible, visible.firstRow, visible.endRow - 1, zoomX, zoomY, src);
    const ChannelScale scale(r.scale);
    for (int64_t j = visible.firstRow; j < visible.endRow; ++j) {
        if (r.floor) {  // the zooms change every row: maps of this row's reach only
            const bool drawRow = usableZoom(zoomX) && usableZoom(zoomY);
            if (drawRow) lookup.build(r, turn, visible, j, j, zoomX, zoomY, src);
            zoomX += r.zoomXStep, zoomY += r.zoomYStep;
            if (!drawRow) continue;
        }
        uint16_t* out = lock.dest.row(int32_t(r.y1 + j));
        const int64_t* columnOf = lookup.columns.to.data();
        const int64_t* rowOf = lookup.rows.to.data();
        int64_t u = turn.U(visible.firstColumn, j), v = turn.V(visible.firstColumn, j);
        for (int64_t i = visible.firstColumn; i < visible.endColumn; ++i, u += turn.C, v += turn.S) {
            const int64_t sx = columnOf[u / 360 - lookup.columnBase], sy = rowOf[v / 360 - lookup.rowBase];
            if ((sx | sy) < 0) continue;
            const uint16_t p = src.bits[sy + sx];
            if (p) out[r.x1 + i] = r.floor ? scale.apply(p) : p;
        }
    }
    return 1;
}

}  // namespace

int32_t Rotate(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, int32_t obj,
               int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    return rotate({x1, y1, x2, y2, angle, obj, {sL, sT, sR, sB}, Fetch::plain});
}

int32_t RotateTile(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, int32_t obj,
                   int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    return rotate({x1, y1, x2, y2, angle, obj, {sL, sT, sR, sB}, Fetch::tile});
}

int32_t RotateZoom(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, float zoom,
                   int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    return rotate({x1, y1, x2, y2, angle, obj, {sL, sT, sR, sB}, Fetch::zoom, zoom, zoom});
}

int32_t RotateZoomTile(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, float zoom,
                       int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    return rotate({x1, y1, x2, y2, angle, obj, {sL, sT, sR, sB}, Fetch::zoomTile, zoom, zoom});
}

int32_t Floor(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, float zoomX,
              float zoomXStep, float zoomY, float zoomYStep, float scaleR, float scaleG,
              float scaleB, int32_t obj, int32_t sL, int32_t sT, int32_t sR, int32_t sB) {
    return rotate({x1, y1, x2, y2, angle, obj, {sL, sT, sR, sB}, Fetch::zoomTile, zoomX, zoomY,
                   zoomXStep, zoomYStep, true, {scaleR, scaleG, scaleB}});
}

}  // namespace zuDraw
