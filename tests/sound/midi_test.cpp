// MIDI and system sounds on the headless mixer: file reader, sequencer, zuSound's loop, PlaySystemSound.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "platform/audio/midi_file.h"
#include "platform/audio/midi_sequencer.h"
#include "platform/audio/midi_synth.h"
#include "support/midi_writer.h"
#include "support/sound_program.h"

namespace {

using test::MidiTrack;
using Texts = std::vector<std::string>;

constexpr uint16_t division = 480;        // ticks to the quarter: 960 a second at 120 a minute
constexpr uint32_t framesPerFrame = 706;  // the most one 16 ms frame mixes at 44.1 kHz

std::vector<uint8_t> notePiece(uint32_t onTick, uint32_t offTick) {
    return test::midiFile(0, division, {MidiTrack().event(0, {0xC0, 0}).event(onTick, {0x90, 60, 127})
                                            .event(offTick - onTick, {0x80, 60, 0}).end()});
}

// 480 ticks at 120 a minute (0.5 s), 480 at 60 (1 s) to the note-off, 240 more (0.5 s) to the end.
std::vector<uint8_t> tempoChangePiece() {
    return test::midiFile(0, division, {MidiTrack().tempo(0, 500000).event(0, {0x90, 60, 100}).tempo(480, 1000000)
                                            .event(480, {0x80, 60, 0}).end(240)});
}

struct ReaderCase {
    const char* what;
    std::vector<uint8_t> file;
    bool accepted;
    std::vector<platform::midi::MidiEvent> events;  // seconds, status, data1, data2
    double length;
};

std::vector<ReaderCase> readerCases() {
    auto one = [](const MidiTrack& t, uint16_t timing = division) { return test::midiFile(0, timing, {t}); };
    std::vector<uint8_t> cut = notePiece(480, 960), format2 = cut;
    cut.resize(cut.size() - 5);  // into the note-off: past the end of the file, and no end of track
    format2[9] = 2;
    return {
        {"tempo_change", tempoChangePiece(), true, {{0, 0x90, 60, 100}, {1.5, 0x80, 60}}, 2},
        // At 240 a minute (1920 ticks a second) the conductor track ends last, at 0.5 s.
        {"format1_merged", test::midiFile(1, division, {MidiTrack().tempo(0, 250000).end(960),
                                          MidiTrack().event(0, {0x90, 60, 100}).event(480, {0x80, 60, 0}).end(),
                                          MidiTrack().event(240, {0x90, 64, 100}).event(240, {0x80, 64, 0}).end()}), true,
         {{0, 0x90, 60, 100}, {0.125, 0x90, 64, 100}, {0.25, 0x80, 60}, {0.25, 0x80, 64}}, 0.5},
        // SysEx, escaped SysEx, track name and unknown meta events are passed over; running status
        // carries the second note-on and note-off.
        {"running_status_sysex_meta", one(MidiTrack().event(0, {0xF0, 3, 1, 2, 0xF7}).event(0, {0xFF, 3, 2, 'n', 'm'})
                                              .event(480, {0x90, 60, 100}).event(0, {62, 100}).event(0, {0xF7, 1, 2})
                                              .event(0, {0xFF, 0x7F, 0}).event(480, {0x80, 60, 0}).event(0, {62, 0}).end()),
         true, {{0.5, 0x90, 60, 100}, {0.5, 0x90, 62, 100}, {1, 0x80, 60}, {1, 0x80, 62}}, 1},
        {"smpte_division", one(MidiTrack().tempo(0, 1000000).event(500, {0x90, 60, 100}).end(500), 0xE728), true,
         {{0.5, 0x90, 60, 100}}, 1},  // 25 frames a second of 40 ticks; the tempo does not count
        {"track_cut_short", cut, true, {{0, 0xC0, 0}, {0.5, 0x90, 60, 127}}, 0.5},
        {"five_byte_number", one(MidiTrack().event(0, {0x90, 60, 100}).raw({0x81, 0x81, 0x81, 0x81, 1, 0x90, 62, 1})), true,
         {{0, 0x90, 60, 100}}, 0},
        {"running_status_before_any", one(MidiTrack().event(0, {60, 100}).event(0, {0x90, 62, 100}).end()), true, {}, 0},
        {"format_2", format2, false, {}, 0},
        {"not_midi", test::wavImage({}, {0, 0, 0, 0}), false, {}, 0},
    };
}

TEST(MidiFile, ReadsEventsInTimeOrderAndKeepsWhatPrecedesDamage) {
    for (const ReaderCase& c : readerCases()) {
        SCOPED_TRACE(c.what);
        platform::midi::MidiSong song;
        ASSERT_EQ(platform::midi::readMidiFile(c.file.data(), c.file.size(), song), c.accepted);
        const auto key = [](const platform::midi::MidiEvent& e) {
            return std::tuple(std::lround(e.seconds * 1e6), e.status, e.data1, e.data2);
        };
        ASSERT_EQ(song.events.size(), c.events.size());
        for (size_t i = 0; i < c.events.size(); ++i) EXPECT_EQ(key(song.events[i]), key(c.events[i])) << i;
        EXPECT_NEAR(song.lengthSeconds, c.length, 1e-9);
    }
}

TEST(MidiCorpus, WritesSeeds) {
    const std::filesystem::path dir = corpusFolder("midi");
    if (dir.empty()) GTEST_SKIP() << "ZU_WRITE_CORPUS is not set";
    for (const ReaderCase& c : readerCases()) ASSERT_TRUE(test::writeBytes((dir / c.what).string() + ".mid", c.file));
}

// Sound and MIDI started as the screen set-up starts them; frames of 16 ms, then the messages.
class Midi : public SoundProgram {
protected:
    void SetUp() override {
        SoundProgram::SetUp();
        zuSound::InitMidi();
        platform::midi::clearSequencerLog();
    }
    void TearDown() override {
        zuSound::QuitMidi();
        unsetenv("ZU_SOUNDFONT");
        SoundProgram::TearDown();
    }
    // Frames until `done` holds (at most `limit`); whether all of them were silent.
    bool runFrames(int limit, bool (*done)() = [] { return false; }) {
        bool silent = true;
        for (int i = 0; i < limit && !done(); ++i) {
            for (uint8_t b : platform::headless::renderAudio(framesPerFrame)) silent = silent && b == 0;
            drainMessages();
        }
        return silent;
    }
    bool runToClose(int limit) { return runFrames(limit, [] { return zuSound::midiState.open == 0; }); }
    static std::vector<platform::midi::LogEntry> log() { return platform::midi::sequencerLog(); }
    static Texts texts(size_t from = 0) {
        Texts out;
        for (const auto& e : log()) out.push_back(e.text);
        return Texts(out.begin() + std::min(from, out.size()), out.end());
    }
    static size_t find(const std::string& text, size_t from = 0) {  // an index, or the log's size
        const Texts all = texts();
        return size_t(std::find(all.begin() + std::min(from, all.size()), all.end(), text) - all.begin());
    }
    // Frames from the first play with notify (from `from` on) to the end after it.
    static uint64_t playedFrames(size_t from = 0) {
        const size_t play = find("play midi notify", from), end = find("notify successful", play);
        return end < log().size() ? log()[end].frame - log()[play].frame : 0;
    }
    // Writes the piece into the MUSIC folder and plays it.
    void playPiece(const std::string& name, const std::vector<uint8_t>& piece, int32_t repeat) {
        write("MUSIC/" + name, piece);
        zuSound::PlayMidi(("MUSIC\\" + name).c_str(), repeat);
    }
    std::string openCommand(const std::string& name) const {
        return "open \"" + std::string(zuSystem::ModuleDir(0)) + name + "\" type sequencer alias midi";
    }
};

TEST_F(Midi, ANoteAtHalfASecondSoundsFromItsSampleWithinAMillisecond) {
    ASSERT_FALSE(platform::midi::soundFontPath().empty()) << "a General MIDI sound font (timgm6mb-soundfont)";
    playPiece("NOTE.MID", notePiece(480, 960), 0);
    EXPECT_EQ(platform::midi::scheduledFrames(), (std::vector<uint64_t>{0, 22050, 44100, 44100}));
    const std::vector<uint8_t> out = platform::headless::renderAudio(44100);
    const auto first = std::find_if(out.begin(), out.end(), [](uint8_t b) { return b != 0; }) - out.begin();
    EXPECT_NEAR(double(first / 4), 22050.0, 44.1);
}

TEST_F(Midi, RepeatStartsAgainWithinAFrameOfEachEndUntilEndMidiLoopClosesAtTheNext) {
    playPiece("LOOP.MID", notePiece(0, 240), 1);  // a quarter of a second
    runFrames(80);  // 1.28 s: five ends
    const auto e = log();
    size_t play = find("play midi notify"), ends = 0;
    for (size_t end; (end = find("notify successful", play)) < e.size(); play = end + 3, ++ends) {
        EXPECT_EQ(e[end].frame - e[play].frame, 11025u) << ends;
        EXPECT_EQ(e.at(end + 2).text + ", " + e.at(end + 3).text, "seek midi to start, play midi notify");
        EXPECT_LE(e[end + 3].frame - e[end].frame, framesPerFrame);
    }
    EXPECT_EQ(ends, 5u);
    zuSound::EndMidiLoop();
    runToClose(30);
    EXPECT_EQ(texts(e.size()), (Texts{"notify successful", "status midi mode", "stop midi", "close midi"}));
}

TEST_F(Midi, PlayMidiDuringAPieceClosesItAndPlaysTheNewOneFromItsStart) {
    playPiece("LONG.MID", notePiece(0, 1920), 1);
    runFrames(10);
    const size_t before = log().size();
    playPiece("SHORT.MID", notePiece(0, 240), 1);
    zuSound::EndMidiLoop();
    runToClose(40);
    // The old play is aborted; its notice reaches the window procedure and restarts nothing.
    EXPECT_EQ(texts(before), (Texts{"stop midi", "notify aborted", "close midi", openCommand("MUSIC\\SHORT.MID"),
                                    "seek midi to start", "play midi notify", "notify successful", "status midi mode",
                                    "stop midi", "close midi"}));
    EXPECT_EQ(playedFrames(before), 11025u);
}

// A missing file, a path the 256-byte open command cannot hold or with a quote (not sent): the
// piece before is closed, `open` stays 1, later commands fail quietly, a second CloseMidi sends nothing.
TEST_F(Midi, FailedOrRefusedOpensLeaveOpenAtOneAndCloseMidiThenSendsNothingMore) {
    const std::string longest(255 - openCommand("").size(), 'a');  // with its zero, 256 bytes
    for (const auto& [name, sent] : {std::pair(std::string("MUSIC\\NONE.MID"), true), {longest, true},
                                     {longest + "a", false}, {"MUSIC\\\"LONG.MID", false}}) {
        SCOPED_TRACE(name);
        playPiece("LONG.MID", notePiece(0, 1920), 1);
        platform::midi::clearSequencerLog();
        zuSound::PlayMidi(name.c_str(), 0);
        EXPECT_EQ(std::pair(zuSound::midiState.open, zuSound::midiState.repeat), std::pair(1, 0));
        EXPECT_TRUE(runFrames(10)) << "silent, with no notice";
        zuSound::CloseMidi(), zuSound::CloseMidi();
        Texts expected = {"stop midi", "notify aborted", "close midi", openCommand(name), "seek midi to start",
                          "play midi notify", "stop midi", "close midi"};
        if (!sent) expected.erase(expected.begin() + 3, expected.begin() + 6);
        EXPECT_EQ(texts(), expected);
        for (size_t i = 3; i < log().size(); ++i) EXPECT_NE(log()[i].result, platform::midi::commandDone) << i;
    }
}

// Without a sound font the piece keeps its time in silence; commands that are not the
// sequencer's change nothing; a second play with notify supersedes the first, which restarts nothing.
TEST_F(Midi, ATempoChangeEndsOnItsFrameThroughCommandsThatChangeNothingAndSilentWithoutAFont) {
    setenv("ZU_SOUNDFONT", (programFolder / "none.sf2").c_str(), 1);
    playPiece("TEMPO.MID", tempoChangePiece(), 0);
    using namespace platform::midi;
    for (const auto& [command, result] : {std::pair("", commandUnknown), {"seek midi to end", commandUnknown},
                                          {"open \"unclosed type sequencer alias x", commandUnknown},
                                          {"stop music", deviceNotOpen}, {"STATUS Midi MODE", commandDone}}) {
        char reply[8] = "x";
        EXPECT_EQ(sendCommand(command, reply, sizeof reply), result) << command;
        EXPECT_STREQ(reply, result == commandDone ? "playing" : "") << command;
    }
    const size_t before = log().size();
    sendCommand("play midi notify", nullptr, 0, zuSystem::systemState.window);
    EXPECT_TRUE(runToClose(200));
    EXPECT_EQ(texts(before), (Texts{"play midi notify", "notify superseded", "notify successful", "status midi mode",
                                    "stop midi", "close midi"}));
    EXPECT_EQ(playedFrames(), 88200u) << "0.5 s at 120 a minute, 1.5 s at 60";
}

TEST_F(Midi, QuitStopsTheMusicAndGivesUpTheDevice) {
    playPiece("LONG.MID", notePiece(0, 1920), 1);
    zuSystem::Quit();
    EXPECT_FALSE(platform::headless::audioDeviceOpen()) << "nothing holds the device any more";
    EXPECT_EQ(platform::midi::sendCommand("play midi"), platform::midi::deviceNotOpen);
}

using SystemSound = Midi;

TEST_F(SystemSound, WaitsTheSoundsLengthOrTheBeepsAndRestoresEverySound) {
    write("SOUND/TONE.WAV", test::wavImage({.rate = 22050}, test::pcm16(test::sine(440, 22050, 11025, 8000))));
    write("SOUND/DING.WAV", test::wavImage({.rate = 22050}, test::pcm16(test::sine(880, 22050, 2205, 8000))));
    write("SOUND/DEEP.WAV", test::wavImage({.bits = 24}, std::vector<uint8_t>(3000)));  // no buffer takes it
    ASSERT_EQ(zuSound::LoadObject("SOUND\\TONE.WAV", 3), 0);
    zuSound::SetVolume(0, -20, 1), zuSound::SetPan(0, 40, 2), zuSound::SetFrequency(0, 30, 0);
    const Slots before = slots(0);
    ASSERT_EQ(before, (Slots{{0, 0, 25050, false}, {-2000, 0, 22050, false}, {0, 4000, 22050, false}}));
    for (const auto& [name, waitMs, beeps] :
         {std::tuple("SOUND\\DING.WAV", 100u, 0), {"SOUND\\NONE.WAV", 150u, 1}, {"SOUND\\DEEP.WAV", 150u, 1}}) {
        const uint32_t clock = platform::headless::clock();
        const int32_t beepsBefore = platform::headless::beepCount();
        zuSound::PlaySystemSound((std::string(zuSystem::ModuleDir(0)) + name).c_str());
        EXPECT_EQ(platform::headless::clock() - clock, waitMs) << name;
        EXPECT_EQ(platform::headless::beepCount() - beepsBefore, beeps) << name;
        EXPECT_EQ(slots(0), before) << name;
    }
}

}  // namespace
