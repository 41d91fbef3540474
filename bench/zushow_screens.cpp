// zushow's screens, each run for 60 frames headless: its slowest frame (drawing and Present) as
// a ratio to a full-screen zuDraw::Blit measured in the same run, and as a share of a 60 Hz
// frame (target below 50 %).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "draw/zu_draw.h"
#include "draw_setup.h"
#include "ratio.h"
#include "show.h"

namespace {

double secondsOf(void (*work)(int32_t), int32_t frame) {
    timespec start, end;  // <chrono> does not build under the Shift-JIS execution charset
    clock_gettime(CLOCK_MONOTONIC, &start);
    work(frame);
    clock_gettime(CLOCK_MONOTONIC, &end);
    return double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) * 1e-9;
}

void BM_ZushowScreens(benchmark::State& state) {
    const drawbench::Scene& scene = drawbench::scene();
    static int32_t background;
    background = scene.background;
    show::loadData();  // ZUSHOW/ beside zubench (the zushow_data target)
    std::vector<show::Screen> screens = show::allScreens();
    for (auto _ : state) {
        std::vector<double> blits;
        for (int32_t i = 0; i < 60; ++i)
            blits.push_back(secondsOf([](int32_t) { zuDraw::Blit(0, 0, background, 0, 0, 640, 480); }, i));
        std::sort(blits.begin(), blits.end());
        const double blit = blits[30];
        std::printf("%-4s %-70s %10s %8s\n", "#", "screen", "x Blit", "% frame");
        for (size_t n = 0; n < screens.size(); ++n) {
            static const show::Screen* current;
            current = &screens[n];
            if (current->enter) current->enter();
            double slowest = 0;
            for (int32_t frame = 0; frame < 60; ++frame)
                slowest = std::max(slowest, secondsOf([](int32_t f) { current->draw({f, 0}), zuDraw::Present(); }, frame));
            if (current->leave) current->leave();
            std::printf("%-4zu %-70.70s %10.1f %7.1f%%\n", n + 1, current->caption, slowest / blit, slowest * 60 * 100);
            zubench::reportMeasured(std::string("zushow screen ") + std::to_string(n + 1) + " slowest frame", slowest,
                                    0.5 / 60);
        }
    }
}
BENCHMARK(BM_ZushowScreens)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
