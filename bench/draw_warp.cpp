// Rotation and tunnel effects over the whole 640 x 480 RGB565 frame against a row-by-row memcpy of
// that frame; RotateZoom also against pixman's nearest-neighbour affine composite of the same pixels.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "draw/zu_draw.h"
#include "draw_setup.h"
#include "platform/video/surface.h"
#include "ratio.h"

namespace {

constexpr int32_t frameWidth = 640, frameHeight = 480, spriteWidth = 320, spriteHeight = 240;
constexpr int32_t angle = 30;
constexpr float zoom = 2.0f;

// A picture with its top-left quarter transparent (0).
uint16_t spritePixel(int32_t x, int32_t y) {
    if (x < spriteWidth / 2 && y < spriteHeight / 2) return 0;
    return uint16_t((x * 7 + y * 13) | 1);
}

int32_t makeObject(int32_t w, int32_t h) {
    drawbench::scene();
    int32_t n = zuDraw::CreateObject(w, h, 2);
    platform::Surface& s = *zuDraw::objectTable[n].surface;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            reinterpret_cast<uint16_t*>(s.memory.data() + size_t(y) * s.pitch)[x] = spritePixel(x, y);
    return n;
}

void BM_WarpMemcpyRows(benchmark::State& state) {
    std::vector<uint16_t> from(frameWidth * frameHeight, 0x4242), to(frameWidth * frameHeight);
    for (auto _ : state) {
        for (int32_t y = 0; y < frameHeight; ++y)
            std::memcpy(&to[size_t(y) * frameWidth], &from[size_t(y) * frameWidth], frameWidth * 2);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WarpMemcpyRows);

void BM_WarpRotateZoom(benchmark::State& state) {
    static const int32_t sprite = makeObject(spriteWidth, spriteHeight);
    for (auto _ : state) {
        zuDraw::RotateZoom(0, 0, frameWidth, frameHeight, angle, zoom, sprite, 0, 0, spriteWidth,
                           spriteHeight);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WarpRotateZoom);

// The same turn and zoom about the frame's centre, as pixman's transform from frame to sprite.
void BM_PixmanRotateZoom(benchmark::State& state) {
    std::vector<uint16_t> sprite(spriteWidth * spriteHeight), frame(frameWidth * frameHeight, 0x4208);
    for (int32_t y = 0; y < spriteHeight; ++y)
        for (int32_t x = 0; x < spriteWidth; ++x) sprite[size_t(y) * spriteWidth + x] = spritePixel(x, y);
    pixman_image_t* source = pixman_image_create_bits(PIXMAN_r5g6b5, spriteWidth, spriteHeight,
                                                      reinterpret_cast<uint32_t*>(sprite.data()), spriteWidth * 2);
    pixman_image_t* dest = pixman_image_create_bits(PIXMAN_r5g6b5, frameWidth, frameHeight,
                                                    reinterpret_cast<uint32_t*>(frame.data()), frameWidth * 2);
    const double c = std::cos(angle * M_PI / 180.0), s = std::sin(angle * M_PI / 180.0);
    const double halfW = frameWidth / 2.0, halfH = frameHeight / 2.0;
    const double offX = (frameWidth - spriteWidth * zoom) / 2.0, offY = (frameHeight - spriteHeight * zoom) / 2.0;
    pixman_f_transform f;
    pixman_f_transform_init_identity(&f);
    f.m[0][0] = c / zoom, f.m[0][1] = -s / zoom, f.m[0][2] = (halfW - offX - c * halfW + s * halfH) / zoom;
    f.m[1][0] = s / zoom, f.m[1][1] = c / zoom, f.m[1][2] = (halfH - offY - s * halfW - c * halfH) / zoom;
    pixman_transform t;
    pixman_transform_from_pixman_f_transform(&t, &f);
    pixman_image_set_transform(source, &t);
    pixman_image_set_filter(source, PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, source, nullptr, dest, 0, 0, 0, 0, 0, 0, frameWidth,
                                 frameHeight);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(source);
    pixman_image_unref(dest);
}
BENCHMARK(BM_PixmanRotateZoom);

// The tunnel over the frame from a square texture `side` pixels wide.
void timeTunnel(benchmark::State& state, int32_t side, int32_t texture) {
    zuDraw::MakeTunnel(side, side, frameWidth, frameHeight, -1, -1, -1, 0, 0, 0);
    int32_t frame = 0;
    for (auto _ : state) {
        ++frame;
        zuDraw::Tunnel(0, 0, frame, frame * 3, texture);
        benchmark::ClobberMemory();
    }
}

void BM_WarpTunnel(benchmark::State& state) {
    static const int32_t texture = makeObject(256, 256);
    timeTunnel(state, 256, texture);
}
BENCHMARK(BM_WarpTunnel);

// The other warps over the same frame, reported as multiples of the copy, without a target.
void BM_WarpFloor(benchmark::State& state) {
    static const int32_t sprite = makeObject(spriteWidth, spriteHeight);
    for (auto _ : state) {
        zuDraw::Floor(0, 0, frameWidth, frameHeight, angle, 0.2f, 0.01f, 0.2f, 0.01f, 1.0f, 0.8f, 0.6f,
                      sprite, 0, 0, spriteWidth, spriteHeight);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WarpFloor);

void BM_WarpRipple(benchmark::State& state) {
    static const int32_t picture = makeObject(frameWidth, frameHeight);
    for (auto _ : state) {
        zuDraw::Ripple(0, 0, 16, 12, 1, 1.0f, 0.0f, picture, 0, 0, frameWidth, frameHeight);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WarpRipple);

// A texture whose sides are not powers of two wraps by subtraction instead of a mask.
void BM_WarpTunnelOddTexture(benchmark::State& state) {
    static const int32_t texture = makeObject(250, 250);
    timeTunnel(state, 250, texture);
}
BENCHMARK(BM_WarpTunnelOddTexture);

}  // namespace

ZU_RATIO(BM_WarpRotateZoom, BM_WarpMemcpyRows, 1.0 / 60, "RotateZoom 30deg x2 frame vs memcpy (1/60)");
ZU_RATIO(BM_WarpRotateZoom, BM_PixmanRotateZoom, 1.0, "RotateZoom vs pixman nearest affine");
ZU_RATIO(BM_WarpTunnel, BM_WarpMemcpyRows, 1.0 / 30, "Tunnel 256x256 texture vs memcpy (1/30)");
// Reported the other way round: how many copies each takes.
ZU_RATIO(BM_WarpMemcpyRows, BM_WarpFloor, 0, "Floor 30deg receding frame, in memcpys");
ZU_RATIO(BM_WarpMemcpyRows, BM_WarpRipple, 0, "Ripple step 1 frame, in memcpys");
ZU_RATIO(BM_WarpMemcpyRows, BM_WarpTunnelOddTexture, 0, "Tunnel 250x250 texture, in memcpys");
