// The simple beep that the error report sounds before its box.
#include "platform/audio/audio.h"
#include "sound/zu_sound.h"

namespace zuSound {

void Beep() { platform::beep(); }

}  // namespace zuSound
