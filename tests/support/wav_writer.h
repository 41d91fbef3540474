// WAV file images for tests: every chunk arrangement the reader must accept or refuse.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace test {

struct WavSpec {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    std::vector<uint8_t> extra;   // written behind a cbSize when tag is not PCM
    bool dataFirst = false;       // "data" before "fmt "
    uint32_t fmtSize = 0;         // 0: the natural size
    int64_t claimedDataSize = -1; // -1: the real size
    const char* form = "WAVE";
    bool oddChunkBefore = false;  // an odd-sized "LIST" chunk (with its pad byte) first
};

std::vector<uint8_t> wavImage(const WavSpec&, const std::vector<uint8_t>& data);

// Samples as little-endian 16-bit bytes.
std::vector<uint8_t> pcm16(const std::vector<int16_t>& samples);
// A sine of `frames` frames, the same on every channel.
std::vector<int16_t> sine(double hz, uint32_t rate, uint32_t frames, int16_t amplitude, int channels = 1);

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace test
