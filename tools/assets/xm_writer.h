// Extended-module (XM, version 1.04) files from plain records: packed patterns, one 16-bit
// delta-coded sample per instrument, volume envelopes and automatic vibrato.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "assets/synth.h"

namespace assets {

constexpr uint8_t kKeyOff = 97;
// Note numbers: 1 is C-0; C-4 (49) plays a sample at its base rate.
constexpr uint8_t noteOf(int octave, int semitone) { return uint8_t(octave * 12 + semitone + 1); }

struct XmCell {
    uint8_t note = 0;        // 0 none, 1..96, kKeyOff
    uint8_t instrument = 0;  // 0 none, else 1-based
    uint8_t volume = 0;      // volume column: 0 none, 0x10..0x50 set volume 0..64
    uint8_t effect = 0, parameter = 0;
};

struct XmPattern {
    int rows = 64;
    std::vector<XmCell> cells;  // rows x channels, row by row
};

struct XmEnvelope {
    std::vector<std::pair<uint16_t, uint16_t>> points;  // (tick, level 0..64)
    int sustain = -1;                                   // point index, -1 none
};

struct XmInstrument {
    std::string name;
    Samples sample;
    uint32_t loopStart = 0, loopLength = 0;  // in samples; a loop length of 0 plays once
    uint8_t volume = 64, panning = 128;
    int8_t relativeNote = 0, finetune = 0;
    XmEnvelope envelope;
    uint16_t fadeout = 0;
    uint8_t vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
};

struct XmModule {
    std::string name;
    int channels = 4;
    int speed = 6, bpm = 125;
    int restart = 0;
    std::vector<uint8_t> order;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

// The relative note and finetune that make a waveform of `period` samples sound at C-4.
std::pair<int8_t, int8_t> tuningForPeriod(double period);

std::vector<uint8_t> writeXm(const XmModule&);

}  // namespace assets
