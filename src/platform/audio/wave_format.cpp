// Wave formats: decoding a stored WAVEFORMATEX and deciding which formats the mixer can play.
#include "platform/audio/wave_format.h"

#include <cstring>

namespace platform {
namespace {
uint16_t read16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t read32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

// The sub-format that marks extensible PCM.
constexpr uint8_t pcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                      0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr uint32_t extensibleExtraBytes = 22;
constexpr uint32_t maxBufferBytes = 64u << 20;
}  // namespace

bool waveFormatFromBytes(const uint8_t* bytes, uint32_t size, WaveFormat& out) {
    out = {};
    if (!bytes || size < 16) return false;
    out.wFormatTag = read16(bytes);
    out.nChannels = read16(bytes + 2);
    out.nSamplesPerSec = read32(bytes + 4);
    out.nAvgBytesPerSec = read32(bytes + 8);
    out.nBlockAlign = read16(bytes + 12);
    out.wBitsPerSample = read16(bytes + 14);
    out.cbSize = size >= waveFormatHeaderBytes ? read16(bytes + 16) : 0;
    if (size < waveFormatHeaderBytes + out.cbSize) return false;
    if (out.cbSize >= extensibleExtraBytes) {
        out.wValidBitsPerSample = read16(bytes + 18);
        out.dwChannelMask = read32(bytes + 20);
        std::memcpy(out.subFormat, bytes + 24, sizeof out.subFormat);
    }
    return true;
}

bool isPlayableFormat(const WaveFormat& f) {
    const bool pcm = f.wFormatTag == waveFormatPcm;
    const bool extensiblePcm = f.wFormatTag == waveFormatExtensible && f.cbSize >= extensibleExtraBytes &&
                               std::memcmp(f.subFormat, pcmSubFormat, sizeof pcmSubFormat) == 0;
    if (!pcm && !extensiblePcm) return false;
    if (f.nChannels != 1 && f.nChannels != 2) return false;
    if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
    if (f.nBlockAlign != f.nChannels * f.wBitsPerSample / 8) return false;
    return f.nSamplesPerSec >= 100 && f.nSamplesPerSec <= 100000;
}

bool isPlayableSize(const WaveFormat& f, uint32_t bytes) {
    return bytes >= 4 && bytes <= maxBufferBytes && f.nBlockAlign != 0 && bytes % f.nBlockAlign == 0;
}

}  // namespace platform
