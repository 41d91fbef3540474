// The showcase's data: everything drawn or synthesised here, from fixed formulas.
#include "assets/show_data.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "assets/output.h"
#include "assets/pictures.h"
#include "assets/synth.h"

namespace assets {

namespace {

constexpr double kTau = 2 * std::numbers::pi;

// A sprite on black (the effects' see-through value): a ringed disc with an arrow that shows
// its turn, 128 x 96.
Canvas sprite() {
    Canvas c(128, 96);
    paintShape(c, 0, 0, 128, 96, {250, 200, 40}, 3, [](double x, double y) {
        double d = std::hypot(x - 64, y - 48);
        return d < 44 && d > 30;
    });
    paintShape(c, 0, 0, 128, 96, {40, 140, 230}, 3, [](double x, double y) { return std::hypot(x - 64, y - 48) <= 30; });
    paintShape(c, 0, 0, 128, 96, {230, 60, 50}, 3, [](double x, double y) {
        return (y > 40 && y < 56 && x > 44 && x < 76) || (x >= 76 && x < 92 && std::abs(y - 48) < 92 - x);
    });
    return c;
}

// A full-screen backdrop: diagonal colour bands under a grid.
Canvas backdrop(int w, int h, int seed) {
    Canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double t = 0.5 + 0.5 * std::sin((x + 2 * y + seed * 40) / 60.0);
            Rgb v = mix({30, 40, 90}, {120, 60 + seed * 30, 100}, t);
            if (x % 32 == 0 || y % 32 == 0) v = scale(v, 1.4);
            c.set(x, y, v);
        }
    return c;
}

// Kind 0's pattern sheet: ten 64 x 48 frames of a growing diamond, white on black.
Canvas coverSheet() {
    Canvas c(640, 48);
    for (int f = 0; f < 10; ++f)
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                if (std::abs(x - 32) + std::abs(y - 24) * 4 / 3 < (f + 1) * 6) c.set(f * 64 + x, y, Rgb{255, 255, 255});
    return c;
}

// A draw-pack picture: one of four colour wheels.
Canvas wheel(int k) {
    Canvas c(160, 120, opaque({20, 20, 30}));
    paintShape(c, 0, 0, 160, 120, {80 + k * 40, 200 - k * 40, 60 + k * 50}, 3, [k](double x, double y) {
        double a = std::atan2(y - 60, x - 80), r = std::hypot(x - 80, y - 60);
        return r < 55 && std::cos(a * (k + 3)) > -0.2;
    });
    c.frame(0, 0, 160, 120, {240, 240, 240});
    return c;
}

// Tones at 22050 Hz: a sine with a decay, summed note by note.
constexpr uint32_t kRate = 22050;
void addNote(std::vector<double>& wave, double start, double seconds, double hz, double level) {
    size_t first = size_t(start * kRate), n = size_t(seconds * kRate);
    for (size_t i = 0; i < n && first + i < wave.size(); ++i) {
        double t = double(i) / kRate;
        double env = std::min(1.0, t / 0.01) * std::exp(-3.0 * t) * std::min(1.0, (seconds - t) / 0.02);
        wave[first + i] += level * env * (std::sin(kTau * hz * t) + 0.3 * std::sin(2 * kTau * hz * t));
    }
}
Samples toSamples(const std::vector<double>& wave) {
    Samples s(wave.size());
    for (size_t i = 0; i < wave.size(); ++i) s[i] = int16_t(std::lround(std::clamp(wave[i], -1.0, 1.0) * 26000));
    return s;
}
double midiHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// A pentatonic walk of eighth notes over a bass every half second: `seconds` long.
Samples melody(double seconds, int transpose) {
    static const int scale[] = {0, 2, 4, 7, 9, 12, 9, 7};
    std::vector<double> wave(size_t(seconds * kRate));
    for (int k = 0; k * 0.25 < seconds - 0.3; ++k) {
        addNote(wave, k * 0.25, 0.3, midiHz(60 + transpose + scale[(k * 3 + k / 8) % 8]), 0.35);
        if (k % 2 == 0) addNote(wave, k * 0.25, 0.5, midiHz(48 + transpose + (k / 8 % 2) * 5), 0.3);
    }
    return toSamples(wave);
}
Samples tone(double seconds, double hz) {
    std::vector<double> wave(size_t(seconds * kRate));
    addNote(wave, 0, seconds, hz, 0.8);
    return toSamples(wave);
}

// A Standard MIDI File, format 0: piano melody, bass and a ride, 16 bars of 4/4 at 120 beats
// per minute (32 s).
void put(std::vector<uint8_t>& t, uint32_t delta, std::initializer_list<uint8_t> bytes) {
    uint8_t v[5];
    int n = 0;
    do v[n++] = uint8_t(delta & 0x7F), delta >>= 7;
    while (delta);
    while (n--) t.push_back(uint8_t(v[n] | (n ? 0x80 : 0)));
    t.insert(t.end(), bytes);
}
std::vector<uint8_t> tune() {
    struct Event {
        uint32_t tick;
        std::vector<uint8_t> bytes;
    };
    std::vector<Event> events = {{0, {0xFF, 0x51, 3, 0x07, 0xA1, 0x20}}, {0, {0xC0, 0}}, {0, {0xC1, 33}}};
    static const int steps[] = {0, 4, 7, 12, 11, 7, 4, 2, 0, 5, 9, 12, 9, 5, 4, 2};
    static const int roots[] = {48, 53, 55, 48};
    for (int beat = 0; beat < 64; ++beat) {
        uint32_t at = uint32_t(beat) * 96;
        for (int half = 0; half < 2; ++half) {
            int note = 60 + steps[(beat * 2 + half + beat / 16) % 16] + (beat / 32) * 2;
            events.push_back({at + half * 48, {0x90, uint8_t(note), 90}});
            events.push_back({at + half * 48 + 44, {0x80, uint8_t(note), 0}});
        }
        if (beat % 2 == 0) {
            int bass = roots[beat / 4 % 4];
            events.push_back({at, {0x91, uint8_t(bass), 100}});
            events.push_back({at + 180, {0x81, uint8_t(bass), 0}});
        }
        events.push_back({at, {0x99, 51, uint8_t(beat % 4 ? 50 : 80)}});
        events.push_back({at + 40, {0x89, 51, 0}});
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });
    std::vector<uint8_t> track;
    uint32_t last = 0;
    for (const Event& e : events) {
        put(track, e.tick - last, {});
        track.insert(track.end(), e.bytes.begin(), e.bytes.end());
        last = e.tick;
    }
    put(track, 64 * 96 - last, {0xFF, 0x2F, 0});
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
    for (int shift : {24, 16, 8, 0}) file.push_back(uint8_t(track.size() >> shift));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

}  // namespace

