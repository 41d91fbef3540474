// The joysticks through the headless script: directions against the centre and their keypad
// codes, the ramped axes and hold values over the frame clock, button edges by the key poll's
// rules, zeros without a device or for ids and buttons out of range, and a device plugged in
// after start-up reading centred.
#include <string>
#include <vector>

#include "draw/zu_draw.h"
#include "input/joystick.h"
#include "platform/backend.h"
#include "platform/video/surface.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

using namespace Joystick;

namespace {

using Ints = std::vector<int32_t>;

class JoystickScript : public FreshProgram {
protected:
    // Commands joined by ';' all act before the next frame; the script never ends.
    void script(const std::string& commands) {
        ASSERT_TRUE(platform::headless::loadScript(commands + "\nwait 1000000\n"));
    }
    // One frame of `ms`: the script's next line acts, the clock moves, the frame is measured.
    void frame(uint32_t ms = 16) {
        platform::headless::setFrameMs(ms);
        drainMessages();
        platform::backend().showFrame(platform::Surface{});
        zuSystem::UpdateClock();
    }
    void connectAndInit() {
        script("joy 0 connect");
        frame();
        Init();
        zuSystem::ResetClock();
    }
    static std::vector<float> fields(const JoystickState& s) {
        return {s.analogX, s.analogY, s.axisRate, s.buttonHold[0], s.buttonHold[1], s.buttonHold[2], s.buttonHold[3],
                s.buttonRate, float(s.buttonEdge[0]), float(s.buttonEdge[1]), float(s.buttonEdge[2]), float(s.buttonEdge[3])};
    }
    Ints direction() {
        int32_t dx = 9, dy = 9;
        GetDirection(0, dx, dy);
        return {dx, dy, GetDirectionCode(0)};
    }
};

TEST_F(JoystickScript, DirectionsTurnAtHalfTheCentreEachWayAndGiveKeypadCodes) {
    connectAndInit();
    EXPECT_EQ(joystickCentre[0].x, 32767);
    const struct { int32_t x, y; Ints seen; } rows[] = {
        {16383, 32767, {-1, 0, 4}}, {16384, 32767, {0, 0, 5}}, {49149, 32767, {0, 0, 5}},
        {49150, 32767, {1, 0, 6}},  {0, 0, {-1, -1, 7}},       {32767, 0, {0, -1, 8}},
        {65535, 0, {1, -1, 9}},     {65535, 65535, {1, 1, 3}}, {32767, 65535, {0, 1, 2}},
        {0, 49150, {-1, 1, 1}},
    };
    for (const auto& row : rows) {
        script("joy 0 x " + std::to_string(row.x) + "; joy 0 y " + std::to_string(row.y));
        frame();
        int32_t x = 0, y = 0;
        GetPosition(0, x, y);
        EXPECT_EQ((Ints{x, y}), (Ints{row.x, row.y}));
        EXPECT_EQ(direction(), row.seen) << row.x << ", " << row.y;
    }
}

// Rates 50 (axes) and 200 (holds), frames of a quarter second.
TEST_F(JoystickScript, AxesRampAtTheirRateUpTo100AndBackWhileHoldsGrowAndDropOnRelease) {
    connectAndInit();
    SetRates(0, 50, 200);
    auto analogOver = [&](int frames) {
        int32_t x = 0, y = 0;
        for (int i = 0; i < frames; ++i) frame(250), GetAnalog(0, x, y);
        return Ints{x, y};
    };
    script("joy 0 x 65535; joy 0 button 2 down");
    EXPECT_EQ(analogOver(4), (Ints{50, 0})) << "right held one second";
    EXPECT_EQ(analogOver(8), (Ints{100, 0})) << "two more seconds stop at 100";
    script("joy 0 x 32767");
    EXPECT_EQ(analogOver(4), (Ints{50, 0})) << "released for one second";
    script("joy 0 y 0");
    EXPECT_EQ(analogOver(1), (Ints{37, -12})) << "each axis on its own";

    script("joy 0 button 1 down");
    frame(125);
    EXPECT_EQ(ButtonHold(0, 1), 25.0f);
    frame(125);
    EXPECT_EQ(ButtonHold(0, 1), 50.0f) << "held a quarter second";
    script("joy 0 button 1 up");
    frame(125);
    int32_t h[4];
    ButtonHolds(0, h[0], h[1], h[2], h[3]);
    EXPECT_EQ((Ints{h[0], h[1], h[2], h[3]}), (Ints{0, 25, 0, 0})) << "button 2 counted only now";
    Reset();
    EXPECT_EQ((std::vector<float>{joystickState[0].analogX, joystickState[0].buttonHold[1], joystickState[0].axisRate}),
              (std::vector<float>{0, 0, 50}));
}

// Rows: the button's state before each poll ('D' down, 'U' up), what blocks the first poll, and
// the edges read; the other buttons poll alongside through PollButtons.
TEST_F(JoystickScript, ButtonEdgesFollowTheKeyPollAndReadUpWhileATransitionTheViewOrCaptureRuns) {
    constexpr int32_t P = zuSystem::KeyEdge::Pressed, H = zuSystem::KeyEdge::Held,
                      R = zuSystem::KeyEdge::Released, U = zuSystem::KeyEdge::Up;
    enum Block { none, transition, view, capture };
    const struct { std::string steps; Block block; Ints seen; } rows[] = {
        {"DDUU", none, {P, H, R, U}},       {"UDUD", none, {U, P, R, H}},
        {"DDU", transition, {U, P, R}},     {"DD", view, {U, P}},
        {"DDU", capture, {U, P, R}},
    };
    connectAndInit();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.steps);
        Ints seen;
        for (char step : row.steps) {
            script(std::string("joy 0 button 3 ") + (step == 'D' ? "down" : "up"));
            frame();
            const bool blocked = seen.empty();
            zuDraw::transitionState.step = blocked && row.block == transition ? 5 : 0;
            zuDraw::scrollView.visible = blocked && row.block == view;
            if (blocked && row.block == capture) zuSystem::BeginCapture();
            int32_t s[4];
            PollButtons(0, s[0], s[1], s[2], s[3]);
            EXPECT_EQ((Ints{s[0], s[1], s[3]}), (Ints{U, U, U}));
            seen.push_back(s[2]);
            zuSystem::EndCapture();
        }
        EXPECT_EQ(seen, row.seen);
        script("joy 0 button 3 up");
        frame();
        PollButton(0, 3), PollButton(0, 3);
    }
}

