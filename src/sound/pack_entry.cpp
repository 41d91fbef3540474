// Sound pack entries: the search reads only what the file holds, checks every entry's sizes
// against the rest of the file before skipping or allocating, and refuses malformed formats.
#include "sound/pack_entry.h"

#include <string>

#include "platform/sjis.h"

namespace zuSound::detail {
namespace {

bool readU32(FILE* f, uint32_t& value) {
    uint8_t b[4];
    if (std::fread(b, 1, 4, f) != 4) return false;
    value = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    return true;
}

// The name up to its NUL; false at the end of the file or past entryNameLimit.
bool readName(FILE* f, std::string& name) {
    name.clear();
    for (;;) {
        const int c = std::fgetc(f);
        if (c == EOF) return false;
        if (c == 0) return true;
        if (name.size() == entryNameLimit) return false;
        name.push_back(char(c));
    }
}

bool readFormat(FILE* pack, uint32_t formatSize, uint32_t dataSize, PackEntry& out) {
    if (formatSize < platform::waveFormatHeaderBytes || dataSize == 0) return false;
    out.format.resize(formatSize);
    if (std::fread(out.format.data(), 1, formatSize, pack) != formatSize) return false;
    const uint32_t cbSize = uint32_t(out.format[16]) | (uint32_t(out.format[17]) << 8);
    if (formatSize != platform::waveFormatHeaderBytes + cbSize) return false;
    if (!platform::waveFormatFromBytes(out.format.data(), formatSize, out.wave)) return false;
    out.dataSize = dataSize;
    return true;
}

}  // namespace

bool readEntryHead(FILE* pack, uint64_t fileEnd, EntryHead& out) {
    if (!readU32(pack, out.dataSize) || !readName(pack, out.name) || !readU32(pack, out.formatSize)) return false;
    const long at = std::ftell(pack);
    return at >= 0 && uint64_t(at) <= fileEnd && uint64_t(out.formatSize) + out.dataSize <= fileEnd - uint64_t(at);
}

bool findPackEntry(FILE* pack, std::string_view name, PackEntry& out) {
    out = {};
    if (!pack || std::fseek(pack, 0, SEEK_END) != 0) return false;
    const long end = std::ftell(pack);
    if (end < 0 || std::fseek(pack, 0, SEEK_SET) != 0) return false;
    const std::string wanted = platform::sjisUpper(name);
    EntryHead head;
    while (readEntryHead(pack, uint64_t(end), head)) {
        if (head.name == wanted) {
            if (readFormat(pack, head.formatSize, head.dataSize, out)) return true;
            out = {};
            return false;
        }
        if (std::fseek(pack, long(uint64_t(head.formatSize) + head.dataSize), SEEK_CUR) != 0) return false;
    }
    return false;
}

bool streamableFormat(const platform::WaveFormat& wave) {
    const uint64_t perSecond = uint64_t(wave.nSamplesPerSec) * wave.nBlockAlign;
    return perSecond != 0 && perSecond == wave.nAvgBytesPerSec && perSecond <= UINT32_MAX / 4;
}

bool tooShortToStream(const platform::WaveFormat& wave, uint32_t dataSize) {
    return wave.nAvgBytesPerSec == 0 || dataSize / wave.nAvgBytesPerSec < 5;
}

bool streamSizes(const platform::WaveFormat& wave, uint32_t dataSize, uint32_t loopOffset, StreamSizes& out) {
    out = {};
    if (!streamableFormat(wave)) return false;
    const uint32_t block = wave.nBlockAlign;
    out.dataSize = dataSize - dataSize % block;
    out.loopOffset = loopOffset - loopOffset % block;
    out.halfSize = 2 * wave.nAvgBytesPerSec;
    out.bufferSize = 2 * out.halfSize;
    return out.loopOffset < out.dataSize;
}

uint32_t nextChunk(uint32_t dataSize, uint32_t consumed, uint32_t halfSize, uint32_t blockAlign) {
    const uint32_t rest = dataSize - consumed;
    if (uint64_t(consumed) + halfSize > dataSize) return rest;
    if (rest - halfSize >= halfSize) return halfSize;
    const uint32_t half = rest / 2;
    return half - half % blockAlign;
}

}  // namespace zuSound::detail
