// Sound buffers: creation, locked writes, and the play state and settings of their voices.
#include <algorithm>

#include "platform/audio/mixer.h"
#include "platform/audio/wave_format.h"

namespace platform {
namespace {

using Hold = std::lock_guard<std::mutex>;

Voice& voiceOf(const SoundBuffer* b) { return mixerState().voices[b->voice]; }

uint32_t takeVoiceSlot(MixerState& state) {
    if (!state.freeVoices.empty()) {
        const uint32_t index = state.freeVoices.back();
        state.freeVoices.pop_back();
        return index;
    }
    state.voices.emplace_back();
    return uint32_t(state.voices.size() - 1);
}

SoundBuffer* makeBuffer(const WaveFormat& format, uint32_t bytes, bool stream) {
    if (!audioOpen() || !isPlayableFormat(format) || !isPlayableSize(format, bytes)) return nullptr;
    SoundBuffer* b = new SoundBuffer;
    b->format = format;
    b->stream = stream;
    b->bytes.assign(bytes, format.wBitsPerSample == 8 ? 0x80 : 0x00);
    b->frequency = format.nSamplesPerSec;
    Hold hold(mixerMutex());
    MixerState& state = mixerState();
    b->voice = takeVoiceSlot(state);
    Voice& v = state.voices[b->voice];
    v = {};
    v.samples = b->bytes.data();
    v.frames = bytes / format.nBlockAlign;
    v.rate = b->frequency;
    v.step = resampleStep(v.rate, state.output.rate);
    v.inUse = true;
    v.mix = voiceMixerFor(format.nChannels, format.wBitsPerSample);
    applyGains(v, 0, 0);
    return b;
}

}  // namespace

SoundBuffer* createBuffer(const WaveFormat& format, uint32_t bytes) { return makeBuffer(format, bytes, false); }
SoundBuffer* createStreamBuffer(const WaveFormat& format, uint32_t bytes) { return makeBuffer(format, bytes, true); }

void destroyBuffer(SoundBuffer* b) {
    if (!b) return;
    {
        Hold hold(mixerMutex());
        MixerState& state = mixerState();
        state.voices[b->voice] = {};
        state.freeVoices.push_back(b->voice);
    }
    delete b;
}

uint32_t bufferBytes(const SoundBuffer* b) { return b ? uint32_t(b->bytes.size()) : 0; }

// The caller writes without the mixer held. A buffer that is not playing lends its own bytes
// and its voice is held out of the mix meanwhile; a playing one is copied, written beside and
// swapped in at unlock, so the device plays on undisturbed and waits only for the swap. A playing
// stream lends its bytes too: the mixer plays on around the locked frames and never reads them.
BufferLock lockBuffer(SoundBuffer* b, uint32_t offset, uint32_t bytes) {
    if (!b || b->locked) return {};
    const uint32_t size = uint32_t(b->bytes.size());
    if (bytes == 0) bytes = size;
    if (offset >= size || bytes > size) return {};
    bool playing;
    {
        Hold hold(mixerMutex());
        Voice& v = voiceOf(b);
        playing = v.playing && !b->stream;
        v.held = !v.playing;
        if (b->stream && v.playing) {
            const uint32_t align = b->format.nBlockAlign;
            v.fenceStart = offset / align;
            v.fenceFrames = (offset % align + bytes + align - 1) / align;
        }
    }
    b->locked = true;
    BufferLock lock;
    lock.buffer = b;
    lock.firstBytes = std::min(bytes, size - offset);
    lock.secondBytes = bytes - lock.firstBytes;
    if (playing) b->staging = b->bytes;  // only this thread writes the bytes: reading is safe
    uint8_t* data = playing ? b->staging.data() : b->bytes.data();
    lock.first = data + offset;
    lock.second = lock.secondBytes ? data : nullptr;
    return lock;
}

void unlockBuffer(const BufferLock& lock) {
    SoundBuffer* b = lock.buffer;
    if (!b || !b->locked) return;
    b->locked = false;
    std::vector<uint8_t> replaced;  // freed after the mixer is let go
    Hold hold(mixerMutex());
    Voice& v = voiceOf(b);
    if (!b->staging.empty()) {
        b->bytes.swap(b->staging);
        v.samples = b->bytes.data();
        replaced.swap(b->staging);
    }
    v.held = false;
    v.fenceFrames = 0;
}

void play(SoundBuffer* b, bool loop) {
    if (!b) return;
    Hold hold(mixerMutex());
    Voice& v = voiceOf(b);
    v.looping = loop || b->stream;
    v.playing = true;
}

void stop(SoundBuffer* b) {
    if (!b) return;
    Hold hold(mixerMutex());
    voiceOf(b).playing = false;
}

bool isPlaying(const SoundBuffer* b) {
    if (!b) return false;
    Hold hold(mixerMutex());
    return voiceOf(b).playing;
}

bool isLooping(const SoundBuffer* b) {
    if (!b) return false;
    Hold hold(mixerMutex());
    return voiceOf(b).looping;
}

uint32_t position(const SoundBuffer* b) {
    if (!b) return 0;
    Hold hold(mixerMutex());
    return uint32_t(voiceOf(b).cursor >> 32) * b->format.nBlockAlign;
}

void setPosition(SoundBuffer* b, uint32_t bytes) {
    if (!b || bytes >= b->bytes.size()) return;
    Hold hold(mixerMutex());
    voiceOf(b).cursor = uint64_t(bytes / b->format.nBlockAlign) << 32;
}

void setVolume(SoundBuffer* b, int32_t hundredthsDb) {
    if (!b) return;
    Hold hold(mixerMutex());
    b->volume = std::clamp(hundredthsDb, -10000, 0);
    applyGains(voiceOf(b), b->volume, b->pan);
}

void setPan(SoundBuffer* b, int32_t pan) {
    if (!b) return;
    Hold hold(mixerMutex());
    b->pan = std::clamp(pan, -10000, 10000);
    applyGains(voiceOf(b), b->volume, b->pan);
}

void setFrequency(SoundBuffer* b, uint32_t hz) {
    if (!b || hz < 100 || hz > 100000) return;
    Hold hold(mixerMutex());
    b->frequency = hz;
    Voice& v = voiceOf(b);
    v.rate = hz;
    v.step = resampleStep(hz, mixerState().output.rate);
}

int32_t volume(const SoundBuffer* b) { return b ? b->volume : 0; }
int32_t pan(const SoundBuffer* b) { return b ? b->pan : 0; }
uint32_t frequency(const SoundBuffer* b) { return b ? b->frequency : 0; }

}  // namespace platform
