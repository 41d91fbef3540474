// Rotation, zoom and warp effects on the headless 16-bit screen: the worked cases, the rotation
// family against a plain per-pixel form of its formula, locks, every unsafe input, and one golden
// sheet per family.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <tuple>
#include <vector>

#include "draw/zu_draw.h"
#include "platform/faults.h"
#include "platform/video/surface.h"
#include "support/fresh_program.h"
#include "support/golden.h"

namespace {

using Pixels = std::vector<uint16_t>;
using Paint = std::function<uint16_t(int32_t, int32_t)>;

uint16_t& at(const platform::Surface& s, int32_t x, int32_t y) {
    return const_cast<uint16_t*>(reinterpret_cast<const uint16_t*>(s.memory.data() + size_t(y) * s.pitch))[x];
}
platform::Surface& back() { return *zuDraw::screenState.back; }
Pixels pixels(const platform::Surface& s) {
    Pixels out;
    for (int32_t y = 0; y < s.height; ++y)
        for (int32_t x = 0; x < s.width; ++x) out.push_back(at(s, x, y));
    return out;
}
int32_t makeObject(int32_t w, int32_t h, const Paint& paint) {
    int32_t n = zuDraw::CreateObject(w, h, 2);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) at(*zuDraw::objectTable[n].surface, x, y) = paint(x, y);
    return n;
}
// Random values, one in eight transparent.
Paint noise(uint32_t seed) {
    auto random = std::make_shared<std::mt19937>(seed);
    return [random](int32_t, int32_t) { uint32_t r = (*random)(); return uint16_t(r % 8 ? r >> 8 : 0); };
}
// A 64 x 48 sprite that shows its turn: a gradient, a white top edge, a transparent hole top left.
uint16_t sprite(int32_t x, int32_t y) {
    if ((x - 16) * (x - 16) + (y - 14) * (y - 14) < 64) return 0;
    return y < 3 ? 0xFFFF : uint16_t((x * 31 / 63) << 11 | (y * 63 / 47) << 5 | 12);
}
void paintBack() {
    for (int32_t y = 0; y < back().height; ++y)
        for (int32_t x = 0; x < back().width; ++x)
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
    default:
        return zuDraw::Floor(x1, y1, x2, y2, angle, zoom, step, zoom, step / 2, scaleR, scaleG, scaleB, object, s.left,
                             s.top, s.right, s.bottom);
    }
}

class RotateWarp : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        zuDraw::tunnelTable.textureWidth = zuDraw::tunnelTable.textureHeight = 0;
        ASSERT_EQ(startScreen(640, 480), 1);
    }
    static int32_t startScreen(int32_t width, int32_t height, int32_t depth = 16) {
        zuDraw::Release();
        zuDraw::SetColorDepth(depth, 0, 0);
        return zuDraw::Screen(width, height, 1);
    }
};
using RotateWarpGolden = RotateWarp;

