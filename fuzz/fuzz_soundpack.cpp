// Sound packs as LoadPack and LoadStream read them: an entry found lies inside the file with a
// consistent format; a stream's chunks over three passes are whole frames in the data, 0 < n <= 2 s.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "sound/pack_entry.h"

#define CHECK(condition) if (!(condition)) __builtin_trap()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    using namespace zuSound::detail;
    FILE* pack = size ? fmemopen(const_cast<uint8_t*>(bytes), size, "rb") : nullptr;
    for (const char* name : {"A.WAV", "long.wav", "EXT.WAV", "EMPTY.WAV"}) {
        PackEntry entry;
        if (!pack || !findPackEntry(pack, name, entry)) continue;
        const long at = std::ftell(pack);
        CHECK(at >= 0 && uint64_t(at) + entry.dataSize <= size && entry.dataSize > 0);
        CHECK(entry.format.size() >= 18 && entry.format.size() == 18u + (entry.format[16] | entry.format[17] << 8));
        std::vector<uint8_t> data(entry.dataSize);
        CHECK(std::fread(data.data(), 1, data.size(), pack) == data.size());
        StreamSizes sizes;
        if (!streamableFormat(entry.wave) || tooShortToStream(entry.wave, entry.dataSize) ||
            !streamSizes(entry.wave, entry.dataSize, uint32_t(size * 7), sizes))
            continue;
        const uint32_t block = entry.wave.nBlockAlign;
        CHECK(sizes.dataSize % block == 0 && sizes.loopOffset % block == 0 && sizes.loopOffset < sizes.dataSize);
        for (uint32_t passes = 0, refills = 0, consumed = sizes.halfSize; passes < 3 && refills < 100000; ++refills) {
            const uint32_t n = nextChunk(sizes.dataSize, consumed, sizes.halfSize, block);
            CHECK(n > 0 && n <= sizes.halfSize && n % block == 0 && uint64_t(consumed) + n <= sizes.dataSize);
            consumed += n;
            if (consumed >= sizes.dataSize) consumed = sizes.loopOffset, ++passes;
        }
    }
    if (pack) std::fclose(pack);
    return 0;
}
