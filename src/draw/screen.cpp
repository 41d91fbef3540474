// Screen set-up and shut-down: the display, primary and back buffer, the four internal objects,
// the pixel format, the clip and present rectangles, then the other subsystems.
#include <cstring>

#include "draw/draw_internal.h"
#include "platform/os/window.h"
#include "platform/video/display.h"
#include "system/zu_system.h"

namespace zuDraw {

void startOtherSubsystems();  // startup_chain.cpp

namespace {

constexpr const char* caption = "zuDraw::Screen";

int32_t fail(const char* message) { return zuSystem::ReportError(caption, message, 0); }

struct InternalObject {
    const char* failure;
    const char* recordName;
};

constexpr InternalObject internalObjects[firstLoadableObject] = {
    {"Bufferスプライトが生成できません", "内部用１"},
    {"Screenスプライトが生成できません", "内部用２"},
    {"Fontスプライトが生成できません", "内部用３"},
    {"Fontバッファスプライトが生成できません", "内部用４"},
};

void resetRecord(ObjectRecord& record) { record = ObjectRecord{}; }

// Frees every surface the screen owns; the records stay ready for a new set-up.
void releaseSurfaces() {
    for (ObjectRecord& record : objectTable.objects) {
        if (record.surface) platform::destroySurface(record.surface);
        if (record.surface || record.name[0]) resetRecord(record);
    }
    screenState.clipper = nullptr;
    if (screenState.back) platform::destroySurface(screenState.back);
    screenState.back = nullptr;
    screenState.primary = nullptr;  // belongs to the display
}

// One device, taken when it is 3D-capable; otherwise the default display is opened below.
void chooseDevice() {
    platform::DisplayCaps caps = platform::displayCaps();
    screenState.hardwareDevice = 0;
    if (caps.deviceCount > 0 && caps.hardware3D) {
        screenState.ddraw = platform::openDisplay();
        screenState.hardwareDevice = screenState.ddraw ? 1 : 0;
    }
}

bool setModeWithFallbacks() {
    ScreenState& s = screenState;
    if (platform::setDisplayMode(s.width, s.height, s.colorDepth)) return true;
    for (int32_t alt : {s.altColorDepth1, s.altColorDepth2}) {
        if (alt == 0) return false;
        s.colorDepth = alt;
        if (platform::setDisplayMode(s.width, s.height, s.colorDepth)) return true;
    }
    return false;
}

bool createInternalObjects() {
    for (int32_t n = 0; n < firstLoadableObject; ++n) {
        ObjectRecord& record = objectTable[n];
        record.surface = platform::createSurface(screenState.width, screenState.height);
        if (!record.surface) return fail(internalObjects[n].failure) != 0;
        probeColorKey(*record.surface, 0);
        std::strcpy(record.name, internalObjects[n].recordName);
        record.fromPack = 0;
        record.placement = 2;
        record.colorKey = 0;
        record.width = uint16_t(screenState.width);
        record.height = uint16_t(screenState.height);
    }
    return true;
}

bool readPixelFormat() {
    platform::FormatMasks masks = platform::masksOf(screenState.back->format);
    if (masks.red == 0 || masks.green == 0 || masks.blue == 0) return false;
    fillPixelFormat(masks.red, masks.green, masks.blue);
    return true;
}

}  // namespace

void SetColorDepth(int32_t depth, int32_t alt1, int32_t alt2) {
    screenState.colorDepth = depth;
    screenState.altColorDepth1 = alt1;
    screenState.altColorDepth2 = alt2;
}

void SetClip(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    screenState.clipLeft = left;
    screenState.clipTop = top;
    screenState.clipRight = right;
    screenState.clipBottom = bottom;
}

// The memory argument is accepted and ignored: every surface lives in ordinary memory, so there
// is no placement to choose.
int32_t Screen(int32_t width, int32_t height, int32_t memory) {
    (void)memory;
    ScreenState& s = screenState;
    zuSystem::systemState.errorRaised = 0;
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return fail("裏画面が生成できません");
    releaseSurfaces();  // a second set-up starts from nothing
    s.width = width;
    s.height = height;
    SetClip(0, 0, width, height);

    if (!s.ddraw) chooseDevice();
    if (!s.ddraw) s.ddraw = platform::openDisplay();
    if (!s.ddraw) return fail("DirectDrawが使用できません");

    bool fullScreen = zuSystem::systemState.fullScreen != 0;
    if (fullScreen) {
        if (!setModeWithFallbacks()) return fail("解像度が変更できません");
    } else {
        s.colorDepth = zuSystem::DesktopBits();
        platform::setWindowPicture(width, height);  // the window shows the screen's size
    }
    s.primary = platform::primarySurface();
    if (!s.primary) return fail("表画面が生成できません");
    s.back = platform::createSurface(width, height);
    if (!s.back) return fail("裏画面が生成できません");
    if (!fullScreen) s.clipper = zuSystem::systemState.window;

    if (!createInternalObjects()) return 0;
    s.canStretch = platform::displayCaps().canStretch ? 1 : 0;
    if (!readPixelFormat()) return fail("ピクセル情報が取得できません");
    buildEffectTables(platform::bytesPerPixel(s.back->format) == 2);  // the effects draw on it

    scrollView.pageObject = 0;
    scrollView.tileObject = 0;
    s.presentSource = {0, 0, width, height};
    int32_t x = zuSystem::systemState.clientX, y = zuSystem::systemState.clientY;
    s.presentDest = {x, y, x + width, y + height};

    startOtherSubsystems();
    return 1;
}

// Full screen, the window is then shown as an icon, with or without a display to let go of.
void Release() {
    if (screenState.ddraw) {
        releaseSurfaces();
        platform::closeDisplay(screenState.ddraw);  // the mode goes back with the display
        screenState.ddraw = nullptr;
    }
    if (zuSystem::systemState.fullScreen) platform::minimizeWindow(zuSystem::systemState.window);
}

}  // namespace zuDraw
