// The sequencer: the command interpreter on the main thread, and a mixer source that moves the
// open piece on by the frames it mixes, hands each event to the synthesizer at the start of the
// block that holds its frame and notes the exact frame where the piece ends. The source's
// fields change only with the sources held; the notification is posted from the main thread.
#include "platform/audio/midi_sequencer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/audio/audio.h"
#include "platform/audio/midi_file.h"
#include "platform/audio/midi_synth.h"
#include "platform/audio/mixer.h"
#include "platform/backend.h"
#include "platform/os/files.h"
#include "platform/os/window.h"
#include "platform/win32.h"

namespace platform::midi {
namespace {

constexpr size_t largestMidiFile = 16u << 20;
constexpr uint32_t tailSeconds = 2;  // reverb and releases go on sounding after a stop

uint64_t frameAt(double seconds, uint32_t rate) {
    const double frames = std::floor(seconds * rate + 0.5);
    return frames >= 0x1p62 ? uint64_t(1) << 62 : uint64_t(frames);
}

class SequencerSource : public AudioSource {
public:
    std::unique_ptr<MidiSong> song;
    Synth* synth = nullptr;
    uint32_t rate = 44100;     // the rate `position` counts in
    bool playing = false;
    uint64_t position = 0;     // frames from the piece's start
    size_t nextEvent = 0;
    int64_t offset = 0;        // synthesizer frame minus piece frame while playing
    uint64_t synthFrames = 0;  // synthesizer frames handed out
    uint64_t timeline = 0;     // frames mixed since joining the mixer
    bool ended = false;        // the piece reached its end; the notice is not yet posted
    uint64_t endedAt = 0;

    void mix(int32_t* accum, uint32_t frames, uint32_t outputRate) override {
        if (outputRate != rate && outputRate != 0) {
            position = position * outputRate / rate;
            rate = outputRate;
        }
        const uint64_t start = timeline;
        timeline += frames;
        if (synth && synthRate(synth) == rate && keepRendering(frames)) render(accum, frames);
        if (!playing) return;
        const uint64_t end = frameAt(song->lengthSeconds, rate);
        if (position < end && end - position > frames) {
            position += frames;
            return;
        }
        endedAt = start + (position < end ? end - position : 0);
        position = end;
        playing = false;
        ended = true;
        applyDue(UINT64_MAX);  // the last note-offs, even those past the last block
    }

    void startPlaying() {
        playing = true;
        blockLeft = 0;  // the next block starts on the piece's frame
        offset = int64_t(synthFrames) - int64_t(position);
        quietFrames = 0;
    }
    void rewind() {
        position = 0;
        nextEvent = 0;
        ended = false;
        if (synth) resetChannels(synth);
    }
    void applyDue(uint64_t beforeFrame) {
        while (song && nextEvent < song->events.size() && frameAt(song->events[nextEvent].seconds, rate) < beforeFrame) {
            const MidiEvent& e = song->events[nextEvent++];
            if (synth) sendEvent(synth, e.status, e.data1, e.data2);
        }
    }

private:
    float left_[synthBlockFrames] = {}, right_[synthBlockFrames] = {};
    uint32_t blockLeft = 0;
    uint64_t quietFrames = 0;

    // Tails ring for at most tailSeconds after a stop (a held pedal or an endless sample would
    // otherwise keep the synthesizer running, and costing, for good); then they are cut.
    bool keepRendering(uint32_t frames) {
        if (playing) {
            quietFrames = 0;
            return true;
        }
        quietFrames += frames;
        if (quietFrames <= uint64_t(tailSeconds) * rate) return true;
        if (sounding(synth)) silence(synth);
        return false;
    }

