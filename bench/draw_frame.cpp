// One whole play-scene frame: background, 300 board tiles, 60 piece tiles, the pointer and the
// copy to the display, without the vertical-blank wait; judged against 1% of a 60 Hz frame.
#include <benchmark/benchmark.h>

#include "draw/zu_draw.h"
#include "draw_setup.h"
#include "ratio.h"

namespace {

void drawCells(const drawbench::Cell* cells, int32_t count, int32_t sheet) {
    for (int32_t i = 0; i < count; ++i) {
        const drawbench::Cell& c = cells[i];
        zuDraw::Blit(c.x, c.y, sheet, c.sheetX, c.sheetY, c.sheetX + 32, c.sheetY + 32);
    }
}

void BM_DrawPlayFrame(benchmark::State& state) {
    const drawbench::Scene& s = drawbench::scene();
    for (auto _ : state) {
        zuDraw::BlitOpaque(0, 0, s.background, 0, 0, 640, 480);
        drawCells(drawbench::boardCells(), 300, s.tiles);
        drawCells(drawbench::pieceCells(), 60, s.tiles);
        zuDraw::Blit(317, 222, s.pointer, 0, 0, 25, 40);
        zuDraw::Present();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawPlayFrame);

// The present part alone (copy to the display and the backend's frame hand-over), for the record.
void BM_DrawPresentOnly(benchmark::State& state) {
    drawbench::scene();
    for (auto _ : state) {
        zuDraw::Present();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawPresentOnly);

}  // namespace

ZU_BUDGET(BM_DrawPlayFrame, 0.01 * (1.0 / 60.0), "play frame within 1% of 16.7 ms");
