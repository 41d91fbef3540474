// The transition kinds as a table: 0 the pattern sheet, 1-12 geometric copies of the frame
// captured into object 1, 13 and up nothing. Divisions truncate toward zero in written order.
#include "draw/transitions.h"

#include <cstdlib>

#include "draw/zu_draw.h"

namespace zuDraw {

namespace {

constexpr int32_t capturedFrame = 1;

struct Step {
    int32_t W, H, L, s;
    int32_t travel() const { return L - s + 1; }  // how far the old frame has moved
};

void copy(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x, int32_t y) {
    BlitOpaque(x, y, capturedFrame, l, t, r, b);
}

// A fresh horizontal offset per row or band; a step beyond the length has no room: 0.
int32_t jitter(const Step& k) {
    int32_t span = 2 * (k.L - k.s) + 2;
    return span > 0 ? std::rand() % span - (k.L - k.s + 1) : 0;
}

void pattern(const Step& k) {
    int32_t left = (k.s - 1) * 64;
    for (int32_t c = 0; c < 10; ++c)
        for (int32_t r = 0; r < 10; ++r)
            Blit(c * 64, r * 48, transitionState.coverPattern, left, 0, left + 64, 48);
}

void interlaceRows(const Step& k, bool jittered) {
    for (int32_t y = 0; y < k.H; ++y)
        if (y % k.s != 0) copy(0, y, k.W, y + 1, jittered ? jitter(k) : 0, y);
}

void blindBands(const Step& k, bool jittered) {
    for (int32_t y = 0; y < k.H; y += k.L) copy(0, y, k.W, y + k.s + 1, jittered ? jitter(k) : 0, y);
}

void interlace(const Step& k) { interlaceRows(k, false); }
void blinds(const Step& k) { blindBands(k, false); }
void jitteredInterlace(const Step& k) { interlaceRows(k, true); }
void jitteredBlinds(const Step& k) { blindBands(k, true); }
void slideUp(const Step& k) { copy(0, 0, k.W, k.H, 0, (-k.H / k.L) * k.travel()); }
void slideDown(const Step& k) { copy(0, 0, k.W, k.H, 0, (k.H / k.L) * k.travel()); }
void slideLeft(const Step& k) { copy(0, 0, k.W, k.H, (-k.W / k.L) * k.travel(), 0); }
void slideRight(const Step& k) { copy(0, 0, k.W, k.H, (k.W / k.L) * k.travel(), 0); }

void splitVertically(const Step& k) {
    copy(0, 0, k.W, k.H / 2, 0, ((-k.H) / 2 / k.L) * k.travel());
    copy(0, k.H / 2, k.W, k.H, 0, k.H / 2 + (k.H / 2 / k.L) * k.travel());
}

void splitHorizontally(const Step& k) {
    copy(0, 0, k.W / 2, k.H, ((-k.W) / 2 / k.L) * k.travel(), 0);
    copy(k.W / 2, 0, k.W, k.H, k.W / 2 + (k.W / 2 / k.L) * k.travel(), 0);
}

void wipeLeftwards(const Step& k) { copy(0, 0, (k.W / k.L) * k.s, k.H, 0, 0); }

void wipeRightwards(const Step& k) {
    int32_t x0 = (k.W / k.L) * k.travel();
    copy(x0, 0, k.W, k.H, x0, 0);
}

struct Kind {
    void (*draw)(const Step&);
    bool needsLength;  // divides or strides by the length: a length below 1 draws nothing
};

constexpr Kind kinds[] = {
    {pattern, false},           {interlace, false},      {blinds, true},
    {jitteredInterlace, false}, {jitteredBlinds, true},  {slideUp, true},
    {slideDown, true},          {slideLeft, true},       {slideRight, true},
    {splitVertically, true},    {splitHorizontally, true}, {wipeLeftwards, true},
    {wipeRightwards, true},
};
constexpr int32_t kindCount = int32_t(sizeof kinds / sizeof kinds[0]);

}  // namespace

void drawTransitionStep(int32_t kind, int32_t length, int32_t step) {
    if (kind < 0 || kind >= kindCount || step < 1) return;
    if (kinds[kind].needsLength && length < 1) return;
    kinds[kind].draw({screenState.width, screenState.height, length, step});
}

}  // namespace zuDraw
