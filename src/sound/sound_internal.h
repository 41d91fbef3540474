// Shared helpers of the zuSound files: looking up a loaded sound, choosing target slots,
// starting a slot and rebuilding the table.
#pragma once
#include <cstdint>

#include "sound/zu_sound.h"

namespace zuSound::detail {

// The sound behind a number, or null when sound is off, the number is out of range or free.
SoundObject* loadedSound(int32_t number);
bool isStream(int32_t number);

// The slots a volume, pan or rate operation (or, with forSettings false, Stop and Pause) acts on:
// one slot for mix >= 0 (none when it is past slotCount), the next slot in turn for -2 in
// settings, every slot otherwise.
struct SlotRange {
    int32_t first = 0, last = -1;  // inclusive
};
SlotRange targetSlots(const SoundObject&, int32_t mix, bool forSettings);

void startSlot(int32_t number, SoundObject&, int32_t slot, bool loop);
void destroySlots(SoundObject&);

// Loads every used number again in re-creation mode (after Restore or SelectFormat).
void rebuildTable();
// Sounds that came from packs or streams are rebuilt by their own loader.
int32_t reloadPackSound(int32_t number);
int32_t refillStream(int32_t number);

}  // namespace zuSound::detail
