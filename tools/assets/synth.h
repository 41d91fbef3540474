// Sound synthesis for the game's effects and the tune's instruments: 16-bit mono samples,
// deterministic (own noise generator, fixed seeds).
#pragma once
#include <cstdint>
#include <vector>

namespace assets {

constexpr uint32_t kSampleRate = 44100;

using Samples = std::vector<int16_t>;

Samples pluck();           // picking a piece up, or it coming back: a short plucked string
Samples chime();           // a cell filled: two bell notes, a fifth apart
Samples risingArpeggio();  // a stage won

// One period of `length` samples made of harmonics 1..n with the given amplitudes.
Samples singleCycle(int length, const std::vector<double>& harmonics, double peak);
// White noise from a fixed seed.
Samples noise(int length, uint32_t seed, double peak);

// A canonical RIFF WAVE file: the plain 44-byte header, PCM 16-bit mono.
std::vector<uint8_t> waveFile(const Samples&, uint32_t rate = kSampleRate);

}  // namespace assets
