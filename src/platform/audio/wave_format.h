// Which wave formats and buffer sizes the mixer plays (PCM 8/16-bit, mono or stereo).
#pragma once
#include "platform/audio/audio.h"

namespace platform {

bool isPlayableFormat(const WaveFormat&);
bool isPlayableSize(const WaveFormat&, uint32_t bytes);

}  // namespace platform
