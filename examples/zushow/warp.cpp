// Family 2: rotation, zoom, the floor, ripple, edge smear and the tunnel.
#include <cmath>

#include <zu/draw/zu_draw.h>

#include "show.h"

namespace show {
namespace {

using namespace zuDraw;

void drawRotations(const Frame& f) {
    drawBackdrop();
    const int32_t angle = f.count * 3;
    const float zoom = 0.6f + 0.5f * std::sin(f.count / 25.0f);
    const char* names[] = {"Rotate angle", "RotateTile angle", "RotateZoom angle, zoom 0.1..1.1", "RotateZoomTile angle, zoom"};
    for (int32_t i = 0; i < 4; ++i) {
        const int32_t x = 20 + i % 2 * 310, y = 40 + i / 2 * 200;
        if (data.sprite) {
            if (i == 0) Rotate(x, y, x + 290, y + 170, angle, data.sprite, 0, 0, 128, 96);
            if (i == 1) RotateTile(x, y, x + 290, y + 170, angle, data.sprite, 0, 0, 128, 96);
            if (i == 2) RotateZoom(x, y, x + 290, y + 170, angle, zoom, data.sprite, 0, 0, 128, 96);
            if (i == 3) RotateZoomTile(x, y, x + 290, y + 170, angle, zoom, data.sprite, 0, 0, 128, 96);
        }
        FrameRect(x, y, x + 290, y + 170);
        label(x + 4, y + 174, "%s", names[i]);
    }
}

void drawWarps(const Frame& f) {
    ClearScreen();
    if (data.backdrop) {
        Floor(0, 240, 640, 440, f.count * 2, 0.2f, 0.02f, 0.2f, 0.02f, 1.0f, 0.8f, 0.6f, data.backdrop, 0, 0, 256, 256);
        Ripple(20, 40, 12, 3 + f.count % 40 / 10, 1, 1.0f, 0.2f, data.backdrop, 0, 0, 280, 160);
        StretchEdge(330, 40, 0, 140 + int32_t(60 * std::sin(f.count / 20.0f)), data.backdrop, 0, 0, 160, 160);
    }
    label(20, 218, "Ripple amplitude 12, frequency 3..6, step 1, shear 0.2");
    label(330, 218, "StretchEdge mode 0 (right), edge moving");
    label(20, 424, "Floor angle, zoom 0.2 + 0.02 per row, scale 1, 0.8, 0.6");
}

void enterTunnel() { MakeTunnel(256, 256, 640, 400, -1, -1, 8, 0, 0, 0); }

void drawTunnel(const Frame& f) {
    ClearScreen();
    if (data.backdrop) Tunnel(0, 30, f.count * 2, f.count * 4, data.backdrop);
    label(20, 420, "MakeTunnel 256x256 texture, 640x400 window, metric 0, depth 0; u += 2, v += 4 a frame");
}

}  // namespace

const Screen warpScreens[] = {
    {2, "Rotate RotateTile RotateZoom RotateZoomTile: angle +3 a frame", "", drawRotations},
    {2, "Floor, Ripple, StretchEdge", "", drawWarps},
    {2, "MakeTunnel + Tunnel(uOffset, vOffset)", "", drawTunnel, enterTunnel},
};
const int32_t warpScreenCount = 3;

}  // namespace show
