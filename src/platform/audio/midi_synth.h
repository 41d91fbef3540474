// The General MIDI synthesizer behind the sequencer (FluidSynth's synthesizer, never its file
// player or its drivers): created with a sound font on the main thread, then driven and rendered
// block by block by its one owner.
#pragma once
#include <cstdint>
#include <string>

namespace platform::midi {

// FluidSynth renders in blocks of this many frames; events take effect at block starts.
constexpr uint32_t synthBlockFrames = 64;

// The sound font: the file ZU_SOUNDFONT (or TESSORA_SOUNDFONT) names when set, else the
// system's General MIDI font; empty when there is none.
std::string soundFontPath();

struct Synth;

// A synthesizer at `rate` Hz with the font loaded; null, silently, when it cannot be loaded.
Synth* createSynth(const std::string& soundFont, uint32_t rate);
void destroySynth(Synth*);  // null does nothing
uint32_t synthRate(const Synth*);
const std::string& synthSoundFont(const Synth*);

// A channel message (status 0x80..0xEF).
void sendEvent(Synth*, uint8_t status, uint8_t data1, uint8_t data2);
// Every note off at once and every channel back to its start-up program and controllers.
void resetChannels(Synth*);
// Notes released (they fade out as their instruments do).
void releaseNotes(Synth*);
// Cuts every voice at once, releases and reverb included.
void silence(Synth*);
// True while any voice still sounds.
bool sounding(Synth*);
// One block of synthBlockFrames stereo frames.
void renderBlock(Synth*, float* left, float* right);

}  // namespace platform::midi
