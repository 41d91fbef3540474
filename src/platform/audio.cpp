// Audio output entry points (first slice: no device yet, every call is a safe no-op).
#include "platform/audio.h"

namespace platform {

bool waveFormatFromBytes(const uint8_t*, uint32_t, WaveFormat&) { return false; }
bool openAudio() { return false; }
void closeAudio() {}
bool audioOpen() { return false; }
bool setOutputFormat(int32_t, uint32_t, int32_t) { return false; }
AudioOutput outputFormat() { return {}; }
SoundBuffer* createBuffer(const WaveFormat&, uint32_t) { return nullptr; }
void destroyBuffer(SoundBuffer*) {}
uint32_t bufferBytes(const SoundBuffer*) { return 0; }
BufferLock lockBuffer(SoundBuffer*, uint32_t, uint32_t) { return {}; }
void unlockBuffer(const BufferLock&) {}
void play(SoundBuffer*, bool) {}
void stop(SoundBuffer*) {}
bool isPlaying(const SoundBuffer*) { return false; }
bool isLooping(const SoundBuffer*) { return false; }
uint32_t position(const SoundBuffer*) { return 0; }
void setPosition(SoundBuffer*, uint32_t) {}
void setVolume(SoundBuffer*, int32_t) {}
void setPan(SoundBuffer*, int32_t) {}
void setFrequency(SoundBuffer*, uint32_t) {}
int32_t volume(const SoundBuffer*) { return 0; }
int32_t pan(const SoundBuffer*) { return 0; }
uint32_t frequency(const SoundBuffer*) { return 0; }
AudioSource::~AudioSource() = default;
void attachSource(AudioSource*) {}
void detachSource(AudioSource*) {}
void beep() {}
uint32_t beepCount() { return 0; }
bool playSoundFile(const char*) { return false; }

}  // namespace platform
