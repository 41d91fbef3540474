// WAV file images for tests.
#include "support/wav_writer.h"
#include "support/little_endian.h"

#include <cmath>
#include <cstring>
#include <fstream>

namespace test {
namespace {

using testbytes::put16;
using testbytes::put32;
void putId(std::vector<uint8_t>& out, const char* id) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(id[i]));
}
void append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) {
    for (uint8_t b : more) out.push_back(b);
}

std::vector<uint8_t> formatChunk(const WavSpec& s) {
    std::vector<uint8_t> body;
    const uint16_t align = uint16_t(s.channels * (s.bits / 8));
    put16(body, s.tag);
    put16(body, s.channels);
    put32(body, s.rate);
    put32(body, s.rate * align);
    put16(body, align);
    put16(body, s.bits);
    if (s.tag != 1) {
        put16(body, uint32_t(s.extra.size()));
        append(body, s.extra);
    }
    const uint32_t size = s.fmtSize ? s.fmtSize : uint32_t(body.size());
    body.resize(size, 0);
    std::vector<uint8_t> chunk;
    putId(chunk, "fmt ");
    put32(chunk, size);
    append(chunk, body);
    if (size & 1) chunk.push_back(0);
    return chunk;
}

std::vector<uint8_t> dataChunk(const WavSpec& s, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> chunk;
    putId(chunk, "data");
    put32(chunk, s.claimedDataSize >= 0 ? uint32_t(s.claimedDataSize) : uint32_t(data.size()));
    append(chunk, data);
    if (data.size() & 1) chunk.push_back(0);
    return chunk;
}

}  // namespace

std::vector<uint8_t> wavImage(const WavSpec& s, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> body;
    putId(body, s.form);
    if (s.oddChunkBefore) {
        putId(body, "LIST");
        put32(body, 3);
        putId(body, "abc");  // three bytes and the pad
    }
    const std::vector<uint8_t> fmt = formatChunk(s), samples = dataChunk(s, data);
    const auto& first = s.dataFirst ? samples : fmt;
    const auto& second = s.dataFirst ? fmt : samples;
    append(body, first);
    append(body, second);
    std::vector<uint8_t> image;
    putId(image, "RIFF");
    put32(image, uint32_t(body.size()));
    append(image, body);
    return image;
}

std::vector<uint8_t> pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    for (int16_t v : samples) put16(out, uint16_t(v));
    return out;
}

std::vector<int16_t> sine(double hz, uint32_t rate, uint32_t frames, int16_t amplitude, int channels) {
    std::vector<int16_t> out;
    for (uint32_t i = 0; i < frames; ++i) {
        const int16_t v = int16_t(std::lround(amplitude * std::sin(2.0 * M_PI * hz * i / rate)));
        for (int c = 0; c < channels; ++c) out.push_back(v);
    }
    return out;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

}  // namespace test
