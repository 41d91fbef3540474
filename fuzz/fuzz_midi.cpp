// Fuzz target: the MIDI file reader gives channel messages in time order, none past the end.
#include <cmath>

#include "platform/audio/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    platform::midi::MidiSong song;
    const bool read = platform::midi::readMidiFile(bytes, size, song);
    if (!read && (!song.events.empty() || song.lengthSeconds != 0)) __builtin_trap();
    for (double last = 0; const platform::midi::MidiEvent& e : song.events) {
        if (e.status < 0x80 || e.status > 0xEF || e.data1 > 0x7F || e.data2 > 0x7F || !std::isfinite(e.seconds) ||
            e.seconds < last || e.seconds > song.lengthSeconds)
            __builtin_trap();
        last = e.seconds;
    }
    return 0;
}
