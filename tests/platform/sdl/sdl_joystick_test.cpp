// The SDL backend's joysticks on SDL's virtual game controllers, with no window and no hardware:
// the first two take ids 0 and 1 and a third waits for a free one; the left stick, the D-pad at
// the axes' ends while the stick rests, and the buttons in their order.
#include <gtest/gtest.h>
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/os/joystick.h"

using namespace platform;

namespace {

// Every button and axis, each standing for the controller's one of the same number.
SDL_JoystickID attachController() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "virtual pad";
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    return device < 0 ? -1 : SDL_JoystickGetDeviceInstanceID(device);
}

void detachController(SDL_JoystickID instance) {
    for (int device = 0; device < SDL_NumJoysticks(); ++device)
        if (SDL_JoystickGetDeviceInstanceID(device) == instance) SDL_JoystickDetachVirtual(device);
}

std::vector<uint32_t> read(int32_t id) {
    JoyInfo info;
    if (!readJoystick(id, info)) return {};
    return {info.x, info.y, info.buttons, info.connection};
}

TEST(SdlJoystick, VirtualControllersTakeTheFreeIdsInOrderAndReadStickDpadAndButtons) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(useSdl());
    const SDL_JoystickID pads[3] = {attachController(), attachController(), attachController()};
    ASSERT_TRUE(pads[0] >= 0 && pads[1] >= 0 && pads[2] >= 0) << SDL_GetError();
    backend().pumpEvents(false);
    const std::vector<uint32_t> first = read(0), second = read(1);
    ASSERT_EQ(first.size(), 4u);
    ASSERT_EQ(second.size(), 4u);
    EXPECT_EQ((std::vector<uint32_t>{first[0], first[1], first[2]}), (std::vector<uint32_t>{32768, 32768, 0}));
    EXPECT_NE(first[3], second[3]);

    SDL_Joystick* pad = SDL_JoystickFromInstanceID(pads[0]);
    ASSERT_NE(pad, nullptr);
    using B = SDL_GameControllerButton;
    const struct { int16_t stickX, stickY; std::vector<B> held; uint32_t x, y, buttons; } rows[] = {
        {32767, -32768, {}, 65535, 0, 0},
        {0, 0, {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_DOWN}, 0, 65535, 0},
        {7000, -7000, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_DPAD_UP}, 65535, 0, 0},  // resting
        {20000, 0, {SDL_CONTROLLER_BUTTON_DPAD_LEFT}, 52768, 32768, 0},  // the stick wins
        {0, 0, {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_Y}, 32768, 32768, 0b1001},
        {0, 0, {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_BACK}, 32768, 32768, 0b10110},
        {0, 0, {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDL_CONTROLLER_BUTTON_MISC1}, 32768, 32768, 0b110000000000},
        {0, 0, {SDL_CONTROLLER_BUTTON_PADDLE4}, 32768, 32768, 1u << 15},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, row.stickX);
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, row.stickY);
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
            SDL_JoystickSetVirtualButton(pad, b, std::find(row.held.begin(), row.held.end(), B(b)) != row.held.end());
        backend().pumpEvents(false);
        EXPECT_EQ(read(0), (std::vector<uint32_t>{row.x, row.y, row.buttons, first[3]}));
    }

    // The first pulled out: the waiting third takes its id as a new device; the second stays.
    detachController(pads[0]);
    backend().pumpEvents(false);
    const std::vector<uint32_t> third = read(0);
    ASSERT_EQ(third.size(), 4u);
    EXPECT_NE(third[3], first[3]);
    EXPECT_EQ(read(1), second);
    detachController(pads[1]);
    detachController(pads[2]);
    backend().pumpEvents(false);
    EXPECT_EQ(read(0), std::vector<uint32_t>{});
    EXPECT_EQ(read(1), std::vector<uint32_t>{});
    useHeadless();
}

}  // namespace
