// Family 3: region effects on what the back buffer holds, clip wipes, compound blits.
#include <cmath>

#include <zu/draw/zu_draw.h>
#include <zu/system/zu_system.h>

#include "show.h"

namespace show {
namespace {

using namespace zuDraw;

// Fire and Soften work on last frame's pixels, so their cells are only repainted at entry.
void drawRegions(const Frame& f) {
    if (f.count == 0) drawBackdrop();
    const char* names[] = {"Fire", "FireRGB fade 0,1,1", "Soften", "SoftenRGB fade 1,0,0", "Noise shift 2", "NoiseRGB r,g shift 3"};
    for (int32_t i = 0; i < 6; ++i) {
        const Cell c = cell(i);
        if (i >= 4 && data.backdrop) BlitOpaque(c.x, c.y, data.backdrop, c.x, c.y, c.x + 190, c.y + 140);
        if (i < 2 && data.sprite) Blit(c.x + 30, c.y + 60, data.sprite, 0, 0, 128, 96);  // fuel
        if (i == 0) Fire(c.x, c.y, 190, 140);
        if (i == 1) FireRGB(0, 1, 1, c.x, c.y, 190, 140);
        if (i == 2) Soften(c.x, c.y, 190, 140);
        if (i == 3) SoftenRGB(1, 0, 0, c.x, c.y, 190, 140);
        if (i == 4) Noise(2, c.x, c.y, 190, 140);
        if (i == 5) NoiseRGB(1, 1, 0, 3, c.x, c.y, 190, 140);
        FillRect(c.x, c.y + 144, c.x + 200, c.y + 166, 0);
        label(c.x + 8, c.y + 150, "%s", names[i]);
    }
}

void drawLenses(const Frame& f) {
    drawBackdrop();
    const int32_t x = 160 + int32_t(100 * std::sin(f.count / 30.0f));
    CircleMosaic(x, 140, 90, 8);
    Zoom2(20, 260, 100, 70, 0);   // the top-left of the screen, twice as large
    Zoom4(250, 260, 50, 35, f.count / 30 % 2);
    Invert(460, 40 + f.count % 100, 620, 140 + f.count % 100);
    label(x - 80, 236, "CircleMosaic radius 90, cell 8");
    label(20, 404, "Zoom2 100x70, dense");
    label(250, 404, "Zoom4 50x35, sparse %d", f.count / 30 % 2);
    label(460, 250, "Invert 160x100");
}

// Shapes 1 to 9 in turn, each opening then closing; the clip rectangle is the wipe's.
int32_t wipeShape = 1;
void enterWipes() { wipeShape = 1, StartWipe(0, wipeShape, 400, 40); }
void leaveWipes() {
    clipWipe.state = 0;  // abandoned: the whole screen again
    SetClip(0, 0, 640, 480);
}
void drawWipes(const Frame&) {
    if (!StepWipe()) {
        const int32_t closing = clipWipe.closing ? 0 : 1;
        if (!closing) wipeShape = wipeShape % 9 + 1;
        StartWipe(closing, wipeShape, 400, 40);
    }
    ClearScreen();
    drawBackdrop();  // inside the wipe's clip rectangle
    label(20, 420, "StartWipe(closing %d, shape %d, speed 400, size 40); StepWipe each frame", clipWipe.closing, wipeShape);
}

void drawBlitsA(const Frame& f) {
    ClearScreen();
    const int32_t b = data.backdrop;
    WaveBlit(10, 40, 12, 4, 90, b, 0, 0, 200, 150, 0);
    ScrollWaveBlit(230, 40, 8, 2, 120, 30, b, 200, 0, 400, 150);
    MosaicBlit(430, 40, 2 + f.count / 10 % 10, b, 0, 150, 200, 300);
    StretchBlit(10, 240, b, 0, 0, 160, 120, 200 + int32_t(40 * std::sin(f.count / 20.0f)), 150);
    if (data.sprite) MirrorBlit(300, 260, f.count / 40 % 4, data.sprite, 0, 0, 128, 96);
    if (data.sprite) StretchBlitOpaque(450, 240, data.sprite, 0, 0, 128, 96, 180, 150);
    label(10, 196, "WaveBlit amp 12 div 4");
    label(230, 196, "ScrollWaveBlit amp 8, 30 rows/s");
    label(430, 196, "MosaicBlit size %d", 2 + f.count / 10 % 10);
    label(10, 396, "StretchBlit to ~200x150");
    label(260, 396, "MirrorBlit mode %d", f.count / 40 % 4);
    label(450, 396, "StretchBlitOpaque 180x150");
}

void drawBlitsB(const Frame&) {
    const int32_t b = data.backdrop;
    TileBlit(30, 20, b, 0, 0, 64, 64);
    BandWaveBlit(40, 140, 16, 3, 90, 20, b, 0, 200, 640, 260);
    ScanlineBlit(20, 180, 3, b, 0, 0, 180, 120);
    JitterBlit(230, 180, 6, b, 200, 0, 380, 120);
    StretchWaveBlit(430, 180, 1, 40, b, 400, 0, 580, 120);
    label(20, 146, "TileBlit 64x64 at 30,20 px/s; BandWaveBlit rows 40..140 amp 16");
    label(20, 310, "ScanlineBlit gap 3");
    label(230, 310, "JitterBlit amount 6");
    label(430, 310, "StretchWaveBlit 40 rows/s");
}

}  // namespace

const Screen regionScreens[] = {
    {3, "Fire FireRGB Soften SoftenRGB Noise NoiseRGB (x, y, w, h)", "", drawRegions},
    {3, "CircleMosaic Zoom2 Zoom4 Invert", "", drawLenses},
    {3, "Clip wipes: shapes 1-9 opening and closing", "", drawWipes, enterWipes, leaveWipes},
    {3, "WaveBlit ScrollWaveBlit MosaicBlit StretchBlit MirrorBlit StretchBlitOpaque", "", drawBlitsA},
    {3, "TileBlit BandWaveBlit ScanlineBlit JitterBlit StretchWaveBlit", "", drawBlitsB},
};
const int32_t regionScreenCount = 5;

}  // namespace show
