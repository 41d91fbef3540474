// Fuzz target: the Standard MIDI File reader on arbitrary file images.
#include <cmath>
#include <cstdint>

#include "platform/audio/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    platform::midi::MidiSong song;
    if (!platform::midi::readMidiFile(bytes, size, song)) {
        if (!song.events.empty() || song.lengthSeconds != 0) __builtin_trap();
        return 0;
    }
    // Events are channel messages in time order, none after the piece's end.
    double last = 0;
    for (const platform::midi::MidiEvent& e : song.events) {
        if (e.status < 0x80 || e.status > 0xEF || e.data1 > 0x7F || e.data2 > 0x7F) __builtin_trap();
        if (!std::isfinite(e.seconds) || e.seconds < last || e.seconds > song.lengthSeconds) __builtin_trap();
        last = e.seconds;
    }
    return 0;
}
