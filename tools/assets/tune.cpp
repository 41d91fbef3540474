// Composing the background tune: chords per bar drive the bass, the arpeggios and the drums;
// the melodies are written out as note names with lengths in rows.
#include "assets/tune.h"

#include <sstream>
#include <string>

namespace assets {

namespace {

constexpr int kChannels = 4, kRows = 64, kBarRows = 16;
enum Channel { lead, arpeggio, bass, drums };
enum Instrument { leadVoice = 1, bellVoice, bassVoice, noiseVoice };

// A chord as its root (semitone above C) and its quality.
struct Chord {
    int root;
    bool minor;
};
constexpr Chord Am{9, true}, F{5, false}, C{0, false}, G{7, false}, Em{4, true};

struct PatternPlan {
    Chord bars[4];
    const char* melody;  // "E5:4 A5:4 ...": note name and octave, or "-" for silence
    bool fill;           // a snare run in the last beat
};

const PatternPlan kPlan[] = {
    {{Am, F, C, G}, "", false},
    {{Am, F, C, G},
     "E5:4 A5:4 C6:4 B5:2 A5:2  C6:6 A5:2 F5:4 A5:4  G5:4 E5:4 G5:4 C6:4  B5:6 A5:2 G5:4 D5:4",
     false},
    {{Am, F, C, G},
     "E5:4 A5:4 C6:4 E6:4  F6:6 E6:2 C6:4 A5:4  G5:4 C6:4 E6:4 D6:2 C6:2  D6:8 B5:4 G5:4", true},
    {{F, G, Em, Am},
     "A5:2 C6:2 F6:4 E6:2 C6:2 A5:4  B5:2 D6:2 G6:4 F6:2 D6:2 B5:4  G5:2 B5:2 E6:4 D6:2 B5:2 G5:4  "
     "A5:4 C6:4 E6:8",
     false},
    {{F, G, Am, Am},
     "F6:4 E6:4 C6:4 A5:4  D6:4 C6:4 B5:4 G5:4  A5:6 B5:2 C6:4 E6:4  A5:12 -:4", true},
    {{Am, F, G, G}, "E5:4 A5:4 C6:4 B5:4  A5:8 F5:8  G5:4 B5:4 D6:4 B5:4  G5:8 -:8", true},
};

XmCell& cell(XmPattern& p, int row, Channel channel) { return p.cells[size_t(row) * kChannels + channel]; }

void put(XmPattern& p, int row, Channel channel, uint8_t note, Instrument instrument, int volume) {
    cell(p, row, channel) = {note, uint8_t(instrument), uint8_t(0x10 + volume), 0, 0};
}

int semitoneOf(char letter) {
    static const int semitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    return semitones[letter - 'A'];
}

void writeMelody(XmPattern& p, const char* melody) {
    std::istringstream tokens(melody);
    std::string token;
    int row = 0;
    while (tokens >> token && row < kRows) {
        size_t colon = token.find(':');
        int length = std::stoi(token.substr(colon + 1));
        if (token[0] == '-')
            cell(p, row, lead).note = kKeyOff;
        else
            put(p, row, lead, noteOf(token[1] - '0', semitoneOf(token[0])), leadVoice, 40);
        row += length;
    }
}

// Chord tones climbing in eighths: root, third, fifth, third, octave, fifth, third, fifth.
void writeArpeggio(XmPattern& p, int bar, Chord chord) {
    static const int steps[] = {0, 1, 2, 1, 3, 2, 1, 2};
    int tones[] = {0, chord.minor ? 3 : 4, 7, 12};
    for (int i = 0; i < 8; ++i) {
        int semitone = chord.root + tones[steps[i]];
        int volume = i % 2 == 0 ? 30 : 22;
        put(p, bar * kBarRows + 2 * i, arpeggio, noteOf(4, 0) + uint8_t(semitone), bellVoice, volume);
    }
}

// Root on the beat, octave and fifth between, in a driving but quiet figure.
void writeBass(XmPattern& p, int bar, Chord chord) {
    static const int rows[] = {0, 3, 6, 8, 11, 14};
    static const int offsets[] = {0, 0, 12, 0, 7, 12};
    for (int i = 0; i < 6; ++i)
        put(p, bar * kBarRows + rows[i], bass, noteOf(2, chord.root) + uint8_t(offsets[i]), bassVoice,
            i == 0 || i == 3 ? 56 : 44);
}

// Noise pitched low for the kick, middle for the snare and high for the hats.
void writeDrums(XmPattern& p, int bar, bool intro, bool fill) {
    int base = bar * kBarRows;
    for (int r = 2; r < kBarRows; r += 4) put(p, base + r, drums, noteOf(7, 0), noiseVoice, 14);
    if (intro && bar < 2) return;
    put(p, base, drums, noteOf(1, 0), noiseVoice, 60);
    put(p, base + 8, drums, noteOf(1, 0), noiseVoice, 60);
    put(p, base + 4, drums, noteOf(4, 7), noiseVoice, 40);
    put(p, base + 12, drums, noteOf(4, 7), noiseVoice, 40);
    if (fill && bar == 3)
        for (int r = 12; r < kBarRows; ++r)
            put(p, base + r, drums, noteOf(4, 7), noiseVoice, 24 + 6 * (r - 12));
}

XmPattern compose(const PatternPlan& plan, bool intro) {
    XmPattern p{kRows, std::vector<XmCell>(size_t(kRows) * kChannels)};
    writeMelody(p, plan.melody);
    for (int bar = 0; bar < 4; ++bar) {
        writeArpeggio(p, bar, plan.bars[bar]);
        writeBass(p, bar, plan.bars[bar]);
        writeDrums(p, bar, intro, plan.fill);
    }
    return p;
}

XmInstrument pitched(const char* name, Samples wave, uint8_t volume, uint8_t panning) {
    XmInstrument in;
    in.name = name;
    auto [relative, fine] = tuningForPeriod(double(wave.size()));
    in.relativeNote = relative;
    in.finetune = fine;
    // One period before the loop, so the attack starts on a continuous wave.
    in.sample = wave;
    in.sample.insert(in.sample.end(), wave.begin(), wave.end());
    in.loopStart = uint32_t(wave.size());
    in.loopLength = uint32_t(wave.size());
    in.volume = volume;
    in.panning = panning;
    return in;
}

std::vector<XmInstrument> instruments() {
    XmInstrument leadIn =
        pitched("lead", singleCycle(64, {1, 0.18, 0.33, 0.05, 0.2, 0.03, 0.12, 0, 0.06}, 0.9), 44, 112);
    leadIn.envelope = {{{0, 0}, {2, 64}, {10, 46}, {40, 40}}, 3};
    leadIn.fadeout = 2048;
    leadIn.vibratoSweep = 24;
    leadIn.vibratoDepth = 3;
    leadIn.vibratoRate = 8;

    XmInstrument bell = pitched("bell", singleCycle(64, {1, 0.5, 0.22, 0.12, 0.05}, 0.9), 40, 150);
    bell.envelope = {{{0, 64}, {4, 40}, {16, 20}, {40, 8}, {80, 0}}, -1};

    std::vector<double> saw;
    for (int h = 1; h <= 16; ++h) saw.push_back(1.0 / h * (1.0 - h / 20.0));
    XmInstrument bassIn = pitched("bass", singleCycle(64, saw, 0.9), 52, 128);
    bassIn.envelope = {{{0, 64}, {6, 46}, {30, 36}}, 2};
    bassIn.fadeout = 4096;

    XmInstrument noiseIn;
    noiseIn.name = "noise";
    noiseIn.sample = noise(8192, 2024, 0.8);
    noiseIn.loopLength = 8192;
    noiseIn.volume = 48;
    noiseIn.envelope = {{{0, 64}, {2, 30}, {6, 8}, {12, 0}}, -1};
    return {leadIn, bell, bassIn, noiseIn};
}

}  // namespace

XmModule backgroundTune() {
    XmModule m;
    m.name = "tessora";
    m.channels = kChannels;
    for (size_t i = 0; i < std::size(kPlan); ++i) {
        m.patterns.push_back(compose(kPlan[i], i == 0));
        m.order.push_back(uint8_t(i));
    }
    m.restart = 0;
    m.instruments = instruments();
    return m;
}

}  // namespace assets
