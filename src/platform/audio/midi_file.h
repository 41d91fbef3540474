// Standard MIDI Files (formats 0 and 1) read from memory into one list of channel events in
// time order, with their times in seconds after the tempo map. SysEx and meta events other than
// tempo and end of track are skipped.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::midi {

// A channel message (status 0x80..0xEF, data bytes below 0x80) at its time in the piece.
struct MidiEvent {
    double seconds = 0;
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;  // 0 for the one-byte messages (program change, channel pressure)
};

struct MidiSong {
    std::vector<MidiEvent> events;  // by time; equal times keep track order, then file order
    double lengthSeconds = 0;       // the latest track end: its end-of-track event, else its last event
};

// False, with `out` empty, when the header is not a MIDI file's ("MThd", format 0 or 1, a
// nonzero division). A damaged track (a chunk length past the end, a number of more than four
// bytes, running status with no status yet, a missing end of track) keeps the events before
// the damage and ends there; nothing is ever read past `size`.
bool readMidiFile(const uint8_t* bytes, size_t size, MidiSong& out);

}  // namespace platform::midi
