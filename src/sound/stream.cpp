// Streamed sounds: a long pack entry played through a circling buffer of 4 seconds that
// Streaming refills, once per frame, from the pack in chunks of up to 2 seconds. The pack is
// opened and closed again for every chunk; no handle is kept between frames.
#include <cstring>

#include "platform/audio/audio.h"
#include "platform/os/files.h"
#include "sound/pack_entry.h"
#include "sound/sound_internal.h"
#include "system/error_detail.h"
#include "system/zu_system.h"

namespace zuSound {
namespace {

constexpr uint32_t noWrap = 0xFFFFFFFF;
const char* const cannotOpen = "パックファイル名が指定されていません";
const char* const cannotStream = "ストリーミング再生できません";

int32_t refuseLoad(const char* message, int32_t code = 0) {
    zuSystem::ReportError("zuSound::LoadStream", message, code);
    return -1;
}

// Reads the locked bytes from the pack's position; what the pack no longer holds (it changed on
// disk) becomes silence.
void readInto(FILE* pack, const platform::BufferLock& lock, uint8_t silence) {
    const struct { uint8_t* at; uint32_t bytes; } regions[] = {{lock.first, lock.firstBytes}, {lock.second, lock.secondBytes}};
    for (const auto& region : regions) {
        if (!region.at) continue;
        const size_t got = std::fread(region.at, 1, region.bytes, pack);
        std::memset(region.at + got, silence, region.bytes - got);
    }
}

void fillSilence(const platform::BufferLock& lock, uint8_t silence) {
    if (lock.first) std::memset(lock.first, silence, lock.firstBytes);
    if (lock.second) std::memset(lock.second, silence, lock.secondBytes);
}

// The first chunk into the start of the buffer, from the pack's position (the start of the data).
void fillFirstChunk(FILE* pack, platform::SoundBuffer* buffer, SoundStream& st) {
    const platform::BufferLock lock = platform::lockBuffer(buffer, 0, st.halfSize);
    readInto(pack, lock, st.silence);
    platform::unlockBuffer(lock);
    st.readPos = st.dataStart + st.halfSize;
    st.consumed = st.halfSize;
    st.lastWriteStart = 0;
    st.writePos = st.halfSize;
    st.wrapCursor = noWrap;
    st.lastCursor = 0;
    st.endCountdown = 0;
}

// Whether the chunk before the last refill has been played, from the play cursor c.
bool refillDue(const SoundStream& st, uint32_t c) {
    if (st.wrapCursor == noWrap) return c >= st.lastWriteStart || c < st.lastCursor;
    if (st.lastWriteStart < st.wrapCursor) return st.lastWriteStart <= c && c < st.wrapCursor;
    return c >= st.lastWriteStart;
}

// Writes the next chunk behind the last one: sound from the pack, or silence once the data of a
// stream that does not loop has all been written. False after the report when the pack cannot
// be read; the stream is then stopped, so the failure is reported once.
bool refill(int32_t number, const SoundObject& s, SoundStream& st, uint32_t cursor) {
    const bool ending = st.endCountdown == 1;
    FILE* pack = nullptr;
    if (!ending) {
        pack = platform::openFile(st.packPath, "rb");
        const char* failure = !pack ? cannotOpen : std::fseek(pack, long(st.readPos), SEEK_SET) != 0 ? cannotStream : nullptr;
        if (failure) {
            if (pack) std::fclose(pack);
            Stop(number, -1);
            zuSystem::ReportError("zuSound::Streaming", failure, 0);
            return false;
        }
    }
    // The silence after the end is a full chunk, so the cursor is stopped inside it.
    const uint32_t n = ending ? st.halfSize : detail::nextChunk(st.dataSize, st.consumed, st.halfSize, st.blockAlign);
    const platform::BufferLock lock = platform::lockBuffer(s.buffers[0], st.writePos, n);
    if (ending) {
        fillSilence(lock, st.silence);
    } else {
        readInto(pack, lock, st.silence);
        std::fclose(pack);
        st.readPos += n;
        st.consumed += n;
        if (st.consumed >= st.dataSize) {
            st.readPos = st.loopStart;
            st.consumed = st.loopStart - st.dataStart;
            if (s.looping == 0) st.endCountdown = 2;
        }
    }
    platform::unlockBuffer(lock);
    st.wrapCursor = st.writePos < st.lastWriteStart ? cursor : noWrap;
    st.lastWriteStart = st.writePos;
    st.writePos += n;
    if (st.writePos >= st.bufferSize) st.writePos -= st.bufferSize;
    return true;
}

}  // namespace

int32_t LoadStream(const char* name, uint32_t loopOffset) {
    if (!soundState.enabled || !soundState.device) return -1;
    const bool reloading = soundState.reloading != 0;
    if (!reloading) {
        // Checked before anything is loaded, so an over-long name never holds a number.
        if (!name || std::strlen(name) > size_t(nameLimit)) return refuseLoad("ファイル名が長すぎます");
        soundState.current = detail::lowestFreeNumber();
        if (soundState.current < 0) return refuseLoad("オブジェクト数が多過ぎます");
    }
    const int32_t number = soundState.current;
    if (number < 0 || number >= soundCount) return -1;
    SoundStream& st = soundState.streams[number];
    // A first load reads the current pack; a rebuild the pack the stream came from.
    if (!reloading) std::memcpy(st.packPath, soundState.packPath, sizeof st.packPath);
    FILE* pack = st.packPath[0] ? platform::openFile(st.packPath, "rb") : nullptr;
    zuSystem::NoteTriedEntry(st.packPath, name);
    if (!pack) return refuseLoad(cannotOpen);
    detail::PackEntry entry;
    detail::StreamSizes sizes;
    const char* failure = nullptr;
    if (!detail::findPackEntry(pack, name, entry)) failure = "WAVEファイルを読み込めません";
    else if (!detail::streamableFormat(entry.wave)) failure = cannotStream;
    else if (detail::tooShortToStream(entry.wave, entry.dataSize)) {
        std::fclose(pack);
        return LoadPack(name, 1);
    }
    const long dataStart = failure ? 0 : std::ftell(pack);
    if (!failure && (!detail::streamSizes(entry.wave, entry.dataSize, loopOffset, sizes) || dataStart < 0 ||
                     uint64_t(dataStart) + sizes.dataSize > UINT32_MAX))
        failure = cannotStream;  // offsets are kept in 32 bits
    if (failure) {
        std::fclose(pack);
        return refuseLoad(failure);
    }
    zuSystem::NoteTriedPath(nullptr);
    SoundObject& s = soundState.objects[number];
    s.slotCount = 1;
    s.echoState = -1;
    if (!reloading) s.nextSlot = 0;
    s.buffers[0] = platform::createStreamBuffer(entry.wave, sizes.bufferSize);
    if (!s.buffers[0]) {
        std::fclose(pack);
        return refuseLoad("サウンドバッファが生成できません", detail::bufferRefused);
    }
    st.dataStart = uint32_t(dataStart);
    st.loopStart = st.dataStart + sizes.loopOffset;
    st.dataSize = sizes.dataSize;
    st.halfSize = sizes.halfSize;
    st.bufferSize = sizes.bufferSize;
    st.blockAlign = entry.wave.nBlockAlign;
    st.silence = entry.wave.wBitsPerSample == 8 ? 0x80 : 0x00;
    fillFirstChunk(pack, s.buffers[0], st);
    std::fclose(pack);
    detail::settleSlot(s, 0);
    s.used = 1;
    s.fromPack = 1;
    if (!reloading) std::strcpy(s.name, name);
    return number;
}

int32_t ResetStream(int32_t number) {
    const SoundObject* s = detail::loadedSound(number);
    if (!s || !soundState.device || !detail::isStream(number) || !s->buffers[0]) return 0;
    SoundStream& st = soundState.streams[number];
    FILE* pack = platform::openFile(st.packPath, "rb");
    if (!pack) return zuSystem::ReportError("zuSound::ResetStream", cannotOpen, 0);
    if (std::fseek(pack, long(st.dataStart), SEEK_SET) != 0) {
        std::fclose(pack);
        return zuSystem::ReportError("zuSound::ResetStream", cannotStream, 0);
    }
    fillFirstChunk(pack, s->buffers[0], st);
    std::fclose(pack);
    return 1;
}

int32_t Streaming() {
    if (!soundState.enabled || !soundState.device) return 0;
    for (int32_t n = 0; n < soundCount; ++n) {
        const SoundObject& s = soundState.objects[n];
        SoundStream& st = soundState.streams[n];
        if (!s.used || st.dataSize == 0 || !platform::isPlaying(s.buffers[0])) continue;
        const uint32_t cursor = platform::position(s.buffers[0]);
        if (!refillDue(st, cursor)) continue;
        st.lastCursor = cursor;
        if (st.endCountdown > 0 && --st.endCountdown == 0) {
            Stop(n, -1);
            continue;
        }
        if (!refill(n, s, st, cursor)) return 0;
    }
    return 1;
}

}  // namespace zuSound
