// Sprite blends and filters over a whole 640 x 480 RGB565 frame (a frame-sized sprite, a quarter
// transparent, over a picture), each against a row-by-row memcpy of the same pixels, AlphaBlend
// against SDL2's keyed blit at surface alpha 50% and AddBlend against pixman's ADD.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <vector>

#include "draw/zu_draw.h"
#include "draw_setup.h"
#include "platform/video/surface.h"
#include "ratio.h"

namespace {

constexpr int32_t width = 640, height = 480;

// The sprite's pixel: a colour ramp, transparent (0) in a quarter of 40 x 40 blocks.
uint16_t spritePixel(int32_t x, int32_t y) {
    if ((x / 40 + y / 40 * 3) % 4 == 0) return 0;
    return uint16_t(((x * 31 / width) << 11) | ((y * 63 / height) << 5) | ((x + y) % 31 + 1));
}
uint16_t picturePixel(int32_t x, int32_t y) {
    return uint16_t((x * 37 + y * 101) & 0xFFFF);
}

struct Frame {
    int32_t sprite = 0;
    platform::Surface* spriteSurface = nullptr;
    platform::Surface* back = nullptr;
};

void fillSurface(platform::Surface& s, uint16_t (*pixel)(int32_t, int32_t)) {
    for (int32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint16_t*>(s.memory.data() + size_t(y) * size_t(s.pitch));
        for (int32_t x = 0; x < width; ++x) row[x] = pixel(x, y);
    }
}

// The frame-sized sprite, and the picture painted into the back buffer once.
const Frame& frame() {
    static const Frame f = [] {
        drawbench::scene();
        Frame made;
        made.sprite = zuDraw::CreateObject(width, height, 2);
        made.spriteSurface = zuDraw::objectTable[made.sprite].surface;
        made.back = zuDraw::screenState.back;
        fillSurface(*made.spriteSurface, spritePixel);
        fillSurface(*made.back, picturePixel);
        return made;
    }();
    return f;
}

void BM_EffectMemcpyRows(benchmark::State& state) {
    const Frame& f = frame();
    for (auto _ : state) {
        for (int32_t y = 0; y < height; ++y)
            std::memcpy(f.back->memory.data() + size_t(y) * size_t(f.back->pitch),
                        f.spriteSurface->memory.data() + size_t(y) * size_t(f.spriteSurface->pitch),
                        width * 2);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EffectMemcpyRows);

// Registers a benchmark that runs `call` on the whole frame.
#define ZU_EFFECT_BENCH(name, call)         \
    void name(benchmark::State& state) {    \
        const int32_t obj = frame().sprite; \
        for (auto _ : state) {              \
            benchmark::DoNotOptimize(call); \
            benchmark::ClobberMemory();     \
        }                                   \
    }                                       \
    BENCHMARK(name)

ZU_EFFECT_BENCH(BM_EffectHalfBlend, zuDraw::HalfBlend(0, 0, obj, 0, 0, width, height));
ZU_EFFECT_BENCH(BM_EffectAlphaBlend, zuDraw::AlphaBlend(0, 0, 0.5f, obj, 0, 0, width, height));
ZU_EFFECT_BENCH(BM_EffectFade, zuDraw::Fade(0, 0, 16, obj, 0, 0, width, height));
ZU_EFFECT_BENCH(BM_EffectAddBlend, zuDraw::AddBlend(0, 0, obj, 0, 0, width, height));
ZU_EFFECT_BENCH(BM_EffectShadow, zuDraw::Shadow(0, 0, obj, 0, 0, width, height));
ZU_EFFECT_BENCH(BM_EffectBlur5, zuDraw::Blur(0, 0, 5, obj, 0, 0, width, height));

// The same pixels as SDL2 RGB565 surfaces.
SDL_Surface* sdlCopy(uint16_t (*pixel)(int32_t, int32_t)) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, SDL_PIXELFORMAT_RGB565);
    for (int32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        for (int32_t x = 0; x < width; ++x) row[x] = pixel(x, y);
    }
    return s;
}

void BM_SdlAlphaKeyedBlit(benchmark::State& state) {
    SDL_Surface* sprite = sdlCopy(spritePixel);
    SDL_Surface* screen = sdlCopy(picturePixel);
    SDL_SetColorKey(sprite, SDL_TRUE, 0);
    SDL_SetSurfaceAlphaMod(sprite, 128);
    for (auto _ : state) {
        SDL_Rect to{0, 0, width, height};
        SDL_BlitSurface(sprite, nullptr, screen, &to);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(sprite);
    SDL_FreeSurface(screen);
}
BENCHMARK(BM_SdlAlphaKeyedBlit);

void BM_PixmanAdd(benchmark::State& state) {
    std::vector<uint16_t> spritePixels, screenPixels;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            spritePixels.push_back(spritePixel(x, y));
            screenPixels.push_back(picturePixel(x, y));
        }
    pixman_image_t* sprite = pixman_image_create_bits(
        PIXMAN_r5g6b5, width, height, reinterpret_cast<uint32_t*>(spritePixels.data()), width * 2);
    pixman_image_t* screen = pixman_image_create_bits(
        PIXMAN_r5g6b5, width, height, reinterpret_cast<uint32_t*>(screenPixels.data()), width * 2);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_ADD, sprite, nullptr, screen, 0, 0, 0, 0, 0, 0, width,
                                 height);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(sprite);
    pixman_image_unref(screen);
}
BENCHMARK(BM_PixmanAdd);

}  // namespace

ZU_RATIO(BM_EffectHalfBlend, BM_EffectMemcpyRows, 1.0 / 10,
         "HalfBlend 640x480 vs memcpy rows (at most 10x)");
ZU_RATIO(BM_EffectFade, BM_EffectMemcpyRows, 1.0 / 30, "Fade 640x480 vs memcpy rows (at most 30x)");
ZU_RATIO(BM_EffectAddBlend, BM_EffectMemcpyRows, 1.0 / 30,
         "AddBlend 640x480 vs memcpy rows (at most 30x)");
ZU_RATIO(BM_EffectShadow, BM_EffectMemcpyRows, 1.0 / 30,
         "Shadow 640x480 vs memcpy rows (at most 30x)");
ZU_RATIO(BM_EffectAlphaBlend, BM_EffectMemcpyRows, 1.0 / 40,
         "AlphaBlend 640x480 vs memcpy rows (at most 40x)");
ZU_RATIO(BM_EffectBlur5, BM_EffectMemcpyRows, 1.0 / 80,
         "Blur size 5 640x480 vs memcpy rows (at most 80x)");
ZU_RATIO(BM_EffectAlphaBlend, BM_SdlAlphaKeyedBlit, 1.0,
         "AlphaBlend 0.5 vs SDL2 keyed RGB565 blit at alpha 50%");
ZU_RATIO(BM_EffectAddBlend, BM_PixmanAdd, 1.0, "AddBlend vs pixman ADD on r5g6b5");
