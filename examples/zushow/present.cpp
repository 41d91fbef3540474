// Family 4: the transition kinds 0 to 12 and the scroll view, all drawn by Present.
#include <zu/draw/zu_draw.h>

#include "show.h"

namespace show {
namespace {

using namespace zuDraw;

constexpr int32_t framesPerKind = 40;

// Every 40 frames the next kind starts from the frame before: kind 0 covers with its pattern
// sheet for ten steps, then uncovers; kinds 1 to 12 lay the captured old frame over the new.
void startKind(int32_t kind) {
    transitionState.kind = kind;
    transitionState.length = 20;
    if (kind == 0) {
        BeginCover();
        return;
    }
    CaptureScreen(1, 0, 0, 640, 480);
    transitionState.step = transitionState.length;
    transitionState.direction = -1;
}

void drawTransitions(const Frame& f) {
    const int32_t kind = f.count / framesPerKind % 13;
    if (f.count % framesPerKind == 0) startKind(kind);
    if (kind == 0 && transitionState.direction == 0 && f.count % framesPerKind == 12) BeginUncover();
    // Two scenes in turn, so every transition has something to cross between.
    if (kind % 2 == 0) drawBackdrop();
    else {
        ClearScreen();
        for (int32_t i = 0; i < 4; ++i)
            if (data.packPictures[i]) Blit(60 + i % 2 * 340, 60 + i / 2 * 200, data.packPictures[i], 0, 0, 160, 120);
    }
    label(20, 420, "transitionState kind %d, length 20 (kind 0: BeginCover, BeginUncover, pattern sheet)", kind);
}
void leaveTransitions() {
    transitionState.step = 0;
    transitionState.direction = 0;
}

void enterScroll() {
    if (scrollView.pageHeight == 0) SetScrollView("ZUSHOW\\PAGE.BMP", "ZUSHOW\\TILE.BMP", 960);
    SetClip(80, 40, 560, 420);  // the page is this wide; the captions stay outside
    if (!scrollView.visible) ToggleScrollView();
}
void leaveScroll() {
    if (scrollView.visible) ToggleScrollView();
    SetClip(0, 0, 640, 480);
}
void drawScroll(const Frame&) {
    ClearScreen();
    label(90, 424, "SetScrollView page 960 rows, ToggleScrollView; scrollY %d", int32_t(scrollView.scrollY));
}

}  // namespace

const Screen presentScreens[] = {
    {4, "Transitions: kinds 0-12 in turn, 40 frames each", "", drawTransitions, nullptr, leaveTransitions},
    {4, "Scroll view: page over a drifting tiled backdrop", "Up/Down scroll, Left/Right scroll fast; Space next",
     drawScroll, enterScroll, leaveScroll},
};
const int32_t presentScreenCount = 2;

}  // namespace show
