// Rotation, zoom and warp effects on the headless 16-bit screen: worked cases, the rotation family against a
// plain per-pixel form of its formula, locks, every unsafe input, and one golden sheet per family.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <tuple>
#include <vector>

#include "platform/faults.h"
#include "platform/video/surface.h"
#include "support/fresh_screen.h"
#include "support/golden.h"

namespace {
uint16_t& at(const platform::Surface& s, int32_t x, int32_t y) {
    return const_cast<uint16_t*>(reinterpret_cast<const uint16_t*>(s.memory.data() + size_t(y) * s.pitch))[x];
}
platform::Surface& back() { return *zuDraw::screenState.back; }
int32_t makeObject(int32_t w, int32_t h, const std::function<uint16_t(int32_t, int32_t)>& paint) {
    int32_t n = zuDraw::CreateObject(w, h, 2);
    for (int32_t k = 0; k < w * h; ++k) at(*zuDraw::objectTable[n].surface, k % w, k / w) = paint(k % w, k / w);
    return n;
}
// A 64 x 48 sprite that shows its turn: a gradient, a white top edge, a transparent hole top left.
uint16_t sprite(int32_t x, int32_t y) {
    if ((x - 16) * (x - 16) + (y - 14) * (y - 14) < 64) return 0;
    return y < 3 ? 0xFFFF : uint16_t((x * 31 / 63) << 11 | (y * 63 / 47) << 5 | 12);
}
// A pixel in 5-bit colour, put together again on 565.
uint16_t fiveBit(uint16_t p) { const uint8_t* c = zuDraw::effectTables.pixelRgb5[p]; return uint16_t(c[0] << 11 | c[1] << 6 | c[2]); }
void paintBack() {
    for (int32_t k = 0, x = 0, y = 0; k < back().width * back().height; ++k, x = k % back().width, y = k / back().width)
        at(back(), x, y) = uint16_t(x % 20 == 0 || y % 20 == 0 ? 0x4208 : ((x + y) / 40) % 8 << 1 | 0x0841);
}
// Kinds 0 to 4: Rotate, RotateTile, RotateZoom, RotateZoomTile, Floor (its y zoom steps half as fast).
int32_t rotation(int32_t kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, float zoom, float step,
                 int32_t object, platform::Rect s, float scaleR = 1, float scaleG = 1, float scaleB = 1) {
    switch (kind) {
    case 0: return zuDraw::Rotate(x1, y1, x2, y2, angle, object, s.left, s.top, s.right, s.bottom);
    case 1: return zuDraw::RotateTile(x1, y1, x2, y2, angle, object, s.left, s.top, s.right, s.bottom);
    case 2: return zuDraw::RotateZoom(x1, y1, x2, y2, angle, zoom, object, s.left, s.top, s.right, s.bottom);
    case 3: return zuDraw::RotateZoomTile(x1, y1, x2, y2, angle, zoom, object, s.left, s.top, s.right, s.bottom);
    default: return zuDraw::Floor(x1, y1, x2, y2, angle, zoom, step, zoom, step / 2, scaleR, scaleG, scaleB, object, s.left, s.top, s.right, s.bottom);
    }
}
struct RotateWarp : FreshScreen16 {
    void SetUp() override { FreshScreen16::SetUp(); zuDraw::tunnelTable.textureWidth = 0; }  // no tunnel made yet
};
using RotateWarpGolden = RotateWarp;

TEST_F(RotateWarp, WorkedCasesOfEachOperation) {
    const int32_t s = makeObject(64, 48, sprite), solid = makeObject(8, 6, [](int32_t x, int32_t y) { return uint16_t(x * 0x18C3 + y * 0x1003 + 1); });
    paintBack();
    const platform::Surface before = back(), &source = *zuDraw::objectTable[s].surface, &tile = *zuDraw::objectTable[solid].surface;
    auto keyed = [&](int32_t x, int32_t y, int32_t sx, int32_t sy) { return at(source, sx, sy) ? at(source, sx, sy) : at(before, x, y); };
    const std::tuple<const char*, std::function<int32_t()>, platform::Rect, std::function<uint16_t(int32_t, int32_t)>> cases[] = {
        {"Rotate 0 degrees: unchanged", [&] { return zuDraw::Rotate(100, 100, 164, 148, 0, s, 0, 0, 64, 48); }, {100, 100, 164, 148},
         [&](int32_t x, int32_t y) { return keyed(x, y, x - 100, y - 100); }},
        {"Rotate 180: turned, one pixel right and down", [&] { return zuDraw::Rotate(300, 100, 364, 148, 180, s, 0, 0, 64, 48); }, {300, 100, 364, 148},
         [&](int32_t x, int32_t y) { return x > 300 && y > 100 ? keyed(x, y, 364 - x, 148 - y) : at(before, x, y); }},
        {"RotateTile: mirrored tiles fill the box", [&] { return zuDraw::RotateTile(10, 300, 90, 380, 0, solid, 0, 0, 8, 6); }, {10, 300, 90, 380},
         [&](int32_t x, int32_t y) { return at(tile, std::abs(x - 10 - 36) % 8, std::abs(y - 300 - 37) % 6); }},
        {"RotateZoom 2: centred, cut at the box", [&] { return zuDraw::RotateZoom(400, 300, 500, 380, 0, 2.0f, s, 0, 0, 64, 48); }, {400, 300, 500, 380},
         [&](int32_t x, int32_t y) { return keyed(x, y, (x - 400 + 14) / 2, (y - 300 + 8) / 2); }},
        {"Floor without steps: RotateZoomTile in 5-bit colour", [&] { return zuDraw::RotateZoomTile(0, 0, 90, 70, 25, 1.5f, solid, 0, 0, 8, 6) *
              rotation(4, 100, 0, 190, 70, 25, 1.5f, 0.0f, solid, {0, 0, 8, 6}); }, {100, 0, 190, 70}, [&](int32_t x, int32_t y) { return fiveBit(at(back(), x - 100, y)); }},
        {"Ripple at rest: a copy, transparent pixels too", [&] { return zuDraw::Ripple(500, 20, 0, 9, 1, 1.0f, 0.0f, s, 0, 0, 64, 48); }, {500, 20, 564, 68},
         [&](int32_t x, int32_t y) { return at(source, x - 500, y - 20); }},
        {"StretchEdge mode 2, edge 0: row 0 to the bottom", [&] { return zuDraw::StretchEdge(300, 200, 2, 0, s, 0, 0, 64, 48); }, {300, 200, 364, 480},
         [&](int32_t, int32_t) { return 0xFFFF; }},
        {"Tunnel: offsets wrapped, negative too, and clipped", [&] { return zuDraw::SetClip(30, 420, 640, 480), zuDraw::MakeTunnel(60, 45, 100, 80, -1, -1, -1, 0, 0, 0) *
              zuDraw::Tunnel(0, 400, -4, -92, s); }, {0, 400, 100, 480}, [&](int32_t x, int32_t y) { const int16_t* e = zuDraw::tunnelTable.entries[(y - 400) * 100 + x];
             return x >= 30 && y >= 420 ? at(source, (56 + e[0]) % 60, (43 + e[1]) % 45) : at(before, x, y); }},
    };
    for (const auto& [what, draw, box, expected] : cases) {
        SCOPED_TRACE(what);
        ASSERT_EQ(draw(), 1);
        for (int32_t y = box.top; y < box.bottom; ++y)
            for (int32_t x = box.left; x < box.right; ++x) ASSERT_EQ(at(back(), x, y), expected(x, y)) << x << "," << y;
    }
    EXPECT_EQ(zuDraw::tunnelTable.entries[40 * 100 + 50][0] | zuDraw::tunnelTable.entries[40 * 100 + 50][1], 0);  // the centre: distance 0
}

// The formula as written: 32-bit accumulators stepped over every pixel of the box.
void plainRotation(int32_t kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, float zoom, float step,
                   float scaleR, const platform::Rect& src, const platform::Surface& object, platform::Surface& back) {
    const int32_t W = x2 - x1, H = y2 - y1, srcW = src.width(), srcH = src.height(), S = zuDraw::effectTables.sine[angle],
                  C = zuDraw::effectTables.sine[angle + 90];
    int32_t offX = (W - srcW) >> 1, offY = (H - srcH) >> 1;
    if (kind == 2) offX = (W - int32_t(srcW * zoom)) >> 1, offY = (H - int32_t(srcH * zoom)) >> 1;
    int32_t U0 = 360 * (W >> 1) - (W >> 1) * C + (H >> 1) * S, V0 = 360 * (H >> 1) - (W >> 1) * S - (H >> 1) * C;
    const zuDraw::ScreenState& c = zuDraw::screenState;  // its clip cut to the back buffer below
    float zx = zoom, zy = zoom;
    for (int32_t j = 0; j < H; ++j, U0 -= S, V0 += C, zx += step, zy += step / 2) {
        for (int32_t i = 0, U = U0, V = V0; i < W; ++i, U += C, V += S) {
            int32_t a = U / 360 - offX, b = V / 360 - offY, sx = a, sy = b, x = x1 + i, y = y1 + j;
            if (x < std::max(c.clipLeft, 0) || x >= std::min(c.clipRight, back.width) || y < std::max(c.clipTop, 0) || y >= std::min(c.clipBottom, back.height))
                continue;  // the clip rectangle cut to the back buffer
            if (kind == 1) sx = std::abs(a) % srcW, sy = std::abs(b) % srcH;
            if (kind == 2) sx = int32_t(a / zoom), sy = int32_t(b / zoom);
            if (kind >= 3) sx = std::abs(int32_t(a / zx)) % srcW, sy = std::abs(int32_t(b / zy)) % srcH;
            if (sx < 0 || sx >= srcW || sy < 0 || sy >= srcH) continue;
            const uint16_t p = at(object, src.left + sx, src.top + sy);
            const uint8_t red = uint8_t(zuDraw::effectTables.pixelRgb5[p][0] * std::clamp(scaleR, 0.0f, 1.0f));
            if (p) at(back, x, y) = kind == 4 ? uint16_t((fiveBit(p) & 0x07FF) | red << 11) : p;
        }
    }
}

TEST_F(RotateWarp, RotationFamilyMatchesThePlainFormulaOnRandomPicturesSizesAndClips) {
    zuDraw::Release();
    ASSERT_EQ(zuDraw::Screen(160, 120, 1), 1);
    std::mt19937 random(7);
    auto in = [&](int32_t lo, int32_t hi) { return lo + int32_t(random() % uint32_t(hi - lo + 1)); };
    for (int32_t round = 0; round < 300; ++round) {
        const int32_t kind = round % 5, w = in(1, 40), h = in(1, 40), object = makeObject(w + 4, h + 4, [&](int32_t, int32_t) {
            const uint32_t r = random();
            return uint16_t(r % 8 ? r >> 8 : 0);  // one in eight transparent
        });
        const int32_t l = in(0, 4), t = in(0, 4), x1 = in(-60, 150), y1 = in(-60, 110), angle = in(0, 359);
        const int32_t x2 = x1 + in(0, 120), y2 = y1 + in(0, 120);
        const float zoom = float(in(1, 40)) / 10.0f, step = kind == 4 ? float(in(0, 4)) / 100.0f : 0.0f;
        zuDraw::SetClip(in(-10, 80), in(-10, 60), in(40, 170), in(30, 130));
        for (uint8_t& byte : back().memory) byte = uint8_t(random());
        platform::Surface expected = back();
        const float red = float(in(-5, 15)) / 10.0f;  // a Floor scale, beyond 0 to 1 too
        plainRotation(kind, x1, y1, x2, y2, angle, zoom, step, red, {l, t, l + w, t + h}, *zuDraw::objectTable[object].surface, expected);
        ASSERT_EQ(rotation(kind, x1, y1, x2, y2, angle - 720 * (round % 2), zoom, step, object, {l, t, l + w, t + h}, red), 1);
        ASSERT_TRUE(back().memory == expected.memory) << "round " << round << " kind " << kind;
        zuDraw::ReleaseObject(object);
    }
}

TEST_F(RotateWarp, UnsafeInputsFailedLocksAndEmptyRegionsDrawNothingAndLeaveNothingLocked) {
    const int32_t s = makeObject(64, 48, sprite), texture = makeObject(32, 32, sprite), gone = zuDraw::CreateObject(8, 8, 2);
    zuDraw::ReleaseObject(gone);
    EXPECT_EQ(zuDraw::Tunnel(0, 0, 0, 0, texture), 0);  // no table made yet
    ASSERT_EQ(zuDraw::MakeTunnel(32, 32, 64, 64, -1, -1, -1, 0, 0, 0), 1);
    auto tunnel = [](int32_t tw, int32_t th, int32_t w, int32_t h, int32_t metric, int32_t depth) { return zuDraw::MakeTunnel(tw, th, w, h, -1, -1, -1, 0, metric, depth); };
    auto turn = [&](int32_t kind, int32_t x, float zoom, platform::Rect from = {0, 0, 64, 48}, int32_t object = 0) { return rotation(kind, x, 0, x + 64, 48, 30, zoom, 0.0f, object ? object : s, from); };
    auto ripple = [&](int32_t x, int32_t step, platform::Rect from = {0, 0, 64, 48}, int32_t object = 0) {
        return zuDraw::Ripple(x, 0, 4, 4, step, 1.0f, 0.0f, object ? object : s, from.left, from.top, from.right, from.bottom);
    };
    // what, result (a sum), locks made to fail, whether it may draw, the calls
    const std::tuple<const char*, int32_t, int32_t, bool, std::function<int32_t()>> cases[] = {
        {"tunnel refused: too large, texture 0 or too large, negative size, unknown metric or depth", 0, 0, false, [&] {
             return tunnel(64, 64, 641, 480, 0, 0) + tunnel(64, 64, 480, 641, 0, 0) + tunnel(0, 64, 9, 9, 0, 0) +
                    tunnel(64, 40000, 9, 9, 0, 0) + tunnel(64, 64, -1, 9, 0, 0) + tunnel(64, 64, 9, 9, 7, 0) + tunnel(64, 64, 9, 9, 0, 6); }},
        {"no object", 0, 0, false, [&] { return turn(0, 0, 1, {0, 0, 8, 8}, gone) + turn(1, 0, 1, {}, 1024) + ripple(0, 1, {0, 0, 9, 9}, -1) +
                                               zuDraw::StretchEdge(0, 0, 0, 0, 1024, 0, 0, 9, 9) + zuDraw::Tunnel(0, 0, 0, 0, -5); }},
        {"zoom 0 or NaN, empty sources, Ripple step 0 or -2 or empty, StretchEdge mode 4: no lock tried", 8, 8, false, [&] {
             return turn(2, 0, 0.0f) + turn(3, 0, NAN) + turn(1, 0, 1, {5, 0, 5, 48}) + turn(3, 0, 1, {0, 9, 64, 8}) + ripple(0, 0) + ripple(0, -2) +
                    ripple(0, 1, {10, 0, 10, 48}) + zuDraw::StretchEdge(0, 0, 4, 0, s, 0, 0, 64, 48); }},
        {"Floor zoom 0, nothing readable", 2, 0, false, [&] {
             return rotation(4, 0, 0, 64, 48, 0, 0.0f, 0.0f, s, {0, 0, 64, 48}) + zuDraw::StretchEdge(0, 0, 0, 0, s, 64, 0, 64, 48); }},
        {"wholly outside: no lock tried", 4, 4, false, [&] {
             return turn(2, -99, 1.5f) + ripple(-99, 1) + zuDraw::StretchEdge(-99, 0, 1, 3, s, 0, 0, 64, 48) + zuDraw::Tunnel(-99, 0, 0, 0, texture); }},
        {"a lock fails", 0, 4, false, [&] {
             return turn(0, 0, 1) + ripple(0, 1) + zuDraw::StretchEdge(0, 0, 1, 3, s, 0, 0, 64, 48) + zuDraw::Tunnel(0, 0, 0, 0, texture); }},
        {"tiny zoom, sources past the surface, far box, huge ripple", 6, 0, true, [&] {
             return turn(3, 0, 1e-30f) + turn(2, -9, 3.0f, {-50, -40, 900, 700}) + ripple(-5, 2, {-20, -20, 640, 480}) +
                    rotation(0, INT32_MIN + 3, -2000000000, INT32_MAX, 2000000000, 359, 1, 0, s, {0, 0, 64, 48}) +
                    zuDraw::Ripple(0, 0, INT32_MAX, 3, 1, 1e30f, NAN, s, 0, 0, 64, 48) + zuDraw::StretchEdge(9, 9, 1, 9, s, -30, -20, 640, 480); }},
        {"StretchEdge: edges past the region and the surface, regions widened to the screen", 48, 0, true, [&] {
             int32_t sum = 0;  // four modes, six edges, a whole and a cut region
             for (int32_t n = 0; n < 24; ++n)
                 sum += zuDraw::StretchEdge(300, 200, n % 4, n / 4 * 13107 - 1, s, 0, 0, 64, 48) + zuDraw::StretchEdge(9, 9, n % 4, n * 3, s, 30, 20, 640, 480);
             return sum; }},
    };
    for (const auto& [what, result, failLocks, mayDraw, run] : cases) {
        SCOPED_TRACE(what);
        const std::vector<uint8_t> before = back().memory;
        platform::headless::failNextLocks(failLocks);
        EXPECT_EQ(run(), result);
        platform::headless::failNextLocks(0);
        EXPECT_EQ(std::tuple(back().lockCount, zuDraw::objectTable[s].surface->lockCount, zuDraw::tunnelTable.textureWidth),
                  std::tuple(0, 0, 32));  // the tunnel table unchanged
        EXPECT_TRUE(mayDraw || back().memory == before);
    }
    EXPECT_EQ(tunnel(33, 32, 64, 64, 0, 0) * 10 + zuDraw::Tunnel(0, 0, 0, 0, texture), 10);  // made, but wider than its object
    ASSERT_EQ(showFullScreen(32), 1);  // no tables: nothing runs
    const int32_t t = makeObject(64, 48, sprite);
    EXPECT_EQ(turn(0, 0, 1, {0, 0, 64, 48}, t) + ripple(0, 1, {0, 0, 64, 48}, t) + zuDraw::StretchEdge(0, 0, 0, 0, t, 0, 0, 64, 48) + zuDraw::Tunnel(0, 0, 0, 0, t), 0);
}

// Each family on one sheet of 4 x 3 cells of 160 x 160, each cell drawn with the clip on it; StretchEdge's
// modes 1 and 3 fill out to the screen's left and top edges, so their cells lie there.
TEST_F(RotateWarpGolden, OneSheetPerFamily) {
    auto sheet = [](const char* name, const std::function<void(int32_t, int32_t, int32_t)>& cell) {
        paintBack();
        for (int32_t n = 0, x = 0, y = 0; n < 12; ++n, x = n % 4 * 160, y = n / 4 * 160) zuDraw::SetClip(x, y, x + 160, y + 160), cell(n, x, y);
        EXPECT_TRUE(testsupport::matchesGolden(name, testsupport::pictureOf(back())));
    };
    const float turns[12][6] = {{0, 0, 1}, {0, 30, 1}, {0, 180, 1}, {1, 45, 1}, {2, 30, 2}, {2, 300, 0.5f}, {3, 20, 1.5f}, {3, 330, 0.75f},
                                {4, 0, 0.3f, 0.03f, 1, 1}, {4, 45, 0.2f, 0.04f, 0.5f, 0.2f}, {4, 10, 4, -0.033f, 1, 1}, {2, 200, 2.5f}};
    const int32_t s = makeObject(64, 48, sprite),
                  texture = makeObject(128, 128, [](int32_t x, int32_t y) { return uint16_t(((x / 16 + y / 16) % 2 ? 0xFFE0 : 0x001F) ^ (x * 2 << 11 | y / 2 << 5)); });
    sheet("effects_rotate", [&](int32_t n, int32_t x, int32_t y) {
        const auto& [kind, angle, zoom, step, green, blue] = turns[n];
        const int32_t inset = kind == 4 ? 0 : 8;
        rotation(int32_t(kind), x + inset, y + (kind == 4 ? 40 : 8), x + 160 - inset, y + 160 - inset, int32_t(angle), zoom, step, s,
                 {0, 0, 64, 48}, 1, green, blue);
    });
    // StretchEdge as (-1 - mode, edge, x, y); Ripple as (amplitude, frequency, step, scale · 10, shear · 10)
    const int32_t warps[12][5] = {{-4, 20, 50, 100}, {10, 4, 1, 20}, {20, 8, 1, 20}, {30, 12, 1, 20}, {-2, 40, 70, 50}, {-1, 24, 10, 50},
                                  {-3, 30, 50, 10}, {16, 6, 2, 20, 3}, {-2, 0, 90, 60}, {-3, 0, 40, 40}, {0, 1, 1, 10}, {24, 10, 3, 15, -2}};
    sheet("effects_warp", [&](int32_t n, int32_t x, int32_t y) {
        const int32_t* w = warps[n];
        w[0] < 0 ? zuDraw::StretchEdge(x + w[2], y + w[3], -1 - w[0], w[1], s, 0, 0, 64, 48)
                 : zuDraw::Ripple(x + 16, y + 20, w[0], w[1], w[2], float(w[3]) / 10, float(w[4]) / 10, s, 0, 0, 64, 48);
    });
    // Three frames flying through, a lens, the other metrics and depths, then the moving centres.
    const int32_t tunnels[12][5] = {{0, 0, 0, 0, 0}, {0, 0, 0, 8, 12}, {0, 0, 0, 16, 24}, {0, 0, 3, -10, -20}, {0, 1, 0}, {0, 2, 4},
                                    {0, 3, 5}, {0, 4, 2}, {0, 5, 1}, {3, 6, 0}, {1, 0, 0}, {2, 0, 0}};
    sheet("effects_tunnel", [&](int32_t n, int32_t x, int32_t y) {
        const int32_t* t = tunnels[n];
        zuDraw::MakeTunnel(128, 128, 150, 150, -1, -1, -1, t[0], t[1], t[2]), zuDraw::Tunnel(x + 5, y + 5, t[3], t[4], texture);
    });
}

}  // namespace
