// Audio output: one software mixer fed by sound buffers (the zuSound device) and by attached
// sources (music, MIDI); the backend's device pulls its output from here.
#pragma once
#include <cstdint>

namespace platform {

// The format of a buffer's samples, field for field as in a WAVEFORMATEX, with the tail of the
// extensible form (used only when wFormatTag is waveFormatExtensible and cbSize >= 22).
struct WaveFormat {
    uint16_t wFormatTag = 1;
    uint16_t nChannels = 2;
    uint32_t nSamplesPerSec = 44100;
    uint32_t nAvgBytesPerSec = 176400;
    uint16_t nBlockAlign = 4;
    uint16_t wBitsPerSample = 16;
    uint16_t cbSize = 0;
    uint16_t wValidBitsPerSample = 0;
    uint32_t dwChannelMask = 0;
    uint8_t subFormat[16] = {};
};
constexpr uint16_t waveFormatPcm = 1;
constexpr uint16_t waveFormatExtensible = 0xFFFE;
constexpr uint32_t waveFormatHeaderBytes = 18;  // the WAVEFORMATEX part as stored in files

// A WaveFormat from the little-endian bytes of a stored WAVEFORMATEX (18 bytes and cbSize more);
// false when the block is too short for what it claims.
bool waveFormatFromBytes(const uint8_t* bytes, uint32_t size, WaveFormat& out);

// Output: 44.1 kHz stereo 16-bit until setOutputFormat.
struct AudioOutput {
    int32_t channels = 2;
    uint32_t rate = 44100;
    int32_t bits = 16;
};

// Reference-counted: each successful openAudio needs one closeAudio. False: no device (then
// nothing else here has any effect and createBuffer gives null).
bool openAudio();
void closeAudio();
bool audioOpen();
// Reconfigures the mixer and the device; false (and nothing changed) for an output the device
// refuses: channels 1 or 2, bits 8 or 16, 100..100000 Hz.
bool setOutputFormat(int32_t channels, uint32_t rate, int32_t bits);
AudioOutput outputFormat();

// A static buffer of PCM samples that the mixer plays once or looping.
struct SoundBuffer;

// Null when the device is not open, or for anything but PCM 8/16-bit, mono or stereo,
// 100..100000 Hz (plain or extensible), 4 bytes to 64 MiB in whole blocks. The buffer starts
// silent, stopped at 0, at the format's rate, volume 0 and pan 0.
SoundBuffer* createBuffer(const WaveFormat& format, uint32_t bytes);
// As createBuffer, for a stream refilled while it plays: it always circles, and a lock taken
// while it plays stages only the locked bytes, copied into place at unlock, so a refill never
// copies the whole buffer and the play cursor (which follows the output) never waits long.
SoundBuffer* createStreamBuffer(const WaveFormat& format, uint32_t bytes);
void destroyBuffer(SoundBuffer*);  // null does nothing
uint32_t bufferBytes(const SoundBuffer*);

// Write access to `bytes` from `offset` (0 bytes: the whole buffer), wrapping at the end into a
// second region. The mixer is not held while the lock is open: a stopped buffer is kept out of
// the mix until unlockBuffer, and a playing one goes on playing its old bytes until the new ones
// are swapped in at unlockBuffer. One lock per buffer at a time.
struct BufferLock {
    SoundBuffer* buffer = nullptr;
    uint8_t* first = nullptr;
    uint32_t firstBytes = 0;
    uint8_t* second = nullptr;
    uint32_t secondBytes = 0;
};
BufferLock lockBuffer(SoundBuffer*, uint32_t offset, uint32_t bytes);  // empty lock on failure
void unlockBuffer(const BufferLock&);

void play(SoundBuffer*, bool loop);  // from the current position
void stop(SoundBuffer*);             // keeps the position
bool isPlaying(const SoundBuffer*);
bool isLooping(const SoundBuffer*);
uint32_t position(const SoundBuffer*);  // play cursor in bytes
void setPosition(SoundBuffer*, uint32_t bytes);
void setVolume(SoundBuffer*, int32_t hundredthsDb);  // -10000 (silent) .. 0
void setPan(SoundBuffer*, int32_t pan);              // -10000 (left) .. 10000 (right)
void setFrequency(SoundBuffer*, uint32_t hz);        // 100 .. 100000; other values ignored
int32_t volume(const SoundBuffer*);
int32_t pan(const SoundBuffer*);
uint32_t frequency(const SoundBuffer*);

// A client that adds its own stereo samples into each block (music, MIDI). mix is called on the
// audio thread with the sources held (sourceMutex in mixer.h), never the mixer, so decoding
// does not keep the mixer's voices waiting; it adds `frames` stereo frames of 16-bit scale
// into accum. State that mix reads changes only with the sources held.
struct AudioSource {
    virtual ~AudioSource();
    virtual void mix(int32_t* accumStereo, uint32_t frames, uint32_t outputRate) = 0;
};
void attachSource(AudioSource*);
void detachSource(AudioSource*);  // after it returns, mix is no longer running or called

// The simple system beep (the backend counts it; with a device open a short tone sounds).
void beep();
constexpr uint32_t beepMs = 150;  // how long the beep's tone lasts
// Plays the samples once through the mixer and returns when they have sounded (headless: the
// virtual clock moves on by their length), opening the device for that time. Without a format,
// for one no buffer accepts, or without a device, the beep sounds instead and is waited for.
// False when the beep stood in.
bool playToEnd(const WaveFormat* format, const uint8_t* samples, uint32_t bytes);

}  // namespace platform
