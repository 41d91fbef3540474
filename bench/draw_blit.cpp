// Copies of the drawing core against their anchors: the opaque full-screen copy and HalfRect
// against memcpy of the same bytes, 300 keyed tiles against SDL2's keyed blitter.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "draw/zu_draw.h"
#include "draw_setup.h"
#include "ratio.h"

namespace {

constexpr size_t screenBytes = 640 * 480 * 2;

void BM_MemcpyFullScreen(benchmark::State& state) {
    std::vector<uint8_t> from(screenBytes, 0x42), to(screenBytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), screenBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFullScreen);

void BM_DrawOpaqueFullScreen(benchmark::State& state) {
    int32_t background = drawbench::scene().background;
    for (auto _ : state) {
        zuDraw::BlitOpaque(0, 0, background, 0, 0, 640, 480);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawOpaqueFullScreen);

void BM_DrawHalfRectFullScreen(benchmark::State& state) {
    drawbench::scene();
    for (auto _ : state) {
        zuDraw::HalfRect(0, 0, 640, 480, 0x1234);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawHalfRectFullScreen);

void BM_DrawKeyedTiles300(benchmark::State& state) {
    int32_t tiles = drawbench::scene().tiles;
    const drawbench::Cell* cells = drawbench::boardCells();
    for (auto _ : state) {
        for (int32_t i = 0; i < 300; ++i) {
            const drawbench::Cell& c = cells[i];
            zuDraw::Blit(c.x, c.y, tiles, c.sheetX, c.sheetY, c.sheetX + 32, c.sheetY + 32);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawKeyedTiles300);

// The same 300 copies by SDL2 between RGB565 surfaces keyed on black.
void BM_SdlKeyedTiles300(benchmark::State& state) {
    SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 96, 96, 16, SDL_PIXELFORMAT_RGB565);
    for (int32_t t = 0; t < 9; ++t) {
        SDL_Rect cell{t % 3 * 32, t / 3 * 32, 32, 32};
        SDL_FillRect(sheet, &cell, 0x1082u * uint32_t(t + 3));
        SDL_Rect corner{cell.x, cell.y, 4, 4};
        SDL_FillRect(sheet, &corner, 0);
        corner = {cell.x + 28, cell.y + 28, 4, 4};
        SDL_FillRect(sheet, &corner, 0);
    }
    SDL_SetColorKey(sheet, SDL_TRUE, 0);
    const drawbench::Cell* cells = drawbench::boardCells();
    for (auto _ : state) {
        for (int32_t i = 0; i < 300; ++i) {
            const drawbench::Cell& c = cells[i];
            SDL_Rect from{c.sheetX, c.sheetY, 32, 32}, to{c.x, c.y, 32, 32};
            SDL_BlitSurface(sheet, &from, screen, &to);
        }
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(sheet);
    SDL_FreeSurface(screen);
}
BENCHMARK(BM_SdlKeyedTiles300);

}  // namespace

ZU_RATIO(BM_DrawOpaqueFullScreen, BM_MemcpyFullScreen, 0.8, "opaque 640x480 copy vs memcpy");
ZU_RATIO(BM_DrawKeyedTiles300, BM_SdlKeyedTiles300, 1.5, "300 keyed 32x32 tiles vs SDL2 blitter");
ZU_RATIO(BM_DrawHalfRectFullScreen, BM_MemcpyFullScreen, 0, "HalfRect 640x480 vs memcpy");
