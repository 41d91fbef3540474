// The background tune: our own piece in A minor, six 64-row patterns played in order and
// looping back to the first (about 46 seconds at speed 6, 125 BPM).
#pragma once
#include "assets/xm_writer.h"

namespace assets {

XmModule backgroundTune();

}  // namespace assets
