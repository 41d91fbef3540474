// The MIDI sequencer, driven by command strings:
//   open "<path>" type sequencer alias <name>   seek <name> to start   play <name> [notify]
//   stop <name>   close <name>   status <name> mode (answers playing, stopped, paused or not ready)
// Keywords are case-insensitive. Any other string returns an error and changes nothing. Events
// are placed at their sample on the mixer's timeline and rendered by the synthesizer into the
// mixer; without a sound font the piece keeps its time in silence. A play with notify ends with
// MM_MCINOTIFY posted to the window on the main thread, as events are pumped: wParam
// MCI_NOTIFY_SUCCESSFUL at its end, MCI_NOTIFY_ABORTED when stop, seek or close cut it short,
// MCI_NOTIFY_SUPERSEDED when another play with notify takes its place; lParam sequencerDeviceId.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct Window;

namespace midi {

constexpr uint32_t commandDone = 0;
constexpr uint32_t commandUnknown = 1;   // not one of the commands above
constexpr uint32_t deviceNotOpen = 2;    // the alias names no open piece
constexpr uint32_t fileUnreadable = 3;   // missing, or not a MIDI file
constexpr uint32_t aliasInUse = 4;       // a piece is open already
constexpr uint32_t noOutput = 5;         // no audio device
constexpr uint32_t sequencerDeviceId = 1;

// Runs one command; `reply` (replyBytes with its terminating zero, may be null) gets the status
// answer, else an empty text. `notify` is the window a play with notify reports to.
uint32_t sendCommand(const char* command, char* reply = nullptr, uint32_t replyBytes = 0, Window* notify = nullptr);

// Posts the notification of a piece that has ended (called as events are pumped).
void deliverNotices();

// Closes the piece, leaves the mixer and frees the synthesizer (at quit; tests start afresh).
void shutDownSequencer();

// What the sequencer was told, and what it reported, in order, for tests: each command with its
// result, and each notification as "notify successful|aborted|superseded". `frame` is the
// sequencer's place on the mixer's timeline (frames mixed since it joined the mixer); for an end
// it is the exact frame where the piece ended.
struct LogEntry {
    std::string text;
    uint32_t result = 0;
    uint64_t frame = 0;
};
std::vector<LogEntry> sequencerLog();
void clearSequencerLog();
// The frame of each event of the open piece, counted from the piece's start at the output rate,
// and the frame of its end, last (for tests).
std::vector<uint64_t> scheduledFrames();

}  // namespace midi
}  // namespace platform
