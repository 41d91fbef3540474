// Grey-level text: the game's loading line with its glyphs cached (every later draw), and a line
// of Latin and Japanese in fonts made anew (the first draw of each size, glyphs rendered).
#include <benchmark/benchmark.h>

#include "draw/zu_draw.h"
#include "draw_setup.h"
#include "ratio.h"
#include "system/zu_system.h"

namespace {

void BM_PrintTextLoadingLine(benchmark::State& state) {
    drawbench::scene();
    for (auto _ : state) {
        zuSystem::PrintText(292, 235, "NOW LOADING", RGB(255, 255, 255), 10);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PrintTextLoadingLine);

// Forty sizes in turn outgrow the kept fonts, so each line renders its glyphs again.
void BM_TextLineFreshGlyphs(benchmark::State& state) {
    drawbench::scene();
    int32_t size = 8;
    for (auto _ : state) {
        zuDraw::BeginText(1, size, 0, 1, 0, 0);
        zuDraw::SetTextColors(RGB(255, 255, 255), RGB(0, 0, 0), 1);
        zuDraw::PutText(10, 10, "NOW LOADING 0123456789 日本語の文章");
        zuDraw::EndText();
        size = size == 47 ? 8 : size + 1;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TextLineFreshGlyphs);

}  // namespace

ZU_BUDGET(BM_PrintTextLoadingLine, 0.01 * (1.0 / 60.0), "loading line within 1% of 16.7 ms");
ZU_BUDGET(BM_TextLineFreshGlyphs, 0.002, "a line in a new font within 2 ms");