    void render(int32_t* accum, uint32_t frames) {
        for (uint32_t done = 0; done < frames;) {
            if (blockLeft == 0) {
                // Events apply at block starts: each at the start of the block that holds its
                // frame, which the synthesizer's own attack then about evens out.
                if (playing) applyDue(uint64_t(int64_t(synthFrames) - offset) + synthBlockFrames);
                renderBlock(synth, left_, right_);
                blockLeft = synthBlockFrames;
            }
            const uint32_t count = std::min(blockLeft, frames - done);
            const uint32_t from = synthBlockFrames - blockLeft;
            for (uint32_t i = 0; i < count; ++i) {
                accum[2 * (done + i)] += int32_t(std::lrint(left_[from + i] * 32767.0f));
                accum[2 * (done + i) + 1] += int32_t(std::lrint(right_[from + i] * 32767.0f));
            }
            blockLeft -= count;
            synthFrames += count;
            done += count;
        }
    }
};

struct Sequencer {
    SequencerSource source;
    Backend* joinedOn = nullptr;  // the backend whose device we hold open, or null
    std::string alias;            // the open piece's alias, empty when none is open
    Window* notifyWindow = nullptr;  // set while a play with notify is under way
    std::vector<LogEntry> log;
};

// Never destroyed: an audio thread still running at exit may mix the source to the last.
Sequencer& sequencer() {
    static Sequencer* s = new Sequencer;
    return *s;
}

uint64_t timelineNow() {
    std::lock_guard<std::mutex> hold(sourceMutex());
    return sequencer().source.timeline;
}

void post(uintptr_t outcome, uint64_t frame) {
    Sequencer& s = sequencer();
    if (!s.notifyWindow) return;
    postMessage(s.notifyWindow, MM_MCINOTIFY, outcome, intptr_t(sequencerDeviceId));
    const char* name = outcome == MCI_NOTIFY_SUCCESSFUL ? "notify successful"
                       : outcome == MCI_NOTIFY_SUPERSEDED ? "notify superseded"
                                                          : "notify aborted";
    s.log.push_back({name, commandDone, frame});
    s.notifyWindow = nullptr;
}

// Back to a closed sequencer that holds no device, keeping only the synthesizer. The source
// must be out of the mixer.
void resetSource() {
    Sequencer& s = sequencer();
    Synth* synth = s.source.synth;
    s.source = {};
    s.source.synth = synth;
    s.alias.clear();
    s.notifyWindow = nullptr;
}

// A new backend has none of our device, piece or window: start again from nothing.
void leaveStaleMixer() {
    Sequencer& s = sequencer();
    if (!s.joinedOn || s.joinedOn == &backend()) return;
    detachSource(&s.source);
    s.joinedOn = nullptr;
    resetSource();
}

// The device held open while we are in the mixer (one reference of openAudio).
bool joinMixer() {
    Sequencer& s = sequencer();
    if (s.joinedOn && audioOpen()) return true;
    if (s.joinedOn) {  // closed under us: our reference is gone with it
        detachSource(&s.source);
        s.joinedOn = nullptr;
        std::lock_guard<std::mutex> hold(sourceMutex());
        s.source.timeline = 0;
    }
    if (!openAudio()) return false;
    s.joinedOn = &backend();
    attachSource(&s.source);
    return true;
}

// A synthesizer for the current font and output rate, made (outside the lock) when it changed.
void prepareSynth() {
    SequencerSource& source = sequencer().source;
    const std::string font = soundFontPath();
    const uint32_t rate = outputFormat().rate;
    Synth* old = source.synth;
    if (old && synthRate(old) == rate && synthSoundFont(old) == font) return;
    Synth* made = createSynth(font, rate);
    {
        std::lock_guard<std::mutex> hold(sourceMutex());
        source.synth = made;
    }
    destroySynth(old);
}

bool readWhole(const std::string& path, std::vector<uint8_t>& bytes) {
    FILE* file = openFile(path.c_str(), "rb");
    if (!file) return false;
    uint8_t chunk[65536];
    for (size_t n; bytes.size() <= largestMidiFile && (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(file);
    return bytes.size() <= largestMidiFile;
}

// Words separated by blanks; a word in double quotes may hold blanks (and never a quote).
bool splitWords(const char* command, std::vector<std::string>& words) {
    for (const char* p = command;;) {
        while (*p == ' ' || *p == '\t') ++p;
        if (*p == '\0') return true;
        if (*p == '"') {
            const char* close = std::strchr(p + 1, '"');
            if (!close) return false;
            words.emplace_back(p + 1, close);
            p = close + 1;
            if (*p != '\0' && *p != ' ' && *p != '\t') return false;
            continue;
        }
        const char* start = p;
        while (*p && *p != ' ' && *p != '\t' && *p != '"') ++p;
        if (*p == '"') return false;
        words.emplace_back(start, p);
    }
}

// Keywords and aliases compare without regard to case.
bool same(const std::string& word, const std::string& other) {
    if (word.size() != other.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(word[i])) != std::tolower(static_cast<unsigned char>(other[i])))
            return false;
    return true;
}

bool isWords(const std::vector<std::string>& w, std::initializer_list<const char*> pattern) {
    if (w.size() != pattern.size()) return false;
    size_t i = 0;
    for (const char* p : pattern) {
        if (p && !same(w[i], p)) return false;
        ++i;
    }
    return true;
}

uint32_t openPiece(const std::string& path, const std::string& alias) {
    Sequencer& s = sequencer();
    if (!s.alias.empty()) return aliasInUse;
    if (!joinMixer()) return noOutput;
    std::vector<uint8_t> bytes;
    auto song = std::make_unique<MidiSong>();
    if (!readWhole(path, bytes) || !readMidiFile(bytes.data(), bytes.size(), *song)) return fileUnreadable;
    prepareSynth();
    std::lock_guard<std::mutex> hold(sourceMutex());
    s.source.song = std::move(song);
    s.source.playing = false;
    s.source.rewind();
    s.alias = alias;
    return commandDone;
}

// Stops the piece; a play with notify under way is reported aborted.
void stopPiece(bool releaseNotes) {
    Sequencer& s = sequencer();
    bool wasPlaying;
    uint64_t now;
    {
        std::lock_guard<std::mutex> hold(sourceMutex());
        wasPlaying = s.source.playing;
        s.source.playing = false;
        if (releaseNotes && s.source.synth) midi::releaseNotes(s.source.synth);
        now = s.source.timeline;
    }
    if (wasPlaying) post(MCI_NOTIFY_ABORTED, now);
}

uint32_t runOnOpenPiece(const std::vector<std::string>& w, std::string& answer, Window* notify) {
    Sequencer& s = sequencer();
    SequencerSource& source = s.source;
    if (isWords(w, {"seek", nullptr, "to", "start"})) {
        stopPiece(false);
        std::lock_guard<std::mutex> hold(sourceMutex());
        source.rewind();
    } else if (isWords(w, {"play", nullptr}) || isWords(w, {"play", nullptr, "notify"})) {
        uint64_t now;
        {
            std::lock_guard<std::mutex> hold(sourceMutex());
            if (!source.playing) source.startPlaying();
            now = source.timeline;
        }
        if (w.size() == 3) {
            post(MCI_NOTIFY_SUPERSEDED, now);
            s.notifyWindow = notify;
        }
    } else if (isWords(w, {"stop", nullptr})) {
        stopPiece(true);
    } else if (isWords(w, {"close", nullptr})) {
        stopPiece(true);
        std::unique_ptr<MidiSong> doomed;  // freed after the sources are let go
        {
            std::lock_guard<std::mutex> hold(sourceMutex());
            doomed = std::move(source.song);
            source.rewind();
        }
        s.alias.clear();
    } else if (isWords(w, {"status", nullptr, "mode"})) {
        std::lock_guard<std::mutex> hold(sourceMutex());
        answer = !audioOpen() || s.joinedOn != &backend() ? "not ready" : source.playing ? "playing" : "stopped";
    } else {
        return commandUnknown;
    }
    return commandDone;
}

uint32_t run(const char* command, std::string& answer, Window* notify) {
    std::vector<std::string> w;
    if (!command || !splitWords(command, w) || w.size() < 2) return commandUnknown;
    if (isWords(w, {"open", nullptr, "type", "sequencer", "alias", nullptr})) return openPiece(w[1], w[5]);
    const bool known = isWords(w, {"seek", nullptr, "to", "start"}) || isWords(w, {"play", nullptr}) ||
                       isWords(w, {"play", nullptr, "notify"}) || isWords(w, {"stop", nullptr}) ||
                       isWords(w, {"close", nullptr}) || isWords(w, {"status", nullptr, "mode"});
    if (!known) return commandUnknown;
    if (sequencer().alias.empty() || !same(w[1], sequencer().alias)) return deviceNotOpen;
    return runOnOpenPiece(w, answer, notify);
}

}  // namespace

uint32_t sendCommand(const char* command, char* reply, uint32_t replyBytes, Window* notify) {
    deliverNotices();  // a piece that has ended says so before anything changes it
    std::vector<LogEntry>& log = sequencer().log;
    log.push_back({command ? command : "", commandDone, timelineNow()});
    const size_t entry = log.size() - 1;  // the notices a command causes come after it
    std::string answer;
    const uint32_t result = run(command, answer, notify);
    log[entry].result = result;
    if (reply && replyBytes > 0) {
        const size_t n = std::min<size_t>(answer.size(), replyBytes - 1);
        std::memcpy(reply, answer.data(), n);
        reply[n] = '\0';
    }
    return result;
}

void deliverNotices() {
    leaveStaleMixer();
    Sequencer& s = sequencer();
    uint64_t endedAt;
    {
        std::lock_guard<std::mutex> hold(sourceMutex());
        if (!s.source.ended) return;
        s.source.ended = false;
        endedAt = s.source.endedAt;
    }
    post(MCI_NOTIFY_SUCCESSFUL, endedAt);
}

void shutDownSequencer() {
    Sequencer& s = sequencer();
    if (!s.alias.empty()) sendCommand(("close " + s.alias).c_str());
    if (s.joinedOn) {
        detachSource(&s.source);
        if (s.joinedOn == &backend() && audioOpen()) closeAudio();
        s.joinedOn = nullptr;
    }
    destroySynth(s.source.synth);
    s.source.synth = nullptr;
    resetSource();
}

std::vector<LogEntry> sequencerLog() { return sequencer().log; }
void clearSequencerLog() { sequencer().log.clear(); }

std::vector<uint64_t> scheduledFrames() {
    std::lock_guard<std::mutex> hold(sourceMutex());
    const SequencerSource& source = sequencer().source;
    std::vector<uint64_t> frames;
    if (!source.song) return frames;
    for (const MidiEvent& e : source.song->events) frames.push_back(frameAt(e.seconds, source.rate));
    frames.push_back(frameAt(source.song->lengthSeconds, source.rate));
    return frames;
}

}  // namespace platform::midi
