// The headless input script: one command a line, '#' starts a comment.
//   wait N | move X Y | down left|right | up left|right | key NAME down|up | shot FILE | close
//   joy N connect|disconnect | joy N x|y VALUE | joy N button B down|up
// Commands joined by ';' on one line arrive before the same frame: "down left; up left" is a
// click shorter than a frame.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct ScriptCommand {
    enum class Kind : uint8_t {
        wait, move, down, up, key, shot, close, joyConnect, joyDisconnect, joyX, joyY, joyButton
    };
    Kind kind = Kind::wait;
    int32_t line = 0;
    bool sameFrame = false;    // joined by ';' to the command before it
    int32_t a = 0, b = 0;      // wait: frames; move: x, y; down/up: 0 left, 1 right; key: vk;
                               //   joy: a the id, b the position or the button
    bool pressed = false;      // key, joy button: down
    std::string file;          // shot
};

// Parses the whole text; on a bad line returns false with error = "script:<line>: <reason>".
bool parseScript(std::string_view text, std::vector<ScriptCommand>& out, std::string& error);

}  // namespace platform
