// The virtual display: its mode (which sets the pixel format of every new surface), its
// capabilities, the primary surface and the hand-over of a finished frame to the backend.
#pragma once
#include <cstdint>

#include "platform/video/surface.h"

namespace platform {

struct Display;

// What the device choice and the stretch test of the screen set-up find: one device, not
// 3D-capable, able to stretch (the headless controls may say otherwise).
struct DisplayCaps {
    int32_t deviceCount = 1;
    bool hardware3D = false;
    bool canStretch = true;
};

Display* openDisplay();
void closeDisplay(Display*);  // frees the primary surface and forgets the mode
DisplayCaps displayCaps();

// 16 bits: RGB565 (RGB555 when the headless controls ask), 15: RGB555, 24 and 32: XRGB8888.
// 8 bits, any other depth and depths refused by the headless controls or the backend: false.
bool setDisplayMode(int32_t width, int32_t height, int32_t bits);
// In a window the mode is left alone and the window shows a picture of this size: the primary
// takes it, in the display format. False for an empty size.
bool setWindowPicture(int32_t width, int32_t height);
Format displayFormat();  // the format new surfaces get
int32_t desktopBits();   // the mode's depth once set, else the desktop's (32 unless told)

// The display's picture, made on first use in the display format at the mode's or the window's
// size (640 x 480 before either is set). It belongs to the display: never destroySurface it. A
// change of its size or format replaces it, so ask again after setDisplayMode or
// setWindowPicture.
Surface* primarySurface();
void presentPrimary();  // hands the primary to the backend as a finished frame
bool waitForVerticalBlank();

}  // namespace platform
