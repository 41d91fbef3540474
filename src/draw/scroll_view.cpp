// The scroll view: a drifting tiled backdrop under a page the arrow keys scroll, drawn by Present.
#include "draw/zu_draw.h"
#include "platform/win32.h"
#include "system/zu_system.h"

namespace zuDraw {

namespace {

constexpr float backdropDrift = 10.0f;  // pixels per second
constexpr float slowScroll = 100.0f;
constexpr float fastScroll = 300.0f;

void drawBackdrop() {
    ScrollView& v = scrollView;
    for (int32_t c = 0; c <= 10; ++c)
        for (int32_t r = 0; r <= 10; ++r)
            Blit(c * 64 + int32_t(v.tileX), r * 48 + int32_t(v.tileY), v.tileObject, 0, 0, 64, 48);
    float seconds = zuSystem::frameClock.seconds;
    v.tileX -= seconds * backdropDrift;
    v.tileY -= seconds * backdropDrift;
    if (v.tileX <= -64.0f) v.tileX += 64.0f;
    if (v.tileY <= -48.0f) v.tileY += 48.0f;
}

void scrollByKey() {
    ScrollView& v = scrollView;
    float seconds = zuSystem::frameClock.seconds;
    int32_t key = zuSystem::inputState.viewKey;
    if (key == VK_UP) v.scrollY -= seconds * slowScroll;
    else if (key == VK_LEFT) v.scrollY -= seconds * fastScroll;
    else if (key == VK_DOWN) v.scrollY += seconds * slowScroll;
    else if (key == VK_RIGHT) v.scrollY += seconds * fastScroll;
    if (v.scrollY < 0.0f) v.scrollY = 0.0f;
    float lowest = float(v.pageHeight - (screenState.clipBottom - screenState.clipTop));
    if (lowest < v.scrollY) v.scrollY = lowest;
}

}  // namespace

void drawScrollView() {
    const ScreenState& s = screenState;
    drawBackdrop();
    int32_t top = int32_t(scrollView.scrollY);
    Blit(s.clipLeft, s.clipTop, scrollView.pageObject, 0, top, s.clipRight - s.clipLeft,
         top + s.clipBottom - s.clipTop);
    scrollByKey();
}

void SetScrollView(const char* pageName, const char* tileName, int32_t pageHeight) {
    ScrollView& v = scrollView;
    SetLoadColorKey(0);
    if (v.pageObject == 0) {
        v.pageObject = LoadObject(pageName, 2);
        v.tileObject = LoadObject(tileName, 2);
    } else {
        SwapObject(pageName, v.pageObject, 2);
        SwapObject(tileName, v.tileObject, 2);
    }
    v.scrollY = 0.0f;
    v.pageHeight = pageHeight;
}

void ToggleScrollView() {
    if (scrollView.visible) scrollView.visible = 0;
    else if (scrollView.pageHeight != 0) scrollView.visible = 1;
}

}  // namespace zuDraw
