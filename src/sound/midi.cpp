// MIDI music through the sequencer's command strings under the alias "midi", repeated at its end
// by the notification the window procedure passes on.
#include <cstdio>
#include <cstring>

#include "platform/audio/midi_sequencer.h"
#include "sound/zu_sound.h"
#include "system/zu_system.h"

namespace zuSound {

MidiState midiState;

namespace {

void send(const char* command, platform::Window* notify = nullptr) {
    platform::midi::sendCommand(command, nullptr, 0, notify);  // results are not examined
}

void playFromStart() {
    send("seek midi to start");
    send("play midi notify", zuSystem::systemState.window);
}

}  // namespace

int32_t InitMidi() {
    midiState.open = 0;
    midiState.repeat = 1;
    return 1;
}

void PlayMidi(const char* name, int32_t repeat) {
    const char* folder = zuSystem::ModuleDir(0);
    char command[256];
    const int length = std::snprintf(command, sizeof command, "open \"%s%s\" type sequencer alias midi", folder,
                                     name ? name : "");
    // A cut path would open another file, a quote would end the path early: neither is sent.
    const bool fits = name && length > 0 && size_t(length) < sizeof command && !std::strchr(folder, '"') &&
                      !std::strchr(name, '"');
    if (midiState.open) CloseMidi();
    if (fits) {
        send(command);
        playFromStart();
    }
    midiState.open = 1;
    midiState.repeat = repeat;
}

void MidiNotify() {
    if (midiState.repeat == 1) playFromStart();
    else CloseMidi();
}

void CloseMidi() {
    if (!midiState.open) return;
    StopMidi();
    midiState.open = 0;
}

void StopMidi() {
    send("stop midi");
    send("close midi");
}

void EndMidiLoop() { midiState.repeat = 0; }

void QuitMidi() {
    CloseMidi();
    platform::midi::shutDownSequencer();
}

}  // namespace zuSound
