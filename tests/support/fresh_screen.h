// FreshScreen: a fresh program showing a 640 x 480 screen, with no wait for the vertical blank.
#pragma once
#include "draw/zu_draw.h"
#include "support/fresh_program.h"

struct FreshScreen : FreshProgram {
    void SetUp() override {
        FreshProgram::SetUp(), zuDraw::SetVBlankWait(0);
        ASSERT_EQ(zuDraw::Screen(640, 480, 1), 1);
    }
};
