// The joysticks through the headless script: directions against the centre (read again for a
// device plugged in later), ramps and holds over the frame clock, edges, zeros without a device.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "draw/zu_draw.h"
#include "input/joystick.h"
#include "platform/backend.h"
#include "platform/video/surface.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

using namespace Joystick;
using Ints = std::vector<int32_t>;

namespace {

// Joystick 0 attached at start-up.
class JoystickScript : public FreshProgram {
protected:
    void SetUp() override { FreshProgram::SetUp(), frame("joy 0 connect"), Init(); }
    // The commands, joined by ';', act before the next frame of `ms`, which is then measured.
    void frame(const std::string& commands, uint32_t ms = 16) {
        ASSERT_TRUE(platform::headless::loadScript(commands + "\nwait 1000000\n"));
        platform::headless::setFrameMs(ms);
        drainMessages();
        platform::backend().showFrame(platform::Surface{});
        zuSystem::UpdateClock();
    }
    static Ints stick(int32_t id) {  // position, direction, keypad code
        Ints r(5, 9);
        return GetPosition(id, r[0], r[1]), GetDirection(id, r[2], r[3]), r[4] = GetDirectionCode(id), r;
    }
};

TEST_F(JoystickScript, DirectionsTurnAtHalfTheCentreEachWayAndADeviceFoundLaterReadsCentred) {
    const Ints rows[] = {  // x, y, then dx, dy and the keypad code read
        {16383, 32767, -1, 0, 4}, {16384, 32767, 0, 0, 5}, {49149, 32767, 0, 0, 5}, {49150, 32767, 1, 0, 6},
        {0, 0, -1, -1, 7},        {32767, 0, 0, -1, 8},    {65535, 0, 1, -1, 9},    {65535, 65535, 1, 1, 3},
        {32767, 65535, 0, 1, 2},  {0, 49150, -1, 1, 1}};
    for (const Ints& row : rows) {
        frame("joy 0 x " + std::to_string(row[0]) + "; joy 0 y " + std::to_string(row[1]));
        EXPECT_EQ(stick(0), row);
    }
    frame("joy 1 connect");
    EXPECT_EQ(stick(1), (Ints{32767, 32767, 0, 0, 5}));
    frame("joy 1 disconnect; joy 1 connect; joy 1 x 60000; joy 1 y 60000");  // another, held over
    EXPECT_EQ(stick(1), (Ints{60000, 60000, 0, 0, 5})) << "centred where it was found";
}

TEST_F(JoystickScript, AxesRampAtTheirRateUpTo100AndBackWhileHoldsGrowAndDropOnRelease) {
    SetRates(0, 50, 200);
    auto analogOver = [&](int frames, const std::string& commands, Ints xy = {0, 0}) {
        for (int i = 0; i < frames; ++i) frame(i ? "wait 1" : commands, 250), GetAnalog(0, xy[0], xy[1]);
        return xy;
    };
    EXPECT_EQ(analogOver(4, "joy 0 x 65535; joy 0 button 2 down"), (Ints{50, 0})) << "right held one second";
    EXPECT_EQ(analogOver(8, "wait 1"), (Ints{100, 0})) << "two more seconds stop at 100";
    EXPECT_EQ(analogOver(4, "joy 0 x 32767"), (Ints{50, 0})) << "released for one second";
    EXPECT_EQ(analogOver(1, "joy 0 y 0"), (Ints{37, -12})) << "each axis on its own";
    Ints h;
    for (const char* step : {"joy 0 button 1 down", "wait 1"}) frame(step, 125), h.push_back(int32_t(ButtonHold(0, 1)));
    frame("joy 0 button 1 up", 125);
    h.resize(6), ButtonHolds(0, h[2], h[3], h[4], h[5]);
    EXPECT_EQ(h, (Ints{25, 50, 0, 25, 0, 0})) << "button 1 held a quarter second; button 2 from its first read";
    Reset();
    EXPECT_EQ((Ints{int32_t(joystickState[0].analogX), int32_t(joystickState[0].axisRate)}), (Ints{0, 50}));
}

// Rows: the button before each poll ('D' down, 'U' up), what blocks the first poll, the edges.
TEST_F(JoystickScript, ButtonEdgesFollowTheKeyPollAndReadUpWhileATransitionTheViewOrCaptureRuns) {
    constexpr int32_t P = 1, R = 2, H = 3, U = 0;
    enum Block { none, transition, view, capture };
    const struct { std::string steps; Block block; Ints seen; } rows[] = {
        {"DDUU", none, {P, H, R, U}}, {"UDUD", none, {U, P, R, H}}, {"DDU", transition, {U, P, R}},
        {"DD", view, {U, P}}, {"DDU", capture, {U, P, R}}};
    for (const auto& row : rows) {
        Ints seen, s(4);
        joystickState[0].buttonEdge[2] = U;
        for (char step : row.steps) {
            frame(std::string("joy 0 button 3 ") + (step == 'D' ? "down" : "up"));
            zuDraw::transitionState.step = seen.empty() && row.block == transition ? 5 : 0;
            zuDraw::scrollView.visible = seen.empty() && row.block == view;
            zuSystem::inputState.captureMode = seen.empty() && row.block == capture;
            PollButtons(0, s[0], s[1], s[2], s[3]), seen.push_back(s[2] + 10 * (s[0] + s[1] + s[3]));  // others: up
        }
        EXPECT_EQ(seen, row.seen) << row.steps;
    }
}

TEST_F(JoystickScript, WithoutADeviceOrOutOfRangeEveryReadIsZeroAndTheStateStays) {
    SetRates(0, 50, 200);
    frame("joy 0 button 1 down; joy 0 button 32 down; joy 0 x 65535", 250);
    int32_t x = 0, y = 0;
    GetAnalog(0, x, y);
    ASSERT_EQ((Ints{x, PollButton(0, 1), int32_t(ButtonHold(0, 1)), IsButtonDown(0, 32)}), (Ints{12, 1, 50, 1}));
    const std::array<JoystickState, 2> before{joystickState[0], joystickState[1]};
    auto everyRead = [](int32_t id) {
        Ints g = stick(id);  // the code less 5, then the other reads
        g[4] -= 5, g.resize(21, 7);
        GetCentre(id, g[5], g[6]), GetAnalog(id, g[7], g[8]), GetButtons(id, g[9], g[10], g[11], g[12]);
        PollButtons(id, g[13], g[14], g[15], g[16]), ButtonHolds(id, g[17], g[18], g[19], g[20]);
        return g.push_back(IsButtonDown(id, 1) + PollButton(id, 1) + int32_t(ButtonHold(id, 1))), g;
    };
    for (int32_t id : {1, -1, 2, 1 << 30}) EXPECT_EQ(everyRead(id), Ints(22, 0)) << "id " << id;
    for (int32_t id : {-1, 2, 1 << 30}) SetRates(id, 1, 1);
    for (int32_t b : {0, 5, 33, -1, 1 << 30}) EXPECT_EQ(IsButtonDown(0, b) + PollButton(0, b) + ButtonHold(0, b), 0) << b;
    frame("joy 0 disconnect");
    EXPECT_EQ(everyRead(0), Ints(22, 0)) << "pulled out";
    EXPECT_EQ(std::memcmp(before.data(), joystickState, sizeof before), 0);
}

}  // namespace
