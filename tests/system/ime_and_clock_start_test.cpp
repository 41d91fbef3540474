// The input-method switch reports its previous state, and a new frame clock measures from the
// tick it was made at.
#include <gtest/gtest.h>

#include "platform/headless.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace zuSystem;

class ImeAndClockStart : public FreshProgram {};

TEST_F(ImeAndClockStart, EnableImeReturnsWhetherTheSwitchWasOn) {
    const struct {
        int32_t flag, result;
    } steps[] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& step : steps) {
        EXPECT_EQ(EnableIme(step.flag), step.result) << "switching to " << step.flag;
        EXPECT_EQ(systemState.imeEnabled, step.flag);
    }
}

TEST_F(ImeAndClockStart, TheFirstMeasuredFrameCountsFromTheStartTick) {
    platform::headless::setClock(90000);
    frameClock = {};
    EXPECT_EQ(frameClock.lastTick, 90000u);
    platform::headless::setClock(90050);
    UpdateClock();
    EXPECT_FLOAT_EQ(frameClock.seconds, 0.05f);
}

}  // namespace