TEST_F(RotateWarp, WorkedCasesOfEachOperation) {
    const int32_t s = makeObject(64, 48, sprite), solid = makeObject(8, 6, [](int32_t x, int32_t y) { return uint16_t(x * 0x18C3 + y * 0x1003 + 1); });
    const platform::Surface& source = *zuDraw::objectTable[s].surface;
    paintBack();
    const Pixels before = pixels(back());
    ASSERT_EQ(zuDraw::Rotate(100, 100, 164, 148, 0, s, 0, 0, 64, 48) + zuDraw::Rotate(300, 100, 364, 148, 180, s, 0, 0, 64, 48) +
                  zuDraw::RotateTile(10, 300, 90, 380, 33, solid, 0, 0, 8, 6) + zuDraw::RotateZoom(400, 300, 500, 380, 0, 2.0f, s, 0, 0, 64, 48) +
                  zuDraw::RotateZoomTile(0, 0, 90, 70, 25, 1.5f, solid, 0, 0, 8, 6) +
                  rotation(4, 100, 0, 190, 70, 25, 1.5f, 0.0f, solid, {0, 0, 8, 6}) + rotation(4, 200, 0, 290, 70, 25, 1.5f, 0.0f, solid, {0, 0, 8, 6}, 7, NAN, -2),
              7);
    auto expect = [&](int32_t x, int32_t y, int32_t sx, int32_t sy) { return at(source, sx, sy) ? at(source, sx, sy) : before[size_t(y) * 640 + x]; };
    for (int32_t j = 0; j < 80; ++j)
        for (int32_t i = 0; i < 100; ++i) {
            if (i < 64 && j < 48) {  // unchanged at 0°; half a turn moves it one pixel right and down, column and row 0 stay
                ASSERT_EQ(at(back(), 100 + i, 100 + j), expect(100 + i, 100 + j, i, j));
                ASSERT_EQ(at(back(), 300 + i, 100 + j), i && j ? expect(300 + i, 100 + j, 64 - i, 48 - j) : before[(100 + j) * 640 + 300 + i]);
            }
            if (i < 80) {
                ASSERT_NE(at(back(), 10 + i, 300 + j), before[size_t(300 + j) * 640 + 10 + i]);  // the tiles fill the box
            }
            // twice as large, centred: box column i shows source column (i - (100 - 128) / 2) / 2, cut at the box
            ASSERT_EQ(at(back(), 400 + i, 300 + j), expect(400 + i, 300 + j, (i + 14) / 2, (j + 8) / 2));
            if (i >= 90 || j >= 70) continue;  // Floor without steps: RotateZoomTile in 5-bit colour; scales clamped
            const uint8_t* rgb = zuDraw::effectTables.pixelRgb5[at(back(), i, j)];
            ASSERT_EQ(std::tuple(at(back(), 100 + i, j), at(back(), 200 + i, j)), std::tuple(rgb[0] << 11 | rgb[1] << 6 | rgb[2], rgb[0] << 11));
        }

    zuDraw::SetClip(0, 0, 640, 470);
    ASSERT_EQ(zuDraw::Ripple(500, 20, 0, 9, 1, 1.0f, 0.0f, s, 0, 0, 64, 48), 1);
    zuDraw::SetClip(220, 110, 640, 470);  // cut: the same pixels, cropped
    ASSERT_EQ(zuDraw::Ripple(200, 100, 0, 9, 1, 1.0f, 0.0f, s, 0, 0, 64, 48) + zuDraw::StretchEdge(300, 200, 2, 0, s, 0, 0, 64, 48) +
                  zuDraw::StretchEdge(400, 120, 0, 10, s, 0, 0, 64, 48), 3);
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            ASSERT_EQ(at(back(), 500 + x, 20 + y), at(source, x, y));  // transparent pixels too
            ASSERT_EQ(at(back(), 200 + x, 100 + y), x >= 20 && y >= 10 ? at(source, x, y) : before[(100 + y) * 640 + 200 + x]);
        }
    for (int32_t y = 200; y < 470; ++y) ASSERT_EQ(at(back(), 300 + y % 64, y), 0xFFFF);  // row 0 down to the clip
    for (int32_t x = 400; x < 640; ++x) ASSERT_EQ(at(back(), x, 140), sprite(std::min(x - 400, 10), 20));  // column 10 to the right
    EXPECT_EQ(at(back(), 364, 300), before[300 * 640 + 364]);  // no wider than the source
}

// The formula as written: 32-bit accumulators stepped over every pixel of the box.
void plainRotation(int32_t kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t angle, float zoom, float step,
                   const platform::Rect& src, const platform::Surface& object, platform::Surface& back) {
    const int32_t* sine = zuDraw::effectTables.sine;
    const int32_t W = x2 - x1, H = y2 - y1, srcW = src.width(), srcH = src.height(), S = sine[angle], C = sine[angle + 90];
    int32_t offX = (W - srcW) >> 1, offY = (H - srcH) >> 1;
    if (kind == 2) offX = (W - int32_t(srcW * zoom)) >> 1, offY = (H - int32_t(srcH * zoom)) >> 1;
    int32_t U0 = 360 * (W >> 1) - (W >> 1) * C + (H >> 1) * S, V0 = 360 * (H >> 1) - (W >> 1) * S - (H >> 1) * C;
    const zuDraw::ScreenState& c = zuDraw::screenState;
    float zx = zoom, zy = zoom;
    for (int32_t j = 0; j < H; ++j, U0 -= S, V0 += C, zx += step, zy += step / 2) {
        for (int32_t i = 0, U = U0, V = V0; i < W; ++i, U += C, V += S) {
            int32_t a = U / 360 - offX, b = V / 360 - offY, sx = a, sy = b, x = x1 + i, y = y1 + j;
            if (x < std::max(c.clipLeft, 0) || x >= std::min(c.clipRight, back.width) || y < std::max(c.clipTop, 0) ||
                y >= std::min(c.clipBottom, back.height))
                continue;  // the clip rectangle cut to the back buffer
            if (kind == 1) sx = std::abs(a) % srcW, sy = std::abs(b) % srcH;
            if (kind == 2) sx = int32_t(a / zoom), sy = int32_t(b / zoom);
            if (kind >= 3) sx = std::abs(int32_t(a / zx)) % srcW, sy = std::abs(int32_t(b / zy)) % srcH;
            if (sx < 0 || sx >= srcW || sy < 0 || sy >= srcH) continue;
            const uint16_t p = at(object, src.left + sx, src.top + sy);
            const uint8_t* rgb = zuDraw::effectTables.pixelRgb5[p];
            if (p) at(back, x, y) = kind == 4 ? uint16_t(rgb[0] << 11 | rgb[1] << 6 | rgb[2]) : p;
        }
    }
}

