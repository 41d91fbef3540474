/// @file
/// Joystick: two joysticks (ids 0 and 1) read as directions, keypad codes, raw positions, ramped
/// axes, button levels, button edges and growing hold values.
#pragma once
#include <cstdint>

/// The joystick family: directions, positions, ramped axes and buttons (@ref joystick).
namespace Joystick {

/// @defgroup joystick Joystick
/// Two joysticks, ids 0 and 1, each a stick (X and Y from 0 to 65535, the centre near 32767) and
/// up to 32 buttons; on a game controller A, B, X and Y are buttons 1 to 4, and the D-pad moves the
/// stick to its ends. zuDraw::Screen runs Init. Devices may be plugged in and out at any time; one
/// that appears has its centre read then. An absent joystick, an id other than 0 or 1, or a
/// button out of range reads as zeros (direction code 5) and changes no state.
/// @{

/// The ramps and edges of one joystick id.
struct JoystickState {
    float analogX = 0;     ///< ramped X, -100 (left) to 100 (right)
    float analogY = 0;     ///< ramped Y, -100 (up) to 100 (down)
    float axisRate = 0;    ///< how fast the ramped axes move, units per second
    float buttonHold[4] = {};  ///< hold values of buttons 1 to 4, 0 to 100
    float buttonRate = 0;      ///< how fast the hold values grow, units per second
    int32_t buttonEdge[4] = {};  ///< zuSystem::KeyEdge values of buttons 1 to 4
};

/// Where a joystick's stick rests: the position read at Init or when the device appeared.
struct JoystickCentre {
    int32_t x = 0;  ///< 0 to 65535; 0 when no device was there
    int32_t y = 0;  ///< 0 to 65535; 0 when no device was there
};

constexpr int32_t joystickCount = 2;  ///< ids 0 and 1

extern JoystickState joystickState[joystickCount];    ///< by id
extern JoystickCentre joystickCentre[joystickCount];  ///< by id

/// Looks for devices, reads the centres and zeroes both records (rates and edges too).
void Init();
/// Stores each id's present position as its centre, (0, 0) for an absent device.
void ReadCentres();
/// Zeroes the ramped axes and hold values of both ids; rates and edges stay.
void Reset();
/// Sets the speeds of the ramped axes and of the hold values, in units per second.
void SetRates(int32_t id, float axisRate, float buttonRate);
/// The stored centre of id in `x`, `y`.
void GetCentre(int32_t id, int32_t& x, int32_t& y);
/// The raw position of id in `x`, `y`, each 0 to 65535.
void GetPosition(int32_t id, int32_t& x, int32_t& y);
/// The direction of id in `dx` (-1 left, +1 right) and `dy` (-1 up, +1 down), 0 near the centre:
/// -1 at or below half the centre, +1 at or above one and a half times it.
void GetDirection(int32_t id, int32_t& dx, int32_t& dy);
/// The direction as a numeric-keypad code: 5 centre, 8 up, 2 down, 4 left, 6 right, 7 up-left,
/// 9 up-right, 1 down-left, 3 down-right. @return 1 to 9; 5 without a device
int32_t GetDirectionCode(int32_t id);
/// Moves the ramped axes by the last frame (zuSystem::frameClock.seconds): towards the held
/// direction at axisRate, back towards 0 at the same rate when centred; returns them in `x`, `y`,
/// truncated, each -100 to 100.
void GetAnalog(int32_t id, int32_t& x, int32_t& y);
/// @return 1 while button 1 to 32 of id is down, else 0
int32_t IsButtonDown(int32_t id, int32_t button);
/// Buttons 1 to 4 of id in `b1` to `b4`: 1 down, 0 up.
void GetButtons(int32_t id, int32_t& b1, int32_t& b2, int32_t& b3, int32_t& b4);
/// The edge detector of button 1 to 4 of id, with the rules of zuSystem::PollKey (Up during a
/// transition, the scroll view or capture). @return its zuSystem::KeyEdge value, 0 without a device
int32_t PollButton(int32_t id, int32_t button);
/// PollButton for buttons 1 to 4 of id, in `s1` to `s4`.
void PollButtons(int32_t id, int32_t& s1, int32_t& s2, int32_t& s3, int32_t& s4);
/// Grows the hold value of button 1 to 4 of id by buttonRate for the last frame while it is
/// down, up to 100, and sets it to 0 while it is up. @return the hold value
float ButtonHold(int32_t id, int32_t button);
/// ButtonHold for buttons 1 to 4 of id, truncated, in `h1` to `h4`.
void ButtonHolds(int32_t id, int32_t& h1, int32_t& h2, int32_t& h3, int32_t& h4);

/// @}

}  // namespace Joystick
