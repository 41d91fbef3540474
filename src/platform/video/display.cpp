// The virtual display: the mode chooses the format of new surfaces, the primary surface is kept
// here, and finished frames go to the backend.
#include "platform/video/display.h"

#include <algorithm>
#include <vector>

#include "platform/backend.h"
#include "platform/faults.h"

namespace platform {

struct Display {};

namespace {

struct Controls {
    std::vector<int32_t> refusedDepths;
    bool rgb555For16 = false;
    int32_t desktopBits = 0;  // 0: ask the backend
    bool canStretch = true;
};

struct DisplayState {
    bool modeSet = false;
    int32_t width = 640, height = 480, bits = 0;
    Format format = Format::rgb565;
    Surface* primary = nullptr;
    Display handle;
};

Controls controls;
DisplayState display;

bool formatForDepth(int32_t bits, Format& out) {
    switch (bits) {
    case 15: out = Format::rgb555; return true;
    case 16: out = controls.rgb555For16 ? Format::rgb555 : Format::rgb565; return true;
    case 24:
    case 32: out = Format::xrgb8888; return true;
    default: return false;  // 8 bits and odd depths are not offered
    }
}

int32_t hostDesktopBits() {
    return controls.desktopBits ? controls.desktopBits : backend().desktopBits();
}

void dropPrimary() {
    destroySurface(display.primary);
    display.primary = nullptr;
}

}  // namespace

Display* openDisplay() { return &display.handle; }

void closeDisplay(Display*) {
    dropPrimary();
    display = {};
}

DisplayCaps displayCaps() {
    DisplayCaps caps;
    caps.canStretch = controls.canStretch;
    return caps;
}

bool setDisplayMode(int32_t width, int32_t height, int32_t bits) {
    Format format;
    if (width <= 0 || height <= 0 || !formatForDepth(bits, format)) return false;
    if (std::ranges::find(controls.refusedDepths, bits) != controls.refusedDepths.end()) return false;
    if (!backend().setDisplayMode(width, height, bits)) return false;
    if (display.primary && (display.primary->format != format || display.primary->width != width ||
                            display.primary->height != height))
        dropPrimary();
    display.modeSet = true;
    display.width = width;
    display.height = height;
    display.bits = bits;
    display.format = format;
    backend().setPictureSize(width, height);
    return true;
}

bool setWindowPicture(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return false;
    if (display.primary && (display.primary->width != width || display.primary->height != height)) dropPrimary();
    display.width = width;
    display.height = height;
    backend().setPictureSize(width, height);
    return true;
}

Format displayFormat() {
    if (display.modeSet) return display.format;
    Format format = Format::xrgb8888;
    formatForDepth(hostDesktopBits(), format);
    return format;
}

int32_t desktopBits() { return display.modeSet ? display.bits : hostDesktopBits(); }

Surface* primarySurface() {
    if (!display.primary) {
        display.primary = createSurface(display.width, display.height, displayFormat());
        if (display.primary) display.primary->primary = true;
    }
    return display.primary;
}

void presentPrimary() {
    if (display.primary && !display.primary->lost) backend().showFrame(*display.primary);
}

bool waitForVerticalBlank() { return backend().waitForVerticalBlank(); }

namespace headless {

void refuseDepth(int32_t bits) { controls.refusedDepths.push_back(bits); }
void useRgb555For16(bool on) { controls.rgb555For16 = on; }
void setDesktopBits(int32_t bits) { controls.desktopBits = bits; }
void setCanStretch(bool on) { controls.canStretch = on; }

void resetDisplay() {
    closeDisplay(&display.handle);
    backend().setPictureSize(display.width, display.height);
    controls = {};
    failNextLocks(0);
    loseAtNextCopies(0);
    failNextContexts(0);
}

}  // namespace headless
}  // namespace platform
