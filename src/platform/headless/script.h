// The headless input script: one command a line, '#' starts a comment.
//   wait N | move X Y | down left|right | up left|right | key NAME down|up | shot FILE | close
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct ScriptCommand {
    enum class Kind : uint8_t { wait, move, down, up, key, shot, close };
    Kind kind = Kind::wait;
    int32_t line = 0;
    int32_t a = 0, b = 0;      // wait: frames; move: x, y; down/up: 0 left, 1 right; key: vk
    bool pressed = false;      // key: down
    std::string file;          // shot
};

// Parses the whole text; on a bad line returns false with error = "script:<line>: <reason>".
bool parseScript(std::string_view text, std::vector<ScriptCommand>& out, std::string& error);

}  // namespace platform