TEST_F(RotateWarp, RotationFamilyMatchesThePlainFormulaOnRandomPicturesSizesAndClips) {
    ASSERT_EQ(startScreen(160, 120), 1);
    std::mt19937 random(7);
    auto in = [&](int32_t lo, int32_t hi) { return lo + int32_t(random() % uint32_t(hi - lo + 1)); };
    for (int32_t round = 0; round < 300; ++round) {
        const int32_t kind = round % 5, w = in(1, 40), h = in(1, 40), object = makeObject(w + 4, h + 4, noise(round));
        const int32_t l = in(0, 4), t = in(0, 4), x1 = in(-60, 150), y1 = in(-60, 110), x2 = x1 + in(0, 120), y2 = y1 + in(0, 120);
        const int32_t angle = in(0, 359);
        const float zoom = float(in(1, 40)) / 10.0f, step = kind == 4 ? float(in(0, 4)) / 100.0f : 0.0f;
        zuDraw::SetClip(in(-10, 80), in(-10, 60), in(40, 170), in(30, 130));
        for (int32_t y = 0; y < 120; ++y)
            for (int32_t x = 0; x < 160; ++x) at(back(), x, y) = uint16_t(random());
        platform::Surface expected = back();
        plainRotation(kind, x1, y1, x2, y2, angle, zoom, step, {l, t, l + w, t + h}, *zuDraw::objectTable[object].surface, expected);
        ASSERT_EQ(rotation(kind, x1, y1, x2, y2, angle - 720 * (round % 2), zoom, step, object, {l, t, l + w, t + h}), 1);
        ASSERT_EQ(pixels(back()), pixels(expected)) << "round " << round << " kind " << kind;
        zuDraw::ReleaseObject(object);
    }
}

