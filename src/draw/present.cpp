// Ending a frame: the running transition's step, the scroll view, the vertical-blank wait and the
// copy of the back buffer to the display. Also the capture and the run starters.
#include "draw/draw_internal.h"
#include "draw/transitions.h"
#include "platform/video/display.h"
#include "platform/video/surface.h"

namespace zuDraw {

void drawScrollView();  // scroll_view.cpp

namespace {

void advanceTransition() {
    TransitionState& t = transitionState;
    drawTransitionStep(t.kind, t.length, t.step);
    t.step += t.direction;
    // A step with direction 0 stays: it is drawn again every frame until changed.
    if ((t.direction == -1 && t.step < 1) || (t.direction == 1 && t.step > coverSteps)) {
        t.step = 0;
        t.direction = 0;
    }
}

// Same-size copies take the unscaled path, which is the common case.
platform::Status copyBackToPrimary() {
    const ScreenState& s = screenState;
    const platform::Rect& to = s.presentDest;
    const platform::Rect& from = s.presentSource;
    if (to.width() == from.width() && to.height() == from.height())
        return platform::bltFast(*s.primary, to.left, to.top, *s.back, from, false);
    return platform::blt(*s.primary, to, *s.back, from, false);
}

}  // namespace

void Present() {
    if (transitionState.step != 0) advanceTransition();
    if (scrollView.visible) drawScrollView();
    if (screenState.waitVBlank != 0 && !platform::waitForVerticalBlank()) return;
    if (!screenState.primary || !screenState.back) return;
    platform::Status status = copyBackToPrimary();
    if (status == platform::Status::surfaceLost) {
        Restore();
        return;
    }
    platform::presentPrimary();
}

void CaptureScreen(int32_t object, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    platform::Surface* surface = objectSurface(object);
    if (!surface || !screenState.back) return;
    restoreIfLost(platform::bltFast(*surface, 0, 0, *screenState.back, {left, top, right, bottom}, false));
}

void BeginCover() {
    transitionState.step = 1;
    transitionState.direction = 1;
}

void BeginUncover() {
    transitionState.step = coverSteps;
    transitionState.direction = -1;
}

int32_t SetCoverPattern(const char* name) {
    SetLoadColorKey(0);
    transitionState.coverPattern = LoadObject(name, 2);
    return transitionState.coverPattern;
}

void SetVBlankWait(int32_t flag) { screenState.waitVBlank = flag; }

}  // namespace zuDraw
