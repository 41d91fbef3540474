// Setting up the drawing core once for the draw benchmarks.
#include "draw_setup.h"

#include <vector>

#include "draw/zu_draw.h"
#include "platform/headless.h"
#include "platform/video/surface.h"
#include "system/zu_system.h"

namespace drawbench {

namespace {

void paintTiles(platform::Surface& sheet) {
    for (int32_t t = 0; t < 9; ++t) {
        int32_t x = t % 3 * 32, y = t / 3 * 32;
        platform::fill(sheet, {x, y, x + 32, y + 32}, 0x1082u * uint32_t(t + 3));
        platform::fill(sheet, {x, y, x + 4, y + 4}, 0);  // keyed corners, as rounded cells have
        platform::fill(sheet, {x + 28, y + 28, x + 32, y + 32}, 0);
    }
}

Scene setUp() {
    platform::useHeadless();
    zuSystem::systemState.fullScreen = 1;
    zuDraw::Screen(640, 480, 1);
    zuDraw::SetVBlankWait(0);
    Scene s;
    s.background = zuDraw::CreateObject(640, 480, 2);
    platform::fill(*zuDraw::objectTable[s.background].surface, {0, 0, 640, 480}, 0x4208);
    s.tiles = zuDraw::CreateObject(96, 96, 2);
    paintTiles(*zuDraw::objectTable[s.tiles].surface);
    s.pointer = zuDraw::CreateObject(25, 40, 2);
    platform::fill(*zuDraw::objectTable[s.pointer].surface, {2, 2, 20, 36}, 0xFFFF);
    return s;
}

std::vector<Cell> makeCells(int32_t count, int32_t firstRow) {
    std::vector<Cell> cells;
    for (int32_t i = 0; i < count; ++i)
        cells.push_back({i % 20 * 32, (firstRow + i / 20) % 15 * 32, i % 3 * 32, i / 3 % 3 * 32});
    return cells;
}

}  // namespace

const Scene& scene() {
    static Scene s = setUp();
    // The start-up case runs a whole program, whose quit releases the screen: set it up again.
    if (!zuDraw::screenState.back || !zuDraw::objectTable[s.background].surface) s = setUp();
    return s;
}

const Cell* boardCells() {
    static const std::vector<Cell> cells = makeCells(300, 0);
    return cells.data();
}

const Cell* pieceCells() {
    static const std::vector<Cell> cells = makeCells(60, 4);
    return cells.data();
}

}  // namespace drawbench