TEST_F(RotateWarp, UnsafeInputsLockFailuresAndEmptyRegionsDrawNothingAndLeaveNothingLocked) {
    const int32_t s = makeObject(64, 48, sprite), texture = makeObject(32, 32, noise(3)), empty = zuDraw::CreateObject(8, 8, 2);
    zuDraw::ReleaseObject(empty);
    EXPECT_EQ(zuDraw::Tunnel(0, 0, 0, 0, texture), 0);  // no table made yet
    ASSERT_EQ(zuDraw::MakeTunnel(32, 32, 64, 64, -1, -1, -1, 0, 0, 0), 1);
    const std::tuple<const char*, int32_t, int32_t, bool, std::function<int32_t()>> cases[] = {
        {"tunnel refused: too large, texture 0, negative size, metric 7", 0, 0, true, [] {
             return zuDraw::MakeTunnel(64, 64, 641, 480, -1, -1, -1, 0, 0, 0) + zuDraw::MakeTunnel(64, 64, 480, 641, -1, -1, -1, 0, 0, 0) +
                    zuDraw::MakeTunnel(0, 64, 9, 9, -1, -1, -1, 0, 0, 0) + zuDraw::MakeTunnel(64, -1, 9, 9, -1, -1, -1, 0, 0, 0) +
                    zuDraw::MakeTunnel(64, 64, -1, 9, -1, -1, -1, 0, 0, 0) + zuDraw::MakeTunnel(64, 64, 9, 9, -1, -1, -1, 0, 7, 0); }},
        {"bad objects", 0, 0, true, [&] { return zuDraw::Rotate(0, 0, 64, 48, 0, empty, 0, 0, 64, 48) + zuDraw::RotateTile(0, 0, 64, 48, 0, 1024, 0, 0, 64, 48) +
                                                 zuDraw::Ripple(0, 0, 5, 5, 1, 1.0f, 0.0f, -1, 0, 0, 64, 48) + zuDraw::Tunnel(0, 0, 0, 0, -5); }},
        {"zoom 0 or NaN", 2, 2, true, [&] { return zuDraw::RotateZoom(0, 0, 64, 48, 10, 0.0f, s, 0, 0, 64, 48) + zuDraw::RotateZoomTile(0, 0, 64, 48, 10, NAN, s, 0, 0, 64, 48); }},
        {"Floor zoom 0", 1, 0, true, [&] { return zuDraw::Floor(0, 0, 64, 48, 0, 1.0f, 0.0f, 0.0f, 0.0f, 1, 1, 1, s, 0, 0, 64, 48); }},
        {"empty sources", 2, 2, true, [&] { return zuDraw::RotateTile(0, 0, 64, 48, 0, s, 5, 0, 5, 48) + zuDraw::RotateZoomTile(0, 0, 64, 48, 0, 1.0f, s, 0, 9, 64, 8); }},
        {"Ripple step 0, -2, empty", 3, 3, true, [&] { return zuDraw::Ripple(0, 0, 5, 5, 0, 1.0f, 0.0f, s, 0, 0, 64, 48) + zuDraw::Ripple(0, 0, 5, 5, -2, 1.0f, 0.0f, s, 0, 0, 64, 48) +
                                                              zuDraw::Ripple(0, 0, 5, 5, 1, 1.0f, 0.0f, s, 10, 0, 10, 48); }},
        {"StretchEdge mode 4, nothing readable", 2, 0, true, [&] { return zuDraw::StretchEdge(0, 0, 4, 0, s, 0, 0, 64, 48) + zuDraw::StretchEdge(0, 0, 0, 0, s, 64, 0, 64, 48); }},
        {"wholly outside: no lock tried", 4, 4, true, [&] { return zuDraw::RotateZoom(-99, 0, -40, 48, 30, 1.5f, s, 0, 0, 64, 48) + zuDraw::Ripple(-99, 0, 4, 4, 1, 1, 0, s, 0, 0, 64, 48) +
                                                                   zuDraw::StretchEdge(-99, 0, 1, 3, s, 0, 0, 64, 48) + zuDraw::Tunnel(-99, 0, 0, 0, texture); }},
        {"a lock fails", 0, 4, true, [&] { return zuDraw::Rotate(0, 0, 64, 48, 30, s, 0, 0, 64, 48) + zuDraw::Ripple(0, 0, 4, 4, 1, 1, 0, s, 0, 0, 64, 48) +
                                                  zuDraw::StretchEdge(0, 0, 1, 3, s, 0, 0, 64, 48) + zuDraw::Tunnel(0, 0, 0, 0, texture); }},
        {"tiny zoom, source past the surface, far box, huge ripple", 5, 0, false, [&] {
             return zuDraw::RotateZoomTile(0, 0, 64, 48, 0, 1e-30f, s, 0, 0, 64, 48) + zuDraw::RotateZoom(-9, -9, 700, 500, 45, 3.0f, s, -50, -40, 900, 700) +
                    zuDraw::Rotate(INT32_MIN + 3, -2000000000, INT32_MAX, 2000000000, 359, s, 0, 0, 64, 48) +
                    zuDraw::Ripple(0, 0, INT32_MAX, 3, 1, 1e30f, NAN, s, 0, 0, 64, 48) + zuDraw::Ripple(-5, -5, 9, 3, 2, 1.5f, 0.3f, s, -20, -20, 640, 480); }},
    };
    for (const auto& [what, result, failLocks, drawsNothing, run] : cases) {
        SCOPED_TRACE(what);
        paintBack();
        const std::vector<uint8_t> before = back().memory;
        platform::headless::failNextLocks(failLocks);
        EXPECT_EQ(run(), result);
        platform::headless::failNextLocks(0);
        EXPECT_EQ(std::tuple(back().lockCount, zuDraw::objectTable[s].surface->lockCount, drawsNothing && back().memory != before), std::tuple(0, 0, false));
        EXPECT_EQ(std::tuple(zuDraw::tunnelTable.textureWidth, zuDraw::tunnelTable.width), std::tuple(32, 64));  // unchanged
    }
    for (int32_t mode = 0; mode < 4; ++mode)  // edges beyond the region and the surface; widened regions
        for (int32_t edge : {-1, 40, 63, 70, 480, 65535})
            ASSERT_EQ(zuDraw::StretchEdge(300, 200, mode, edge, s, 0, 0, 64, 48) + zuDraw::StretchEdge(10, 10, mode, edge, s, 30, 20, 640, 480), 2);
    ASSERT_EQ(zuDraw::MakeTunnel(33, 32, 64, 64, -1, -1, -1, 0, 0, 0), 1);
    EXPECT_EQ(zuDraw::Tunnel(0, 0, 0, 0, texture), 0);  // a texture wider than its object
    ASSERT_EQ(startScreen(640, 480, 32), 1);  // no tables: nothing runs
    const int32_t t = makeObject(64, 48, [](int32_t, int32_t) { return 1; });
    EXPECT_EQ(zuDraw::Rotate(0, 0, 64, 48, 0, t, 0, 0, 64, 48) + zuDraw::Ripple(0, 0, 0, 1, 1, 1, 0, t, 0, 0, 64, 48) +
                  zuDraw::StretchEdge(0, 0, 0, 0, t, 0, 0, 64, 48) + zuDraw::Tunnel(0, 0, 0, 0, t), 0);
}