TEST_F(JoystickScript, WithoutADeviceOrInRangeEveryReadIsZeroAndTheStateStays) {
    connectAndInit();
    SetRates(0, 50, 200);
    script("joy 0 button 1 down; joy 0 x 65535");
    frame(250);
    int32_t ignored = 0;
    GetAnalog(0, ignored, ignored);
    ASSERT_EQ((Ints{PollButton(0, 1), int32_t(ButtonHold(0, 1))}), (Ints{zuSystem::KeyEdge::Pressed, 50}));
    script("joy 0 disconnect");
    frame(250);
    const std::vector<float> before[2] = {fields(joystickState[0]), fields(joystickState[1])};
    // Every read of joystick 0 while pulled out, of the absent joystick 1, and of ids and buttons
    // out of range, filling outputs that start at 7.
    for (int32_t id : {0, 1, -1, 2, 1 << 30}) {
        SCOPED_TRACE(id);
        Ints got(22, 7);
        GetCentre(id, got[0], got[1]);
        GetPosition(id, got[2], got[3]);
        GetDirection(id, got[4], got[5]);
        GetAnalog(id, got[6], got[7]);
        GetButtons(id, got[8], got[9], got[10], got[11]);
        PollButtons(id, got[12], got[13], got[14], got[15]);
        ButtonHolds(id, got[16], got[17], got[18], got[19]);
        got[20] = IsButtonDown(id, 1) + PollButton(id, 1) + int32_t(ButtonHold(id, 1));
        got[21] = GetDirectionCode(id);
        Ints zeros(22, 0);
        zeros[21] = 5;
        EXPECT_EQ(got, zeros);
    }
    for (int32_t id : {-1, 2, 1 << 30}) SetRates(id, 1, 1);
    script("joy 0 connect; joy 0 button 1 down; joy 0 button 32 down");
    frame();
    for (int32_t button : {0, -1, 33, 1 << 30, -(1 << 30)}) EXPECT_EQ(IsButtonDown(0, button), 0) << button;
    for (int32_t button : {0, 5, -1, 32}) EXPECT_EQ(PollButton(0, button) + ButtonHold(0, button), 0) << button;
    EXPECT_EQ((Ints{IsButtonDown(0, 32), IsButtonDown(0, 31)}), (Ints{1, 0}));
    EXPECT_EQ(fields(joystickState[0]), before[0]);
    EXPECT_EQ(fields(joystickState[1]), before[1]);
}

// Left at centre (0, 0) a device plugged in later would read down-right for good.
TEST_F(JoystickScript, ADevicePluggedInAfterStartUpOrAgainReadsCentred) {
    script("wait 1");
    frame();
    Init();
    EXPECT_EQ(direction(), (Ints{0, 0, 5}));
    script("joy 1 connect");
    frame();
    EXPECT_EQ((Ints{joystickCentre[1].x, joystickCentre[1].y}), (Ints{0, 0}));
    int32_t dx = 9, dy = 9;
    GetDirection(1, dx, dy);
    EXPECT_EQ((Ints{dx, dy, GetDirectionCode(1), joystickCentre[1].x}), (Ints{0, 0, 5, 32767}));
    script("joy 1 disconnect; joy 1 connect; joy 1 x 60000; joy 1 y 60000");  // another device, held over
    frame();
    EXPECT_EQ(GetDirectionCode(1), 5) << "its centre is where it was found";
    script("joy 1 x 30000; joy 1 y 29999");
    frame();
    EXPECT_EQ(GetDirectionCode(1), 7);
}

}  // namespace
