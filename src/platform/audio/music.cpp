// Music: its handle table and the calls, with one mixer source that renders every playing
// channel block by block on the audio thread, with the sources held (not the mixer). Files are
// read and parsed before the sources are taken.
#include "platform/audio/music.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "platform/audio/audio.h"
#include "platform/os/files.h"
#include "platform/audio/mixer.h"
#include "platform/audio/music_decoder.h"

namespace platform::music {
namespace {

enum class Kind { stream, module };

struct Channel {
    uint32_t handle = 0;
    Kind kind = Kind::stream;
    std::unique_ptr<Decoder> decoder;
    bool playing = false;
    bool ended = false;
};

// Channels change only with the sources held, since mix() runs with them held.
class MusicSource : public AudioSource {
public:
    std::vector<Channel> channels;
    bool started = false;

    void mix(int32_t* accum, uint32_t frames, uint32_t outputRate) override {
        if (!started) return;
        for (Channel& c : channels)
            if (c.playing) mixChannel(c, accum, frames, outputRate);
    }

private:
    static constexpr uint32_t kChunk = 256;

    static void mixChannel(Channel& c, int32_t* accum, uint32_t frames, uint32_t rate) {
        int16_t block[2 * kChunk];
        for (uint32_t at = 0; at < frames;) {
            uint32_t want = std::min(kChunk, frames - at);
            uint32_t got = c.decoder->render(block, want, rate);
            for (uint32_t i = 0; i < 2 * got; ++i) accum[2 * at + i] += block[i];
            at += got;
            if (got < want) {
                c.playing = false;
                c.ended = true;
                return;
            }
        }
    }
};

struct MusicState {
    MusicSource source;
    bool initialised = false;
    uint32_t lastHandle = 0;
};

MusicState& state() {
    static MusicState s;
    return s;
}

Channel* find(uint32_t handle) {
    auto& channels = state().source.channels;
    auto it = std::find_if(channels.begin(), channels.end(), [&](const Channel& c) { return c.handle == handle; });
    return it == channels.end() ? nullptr : &*it;
}

bool readWhole(const char* path, std::vector<uint8_t>& bytes) {
    FILE* file = path ? openFile(path, "rb") : nullptr;
    if (!file) return false;
    uint8_t chunk[65536];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

uint32_t add(Kind kind, std::unique_ptr<Decoder> decoder) {
    if (!decoder) return 0;
    std::lock_guard<std::mutex> hold(sourceMutex());
    uint32_t handle = ++state().lastHandle;
    state().source.channels.push_back({handle, kind, std::move(decoder)});
    return handle;
}

bool remove(uint32_t handle, Kind kind) {
    std::unique_ptr<Decoder> doomed;  // destroyed after the mixer is let go
    std::lock_guard<std::mutex> hold(sourceMutex());
    auto& channels = state().source.channels;
    auto it = std::find_if(channels.begin(), channels.end(),
                           [&](const Channel& c) { return c.handle == handle && c.kind == kind; });
    if (handle == 0 || it == channels.end()) return false;
    doomed = std::move(it->decoder);
    channels.erase(it);
    return true;
}

}  // namespace

uint32_t version() { return 0x20001; }

bool init(int32_t device, uint32_t rate, uint32_t flags, Window*) {
    MusicState& s = state();
    if (device != -1 || !(flags & kInitSixteenBits)) return false;
    if (s.initialised && !audioOpen()) release();  // the device went away (a new backend)
    bool opened = false;
    if (!s.initialised) {
        if (!openAudio()) return false;
        opened = true;
    }
    if ((flags & kInitExactRate) && outputFormat().rate != rate) {
        if (opened) closeAudio();
        return false;
    }
    if (opened) {
        attachSource(&s.source);
        s.initialised = true;
    }
    return true;
}

bool start() {
    if (!state().initialised) return false;
    std::lock_guard<std::mutex> hold(sourceMutex());
    state().source.started = true;
    return true;
}

void release() {
    MusicState& s = state();
    if (!s.initialised) return;
    detachSource(&s.source);
    s.source.channels.clear();
    s.source.started = false;
    s.initialised = false;
    closeAudio();
}

uint32_t openStream(const char* path, uint32_t flags) {
    std::vector<uint8_t> bytes;
    if (!state().initialised || !readWhole(path, bytes)) return 0;
    return add(Kind::stream, openStreamDecoder(std::move(bytes), flags & kLoop));
}

uint32_t loadModule(const char* path, uint32_t flags) {
    std::vector<uint8_t> bytes;
    if (!state().initialised || !readWhole(path, bytes)) return 0;
    return add(Kind::module, openModuleDecoder(std::move(bytes), flags & kLoop, flags & kRamping));
}

uint32_t channelFlags(uint32_t handle) {
    std::lock_guard<std::mutex> hold(sourceMutex());
    Channel* c = handle ? find(handle) : nullptr;
    return c ? c->decoder->sourceFlags() : 0;
}

bool play(uint32_t handle) {
    std::lock_guard<std::mutex> hold(sourceMutex());
    Channel* c = handle ? find(handle) : nullptr;
    if (!c) return false;
    if (c->ended) c->decoder->rewind();
    c->ended = false;
    c->playing = true;
    return true;
}

bool freeStream(uint32_t handle) { return remove(handle, Kind::stream); }
bool freeModule(uint32_t handle) { return remove(handle, Kind::module); }

}  // namespace platform::music
