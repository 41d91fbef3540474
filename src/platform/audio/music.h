// Music: streamed files (WAV, FLAC, Ogg, MP3) and modules (XM, MOD, S3M, IT),
// decoded from memory inside the mixer's blocks and played across scene changes.
#pragma once
#include <cstdint>

namespace platform {

struct Window;

namespace music {

// init flags. 0x10 asks for 16-bit output. 0x40 asks that the output already runs at the
// requested rate: without it the music is resampled to whatever the mixer runs at, with it
// init fails when the output rate differs (so a first attempt with 0x50 fails after a change
// of output rate, and a fallback with 0x10 alone succeeds and resamples).
constexpr uint32_t kInitSixteenBits = 0x10;
constexpr uint32_t kInitExactRate = 0x40;

// openStream / loadModule flags.
constexpr uint32_t kLoop = 0x1;     // wrap to the start within the same block, with no gap
constexpr uint32_t kRamping = 0x4;  // modules: soften volume steps (libopenmpt volume ramping)

// channelFlags bits, describing the source's own data.
constexpr uint32_t kEightBitSource = 0x1;
constexpr uint32_t kMonoSource = 0x2;

// 0x20001: major version 2 in the high word, minor 1 in the low word, read by callers as "1.2".
uint32_t version();

// Attach to the platform mixer. Fails without an audio output, for any device other than -1
// (the default), for flags without 0x10 (8-bit output is not offered), and, with 0x40, when
// the output does not run at `rate`. A second successful init keeps the existing handles.
bool init(int32_t device, uint32_t rate, uint32_t flags, Window* window);
// Channels may sound from now on; false before a successful init.
bool start();
// Detach from the mixer and free every handle (called on shutdown; tests use it to reset).
void release();

// A file read whole into memory and decoded block by block. 0 on failure (missing file,
// unknown format, no init). Paths are Shift-JIS with '\' or '/', as the framework passes them.
uint32_t openStream(const char* path, uint32_t flags);
uint32_t loadModule(const char* path, uint32_t flags);

// kEightBitSource / kMonoSource of a live handle; 0 for 0 or an unknown handle.
uint32_t channelFlags(uint32_t handle);
// Start (or restart after a stop) the channel; false for an unknown handle.
bool play(uint32_t handle);
// Freeing 0, an unknown handle or a handle of the other kind does nothing and returns false.
// Handles are never reused.
bool freeStream(uint32_t handle);
bool freeModule(uint32_t handle);

}  // namespace music
}  // namespace platform
