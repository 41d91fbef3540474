// Standard MIDI File images for tests and the benchmark: tracks built event by event, each event
// a delta time and its bytes as written (leave the status out to use running status).
#pragma once
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace test {

struct MidiTrack {
    std::vector<uint8_t> bytes;
    MidiTrack& event(uint32_t delta, std::initializer_list<uint8_t> data) {
        int n = 0;  // the delta as a variable-length number, seven bits a byte, high groups first
        while (n < 4 && delta >> (7 * (n + 1))) ++n;
        for (; n >= 0; --n) bytes.push_back(uint8_t(((delta >> (7 * n)) & 0x7F) | (n > 0 ? 0x80 : 0)));
        return raw(data);
    }
    MidiTrack& tempo(uint32_t delta, uint32_t us) { return event(delta, {0xFF, 0x51, 3, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)}); }
    MidiTrack& end(uint32_t delta = 0) { return event(delta, {0xFF, 0x2F, 0}); }
    MidiTrack& raw(std::initializer_list<uint8_t> data) {  // bytes as they are, for damaged files
        bytes.insert(bytes.end(), data);
        return *this;
    }
};

inline std::vector<uint8_t> midiFile(uint16_t format, uint16_t division, const std::vector<MidiTrack>& tracks) {
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, uint8_t(format), 0, uint8_t(tracks.size()),
                                uint8_t(division >> 8), uint8_t(division)};
    for (const MidiTrack& t : tracks) {
        const auto size = uint32_t(t.bytes.size());
        out.insert(out.end(), {'M', 'T', 'r', 'k', uint8_t(size >> 24), uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)});
        out.insert(out.end(), t.bytes.begin(), t.bytes.end());
    }
    return out;
}

}  // namespace test
