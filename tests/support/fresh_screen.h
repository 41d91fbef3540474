// FreshScreen: a fresh program showing a 640 x 480 screen, with no wait for the vertical blank.
// FreshScreen16: the same screen full screen at 16 bits (RGB565), the format the sprite, rotation
// and region effects and MirrorBlit draw on.
#pragma once
#include "draw/zu_draw.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

struct FreshScreen : FreshProgram {
    void SetUp() override {
        FreshProgram::SetUp(), zuDraw::SetVBlankWait(0);
        ASSERT_EQ(zuDraw::Screen(640, 480, 1), 1);
    }
};

// A full-screen 640 x 480 screen at `bits` per pixel in place of the one shown; 1 once it shows.
inline int32_t showFullScreen(int32_t bits) {
    zuDraw::Release(), zuDraw::SetColorDepth(bits, 0, 0), zuDraw::SetVBlankWait(0);
    zuSystem::systemState.fullScreen = 1;
    return zuDraw::Screen(640, 480, 1);
}

struct FreshScreen16 : FreshProgram {
    void SetUp() override { FreshProgram::SetUp(); ASSERT_EQ(showFullScreen(16), 1); }
};
