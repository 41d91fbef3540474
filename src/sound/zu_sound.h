/// @file
/// zuSound: the sound device and its table of 70 sound objects with up to ten mix slots each,
/// WAV reading and loading, sound packs, streamed sounds, playback, echo, MIDI music and the
/// system sounds.
#pragma once
#include <cstdint>
#include <vector>

namespace platform {
struct SoundBuffer;
}

/// The sound family: device, sound numbers, WAV loading and playback (@ref zusound).
namespace zuSound {

/// @defgroup zusound zuSound
/// The sound device and its 70 sound numbers, each with up to ten mix slots (buffers of its own
/// volume, pan and rate), WAV loading, playback and echo. Without a sound device every
/// operation does nothing and the loaders return -1, silently.

/// @defgroup sound_device Device and table
/// @ingroup zusound
/// zuDraw::Screen runs Init and ClearObjects; zuSystem::Quit runs Release.
/// @{

constexpr int32_t soundCount = 70;  ///< sound numbers 0 to 69
constexpr int32_t slotLimit = 10;   ///< mix slots per sound, at most
constexpr int32_t nameLimit = 30;   ///< longest name LoadObject accepts, in bytes
constexpr int32_t packPathLimit = 260;  ///< bytes of a pack's full path, its NUL included

/// Stream half of a sound number; a nonzero dataSize marks the sound as a stream. Offsets and
/// sizes are bytes; offsets are into the pack file, sizes and chunks whole sample frames.
struct SoundStream {
    uint32_t dataStart = 0;  ///< file offset of the first sample byte in the pack
    uint32_t loopStart = 0;  ///< file offset where a looping stream goes on after the end
    uint32_t readPos = 0;    ///< file offset of the next chunk to read
    uint32_t dataSize = 0;   ///< sample bytes of the entry; 0 for every sound that is no stream
    uint32_t consumed = 0;   ///< sample bytes read in the current pass
    uint32_t lastWriteStart = 0;  ///< buffer offset where the last refill began
    uint32_t writePos = 0;        ///< buffer offset where the next refill goes
    uint32_t halfSize = 0;    ///< largest chunk: 2 seconds of sound
    uint32_t bufferSize = 0;  ///< buffer size: 4 seconds of sound
    uint32_t wrapCursor = 0xFFFFFFFF;  ///< play cursor seen when refills wrapped; all ones for none
    uint32_t lastCursor = 0;  ///< play cursor seen at the last refill
    uint8_t endCountdown = 0;  ///< 0 while data remains; refills count it down from 2 at the end
    char packPath[packPathLimit] = {};  ///< full path of the pack the sound came from (streams
                                        ///< and pack sounds: re-creation reads it again)
    uint16_t blockAlign = 0;  ///< bytes of one sample frame
    uint8_t silence = 0;      ///< the byte of silence: 0x80 for 8-bit samples, else 0
};

/// One sound number: its mix slots and their settings, kept so the table can be rebuilt.
struct SoundObject {
    int32_t used = 0;       ///< 1 while the number holds a loaded sound
    int32_t slotCount = 1;  ///< mix slots, 0 to 10; 1 while the number is free
    platform::SoundBuffer* buffers[slotLimit] = {};  ///< one buffer per slot; null when not made
    int32_t volume[slotLimit] = {};      ///< hundredths of a decibel, -10000..0
    uint32_t frequency[slotLimit] = {};  ///< Hz
    int32_t pan[slotLimit] = {};         ///< -10000 (left)..10000 (right)
    uint32_t savedPosition[slotLimit] = {};  ///< play cursor in bytes kept by Pause
    uint32_t baseFrequency = 0;  ///< the WAV's own rate in Hz
    int32_t nextSlot = 0;  ///< the slot the next start in turn uses
    int32_t echoState = -1;  ///< -1 none, 0 idle, n >= 1 the n-th repeat comes next
    float echoTimer = 0;  ///< milliseconds since the last repeat
    float echoPan = 0;    ///< the wandering pan of EchoPan, -30 to 30 (steps of 100)
    int32_t echoLooping = 0;    ///< 1 when the echo was started by PlayLoop
    int32_t echoDirection = 1;  ///< +1 or -1: where echoPan wanders
    int32_t looping = 0;  ///< 1 when last started by PlayLoop, 0 by Play
    int32_t fromPack = 0;  ///< 1 when the sound came from a pack, else 0
    char name[nameLimit + 1] = {};  ///< the name it was loaded by; reloads use it
};

/// The device and the table.
struct SoundState {
    int32_t device = 0;   ///< 1 while we hold the audio output
    int32_t primary = 0;  ///< 1 while the output format is ours to set
    int32_t enabled = 0;  ///< 1 after a successful Init; 0: every operation does nothing
    int32_t reloading = 0;  ///< 1 while Restore or SelectFormat rebuild the table
    int32_t current = 0;    ///< the sound number a loader is filling
    char packPath[packPathLimit] = {};  ///< full path of the current sound pack; empty: none
    SoundObject objects[soundCount];  ///< by sound number
    SoundStream streams[soundCount];  ///< by sound number
};

extern SoundState soundState;  ///< the device and the table

/// Opens the sound device (a second call first releases it).
/// @return 1 ready; 0, silently, without a device: the program runs silent
int32_t Init();
/// Frees every sound number and its buffers, settings and name.
void ClearObjects();
/// Stops and frees every buffer and closes the device; the table keeps names and settings.
void Release();
/// Opens the device again and reloads every sound with its settings, stopped (nothing without
/// a device).
void Restore();
/// Stops and frees one sound number; a free number or one outside 0 to 69 is left alone.
void ReleaseObject(int32_t number);
/// Sets the output format and reloads every sound. `rate` is Hz, or 8, 11, 22, 44 for 8000,
/// 11025, 22050, 44100 Hz; `bits` per sample.
/// @return 1 (also without a device); 0 after the error report captioned
/// "zuSound::SelectFormat": "再生フォーマットを変更できません" (sounds then stay silent)
int32_t SelectFormat(int32_t channels, int32_t rate, int32_t bits);

/// @}

/// @defgroup sound_wave WAV reading and loading
/// @ingroup zusound
/// @{

/// Reads a WAV file (RIFF "WAVE" with "fmt " and "data" chunks in either order). The format block
/// is a stored WAVEFORMATEX: 18 bytes with cbSize set to the count of extra bytes behind them;
/// `data` is the "data" chunk as stored. `path` is a full path, in the framework's form.
/// @return 0 read; 1 failed (both outputs empty), never a box
int32_t ReadWave(const char* path, std::vector<uint8_t>& format, std::vector<uint8_t>& data);
/// Loads a WAV into the lowest free sound number. `name` is a file relative to the program's
/// folder, else a WAVE or RCDATA resource; |mix| is the number of mix slots (0 to 10), and a
/// mix above 1 makes the echo available. @return the sound number; -1 without a device
/// (silently) or after the error report captioned "zuSound::LoadObject": "ミックス数が多過ぎます",
/// "ファイル名またはリソース名が長すぎます" (over 30 bytes), "オブジェクト数が多過ぎます",
/// "WAVEリソースが見つかりません" or "サウンドバッファが生成できません"
int32_t LoadObject(const char* name, int32_t mix);

/// @}

/// @defgroup sound_pack Sound packs and streams
/// @ingroup zusound
/// A pack is one file of entries, each a WAV's data size, name (its file name without folder, in
/// upper case, NUL-terminated), format size, format and data; integers 32-bit little-endian.
/// Loads search the current pack for the first entry of a name, in any ASCII case. A stream
/// plays a long entry through a buffer of 4 seconds that Streaming refills from the pack in
/// chunks of up to 2 seconds; it is started, stopped and shaped with the playback operations
/// (mix is ignored: a stream has one slot), and every start begins at the start of its data.
/// @{

/// Names the pack later loads read: `name` relative to the program's folder.
/// @return 1; 0 when the full path would not fit in packPathLimit bytes (there is then no pack,
/// and loads report that none is set)
int32_t SetPackFile(const char* name);
/// Loads the entry `name` (a file name without folder, any case, at most 30 bytes) of the
/// current pack into the lowest free sound number, as LoadObject loads a file.
/// @return the sound number; -1 without a device (silently) or after the error report captioned
/// "zuSound::LoadPack": "ミックス数が多過ぎます", "ファイル名が長すぎます" (checked first),
/// "オブジェクト数が多過ぎます", "パックファイル名が指定されていません" (no pack, or it cannot be
/// opened), "WAVEファイルを読み込めません" (no such entry, an empty or malformed one, or a pack
/// cut short) or "サウンドバッファが生成できません"
int32_t LoadPack(const char* name, int32_t mix);
/// Appends an entry for every "*.WAV" in `folder` (relative to the program's folder; empty for
/// the folder itself), in name order, to the pack `packName` (relative to the program's folder),
/// deleting it first when `fresh` is nonzero. Nothing is reported. @return 1
int32_t MakePack(const char* packName, const char* folder, int32_t fresh);
/// Appends one entry to the pack `packName`: the WAV at `path` (relative to the program's
/// folder), named by the part of `path` after its last `\`, upper-cased. A WAV that cannot be
/// read is entered with sizes 0, which loads refuse; a name over 259 bytes is not entered.
/// @return 1 when the WAV was read and entered; 0 otherwise
int32_t AddToPack(const char* packName, const char* path);
/// Makes the entry `name` of the current pack a stream in the lowest free sound number: one
/// buffer of 4 seconds, its first 2 seconds filled, stopped. An entry under 5 whole seconds is
/// loaded as LoadPack(name, 1) instead. A looping stream goes on from `loopOffset` bytes into
/// the data (rounded down to whole sample frames).
/// @return the sound number; -1 without a device (silently) or after the error report captioned
/// "zuSound::LoadStream": "ファイル名が長すぎます" (checked first), "オブジェクト数が多過ぎます",
/// "パックファイル名が指定されていません", "WAVEファイルを読み込めません", "ストリーミング再生できません"
/// (nAvgBytesPerSec other than rate × block align, or a loop offset at or past the end of the
/// data) or "サウンドバッファが生成できません"
int32_t LoadStream(const char* name, uint32_t loopOffset);
/// Puts a stream back to the start of its data, its first 2 seconds in the buffer; every start
/// does this.
/// @return 1; 0 without a device, for a number that is no stream, or after the error report
/// captioned "zuSound::ResetStream": "パックファイル名が指定されていません" or
/// "ストリーミング再生できません" (the seek failed)
int32_t ResetStream(int32_t number);
/// Refills every playing stream whose last chunk has begun to play; call it once per frame, at
/// least every 2 seconds. At the end of its data a stream started by PlayLoop goes on from its
/// loop offset; one started by Play plays out, then stops and rewinds. Bytes the pack no longer
/// holds (it changed on disk) play as silence.
/// @return 1; 0 without a device, or after the error report captioned "zuSound::Streaming":
/// "パックファイル名が指定されていません" or "ストリーミング再生できません"; the failing stream is
/// then stopped (so it is reported once) and later numbers wait for the next call
int32_t Streaming();

/// @}

/// @defgroup sound_playback Playback, mix slots and echo
/// @ingroup zusound
/// `mix` chooses slots: 0 or more that slot (nothing when the sound has no such slot); -1 for
/// starts the next slot in turn, for the rest every slot; -2 for starts the next slot in turn
/// and an echo when the sound has one, for volume, pan and rate the slot next in turn, for Stop
/// and Pause every slot. Numbers out of range or free are ignored. Settings are kept
/// per slot: volume in whole decibels (-100 to 0), pan and rate in steps of 100 (pan -100 to
/// 100, rate 100 to 100000 Hz); values outside are held at the limits.
/// @{

/// Starts slots once from the beginning.
void Play(int32_t number, int32_t mix);
/// Starts slots looping from the beginning.
void PlayLoop(int32_t number, int32_t mix);
/// Stops slots and rewinds them; with a negative mix a running echo ends too.
void Stop(int32_t number, int32_t mix);
/// Per slot: a playing slot stops and keeps its place; any other resumes from its kept place
/// (looping when last started by PlayLoop; a stream resumes circling, refilled by Streaming).
void Pause(int32_t number, int32_t mix);
/// Rate += step × 100 Hz.
void AddFrequency(int32_t number, int32_t step, int32_t mix);
/// Rate = the WAV's own rate.
void ResetFrequency(int32_t number, int32_t mix);
/// Rate = the WAV's own rate + value × 100 Hz.
void SetFrequency(int32_t number, int32_t value, int32_t mix);
/// Pan += step × 100.
void AddPan(int32_t number, int32_t step, int32_t mix);
/// Pan = 0, the centre.
void ResetPan(int32_t number, int32_t mix);
/// Pan = value × 100: -100 full left, 100 full right.
void SetPan(int32_t number, int32_t value, int32_t mix);
/// Pan full left.
void PanLeft(int32_t number, int32_t mix);
/// Pan full right.
void PanRight(int32_t number, int32_t mix);
/// Volume += step decibels.
void AddVolume(int32_t number, int32_t step, int32_t mix);
/// Volume = 0 dB, full.
void ResetVolume(int32_t number, int32_t mix);
/// Volume = value decibels (0 full, -100 silent).
void SetVolume(int32_t number, int32_t value, int32_t mix);
/// The echo, once per frame after a Play or PlayLoop with mix -2: every `interval` milliseconds
/// the next slot sounds again, `decay` decibels quieter each time, `count` times.
void Echo(int32_t number, int32_t interval, int32_t count, int32_t decay);
/// As Echo, with a pan that wanders between -30 and 30 (steps of 100) at `panSpeed`.
void EchoPan(int32_t number, int32_t interval, int32_t count, int32_t decay, int32_t panSpeed);
/// @return the play cursor of slot 0 in bytes; 0 without a buffer or for a number out of range
uint32_t GetPosition(int32_t number);

/// @}

/// @addtogroup sound_device
/// @{

/// The simple beep of the error report.
void Beep();
/// Plays a WAV file once and returns when it has sounded: the device and every buffer are given
/// up first and rebuilt afterwards (Release, then Restore), so every loaded sound is back with
/// its number, slots, volume, pan and rate. `name` is a path in the framework's form, read as
/// given; a missing or unplayable file sounds the beep instead. Headless, the virtual clock
/// moves on by the sound's length.
void PlaySystemSound(const char* name);

/// @}

/// @defgroup sound_midi MIDI music
/// @ingroup zusound
/// One MIDI file at a time under the sequencer alias "midi", repeated at its end while `repeat`
/// is 1: the end of a play arrives as MM_MCINOTIFY at the window procedure, which calls
/// MidiNotify. Errors of the sequencer are not examined and nothing is reported.
/// @{

/// The MIDI record.
struct MidiState {
    int32_t open = 0;    ///< 1 while a file is open under the alias "midi" (also after a failed open)
    int32_t repeat = 1;  ///< 1: the piece starts again at its end; 0: it is closed at its end
};

extern MidiState midiState;  ///< the MIDI record

/// Sets `open` to 0 and `repeat` to 1 (the screen set-up calls it). @return 1
int32_t InitMidi();
/// Closes the open piece, then opens `name` (relative to the program's folder), plays it from its
/// start with the end notified, and sets `open` to 1 and `repeat` to `repeat`. A path that
/// does not fit the 256-byte open command, or one holding a double quote, opens nothing and
/// leaves the record as a failed open does.
void PlayMidi(const char* name, int32_t repeat);
/// The end of a play: with `repeat` 1 the piece plays again from its start, else it is closed.
void MidiNotify();
/// Stops and closes the piece when one is open; sends nothing otherwise.
void CloseMidi();
/// Stops and closes the piece whatever the record says; `open` keeps its value.
void StopMidi();
/// Sets `repeat` to 0: the piece now playing is closed when it ends.
void EndMidiLoop();
/// Closes the piece and frees the synthesizer (zuSystem::Quit calls it).
void QuitMidi();

/// @}

}  // namespace zuSound
