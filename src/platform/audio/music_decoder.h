// The music decoders, private to the platform: a file's bytes in memory, rendered
// block by block into 16-bit stereo at the mixer's output rate.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace platform::music {

class Decoder {
public:
    virtual ~Decoder() = default;
    // Writes up to `frames` stereo frames; fewer only when a non-looping source has ended.
    virtual uint32_t render(int16_t* stereo, uint32_t frames, uint32_t outputRate) = 0;
    virtual void rewind() = 0;
    virtual uint32_t sourceFlags() const = 0;  // kEightBitSource | kMonoSource
};

// Null when the bytes are not a stream libsndfile reads (WAV, FLAC, Ogg, MP3 ...) with one or
// two channels.
std::unique_ptr<Decoder> openStreamDecoder(std::vector<uint8_t> bytes, bool loop);
// Null when libopenmpt does not take the bytes as a module; its log goes to standard error.
std::unique_ptr<Decoder> openModuleDecoder(std::vector<uint8_t> bytes, bool loop, bool ramping);

}  // namespace platform::music
