// FluidSynth's synthesizer with a General MIDI sound font; its log is kept quiet, since a
// missing or broken font only means silent MIDI.
#include "platform/audio/midi_synth.h"

#include <fluidsynth.h>
#include <sys/stat.h>

#include "platform/environment.h"

namespace platform::midi {

struct Synth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    uint32_t rate = 0;
    std::string soundFont;
};

namespace {

bool isFile(const std::string& path) {
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void silenceLog() {
    static const bool done = [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) fluid_set_log_function(level, nullptr, nullptr);
        return true;
    }();
    (void)done;
}

}  // namespace

std::string soundFontPath() {
    if (const char* named = environmentSetting("SOUNDFONT")) return isFile(named) ? named : "";
    // default-GM.sf2 follows the system's choice (the larger font where it is installed).
    for (const char* path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                             "/usr/share/sounds/sf2/TimGM6mb.sf2"})
        if (isFile(path)) return path;
    return "";
}

Synth* createSynth(const std::string& soundFont, uint32_t rate) {
    if (soundFont.empty()) return nullptr;
    silenceLog();
    Synth* s = new Synth{new_fluid_settings(), nullptr, rate, soundFont};
    if (s->settings) {
        fluid_settings_setnum(s->settings, "synth.sample-rate", double(rate));
        fluid_settings_setint(s->settings, "synth.threadsafe-api", 0);  // its owner serialises calls
        // Five times what General MIDI asks for; the oldest releases give way beyond it, so the
        // densest piece costs at most this many voices.
        fluid_settings_setint(s->settings, "synth.polyphony", 128);
        s->synth = new_fluid_synth(s->settings);
    }
    if (!s->synth || fluid_synth_sfload(s->synth, soundFont.c_str(), 1) == FLUID_FAILED) {
        destroySynth(s);
        return nullptr;
    }
    return s;
}

void destroySynth(Synth* s) {
    if (!s) return;
    if (s->synth) delete_fluid_synth(s->synth);
    if (s->settings) delete_fluid_settings(s->settings);
    delete s;
}

uint32_t synthRate(const Synth* s) { return s->rate; }
const std::string& synthSoundFont(const Synth* s) { return s->soundFont; }

void sendEvent(Synth* s, uint8_t status, uint8_t data1, uint8_t data2) {
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80: fluid_synth_noteoff(s->synth, channel, data1); break;
    case 0x90:
        if (data2 == 0) fluid_synth_noteoff(s->synth, channel, data1);
        else fluid_synth_noteon(s->synth, channel, data1, data2);
        break;
    case 0xA0: fluid_synth_key_pressure(s->synth, channel, data1, data2); break;
    case 0xB0: fluid_synth_cc(s->synth, channel, data1, data2); break;
    case 0xC0: fluid_synth_program_change(s->synth, channel, data1); break;
    case 0xD0: fluid_synth_channel_pressure(s->synth, channel, data1); break;
    case 0xE0: fluid_synth_pitch_bend(s->synth, channel, data1 | (data2 << 7)); break;
    default: break;
    }
}

void resetChannels(Synth* s) { fluid_synth_system_reset(s->synth); }
void releaseNotes(Synth* s) { fluid_synth_all_notes_off(s->synth, -1); }
void silence(Synth* s) { fluid_synth_all_sounds_off(s->synth, -1); }
bool sounding(Synth* s) { return fluid_synth_get_active_voice_count(s->synth) > 0; }

void renderBlock(Synth* s, float* left, float* right) {
    fluid_synth_write_float(s->synth, int(synthBlockFrames), left, 0, 1, right, 0, 1);
}

}  // namespace platform::midi