TEST_F(RotateWarp, TunnelLooksUpItsTableWithOffsetsWrappedAndClips) {
    const int32_t texture = makeObject(64, 64, noise(3));
    const zuDraw::TunnelTable& table = zuDraw::tunnelTable;
    for (int32_t metric = 0; metric <= 6; ++metric)  // every pair lands in the texture, zero distances too
        for (int32_t depth = 0; depth <= 5; ++depth) {
            ASSERT_EQ(zuDraw::MakeTunnel(64, 48, 40, 30, -1, -1, 2, metric % 5, metric, depth), 1);
            for (int32_t i = 0; i < 1200; ++i) ASSERT_TRUE(uint16_t(table.entries[i][0]) < 64 && uint16_t(table.entries[i][1]) < 48);
        }
    ASSERT_EQ(zuDraw::MakeTunnel(60, 50, 100, 80, -1, -1, -1, 0, 0, 0) + zuDraw::Tunnel(10, 10, -4, -92, texture), 2);
    EXPECT_EQ(std::tuple(table.entries[40 * 100 + 50][0], table.entries[40 * 100 + 50][1]), std::tuple(0, 0));  // the centre
    zuDraw::SetClip(230, 20, 640, 480);
    ASSERT_EQ(zuDraw::Tunnel(200, 10, 56, 58, texture), 1);
    for (int32_t i = 0; i < 80; ++i)
        for (int32_t j = 0; j < 100; ++j) {
            const uint16_t p = at(*zuDraw::objectTable[texture].surface, (56 + table.entries[i * 100 + j][0]) % 60, (58 + table.entries[i * 100 + j][1]) % 50);
            ASSERT_EQ(std::tuple(at(back(), 10 + j, 10 + i), at(back(), 200 + j, 10 + i)), std::tuple(p, j >= 30 && i >= 10 ? p : 0));
        }
}

// Sheets of 4 x 3 cells of 160 x 160, each drawn with the clip rectangle on its cell.
void drawSheet(const std::vector<std::function<void(int32_t, int32_t)>>& cells) {
    for (size_t n = 0; n < cells.size(); ++n) {
        const int32_t x = int32_t(n % 4) * 160, y = int32_t(n / 4) * 160;
        zuDraw::SetClip(x, y, x + 160, y + 160);
        cells[n](x, y);
    }
}

