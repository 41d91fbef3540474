// Rebuilding and refilling of pack sounds and streams; packs are not offered yet, so no number
// is ever marked as one, and these answer "nothing done".
#include "sound/sound_internal.h"

namespace zuSound::detail {

int32_t reloadPackSound(int32_t number) {
    (void)number;
    return -1;
}

int32_t refillStream(int32_t number) {
    (void)number;
    return 0;
}

}  // namespace zuSound::detail
