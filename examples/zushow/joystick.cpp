// Family 8: a live read-out of both joystick ids.
#include <zu/draw/zu_draw.h>
#include <zu/input/joystick.h>

#include "show.h"

namespace show {
namespace {

void enterJoystick() {
    for (int32_t id = 0; id < Joystick::joystickCount; ++id) Joystick::SetRates(id, 200, 100);
}

void drawJoystick(const Frame&) {
    zuDraw::ClearScreen();
    for (int32_t id = 0; id < Joystick::joystickCount; ++id) {
        const int32_t x = 20 + id * 310, y = 50;
        int32_t px, py, cx, cy, dx, dy, ax, ay, b[4], e[4], h[4];
        Joystick::GetPosition(id, px, py);
        Joystick::GetCentre(id, cx, cy);
        Joystick::GetDirection(id, dx, dy);
        Joystick::GetAnalog(id, ax, ay);
        Joystick::GetButtons(id, b[0], b[1], b[2], b[3]);
        Joystick::PollButtons(id, e[0], e[1], e[2], e[3]);
        Joystick::ButtonHolds(id, h[0], h[1], h[2], h[3]);
        label(x, y, "Joystick id %d%s", id, px == 0 && py == 0 && cx == 0 && cy == 0 ? ": not connected" : "");
        label(x, y + 20, "GetPosition %d, %d  centre %d, %d", px, py, cx, cy);
        label(x, y + 40, "GetDirection %d, %d  code %d", dx, dy, Joystick::GetDirectionCode(id));
        label(x, y + 60, "GetAnalog %d, %d (rate 200/s)", ax, ay);
        // The ramped stick as a dot in a box.
        zuDraw::FrameRect(x + 40, y + 90, x + 240, y + 290);
        zuDraw::FillRect(x + 136 + ax, y + 186 + ay, x + 144 + ax, y + 194 + ay, 0xFFE0);
        static const char* edges[] = {"up", "pressed", "released", "held"};
        for (int32_t i = 0; i < 4; ++i) {
            label(x, y + 300 + i * 18, "button %d: %s  edge %s  hold %d", i + 1, b[i] ? "down" : "up",
                  e[i] >= 0 && e[i] < 4 ? edges[e[i]] : "?", h[i]);
            zuDraw::FillRect(x + 250, y + 302 + i * 18, x + 250 + h[i] / 2, y + 312 + i * 18, 0xF800);
        }
    }
}

}  // namespace

const Screen joystickScreens[] = {
    {8, "Joystick ids 0 and 1: directions, keypad code, ramped axes, buttons, edges, holds", "stick and buttons 1-4",
     drawJoystick, enterJoystick},
};
const int32_t joystickScreenCount = 1;

}  // namespace show
