// The SDL joysticks on SDL's virtual game controllers (no window, no hardware): ids in order, a
// third waiting, the stick, the D-pad at the ends while the stick rests, the buttons in order.
#include <gtest/gtest.h>
#include <SDL2/SDL.h>

#include <cstdlib>
#include <vector>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/os/joystick.h"

namespace {

using Reading = std::vector<uint32_t>;
Reading read(int32_t id) {
    platform::JoyInfo i;
    return platform::readJoystick(id, i) ? Reading{i.x, i.y, i.buttons, i.connection} : Reading{};
}

TEST(SdlJoystick, VirtualControllersTakeTheFreeIdsInOrderAndReadStickDpadAndButtons) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_TRUE(platform::useSdl());
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real joystick is attached";
    // Every button and axis, each standing for the controller's one of the same number.
    SDL_VirtualJoystickDesc desc{.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION, .type = SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                 .naxes = SDL_CONTROLLER_AXIS_MAX, .nbuttons = SDL_CONTROLLER_BUTTON_MAX,
                                 .button_mask = 0xFFFFF, .axis_mask = 0x3F, .name = "pad"};
    for (int i = 0; i < 3; ++i) ASSERT_EQ(SDL_JoystickAttachVirtualEx(&desc), i) << SDL_GetError();
    platform::backend().pumpEvents(false);
    const Reading first = read(0), second = read(1);
    ASSERT_EQ(first.size() + second.size(), 8u);

    // Rows: stick, buttons held, position read. Held bits 0 to 15 are the buttons read back.
    enum : uint32_t { A = 1, B = 2, X = 4, Y = 8, back = 16, shoulder = 1024, misc = 2048, paddle4 = 1u << 15,
                      up = 1u << 16, down = 1u << 17, left = 1u << 18, right = 1u << 19 };
    const struct { int16_t x, y; uint32_t held, seenX, seenY; } rows[] = {
        {32767, -32768, 0, 65535, 0}, {0, 0, left | down, 0, 65535}, {7000, -7000, right | up, 65535, 0},
        {20000, 0, left, 52768, 32768} /* the stick wins */, {0, 0, A | Y, 32768, 32768} /* centred */,
        {0, 0, B | X | back | shoulder | misc | paddle4, 32768, 32768},
    };
    SDL_Joystick* pad = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(0));
    for (const auto& row : rows) {
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, row.x);
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, row.y);
        for (int bit = 0; bit < 20; ++bit)
            SDL_JoystickSetVirtualButton(pad, bit < 11 ? bit : bit < 16 ? bit + 4 : bit - 5, row.held >> bit & 1);
        platform::backend().pumpEvents(false);
        EXPECT_EQ(read(0), (Reading{row.seenX, row.seenY, row.held & 0xFFFF, first[3]})) << "row " << &row - rows;
    }

    // The first pulled out: the waiting third takes id 0 as a new device; the second stays.
    SDL_JoystickDetachVirtual(0);
    platform::backend().pumpEvents(false);
    EXPECT_NE(read(0).at(3), first[3]);
    EXPECT_EQ(read(1), second);
    SDL_JoystickDetachVirtual(0), SDL_JoystickDetachVirtual(0);
    platform::backend().pumpEvents(false);
    EXPECT_EQ(read(0).size() + read(1).size(), 0u);
    platform::useHeadless();
}

}  // namespace