bool writeShowData(const std::filesystem::path& out) {
    std::error_code error;
    const std::filesystem::path show = out / "ZUSHOW", pics = out / "zushow_src/PICS", sounds = out / "zushow_src/SOUNDS";
    for (const auto& folder : {show, pics, sounds}) std::filesystem::create_directories(folder, error);
    bool ok = writePicture(show / "SPRITE.BMP", sprite());
    ok = writePicture(show / "BACK.BMP", backdrop(640, 480, 0)) && ok;
    ok = writePicture(show / "PAGE.BMP", backdrop(640, 960, 2)) && ok;
    ok = writePicture(show / "TILE.BMP", wheel(1)) && ok;  // cut to 64 x 48 when shown
    ok = writePicture(show / "COVER.BMP", coverSheet()) && ok;
    for (int k = 0; k < 4; ++k) ok = writePicture(pics / ("WHEEL" + std::to_string(k + 1) + ".BMP"), wheel(k)) && ok;
    ok = writeBytes(sounds / "PLUCK.WAV", waveFile(pluck())) && ok;
    ok = writeBytes(sounds / "CHIME.WAV", waveFile(chime())) && ok;
    ok = writeBytes(sounds / "TONE.WAV", waveFile(tone(0.6, 660), kRate)) && ok;
    ok = writeBytes(sounds / "MUSIC.WAV", waveFile(melody(14, 0), kRate)) && ok;
    ok = writeBytes(sounds / "ONESHOT.WAV", waveFile(melody(6, 7), kRate)) && ok;
    ok = writeBytes(show / "SYSTEM.WAV", waveFile(tone(0.3, 880), kRate)) && ok;
    ok = writeBytes(show / "TUNE.MID", tune()) && ok;
    return ok;
}

}  // namespace assets
