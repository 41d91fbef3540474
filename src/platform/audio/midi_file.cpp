// The Standard MIDI File reader: the header, each track's events by tick, then one merge and the
// tempo map turning ticks into seconds.
#include "platform/audio/midi_file.h"

#include <algorithm>
#include <cstring>

namespace platform::midi {
namespace {

struct TickedEvent {
    uint64_t tick = 0;
    uint8_t status = 0, data1 = 0, data2 = 0;
};

struct TempoChange {
    uint64_t tick = 0;
    uint32_t microsPerQuarter = 0;
};

// A cursor that never moves past its end; every read says whether it fitted.
class Reader {
public:
    Reader(const uint8_t* at, size_t size) : at_(at), left_(size) {}
    bool empty() const { return left_ == 0; }
    bool byte(uint8_t& out) {
        if (left_ == 0) return false;
        out = *at_++;
        --left_;
        return true;
    }
    bool skip(uint64_t count) {
        if (count > left_) return false;
        at_ += count;
        left_ -= size_t(count);
        return true;
    }
    // A variable-length number: seven bits a byte, at most four bytes.
    bool number(uint32_t& out) {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b;
            if (!byte(b)) return false;
            out = (out << 7) | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        return false;
    }

private:
    const uint8_t* at_;
    size_t left_;
};

uint32_t bigEndian(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
    return v;
}

int dataBytesOf(uint8_t status) { return (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2; }

// Reads one track's events until its end of track or its first damage; returns its end tick.
uint64_t readTrack(Reader in, std::vector<TickedEvent>& events, std::vector<TempoChange>& tempos) {
    uint64_t tick = 0;
    uint8_t running = 0;
    for (;;) {
        uint32_t delta;
        if (!in.number(delta)) return tick;
        const uint64_t at = tick + delta;
        uint8_t first;
        if (!in.byte(first)) return tick;
        uint8_t status = first;
        bool haveFirstData = false;
        if (first < 0x80) {
            if (running == 0) return tick;
            status = running;
            haveFirstData = true;
        }
        if (status < 0xF0) {
            running = status;
            uint8_t d[2] = {first, 0};
            const int count = dataBytesOf(status);
            for (int i = haveFirstData ? 1 : 0; i < count; ++i)
                if (!in.byte(d[i])) return tick;
            if (d[0] >= 0x80 || d[1] >= 0x80) return tick;
            tick = at;
            events.push_back({tick, status, d[0], d[1]});
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            uint32_t length;
            if (!in.number(length) || !in.skip(length)) return tick;
            tick = at;
            continue;
        }
        if (status != 0xFF) return tick;  // system messages have no place in a file
        uint8_t type;
        uint32_t length;
        if (!in.byte(type) || !in.number(length)) return tick;
        uint8_t value[3];
        if (type == 0x51 && length == 3) {
            if (!in.byte(value[0]) || !in.byte(value[1]) || !in.byte(value[2])) return tick;
            const uint32_t micros = bigEndian(value, 3);
            if (micros > 0) tempos.push_back({at, micros});
        } else if (!in.skip(length)) {
            return tick;
        }
        tick = at;
        if (type == 0x2F) return tick;
    }
}

// Ticks to seconds along the tempo map (sorted by tick), or at a fixed rate for SMPTE timing.
class TempoMap {
public:
    TempoMap(std::vector<TempoChange> changes, uint16_t division) : changes_(std::move(changes)) {
        if (division & 0x8000) {
            const int framesPerSecond = -int8_t(division >> 8);
            const double rate = framesPerSecond == 29 ? 29.97 : framesPerSecond;
            fixedTicksPerSecond_ = rate * (division & 0xFF);
        }
        ticksPerQuarter_ = division & 0x7FFF;
    }
    // Ticks must come in rising order between calls to `rewind`.
    double seconds(uint64_t tick) {
        if (fixedTicksPerSecond_ != 0) return double(tick) / fixedTicksPerSecond_;
        while (next_ < changes_.size() && changes_[next_].tick <= tick) {
            baseSeconds_ += secondsFromBase(changes_[next_].tick);
            baseTick_ = changes_[next_].tick;
            micros_ = changes_[next_].microsPerQuarter;
            ++next_;
        }
        return baseSeconds_ + secondsFromBase(tick);
    }
    void rewind() { next_ = 0, baseTick_ = 0, baseSeconds_ = 0, micros_ = 500000; }

private:
    double secondsFromBase(uint64_t tick) const {
        return double(tick - baseTick_) * micros_ / (1e6 * ticksPerQuarter_);
    }
    std::vector<TempoChange> changes_;
    double fixedTicksPerSecond_ = 0;  // SMPTE timing; 0 for ticks per quarter note
    uint32_t ticksPerQuarter_ = 0;
    size_t next_ = 0;
    uint64_t baseTick_ = 0;
    double baseSeconds_ = 0;
    uint32_t micros_ = 500000;  // 120 beats a minute until the first tempo event
};

}  // namespace

bool readMidiFile(const uint8_t* bytes, size_t size, MidiSong& out) {
    out = {};
    if (!bytes || size < 14 || std::memcmp(bytes, "MThd", 4) != 0) return false;
    const uint32_t headerLength = bigEndian(bytes + 4, 4);
    if (headerLength < 6 || headerLength > size - 8) return false;
    const uint32_t format = bigEndian(bytes + 8, 2), trackCount = bigEndian(bytes + 10, 2);
    const uint16_t division = uint16_t(bigEndian(bytes + 12, 2));
    if (format > 1 || division == 0) return false;
    if (division & 0x8000) {
        const int framesPerSecond = -int8_t(division >> 8);
        if (framesPerSecond <= 0 || (division & 0xFF) == 0) return false;
    }

    std::vector<TickedEvent> events;
    std::vector<TempoChange> tempos;
    std::vector<uint64_t> trackEnds;
    size_t at = 8 + size_t(headerLength);
    while (trackEnds.size() < trackCount && size - at >= 8) {
        const uint32_t length = bigEndian(bytes + at + 4, 4);
        const size_t body = at + 8;
        const size_t inFile = std::min<size_t>(length, size - body);  // a cut track: what is there
        if (std::memcmp(bytes + at, "MTrk", 4) == 0)
            trackEnds.push_back(readTrack(Reader(bytes + body, inFile), events, tempos));
        if (length > size - body) break;
        at = body + length;
    }

    // Stable sorts keep equal ticks in track order, then file order.
    std::stable_sort(events.begin(), events.end(), [](const TickedEvent& a, const TickedEvent& b) { return a.tick < b.tick; });
    std::stable_sort(tempos.begin(), tempos.end(), [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    TempoMap map(std::move(tempos), division);
    out.events.reserve(events.size());
    for (const TickedEvent& e : events) out.events.push_back({map.seconds(e.tick), e.status, e.data1, e.data2});
    std::sort(trackEnds.begin(), trackEnds.end());
    map.rewind();
    for (uint64_t end : trackEnds) out.lengthSeconds = std::max(out.lengthSeconds, map.seconds(end));
    return true;
}

}  // namespace platform::midi
