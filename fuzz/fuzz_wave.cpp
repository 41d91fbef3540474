// Fuzz target: the RIFF/WAVE parser on arbitrary file images.
#include <cstdint>
#include <vector>

#include "sound/wave_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::vector<uint8_t> format, data;
    if (zuSound::parseWave(bytes, size, format, data)) {
        // A success must describe itself consistently.
        if (format.size() < 18 || format.size() != 18u + (format[16] | (format[17] << 8))) __builtin_trap();
        if (data.size() > size) __builtin_trap();
    } else if (!format.empty() || !data.empty()) {
        __builtin_trap();
    }
    return 0;
}
