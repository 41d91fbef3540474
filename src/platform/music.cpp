// The music stand-in (first slice: the calls answer, nothing sounds yet).
#include "platform/music.h"

namespace platform::music {

uint32_t version() { return 0x20001; }
bool init(int32_t device, uint32_t, uint32_t, Window*) { return device == -1; }
bool start() { return true; }
void release() {}
uint32_t openStream(const char*, uint32_t) { return 0; }
uint32_t loadModule(const char*, uint32_t) { return 0; }
uint32_t channelFlags(uint32_t) { return 0; }
bool play(uint32_t) { return false; }
bool freeStream(uint32_t) { return false; }
bool freeModule(uint32_t) { return false; }

}  // namespace platform::music
