// Standard MIDI File images for tests and the benchmark: tracks built event by event.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace test {

// A track's bytes: each event is a delta time and its bytes as written (running status is
// the caller's to use by leaving the status out).
struct MidiTrack {
    std::vector<uint8_t> bytes;

    static void number(std::vector<uint8_t>& out, uint32_t value) {  // variable-length, big end first
        uint8_t groups[5];
        int n = 0;
        do groups[n++] = value & 0x7F, value >>= 7;
        while (value && n < 5);
        while (n-- > 0) out.push_back(uint8_t(groups[n] | (n > 0 ? 0x80 : 0)));
    }
    MidiTrack& event(uint32_t delta, std::initializer_list<uint8_t> data) {
        number(bytes, delta);
        bytes.insert(bytes.end(), data);
        return *this;
    }
    MidiTrack& tempo(uint32_t delta, uint32_t microsPerQuarter) {
        return event(delta, {0xFF, 0x51, 3, uint8_t(microsPerQuarter >> 16), uint8_t(microsPerQuarter >> 8),
                             uint8_t(microsPerQuarter)});
    }
    MidiTrack& end(uint32_t delta = 0) { return event(delta, {0xFF, 0x2F, 0}); }
    MidiTrack& raw(std::initializer_list<uint8_t> data) {  // bytes as they are, for damaged files
        bytes.insert(bytes.end(), data);
        return *this;
    }
};

inline void putBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    while (bytes-- > 0) out.push_back(uint8_t(value >> (8 * bytes)));
}

// "MThd" and one "MTrk" per track; `claimedLength`, when not -1, replaces the last track's length.
inline std::vector<uint8_t> midiFile(uint16_t format, uint16_t division, const std::vector<MidiTrack>& tracks,
                                     int64_t claimedLength = -1) {
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    putBigEndian(out, format, 2);
    putBigEndian(out, uint32_t(tracks.size()), 2);
    putBigEndian(out, division, 2);
    for (size_t i = 0; i < tracks.size(); ++i) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        const bool last = i + 1 == tracks.size();
        putBigEndian(out, last && claimedLength >= 0 ? uint32_t(claimedLength) : uint32_t(tracks[i].bytes.size()), 4);
        out.insert(out.end(), tracks[i].bytes.begin(), tracks[i].bytes.end());
    }
    return out;
}

}  // namespace test
