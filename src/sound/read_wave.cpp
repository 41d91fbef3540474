// zuSound::ReadWave: a WAV file read whole and parsed; any failure leaves both outputs empty.
#include <cstdio>

#include "platform/os/files.h"
#include "sound/wave_reader.h"
#include "sound/zu_sound.h"

namespace zuSound {
namespace {

constexpr long largestWaveFile = 256L << 20;  // far beyond any buffer the device accepts

bool readWhole(const char* path, std::vector<uint8_t>& image) {
    FILE* file = platform::openFile(path, "rb");
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = ok && size >= 0 && size <= largestWaveFile && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        image.resize(size_t(size));
        ok = std::fread(image.data(), 1, image.size(), file) == image.size();
    }
    std::fclose(file);
    return ok;
}

}  // namespace

int32_t ReadWave(const char* path, std::vector<uint8_t>& format, std::vector<uint8_t>& data) {
    format.clear();
    data.clear();
    std::vector<uint8_t> image;
    if (!path || !readWhole(path, image)) return 1;
    return parseWave(image.data(), image.size(), format, data) ? 0 : 1;
}

}  // namespace zuSound