TEST_F(RotateWarpGolden, RotationFamilyOn565And555) {
    for (bool rgb555 : {false, true}) {
        platform::headless::useRgb555For16(rgb555);
        ASSERT_EQ(startScreen(640, 480), 1);
        paintBack();
        const int32_t s = makeObject(64, 48, sprite);
        auto cell = [&](int32_t kind, int32_t angle, float zoom, float step = 0, float scaleG = 1, float scaleB = 1) {
            const int32_t top = kind == 4 ? 40 : 8, inset = kind == 4 ? 0 : 8;
            return [=](int32_t x, int32_t y) { rotation(kind, x + inset, y + top, x + 160 - inset, y + 160 - inset, angle, zoom, step, s, {0, 0, 64, 48}, 1, scaleG, scaleB); };
        };
        drawSheet({cell(0, 0, 1), cell(0, 30, 1), cell(0, 180, 1), cell(1, 45, 1), cell(2, 30, 2), cell(2, 300, 0.5f), cell(3, 20, 1.5f),
                   cell(3, 330, 0.75f), cell(4, 0, 0.3f, 0.03f), cell(4, 45, 0.2f, 0.04f, 0.5f, 0.2f), cell(4, 10, 4, -0.033f), cell(2, 200, 2.5f)});
        EXPECT_TRUE(testsupport::matchesGolden(rgb555 ? "effects_rotate_555" : "effects_rotate", testsupport::pictureOf(back())));
    }
}

TEST_F(RotateWarpGolden, RippleFramesAndStretchEdgeModes) {
    paintBack();
    const int32_t s = makeObject(64, 48, sprite);
    auto ripple = [&](int32_t amplitude, int32_t frequency, int32_t step, float scale, float shear) {
        return [=](int32_t x, int32_t y) { zuDraw::Ripple(x + 16, y + 20, amplitude, frequency, step, scale, shear, s, 0, 0, 64, 48); };
    };
    auto stretch = [&](int32_t mode, int32_t edge, int32_t dx, int32_t dy) {
        return [=](int32_t x, int32_t y) { zuDraw::StretchEdge(x + dx, y + dy, mode, edge, s, 0, 0, 64, 48); };
    };
    // Modes 1 and 3 fill to the screen's left and top edges: their cells lie there.
    drawSheet({stretch(3, 20, 50, 100), ripple(10, 4, 1, 2.0f, 0.0f), ripple(20, 8, 1, 2.0f, 0.0f), ripple(30, 12, 1, 2.0f, 0.0f),
               stretch(1, 40, 70, 50), stretch(0, 24, 10, 50), stretch(2, 30, 50, 10), ripple(16, 6, 2, 2.0f, 0.3f),
               stretch(1, 0, 90, 60), stretch(2, 0, 40, 40), ripple(0, 1, 1, 1.0f, 0.0f), ripple(24, 10, 3, 1.5f, -0.2f)});
    EXPECT_TRUE(testsupport::matchesGolden("effects_warp", testsupport::pictureOf(back())));
}

TEST_F(RotateWarpGolden, TunnelFramesMetricsAndCentreModes) {
    paintBack();
    const int32_t texture = makeObject(128, 128, [](int32_t x, int32_t y) { return uint16_t(((x / 16 + y / 16) % 2 ? 0xFFE0 : 0x001F) ^ (x * 2 << 11 | y / 2 << 5)); });
    auto tunnel = [&](int32_t centreMode, int32_t metric, int32_t depth, int32_t u, int32_t v) {
        return [=](int32_t x, int32_t y) { zuDraw::MakeTunnel(128, 128, 150, 150, -1, -1, -1, centreMode, metric, depth), zuDraw::Tunnel(x + 5, y + 5, u, v, texture); };
    };
    drawSheet({tunnel(0, 0, 0, 0, 0), tunnel(0, 0, 0, 8, 12), tunnel(0, 0, 0, 16, 24), tunnel(0, 0, 3, -10, -20), tunnel(0, 1, 0, 0, 0), tunnel(0, 2, 4, 0, 0),
               tunnel(0, 3, 5, 0, 0), tunnel(0, 4, 2, 0, 0), tunnel(0, 5, 1, 0, 0), tunnel(3, 6, 0, 0, 0), tunnel(1, 0, 0, 0, 0), tunnel(2, 0, 0, 0, 0)});
    EXPECT_TRUE(testsupport::matchesGolden("effects_tunnel", testsupport::pictureOf(back())));
}

}  // namespace
