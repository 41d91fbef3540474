// zuSound::PlaySystemSound: the device is given up, the WAV played to its end, the device and
// every sound rebuilt.
#include <vector>

#include "platform/audio/audio.h"
#include "sound/zu_sound.h"

namespace zuSound {

void PlaySystemSound(const char* name) {
    Release();
    std::vector<uint8_t> formatBytes, data;
    platform::WaveFormat format;
    const bool read = name && ReadWave(name, formatBytes, data) == 0 && data.size() <= UINT32_MAX &&
                      platform::waveFormatFromBytes(formatBytes.data(), uint32_t(formatBytes.size()), format);
    platform::playToEnd(read ? &format : nullptr, data.data(), uint32_t(data.size()));
    Restore();
}

}  // namespace zuSound
