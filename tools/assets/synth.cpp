// The game's sound effects and the raw waveforms of the tune's instruments.
#include "assets/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace assets {

namespace {

constexpr double kTau = 2 * std::numbers::pi;

struct Noise {
    uint32_t state;
    double next() {  // -1..1
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / double(1u << 23) - 1.0;
    }
};

// Mixes cleanly over the music: a short fade in and out so the sound starts and ends at zero,
// no DC (the envelope-shaped offset that makes the sum zero is taken out, keeping the ends at
// zero), and the peak scaled to `peak` of full scale.
Samples finish(std::vector<double> wave, double peak) {
    const size_t n = wave.size();
    const double fadeIn = kSampleRate / 500.0, fadeOut = kSampleRate / 200.0;  // 2 ms, 5 ms
    std::vector<double> envelope(n);
    double sum = 0, envelopeSum = 0;
    for (size_t i = 0; i < n; ++i) {
        envelope[i] = std::min({1.0, double(i) / fadeIn, double(n - 1 - i) / fadeOut});
        wave[i] *= envelope[i];
        sum += wave[i], envelopeSum += envelope[i];
    }
    double offset = envelopeSum > 0 ? sum / envelopeSum : 0, top = 1e-9;
    for (size_t i = 0; i < n; ++i) {
        wave[i] -= offset * envelope[i];
        top = std::max(top, std::abs(wave[i]));
    }
    Samples out(n);
    for (size_t i = 0; i < n; ++i) out[i] = int16_t(std::lround(wave[i] / top * peak * 32767));
    return out;
}

// A bell: inharmonic partials that die away at their own rates.
void addBell(std::vector<double>& wave, double start, double frequency, double loudness) {
    static const double ratios[] = {1.0, 2.0, 2.76, 5.4};
    static const double levels[] = {1.0, 0.35, 0.28, 0.1};
    static const double decays[] = {4.0, 6.0, 9.0, 16.0};
    size_t first = size_t(start * kSampleRate);
    for (size_t i = first; i < wave.size(); ++i) {
        double t = double(i - first) / kSampleRate;
        double attack = std::min(1.0, t / 0.003);
        for (int p = 0; p < 4; ++p)
            wave[i] += loudness * attack * levels[p] * std::exp(-decays[p] * t) *
                       std::sin(kTau * frequency * ratios[p] * t);
    }
}

// A soft square-ish note with a quick decay, for the arpeggio.
void addNote(std::vector<double>& wave, double start, double length, double frequency) {
    size_t first = size_t(start * kSampleRate);
    for (size_t i = first; i < wave.size(); ++i) {
        double t = double(i - first) / kSampleRate;
        double envelope = std::min(1.0, t / 0.004) * std::exp(-t / length);
        double tone = 0;
        for (int h = 1; h <= 7; h += 2) tone += std::sin(kTau * frequency * h * t) / (h * h * 0.6);
        wave[i] += envelope * tone;
    }
}

}  // namespace

Samples pluck() {
    // Karplus-Strong: a noise burst circulating through a gentle low-pass delay line.
    const double frequency = 330.0;
    size_t period = size_t(kSampleRate / frequency);
    Noise rng{12345};
    std::vector<double> line(period);
    double mean = 0;
    for (double& v : line) mean += (v = rng.next()) / double(period);
    for (double& v : line) v -= mean;  // the loop keeps the burst's mean: start without one
    std::vector<double> wave(size_t(kSampleRate * 0.32));
    for (size_t i = 0; i < wave.size(); ++i) {
        size_t k = i % period;
        double out = line[k];
        line[k] = 0.996 * 0.5 * (line[k] + line[(k + 1) % period]);
        wave[i] = out;
    }
    return finish(wave, 0.4);  // -8 dBFS
}

Samples chime() {
    std::vector<double> wave(size_t(kSampleRate * 0.7));
    addBell(wave, 0.0, 880.0, 1.0);
    addBell(wave, 0.09, 1318.5, 0.8);
    return finish(wave, 0.4);  // -8 dBFS
}

Samples risingArpeggio() {
    static const double notes[] = {523.25, 659.25, 783.99, 1046.5, 1318.5};
    std::vector<double> wave(size_t(kSampleRate * 1.4));
    for (int i = 0; i < 5; ++i) addNote(wave, i * 0.11, i == 4 ? 0.35 : 0.12, notes[i]);
    addBell(wave, 0.44, 1046.5, 0.25);
    return finish(wave, 0.45);  // -7 dBFS
}

Samples singleCycle(int length, const std::vector<double>& harmonics, double peak) {
    std::vector<double> wave(length);
    for (int i = 0; i < length; ++i)
        for (size_t h = 0; h < harmonics.size(); ++h)
            wave[i] += harmonics[h] * std::sin(kTau * double(h + 1) * i / length);
    double top = 1e-9;
    for (double v : wave) top = std::max(top, std::abs(v));
    Samples out(length);
    for (int i = 0; i < length; ++i) out[i] = int16_t(std::lround(wave[i] / top * peak * 32767));
    return out;
}

Samples noise(int length, uint32_t seed, double peak) {
    Noise rng{seed};
    Samples out(length);
    for (int16_t& v : out) v = int16_t(std::lround(rng.next() * peak * 32767));
    return out;
}

std::vector<uint8_t> waveFile(const Samples& samples, uint32_t rate) {
    std::vector<uint8_t> out;
    auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i))); };
    auto u16 = [&](uint16_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
    auto tag = [&](const char* t) { for (int i = 0; i < 4; ++i) out.push_back(uint8_t(t[i])); };
    uint32_t dataBytes = uint32_t(samples.size() * 2);
    tag("RIFF"); u32(36 + dataBytes); tag("WAVE");
    tag("fmt "); u32(16); u16(1); u16(1); u32(rate); u32(rate * 2); u16(2); u16(16);
    tag("data"); u32(dataBytes);
    for (int16_t s : samples) u16(uint16_t(s));
    return out;
}

}  // namespace assets
