// WAV file images for tests.
#include "support/wav_writer.h"

#include <cmath>
#include <fstream>

#include "support/little_endian.h"

namespace test {
namespace {

using testbytes::put16;
using testbytes::put32;

// A chunk declaring `size` bytes and holding `body`, padded to an even length.
void putChunk(std::vector<uint8_t>& out, const char* id, uint32_t size, const std::vector<uint8_t>& body) {
    out.insert(out.end(), id, id + 4);
    put32(out, size);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
}

}  // namespace

std::vector<uint8_t> wavImage(const WavSpec& s, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> format, body(s.form, s.form + 4), image;
    const uint16_t align = uint16_t(s.channels * (s.bits / 8));
    put16(format, s.tag), put16(format, s.channels), put32(format, s.rate);
    put32(format, s.rate * align), put16(format, align), put16(format, s.bits);
    if (s.tag != 1) {
        put16(format, uint32_t(s.extra.size()));
        format.insert(format.end(), s.extra.begin(), s.extra.end());
    }
    if (s.fmtSize) format.resize(s.fmtSize, 0);
    if (s.oddChunkBefore) putChunk(body, "LIST", 3, {'a', 'b', 'c'});
    for (bool dataNow : {s.dataFirst, !s.dataFirst}) {
        if (dataNow)
            putChunk(body, "data", s.claimedDataSize >= 0 ? uint32_t(s.claimedDataSize) : uint32_t(data.size()), data);
        else
            putChunk(body, "fmt ", uint32_t(format.size()), format);
    }
    putChunk(image, "RIFF", uint32_t(body.size()), body);
    return image;
}

std::vector<uint8_t> pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    for (int16_t v : samples) put16(out, uint16_t(v));
    return out;
}

std::vector<int16_t> sine(double hz, uint32_t rate, uint32_t frames, int16_t amplitude, int channels) {
    std::vector<int16_t> out;
    for (uint32_t i = 0; i < frames; ++i)
        out.insert(out.end(), channels, int16_t(std::lround(amplitude * std::sin(2.0 * M_PI * hz * i / rate))));
    return out;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

}  // namespace test
