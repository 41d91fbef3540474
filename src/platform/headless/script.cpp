// Parsing the headless input script into commands; the backend runs them between frames.
#include "platform/headless/script.h"

#include <charconv>

#include "platform/os/input_events.h"

namespace platform {
namespace {

std::vector<std::string_view> wordsOf(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool readNumber(std::string_view word, int32_t low, int32_t high, int32_t& out) {
    int32_t value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

int32_t buttonByName(std::string_view word) {
    return word == "left" ? 0 : word == "right" ? 1 : -1;
}

// joy N connect|disconnect, joy N x|y VALUE, joy N button B down|up
std::string parseJoystick(const std::vector<std::string_view>& w, ScriptCommand& cmd) {
    using K = ScriptCommand::Kind;
    size_t n = w.size();
    if (n < 3 || !readNumber(w[1], 0, 1, cmd.a)) return "joy needs an id 0 or 1";
    std::string_view what = w[2];
    if (what == "connect" || what == "disconnect") {
        cmd.kind = what == "connect" ? K::joyConnect : K::joyDisconnect;
        if (n != 3) return "joy N " + std::string(what) + " takes nothing more";
    } else if (what == "x" || what == "y") {
        cmd.kind = what == "x" ? K::joyX : K::joyY;
        if (n != 4 || !readNumber(w[3], 0, 65535, cmd.b)) return "joy N x|y needs a value 0 to 65535";
    } else if (what == "button") {
        cmd.kind = K::joyButton;
        if (n != 5 || !readNumber(w[3], 1, 32, cmd.b) || (w[4] != "down" && w[4] != "up"))
            return "joy N button needs B (1 to 32) down|up";
        cmd.pressed = w[4] == "down";
    } else {
        return "joy N needs connect, disconnect, x, y or button";
    }
    return {};
}

// Fills cmd from the words of one line; returns an empty string or the reason it is wrong.
std::string parseLine(const std::vector<std::string_view>& w, ScriptCommand& cmd) {
    using K = ScriptCommand::Kind;
    std::string_view name = w[0];
    size_t n = w.size();
    if (name == "wait") {
        cmd.kind = K::wait;
        if (n != 2 || !readNumber(w[1], 0, 1000000, cmd.a)) return "wait needs a frame count";
    } else if (name == "move") {
        cmd.kind = K::move;
        if (n != 3 || !readNumber(w[1], -100000, 100000, cmd.a) ||
            !readNumber(w[2], -100000, 100000, cmd.b))
            return "move needs X and Y";
    } else if (name == "down" || name == "up") {
        cmd.kind = name == "down" ? K::down : K::up;
        if (n != 2 || (cmd.a = buttonByName(w[1])) < 0) return "expected left or right";
    } else if (name == "key") {
        cmd.kind = K::key;
        if (n != 3 || (w[2] != "down" && w[2] != "up")) return "key needs NAME down|up";
        if ((cmd.a = virtualKeyByName(w[1])) < 0) return "unknown key '" + std::string(w[1]) + "'";
        cmd.pressed = w[2] == "down";
    } else if (name == "shot") {
        cmd.kind = K::shot;
        if (n != 2) return "shot needs one file name";
        cmd.file = std::string(w[1]);
    } else if (name == "joy") {
        return parseJoystick(w, cmd);
    } else if (name == "close") {
        cmd.kind = K::close;
        if (n != 1) return "close takes nothing";
    } else {
        return "unknown command '" + std::string(name) + "'";
    }
    return {};
}

}  // namespace

bool parseScript(std::string_view text, std::vector<ScriptCommand>& out, std::string& error) {
    out.clear();
    int32_t lineNumber = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        if (wordsOf(line).empty()) continue;
        for (bool joined = false;; joined = true) {
            size_t split = line.find(';');
            std::vector<std::string_view> words = wordsOf(line.substr(0, split));
            std::string reason = "empty command beside ';'";
            ScriptCommand cmd;
            cmd.line = lineNumber;
            cmd.sameFrame = joined;
            if (words.empty() || !(reason = parseLine(words, cmd)).empty()) {
                error = "script:" + std::to_string(lineNumber) + ": " + reason;
                return false;
            }
            out.push_back(std::move(cmd));
            if (split == std::string_view::npos) break;
            line = line.substr(split + 1);
        }
    }
    return true;
}

}  // namespace platform
