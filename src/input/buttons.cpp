// The buttons: levels, edges with the key poll's rules, and hold values.
#include <algorithm>

#include "input/joystick.h"
#include "input/joystick_internal.h"
#include "system/key_edge.h"
#include "system/zu_system.h"

namespace Joystick {
namespace {

constexpr int32_t edgeButtons = 4;  // buttons with an edge and a hold value

bool down(const platform::JoyInfo& info, int32_t button) { return (info.buttons >> (button - 1)) & 1u; }

int32_t pollEdge(int32_t id, int32_t button, const platform::JoyInfo& info) {
    int32_t& edge = joystickState[id].buttonEdge[button - 1];
    edge = zuSystem::NextKeyEdge(edge, down(info, button));
    return edge;
}

float updateHold(int32_t id, int32_t button, const platform::JoyInfo& info) {
    JoystickState& s = joystickState[id];
    float& hold = s.buttonHold[button - 1];
    hold = down(info, button) ? std::clamp(hold + s.buttonRate * zuSystem::frameClock.seconds, 0.0f, 100.0f) : 0.0f;
    return hold;
}

}  // namespace

int32_t IsButtonDown(int32_t id, int32_t button) {
    platform::JoyInfo info;
    if (button < 1 || button > 32 || !readDevice(id, info)) return 0;
    return down(info, button) ? 1 : 0;
}

void GetButtons(int32_t id, int32_t& b1, int32_t& b2, int32_t& b3, int32_t& b4) {
    platform::JoyInfo info;
    if (!readDevice(id, info)) info = {};
    b1 = down(info, 1), b2 = down(info, 2), b3 = down(info, 3), b4 = down(info, 4);
}

int32_t PollButton(int32_t id, int32_t button) {
    platform::JoyInfo info;
    if (button < 1 || button > edgeButtons || !readDevice(id, info)) return 0;
    return pollEdge(id, button, info);
}

void PollButtons(int32_t id, int32_t& s1, int32_t& s2, int32_t& s3, int32_t& s4) {
    platform::JoyInfo info;
    s1 = s2 = s3 = s4 = 0;
    if (!readDevice(id, info)) return;
    s1 = pollEdge(id, 1, info), s2 = pollEdge(id, 2, info), s3 = pollEdge(id, 3, info), s4 = pollEdge(id, 4, info);
}

float ButtonHold(int32_t id, int32_t button) {
    platform::JoyInfo info;
    if (button < 1 || button > edgeButtons || !readDevice(id, info)) return 0;
    return updateHold(id, button, info);
}

void ButtonHolds(int32_t id, int32_t& h1, int32_t& h2, int32_t& h3, int32_t& h4) {
    platform::JoyInfo info;
    h1 = h2 = h3 = h4 = 0;
    if (!readDevice(id, info)) return;
    h1 = int32_t(updateHold(id, 1, info)), h2 = int32_t(updateHold(id, 2, info));
    h3 = int32_t(updateHold(id, 3, info)), h4 = int32_t(updateHold(id, 4, info));
}

}  // namespace Joystick
