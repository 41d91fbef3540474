// Shared helpers of the zuSound files: looking up a loaded sound, choosing target slots,
// starting a slot and rebuilding the table.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

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

// The code of the report "サウンドバッファが生成できません".
constexpr int32_t bufferRefused = 1;

// The sample format (a stored WAVEFORMATEX) and data of a sound.
struct WaveImage {
    std::vector<uint8_t> format;
    std::vector<uint8_t> data;
};
int32_t lowestFreeNumber();  // -1 when every number is used
// The settings of a slot whose buffer was just made: the buffer's own, or in re-creation mode
// the stored ones applied to it.
void settleSlot(SoundObject&, int32_t slot);
// Gives sound `number` |mix| slots (echo with mix > 1), each a buffer holding the wave, with
// fresh settings, or in re-creation mode the stored ones, and marks it used (a first load also
// records its name). False, with the slots given up, when a buffer is refused.
bool fillSlots(int32_t number, const WaveImage& wave, int32_t mix, const char* name, int32_t fromPack);

// Loads every used number again in re-creation mode (after Restore or SelectFormat).
void rebuildTable();
// Sounds that came from packs or streams are rebuilt by their own loader, from the pack they
// were loaded from.
int32_t reloadPackSound(int32_t number);

// MakePack, telling `onFile` each WAV's relative path (as entered) and AddToPack's result.
using PackedFile = std::function<void(const char* path, int32_t added)>;
int32_t makePack(const char* packName, const char* folder, int32_t fresh, const PackedFile& onFile);

}  // namespace zuSound::detail
