// Region effects, MirrorBlit and the row-built compound blits on RGB565: the effects against a
// memcpy of the frame, WaveBlit and TileBlit against one full-screen keyed Blit.
#include <benchmark/benchmark.h>

#include "draw/zu_draw.h"
#include "draw_setup.h"
#include "ratio.h"
#include "system/zu_system.h"

namespace {

template <class Draw>
void timeDrawing(benchmark::State& state, Draw draw) {
    drawbench::scene();
    zuDraw::SetClip(0, 0, 640, 480);
    zuSystem::frameClock.seconds = 1.0f / 60.0f;
    for (auto _ : state) {
        draw();
        benchmark::ClobberMemory();
    }
}

void BM_RegionFire(benchmark::State& state) {
    timeDrawing(state, [] { zuDraw::Fire(0, 0, 640, 480); });
}
BENCHMARK(BM_RegionFire);

void BM_RegionSoften(benchmark::State& state) {
    timeDrawing(state, [] { zuDraw::Soften(0, 0, 640, 480); });
}
BENCHMARK(BM_RegionSoften);

void BM_RegionNoise(benchmark::State& state) {
    timeDrawing(state, [] { zuDraw::Noise(0, 0, 0, 640, 480); });
}
BENCHMARK(BM_RegionNoise);

void BM_RegionZoom2Quarter(benchmark::State& state) {
    timeDrawing(state, [] { zuDraw::Zoom2(0, 0, 320, 240, 0); });
}
BENCHMARK(BM_RegionZoom2Quarter);

void BM_MirrorBlitBothFullScreen(benchmark::State& state) {
    int32_t picture = drawbench::scene().background;
    timeDrawing(state, [picture] { zuDraw::MirrorBlit(0, 0, 3, picture, 0, 0, 640, 480); });
}
BENCHMARK(BM_MirrorBlitBothFullScreen);

void BM_DrawKeyedFullScreen(benchmark::State& state) {
    int32_t picture = drawbench::scene().background;
    timeDrawing(state, [picture] { zuDraw::Blit(0, 0, picture, 0, 0, 640, 480); });
}
BENCHMARK(BM_DrawKeyedFullScreen);

void BM_WaveBlitFullScreen(benchmark::State& state) {
    int32_t picture = drawbench::scene().background;
    timeDrawing(state,
                [picture] { zuDraw::WaveBlit(0, 0, 8, 2, 90.0f, picture, 0, 0, 640, 480, 0); });
}
BENCHMARK(BM_WaveBlitFullScreen);

void BM_TileBlitScreen(benchmark::State& state) {
    int32_t picture = drawbench::scene().background;
    timeDrawing(state, [picture] { zuDraw::TileBlit(-30.0f, 20.0f, picture, 0, 0, 64, 48); });
}
BENCHMARK(BM_TileBlitScreen);

}  // namespace

ZU_RATIO(BM_RegionFire, BM_MemcpyFullScreen, 1.0 / 40, "Fire 640x480 vs memcpy (<= 40x)");
ZU_RATIO(BM_RegionSoften, BM_MemcpyFullScreen, 1.0 / 40, "Soften 640x480 vs memcpy (<= 40x)");
ZU_RATIO(BM_RegionNoise, BM_MemcpyFullScreen, 1.0 / 40, "Noise 640x480 vs memcpy (<= 40x)");
ZU_RATIO(BM_RegionZoom2Quarter, BM_MemcpyFullScreen, 1.0 / 6, "Zoom2 of 320x240 vs memcpy (<= 6x)");
ZU_RATIO(BM_MirrorBlitBothFullScreen, BM_MemcpyFullScreen, 1.0 / 12,
         "MirrorBlit mode 3 640x480 vs memcpy (<= 12x)");
ZU_RATIO(BM_WaveBlitFullScreen, BM_DrawKeyedFullScreen, 0.5,
         "WaveBlit 480 rows vs one full-screen Blit (<= 2x)");
ZU_RATIO(BM_TileBlitScreen, BM_DrawKeyedFullScreen, 0.5,
         "TileBlit 64x48 tiles vs one full-screen Blit (<= 2x)");
