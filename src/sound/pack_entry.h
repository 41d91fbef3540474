// Sound pack entries over any stdio stream (the pack file; memory in the fuzzer): the search by
// name, the checked format of the entry found, and the chunk sizes of a stream.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio/audio.h"

namespace zuSound::detail {

// The longest entry name a pack may hold, in bytes: the longest file name a path can hold.
constexpr uint32_t entryNameLimit = 259;

// The head of an entry: what stands before its format.
struct EntryHead {
    std::string name;
    uint32_t dataSize = 0;
    uint32_t formatSize = 0;
};
// Reads the head of the entry at the stream's position, which then stands at its format. False
// at the end of the pack, or when the entry does not fit the file (a name over entryNameLimit,
// sizes past the end, which lies at `fileEnd`).
bool readEntryHead(FILE* pack, uint64_t fileEnd, EntryHead& out);

// The entry found: its sizes and checked format. The stream stands at its first sample byte.
struct PackEntry {
    uint32_t dataSize = 0;
    std::vector<uint8_t> format;  // the stored WAVEFORMATEX, 18 bytes and cbSize more
    platform::WaveFormat wave;
};

// Finds the first entry named `name` in any ASCII case and reads its format. False when there
// is none before the end or before an entry that does not fit the file (a name over
// entryNameLimit, sizes past the end); and for the entry found, when it is empty (an unreadable
// WAV) or its format is shorter than 18 bytes or at odds with its cbSize.
bool findPackEntry(FILE* pack, std::string_view name, PackEntry& out);

// The sizes of a stream, all in whole blocks.
struct StreamSizes {
    uint32_t dataSize = 0;    // the entry's data, less a partial last block
    uint32_t loopOffset = 0;  // where a looping stream goes on, from the start of the data
    uint32_t halfSize = 0;    // the largest chunk: 2 seconds
    uint32_t bufferSize = 0;  // 4 seconds
};
// True when nAvgBytesPerSec is rate × block align and not 0: the sizes of a stream count on it.
bool streamableFormat(const platform::WaveFormat& wave);
// For a streamable format; false when the loop offset lies at or past the end of the data.
bool streamSizes(const platform::WaveFormat& wave, uint32_t dataSize, uint32_t loopOffset, StreamSizes& out);
// True when the data lasts under 5 whole seconds: such an entry is loaded as an ordinary sound.
bool tooShortToStream(const platform::WaveFormat& wave, uint32_t dataSize);
// The next chunk after `consumed` (< dataSize) bytes of the pass: 2 seconds, the rest when less is left, or
// when a full chunk would leave a shorter tail, half the rest (in whole blocks), so the last two
// chunks share it.
uint32_t nextChunk(uint32_t dataSize, uint32_t consumed, uint32_t halfSize, uint32_t blockAlign);

}  // namespace zuSound::detail
