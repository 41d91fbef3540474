// Family 5: primitives, the frame-rate line and debug text; plain, smooth and revealed rich text.
#include <cmath>

#include <zu/draw/zu_draw.h>

#include "show.h"

namespace show {
namespace {

using namespace zuDraw;

void drawPrimitives(const Frame& f) {
    ClearScreen();
    for (int32_t i = 0; i < 12; ++i) Line(20, 60 + i * 12, 200, 60 + i * 24 - f.count % 60, RGB(255, 40 + i * 18, 60), 1 + i % 3);
    Rectangle(240, 60, 400, 180, RGB(30, 90, 200), RGB(255, 255, 255), 3);
    const platform::Point star[] = {{520, 50}, {545, 120}, {615, 120}, {560, 160}, {580, 230}, {520, 190}, {460, 230}, {480, 160}, {425, 120}, {495, 120}};
    Polygon(star, 10, RGB(250, 200, 40), RGB(120, 60, 0), 2, f.count / 60 % 2 + 1);
    const int32_t wave = int32_t(80 * std::sin(f.count / 15.0f));
    const platform::Point curve[] = {{40, 330}, {180, 250 + wave}, {320, 410 - wave}, {600, 300}};
    Bezier(curve, 4, RGB(80, 255, 120), 3);
    for (int32_t i = 0; i < 200; ++i) SetPixel(240 + i, 200 + (i * 37 + f.count) % 40, RGB(255, 255, 255));
    DrawFps();
    DebugText(20, 380, "DebugText: white on navy, 12 pixels");
    DebugPrintf(20, 400, "DebugPrintf: frame %d", f.count);
    label(240, 186, "Rectangle fill, pen 3");
    label(430, 240, "Polygon mode %d", f.count / 60 % 2 + 1);
    label(40, 430, "Line widths 1-3, SetPixel, Bezier 4 points, DrawFps (top-left)");
}

const char* const sample =
    "Rich text lays a string out one character at a time, wrapping at the right edge and "
    "letting commas, full stops and spaces hang past it.";

void drawPlain(const Frame&) {
    drawBackdrop();
    const int32_t flags[] = {0, textShadow, textShadow | textBoldRight | 4};
    const char* names[] = {"RichText flags 0", "RichText shadow", "RichText shadow + bold right + spacing 4"};
    for (int32_t i = 0; i < 3; ++i) {
        BeginText(1, 18, 0, 0, 0, 0);
        SetTextColors(RGB(255, 255, 255), RGB(20, 20, 60), 1);
        RichText(40, 50 + i * 130, 600, 160 + i * 130, sample, flags[i]);
        EndText();
        label(40, 30 + i * 130, "%s", names[i]);
    }
}

void drawSmooth(const Frame&) {
    drawBackdrop();
    const int32_t flags[] = {0, textShadow | textBoldRight | textBoldDown};
    const char* names[] = {"SmoothText flags 0 (BeginBufferText 1, 18)", "SmoothText shadow + bold right + bold down"};
    for (int32_t i = 0; i < 2; ++i) {
        BeginBufferText(1, 18);
        SetTextColors(RGB(255, 240, 160), RGB(40, 20, 20), 1);
        SmoothText(40, 60 + i * 180, 600, 220 + i * 180, sample, flags[i]);
        EndBufferText();
        label(40, 40 + i * 180, "%s", names[i]);
    }
}

void enterReveal() {
    drawBackdrop();  // the prepared text blends with what lies under it
    BeginText(1, 20, 0, 1, 0, 0);
    SetTextColors(RGB(255, 255, 255), RGB(0, 0, 80), 1);
    PrepareRichText(40, 60, 600, 400, sample, textShadow | 6);
    EndText();
}
void drawReveal(const Frame& f) {
    drawBackdrop();
    const int32_t done = RevealText(0.05f);
    label(40, 420, "PrepareRichText + RevealText(0.05 s): %s (frame %d)", done ? "whole text shown" : "typing", f.count);
}

}  // namespace

const Screen textScreens[] = {
    {5, "Line Rectangle Polygon Bezier SetPixel, DrawFps, DebugText DebugPrintf", "", drawPrimitives},
    {5, "RichText in a BeginText run: plain, shadow, bold", "", drawPlain},
    {5, "SmoothText in a BeginBufferText run: shadow and bold", "", drawSmooth},
    {5, "Typewriter: PrepareRichText, then RevealText each frame", "", drawReveal, enterReveal},
};
const int32_t textScreenCount = 4;

}  // namespace show
