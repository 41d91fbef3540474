// Family 1: every sprite blend and colour filter, six to a screen, animated over the backdrop.
#include <cmath>

#include <zu/draw/zu_draw.h>

#include "show.h"

namespace show {
namespace {

using namespace zuDraw;

// One effect of a grid: its label and the call, at (x, y) with the phase p in 0..1.
struct Effect {
    const char* name;
    void (*run)(int32_t x, int32_t y, float p, int32_t obj);
};

float phase(int32_t frame) { return 0.5f + 0.5f * std::sin(float(frame) / 20.0f); }

void drawGrid(const Effect* effects, int32_t count, const Frame& f) {
    drawBackdrop();
    const float p = phase(f.count);
    for (int32_t i = 0; i < count; ++i) {
        const Cell c = cell(i);
        const int32_t x = c.x + 36 + int32_t(20 * std::sin(f.count / 15.0f + i)), y = c.y + 30;
        if (data.sprite) effects[i].run(x, y, p, data.sprite);
        label(c.x + 8, c.y + 150, "%s", effects[i].name);
    }
}

#define SPRITE obj, 0, 0, 128, 96
const Effect blends[] = {
    {"HalfBlend", [](int32_t x, int32_t y, float, int32_t obj) { HalfBlend(x, y, SPRITE); }},
    {"AlphaBlend a=0..1", [](int32_t x, int32_t y, float p, int32_t obj) { AlphaBlend(x, y, p, SPRITE); }},
    {"AlphaBlendRGB a=p,1-p,0.5", [](int32_t x, int32_t y, float p, int32_t obj) { AlphaBlendRGB(x, y, p, 1 - p, 0.5f, SPRITE); }},
    {"AlphaGradient 0.9 vert step 3", [](int32_t x, int32_t y, float, int32_t obj) { AlphaGradient(x, y, 0.9f, 0.9f, 0.9f, 1, 0, 3, SPRITE); }},
    {"Fade level 0..31", [](int32_t x, int32_t y, float p, int32_t obj) { Fade(x, y, int32_t(p * 31), SPRITE); }},
    {"FadeRGB 31,level,8", [](int32_t x, int32_t y, float p, int32_t obj) { FadeRGB(x, y, 31, int32_t(p * 31), 8, SPRITE); }},
};
const Effect lights[] = {
    {"FadeGradient 4,4,4 step 4", [](int32_t x, int32_t y, float, int32_t obj) { FadeGradient(x, y, 4, 4, 4, 0, 0, 4, SPRITE); }},
    {"AddBlend", [](int32_t x, int32_t y, float, int32_t obj) { AddBlend(x, y, SPRITE); }},
    {"AddBlendLevel a=0..1", [](int32_t x, int32_t y, float p, int32_t obj) { AddBlendLevel(x, y, p, SPRITE); }},
    {"Shadow", [](int32_t x, int32_t y, float, int32_t obj) { Shadow(x, y, SPRITE); }},
    {"ChannelMask r,-,b", [](int32_t x, int32_t y, float, int32_t obj) { ChannelMask(x, y, 1, 0, 1, SPRITE); }},
    {"Bright f=0..2", [](int32_t x, int32_t y, float p, int32_t obj) { Bright(x, y, 2 * p, SPRITE); }},
};
const Effect filters[] = {
    {"BrightRGB 1.5,p,0.5", [](int32_t x, int32_t y, float p, int32_t obj) { BrightRGB(x, y, 1.5f, p, 0.5f, SPRITE); }},
    {"Darken level 0..31", [](int32_t x, int32_t y, float p, int32_t obj) { Darken(x, y, int32_t(p * 31), SPRITE); }},
    {"DarkenRGB 31,16,level", [](int32_t x, int32_t y, float p, int32_t obj) { DarkenRGB(x, y, 31, 16, int32_t(p * 31), SPRITE); }},
    {"Grey", [](int32_t x, int32_t y, float, int32_t obj) { Grey(x, y, SPRITE); }},
    {"Blur size 1..9", [](int32_t x, int32_t y, float p, int32_t obj) { Blur(x, y, 1 + int32_t(p * 8), SPRITE); }},
    {"SmoothEdge", [](int32_t x, int32_t y, float, int32_t obj) { SmoothEdge(x, y, SPRITE); }},
};
const Effect heat[] = {
    {"Displace f=0..1", [](int32_t x, int32_t y, float p, int32_t obj) { Displace(x, y, p, SPRITE); }},
    {"Glow 2,2,3 up+down", [](int32_t x, int32_t y, float, int32_t obj) { Glow(x, y, 2, 2, 3, 0x42, 1, SPRITE); }},
    {"Glow 1,3,3 all rays", [](int32_t x, int32_t y, float, int32_t obj) { Glow(x, y, 1, 3, 3, 0xFF, 1, SPRITE); }},
};
#undef SPRITE

}  // namespace

const Screen spriteScreens[] = {
    {1, "HalfBlend AlphaBlend AlphaBlendRGB AlphaGradient Fade FadeRGB", "", [](const Frame& f) { drawGrid(blends, 6, f); }},
    {1, "FadeGradient AddBlend AddBlendLevel Shadow ChannelMask Bright", "", [](const Frame& f) { drawGrid(lights, 6, f); }},
    {1, "BrightRGB Darken DarkenRGB Grey Blur SmoothEdge", "", [](const Frame& f) { drawGrid(filters, 6, f); }},
    {1, "Displace (heat haze), Glow (light rays)", "", [](const Frame& f) { drawGrid(heat, 3, f); }},
};
const int32_t spriteScreenCount = 4;

}  // namespace show
