// The RIFF/WAVE parser under zuSound::ReadWave, over a file image in memory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zuSound {

// True when the image is a RIFF "WAVE" form with a "fmt " chunk of at least 16 bytes and a
// "data" chunk wholly inside the image (in either order). `format` gets the stored WAVEFORMATEX:
// 18 bytes with cbSize set to the count of extra bytes behind them (0 for PCM). On false both
// outputs are empty.
bool parseWave(const uint8_t* image, size_t size, std::vector<uint8_t>& format,
               std::vector<uint8_t>& data);

}  // namespace zuSound
