// Serialising the XM records, field by field in the file's little-endian layout.
#include "assets/xm_writer.h"

#include <algorithm>
#include <cmath>

namespace assets {

namespace {

struct Bytes {
    std::vector<uint8_t> data;
    void u8(uint32_t v) { data.push_back(uint8_t(v)); }
    void u16(uint32_t v) { u8(v); u8(v >> 8); }
    void u32(uint32_t v) { u16(v); u16(v >> 16); }
    void text(const std::string& s, size_t width, char pad = '\0') {
        for (size_t i = 0; i < width; ++i) u8(i < s.size() ? uint8_t(s[i]) : uint8_t(pad));
    }
    void zeros(size_t n) { data.insert(data.end(), n, 0); }
    void patch16(size_t at, uint32_t v) { data[at] = uint8_t(v); data[at + 1] = uint8_t(v >> 8); }
};

constexpr uint32_t kHeaderSize = 276;     // counted from the header-size field
constexpr uint32_t kInstrumentSize = 263; // as the classic tracker writes it
constexpr uint32_t kSampleHeaderSize = 40;

void writeHeader(Bytes& b, const XmModule& m) {
    b.text("Extended Module: ", 17);
    b.text(m.name, 20);
    b.u8(0x1A);
    b.text("zuassets", 20, ' ');
    b.u16(0x0104);
    b.u32(kHeaderSize);
    b.u16(uint32_t(m.order.size()));
    b.u16(uint32_t(m.restart));
    b.u16(uint32_t(m.channels));
    b.u16(uint32_t(m.patterns.size()));
    b.u16(uint32_t(m.instruments.size()));
    b.u16(1);  // linear frequency table
    b.u16(uint32_t(m.speed));
    b.u16(uint32_t(m.bpm));
    for (size_t i = 0; i < 256; ++i) b.u8(i < m.order.size() ? m.order[i] : 0);
}

// Each cell packed: a flag byte names the fields that follow; an empty cell is one byte.
void writeCell(Bytes& b, const XmCell& c) {
    uint8_t flags = 0x80 | (c.note ? 1 : 0) | (c.instrument ? 2 : 0) | (c.volume ? 4 : 0) |
                    (c.effect ? 8 : 0) | (c.parameter ? 16 : 0);
    b.u8(flags);
    if (c.note) b.u8(c.note);
    if (c.instrument) b.u8(c.instrument);
    if (c.volume) b.u8(c.volume);
    if (c.effect) b.u8(c.effect);
    if (c.parameter) b.u8(c.parameter);
}

void writePattern(Bytes& b, const XmPattern& p) {
    b.u32(9);  // pattern header length
    b.u8(0);   // packing type
    b.u16(uint32_t(p.rows));
    size_t sizeAt = b.data.size();
    b.u16(0);
    size_t start = b.data.size();
    for (const XmCell& c : p.cells) writeCell(b, c);
    b.patch16(sizeAt, uint32_t(b.data.size() - start));
}

void writeEnvelope(Bytes& b, const XmEnvelope& e) {
    for (size_t i = 0; i < 12; ++i) {
        b.u16(i < e.points.size() ? e.points[i].first : 0);
        b.u16(i < e.points.size() ? e.points[i].second : 0);
    }
}

void writeInstrument(Bytes& b, const XmInstrument& in) {
    b.u32(kInstrumentSize);
    b.text(in.name, 22);
    b.u8(0);
    b.u16(1);  // one sample
    b.u32(kSampleHeaderSize);
    b.zeros(96);  // every note plays sample 0
    writeEnvelope(b, in.envelope);
    writeEnvelope(b, {});
    b.u8(uint32_t(in.envelope.points.size()));
    b.u8(0);
    b.u8(uint32_t(std::max(in.envelope.sustain, 0)));
    b.u8(0);  // volume loop start and end
    b.u8(0);
    b.zeros(3);  // panning sustain, loop start, loop end
    bool on = !in.envelope.points.empty();
    b.u8((on ? 1 : 0) | (in.envelope.sustain >= 0 ? 2 : 0));
    b.u8(0);
    b.u8(0);  // vibrato: sine
    b.u8(in.vibratoSweep);
    b.u8(in.vibratoDepth);
    b.u8(in.vibratoRate);
    b.u16(in.fadeout);
    b.zeros(kInstrumentSize - 241);  // reserved up to the stated size

    b.u32(uint32_t(in.sample.size() * 2));
    b.u32(in.loopStart * 2);
    b.u32(in.loopLength * 2);
    b.u8(in.volume);
    b.u8(uint8_t(in.finetune));
    b.u8((in.loopLength ? 1 : 0) | 0x10);  // forward loop, 16-bit
    b.u8(in.panning);
    b.u8(uint8_t(in.relativeNote));
    b.u8(0);  // delta coding
    b.text(in.name, 22);

    int16_t previous = 0;
    for (int16_t s : in.sample) {
        b.u16(uint16_t(int16_t(s - previous)));
        previous = s;
    }
}

}  // namespace

std::pair<int8_t, int8_t> tuningForPeriod(double period) {
    // At C-4 a sample plays at 8363 Hz shifted by (relative note + finetune / 128) semitones.
    double semitones = 12.0 * std::log2(261.6256 * period / 8363.0);
    int whole = int(std::lround(semitones));
    int fine = int(std::lround((semitones - whole) * 128));
    return {int8_t(whole), int8_t(std::clamp(fine, -128, 127))};
}

std::vector<uint8_t> writeXm(const XmModule& m) {
    Bytes b;
    writeHeader(b, m);
    for (const XmPattern& p : m.patterns) writePattern(b, p);
    for (const XmInstrument& in : m.instruments) writeInstrument(b, in);
    return b.data;
}

}  // namespace assets
