// MIDI and the system sounds heard through the headless mixer: the file reader on sound and
// damaged files; the sequencer's timing (a note at its sample, ends after tempo changes, format
// 1 tracks merged), its commands, its log and its notifications; zuSound's loop on the virtual
// frame clock; the safe open command; PlaySystemSound's wait and rebuilt table; the fuzzer's seeds.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "draw/zu_draw.h"
#include "platform/audio/audio.h"
#include "platform/audio/midi_file.h"
#include "platform/audio/midi_sequencer.h"
#include "platform/audio/midi_synth.h"
#include "sound/zu_sound.h"
#include "support/fresh_program.h"
#include "support/midi_writer.h"
#include "support/wav_writer.h"
#include "system/zu_system.h"

namespace {

using platform::midi::LogEntry;
using test::MidiTrack;

// 480 ticks to the quarter note; at the start tempo (120 a minute) 960 ticks are a second.
constexpr uint16_t division = 480;
constexpr uint32_t framesPerFrame = 706;  // the most one 16 ms frame mixes at 44.1 kHz

// A note of `key` from `onTick` to `offTick`, then the end.
std::vector<uint8_t> notePiece(uint32_t onTick, uint32_t offTick, uint8_t key = 60) {
    MidiTrack t;
    t.event(0, {0xC0, 0}).event(onTick, {0x90, key, 127}).event(offTick - onTick, {0x80, key, 0}).end();
    return test::midiFile(0, division, {t});
}

// 480 ticks at 120 a minute (0.5 s), then at 60 a minute 480 ticks to the note-off (1 s) and
// 240 to the end (0.5 s): the note ends 1.5 s in, the track 2 s in.
std::vector<uint8_t> tempoChangePiece() {
    MidiTrack t;
    t.tempo(0, 500000).event(0, {0x90, 60, 100}).tempo(480, 1000000).event(480, {0x80, 60, 0}).end(240);
    return test::midiFile(0, division, {t});
}

// At 240 a minute (1920 ticks a second) the conductor track ends last, at 0.5 s.
std::vector<uint8_t> threeTrackPiece() {
    MidiTrack conductor, low, high;
    conductor.tempo(0, 250000).end(960);
    low.event(0, {0x90, 60, 100}).event(480, {0x80, 60, 0}).end();
    high.event(240, {0x90, 64, 100}).event(240, {0x80, 64, 0}).end();
    return test::midiFile(1, division, {conductor, low, high});
}

struct ReaderCase {
    const char* what;
    std::vector<uint8_t> file;
    bool accepted;
    std::vector<platform::midi::MidiEvent> events;  // seconds, status, data1, data2
    double length;
};

std::vector<ReaderCase> readerCases() {
    std::vector<ReaderCase> cases;
    {
        MidiTrack t;  // the second note-on and note-off ride on running status
        t.event(0, {0xC0, 5}).event(480, {0x90, 60, 100}).event(0, {62, 100}).event(480, {0x80, 60, 0}).event(0, {62, 0}).end();
        cases.push_back({"running_status", test::midiFile(0, division, {t}), true,
                         {{0, 0xC0, 5}, {0.5, 0x90, 60, 100}, {0.5, 0x90, 62, 100}, {1, 0x80, 60}, {1, 0x80, 62}}, 1});
    }
    cases.push_back({"tempo_change", tempoChangePiece(), true, {{0, 0x90, 60, 100}, {1.5, 0x80, 60}}, 2});
    cases.push_back({"format1_merged", threeTrackPiece(), true,
                     {{0, 0x90, 60, 100}, {0.125, 0x90, 64, 100}, {0.25, 0x80, 60}, {0.25, 0x80, 64}}, 0.5});
    {
        MidiTrack t;  // a SysEx, a track name, an escaped SysEx and an unknown meta are passed over
        t.event(0, {0xF0, 3, 1, 2, 0xF7}).event(0, {0xFF, 0x03, 4, 'n', 'a', 'm', 'e'}).event(480, {0x90, 60, 100});
        t.event(0, {0xF7, 2, 1, 2}).event(0, {0xFF, 0x7F, 1, 9}).event(480, {0x80, 60, 0}).end();
        cases.push_back({"sysex_and_meta_skipped", test::midiFile(0, division, {t}), true,
                         {{0.5, 0x90, 60, 100}, {1, 0x80, 60}}, 1});
    }
    {
        MidiTrack t;  // 25 frames a second of 40 ticks: 1000 ticks a second, tempo ignored
        t.tempo(0, 1000000).event(500, {0x90, 60, 100}).end(500);
        cases.push_back({"smpte_division", test::midiFile(0, 0xE728, {t}), true, {{0.5, 0x90, 60, 100}}, 1});
    }
    {
        std::vector<uint8_t> cut = notePiece(480, 960);
        cut.resize(cut.size() - 5);  // through the note-off: its length now reaches past the end
        cases.push_back({"track_cut_short", cut, true, {{0, 0xC0, 0}, {0.5, 0x90, 60, 127}}, 0.5});
    }
    {
        MidiTrack t;
        t.event(0, {0x90, 60, 100}).raw({0x81, 0x81, 0x81, 0x81, 0x01}).raw({0x90, 62, 100}).end();
        cases.push_back({"five_byte_number", test::midiFile(0, division, {t}), true, {{0, 0x90, 60, 100}}, 0});
    }
    {
        MidiTrack t;
        t.event(0, {60, 100}).event(0, {0x90, 62, 100}).end();
        cases.push_back({"running_status_before_any", test::midiFile(0, division, {t}), true, {}, 0});
    }
    {
        MidiTrack t;
        t.event(0, {0x90, 60, 100}).event(480, {0x80, 60, 0});
        cases.push_back({"no_end_of_track", test::midiFile(0, division, {t}), true, {{0, 0x90, 60, 100}, {0.5, 0x80, 60}}, 0.5});
    }
    {
        MidiTrack t;
        t.event(0, {0x90, 60, 100}).event(480, {0x90, 0x80, 100}).end(960);
        cases.push_back({"data_byte_out_of_range", test::midiFile(0, division, {t}), true, {{0, 0x90, 60, 100}}, 0});
    }
    std::vector<uint8_t> format2 = notePiece(0, 480), noDivision = format2, longHeader = format2;
    format2[9] = 2;
    noDivision[12] = noDivision[13] = 0;
    longHeader[7] = 200;
    cases.push_back({"format_2", format2, false, {}, 0});
    cases.push_back({"division_0", noDivision, false, {}, 0});
    cases.push_back({"header_past_the_end", longHeader, false, {}, 0});
    cases.push_back({"not_midi", test::wavImage({}, {0, 0, 0, 0}), false, {}, 0});
    cases.push_back({"empty", {}, false, {}, 0});
    return cases;
}

TEST(MidiFile, ReadsEventsInTimeOrderAndKeepsWhatPrecedesDamage) {
    for (const ReaderCase& c : readerCases()) {
        SCOPED_TRACE(c.what);
        platform::midi::MidiSong song;
        ASSERT_EQ(platform::midi::readMidiFile(c.file.data(), c.file.size(), song), c.accepted);
        ASSERT_EQ(song.events.size(), c.events.size());
        for (size_t i = 0; i < c.events.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(song.events[i].seconds, c.events[i].seconds, 1e-9);
            EXPECT_EQ(song.events[i].status, c.events[i].status);
            EXPECT_EQ(song.events[i].data1, c.events[i].data1);
            EXPECT_EQ(song.events[i].data2, c.events[i].data2);
        }
        EXPECT_NEAR(song.lengthSeconds, c.length, 1e-9);
    }
}

// Seeds for the fuzzer: written only when ZU_WRITE_CORPUS names a folder.
TEST(MidiCorpus, WritesSeeds) {
    const char* root = std::getenv("ZU_WRITE_CORPUS");
    if (!root) GTEST_SKIP() << "ZU_WRITE_CORPUS is not set";
    const std::filesystem::path dir = std::filesystem::path(root) / "midi";
    std::filesystem::create_directories(dir);
    for (const ReaderCase& c : readerCases()) ASSERT_TRUE(test::writeBytes((dir / c.what).string() + ".mid", c.file));
}

// A fresh program with sound and MIDI started as the screen set-up starts them, MIDI files
// written into MUSIC\, and frames run as the loop runs them: 16 ms of output, then the messages.
class Midi : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        while (platform::audioOpen()) platform::closeAudio();
        zuSound::soundState = {};
        zuSound::Init();
        zuSound::ClearObjects();
        zuSound::InitMidi();
        std::filesystem::create_directories(programFolder / "MUSIC");
        platform::midi::clearSequencerLog();
    }
    void TearDown() override {
        zuSound::QuitMidi();
        zuSound::Release();
        zuSound::soundState = {};
        unsetenv("ZU_SOUNDFONT");
        FreshProgram::TearDown();
    }

    void writeMidi(const std::string& name, const std::vector<uint8_t>& bytes) {
        test::writeBytes((programFolder / "MUSIC" / name).string(), bytes);
    }
    static std::vector<int16_t> render(uint32_t frames) {
        const std::vector<uint8_t> bytes = platform::headless::renderAudio(frames);
        std::vector<int16_t> out(bytes.size() / 2);
        std::memcpy(out.data(), bytes.data(), out.size() * 2);
        return out;
    }
    // Frames until `done` holds (at most `limit`); the output of all of them.
    std::vector<int16_t> runFrames(int limit, const std::function<bool()>& done = [] { return false; }) {
        std::vector<int16_t> all;
        for (int i = 0; i < limit && !done(); ++i) {
            const std::vector<int16_t> out = render(framesPerFrame);
            all.insert(all.end(), out.begin(), out.end());
            drainMessages();
        }
        return all;
    }
    static std::vector<LogEntry> log() { return platform::midi::sequencerLog(); }
    // The first entry from `from` on whose text is `text`; its index, or the log's size.
    static size_t find(const std::vector<LogEntry>& entries, const std::string& text, size_t from = 0) {
        for (size_t i = from; i < entries.size(); ++i)
            if (entries[i].text == text) return i;
        return entries.size();
    }
    static std::vector<std::string> texts(const std::vector<LogEntry>& entries, size_t from = 0) {
        std::vector<std::string> out;
        for (size_t i = from; i < entries.size(); ++i) out.push_back(entries[i].text);
        return out;
    }
    std::string openCommand(const std::string& name) const {
        return "open \"" + std::string(zuSystem::ModuleDir(0)) + name + "\" type sequencer alias midi";
    }
    static std::string status() {
        char mode[32] = {};
        platform::midi::sendCommand("status midi mode", mode, sizeof mode);
        return mode;
    }
    static bool silent(const std::vector<int16_t>& out) {
        return std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 0; });
    }
};

TEST_F(Midi, ANoteAtHalfASecondSoundsFromItsSampleWithinAMillisecond) {
    ASSERT_FALSE(platform::midi::soundFontPath().empty()) << "a General MIDI sound font (timgm6mb-soundfont)";
    writeMidi("NOTE.MID", notePiece(480, 960));
    zuSound::PlayMidi("MUSIC\\NOTE.MID", 0);
    EXPECT_EQ(platform::midi::scheduledFrames(), (std::vector<uint64_t>{0, 22050, 44100, 44100}));
    const std::vector<int16_t> out = render(44100);
    size_t first = 0;
    while (first < out.size() / 2 && out[2 * first] == 0) ++first;
    EXPECT_NEAR(double(first), 22050.0, 44.1);
}

TEST_F(Midi, PiecesEndOnTheFrameTheirTempoMapGivesWithOrWithoutASoundFont) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        uint64_t endFrame;
    };
    const Case cases[] = {{"tempo change", tempoChangePiece(), 88200}, {"three tracks", threeTrackPiece(), 22050}};
    for (const bool withFont : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (withFont ? ", sound font" : ", no sound font"));
            if (!withFont) setenv("ZU_SOUNDFONT", (programFolder / "none.sf2").c_str(), 1);
            platform::midi::clearSequencerLog();
            writeMidi("PIECE.MID", c.file);
            zuSound::PlayMidi("MUSIC\\PIECE.MID", 0);
            const std::vector<uint64_t> scheduled = platform::midi::scheduledFrames();
            EXPECT_TRUE(std::is_sorted(scheduled.begin(), scheduled.end()));
            const std::vector<int16_t> out = runFrames(400, [] { return zuSound::midiState.open == 0; });
            const std::vector<LogEntry> entries = log();
            const size_t play = find(entries, "play midi notify"), end = find(entries, "notify successful");
            ASSERT_LT(end, entries.size());
            EXPECT_EQ(entries[end].frame - entries[play].frame, c.endFrame);
            EXPECT_EQ(texts(entries, end + 1), (std::vector<std::string>{"status midi mode", "stop midi", "close midi"}));
            EXPECT_EQ(silent(out), !withFont);
        }
    }
}

TEST_F(Midi, RepeatStartsAgainWithinAFrameOfEachEndUntilEndMidiLoopClosesAtTheNext) {
    writeMidi("LOOP.MID", notePiece(0, 240));  // a quarter of a second
    zuSound::PlayMidi("MUSIC\\LOOP.MID", 1);
    runFrames(80);  // 1.28 s: five ends
    std::vector<LogEntry> entries = log();
    size_t play = find(entries, "play midi notify"), ends = 0;
    for (size_t end; (end = find(entries, "notify successful", play)) < entries.size(); play = end + 3, ++ends) {
        SCOPED_TRACE(ends);
        EXPECT_EQ(entries[end].frame - entries[play].frame, 11025u);
        ASSERT_GE(entries.size(), end + 4);
        EXPECT_EQ(entries[end + 2].text, "seek midi to start");
        EXPECT_EQ(entries[end + 3].text, "play midi notify");
        EXPECT_LE(entries[end + 3].frame - entries[end].frame, framesPerFrame);
    }
    EXPECT_EQ(ends, 5u);

    zuSound::EndMidiLoop();
    const size_t before = log().size();
    runFrames(30, [] { return zuSound::midiState.open == 0; });
    EXPECT_EQ(zuSound::midiState.open, 0);
    EXPECT_EQ(texts(log(), before), (std::vector<std::string>{"notify successful", "status midi mode", "stop midi", "close midi"}));
}

TEST_F(Midi, PlayMidiDuringAPieceClosesItAndPlaysTheNewOneFromItsStart) {
    writeMidi("LONG.MID", notePiece(0, 1920));
    writeMidi("SHORT.MID", notePiece(0, 240));
    zuSound::PlayMidi("MUSIC\\LONG.MID", 1);
    runFrames(10);
    const size_t before = log().size();
    zuSound::PlayMidi("MUSIC\\SHORT.MID", 1);
    zuSound::EndMidiLoop();
    runFrames(40, [] { return zuSound::midiState.open == 0; });
    // The old play is aborted; its notice reaches the window procedure and restarts nothing.
    const std::vector<LogEntry> entries = log();
    EXPECT_EQ(texts(entries, before),
              (std::vector<std::string>{"stop midi", "notify aborted", "close midi", openCommand("MUSIC\\SHORT.MID"),
                                        "seek midi to start", "play midi notify", "notify successful",
                                        "status midi mode", "stop midi", "close midi"}));
    const size_t play = find(entries, "play midi notify", before), end = find(entries, "notify successful", before);
    ASSERT_LT(end, entries.size());
    EXPECT_EQ(entries[end].frame - entries[play].frame, 11025u);
}

TEST_F(Midi, CloseMidiWithNothingOpenSendsNothingWhileStopMidiAlwaysSendsBoth) {
    zuSound::CloseMidi();
    EXPECT_TRUE(log().empty());
    zuSound::StopMidi();
    EXPECT_EQ(texts(log()), (std::vector<std::string>{"stop midi", "close midi"}));
    EXPECT_EQ(zuSound::midiState.open, 0);
}

TEST_F(Midi, AMissingFileLeavesOpenAtOneAndLaterCommandsFailQuietly) {
    zuSound::PlayMidi("MUSIC\\NONE.MID", 1);
    EXPECT_EQ(zuSound::midiState.open, 1);
    const std::vector<int16_t> out = runFrames(30);
    zuSound::CloseMidi();
    EXPECT_EQ(zuSound::midiState.open, 0);
    std::vector<std::pair<std::string, uint32_t>> results;
    for (const LogEntry& e : log()) results.emplace_back(e.text, e.result);
    using namespace platform::midi;
    EXPECT_EQ(results, (std::vector<std::pair<std::string, uint32_t>>{{openCommand("MUSIC\\NONE.MID"), fileUnreadable},
                                                                      {"seek midi to start", deviceNotOpen},
                                                                      {"play midi notify", deviceNotOpen},
                                                                      {"stop midi", deviceNotOpen},
                                                                      {"close midi", deviceNotOpen}}));
    EXPECT_TRUE(silent(out));
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
}

TEST_F(Midi, AnOpenCommandThatWouldNotFitOrHoldsAQuoteOpensNothing) {
    writeMidi("LONG.MID", notePiece(0, 1920));
    const size_t fixed = openCommand("").size();  // the command around an empty name
    const std::string longest(255 - fixed, 'a');  // with its zero, exactly 256 bytes
    struct Case {
        std::string name;
        bool sent;
    };
    const Case cases[] = {{longest, true}, {longest + "a", false}, {"MUSIC\\\"LONG.MID", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        zuSound::PlayMidi("MUSIC\\LONG.MID", 1);
        platform::midi::clearSequencerLog();
        zuSound::PlayMidi(c.name.c_str(), 0);
        const std::vector<std::string> sent = texts(log());
        EXPECT_EQ(std::count(sent.begin(), sent.end(), openCommand(c.name)), c.sent ? 1 : 0);
        EXPECT_EQ(sent.size(), c.sent ? 6u : 3u);  // first the old piece's stop, its aborted play, its close
        EXPECT_EQ(zuSound::midiState.open, 1);
        EXPECT_EQ(zuSound::midiState.repeat, 0);
        EXPECT_EQ(status(), "");
    }
}

TEST_F(Midi, OtherCommandStringsFailAndChangeNothing) {
    writeMidi("LONG.MID", notePiece(0, 1920));
    zuSound::PlayMidi("MUSIC\\LONG.MID", 0);
    using namespace platform::midi;
    const std::pair<const char*, uint32_t> cases[] = {
        {"", commandUnknown},
        {"play", commandUnknown},
        {"play midi notify now", commandUnknown},
        {"seek midi to end", commandUnknown},
        {"status midi", commandUnknown},
        {"open \"MUSIC\\LONG.MID\" type sequencer", commandUnknown},
        {"open \"unclosed type sequencer alias x", commandUnknown},
        {"open \"MUSIC\\LONG.MID\" type sequencer alias midi", aliasInUse},
        {"stop music", deviceNotOpen},
        {"close other", deviceNotOpen},
        {"STATUS Midi MODE", commandDone},
    };
    for (const auto& [command, result] : cases) {
        SCOPED_TRACE(command);
        char reply[8] = "x";
        EXPECT_EQ(sendCommand(command, reply, sizeof reply), result);
        EXPECT_STREQ(reply, result == commandDone ? "playing" : "");
        EXPECT_EQ(status(), "playing");
    }
    const size_t before = log().size();
    runFrames(200, [] { return zuSound::midiState.open == 0; });
    const std::vector<LogEntry> entries = log();
    const size_t end = find(entries, "notify successful", before);
    ASSERT_LT(end, entries.size());
    EXPECT_EQ(entries[end].frame - entries[find(entries, "play midi notify")].frame, 88200u) << "the piece kept its place";
}

TEST_F(Midi, PlaysCutShortAreNotifiedAbortedOrSupersededAndRestartNothing) {
    writeMidi("LONG.MID", notePiece(0, 1920));
    platform::Window* window = zuSystem::systemState.window;
    using platform::midi::sendCommand;
    zuSound::PlayMidi("MUSIC\\LONG.MID", 1);
    sendCommand("play midi notify", nullptr, 0, window);  // a second play with notify
    sendCommand("stop midi");
    sendCommand("play midi");  // no notify: stopping it reports nothing
    sendCommand("seek midi to start");
    const size_t before = log().size();
    runFrames(5);
    EXPECT_EQ(texts(log()), (std::vector<std::string>{openCommand("MUSIC\\LONG.MID"), "seek midi to start",
                                                      "play midi notify", "play midi notify", "notify superseded",
                                                      "stop midi", "notify aborted", "play midi",
                                                      "seek midi to start"}));
    EXPECT_EQ(log().size(), before) << "the window procedure passed neither on";
    EXPECT_EQ(status(), "stopped");
}

TEST_F(Midi, QuitStopsTheMusicAndGivesUpTheDevice) {
    writeMidi("LONG.MID", notePiece(0, 1920));
    zuSound::PlayMidi("MUSIC\\LONG.MID", 1);
    runFrames(5);
    zuSystem::Quit();
    EXPECT_EQ(zuSound::midiState.open, 0);
    EXPECT_FALSE(platform::headless::audioDeviceOpen()) << "nothing holds the device any more";
    EXPECT_EQ(status(), "");
}

TEST_F(Midi, ScreenSetUpStartsMidiClosedAndRepeating) {
    zuSound::midiState = {1, 0};
    ASSERT_EQ(zuDraw::Screen(640, 480, 1), 1);
    EXPECT_EQ(zuSound::midiState.open, 0);
    EXPECT_EQ(zuSound::midiState.repeat, 1);
}

using SystemSound = Midi;

TEST_F(SystemSound, WaitsTheSoundsLengthOrTheBeepsAndRestoresEverySound) {
    std::filesystem::create_directories(programFolder / "SOUND");
    test::writeBytes((programFolder / "SOUND" / "TONE.WAV").string(),
                     test::wavImage({.rate = 22050}, test::pcm16(test::sine(440, 22050, 11025, 8000))));
    test::writeBytes((programFolder / "SOUND" / "DING.WAV").string(),
                     test::wavImage({.rate = 22050}, test::pcm16(test::sine(880, 22050, 2205, 8000))));
    test::writeBytes((programFolder / "SOUND" / "DEEP.WAV").string(),
                     test::wavImage({.bits = 24}, std::vector<uint8_t>(3000)));
    const int32_t first = zuSound::LoadObject("SOUND\\TONE.WAV", 3), second = zuSound::LoadObject("SOUND\\DING.WAV", 1);
    ASSERT_EQ(first, 0);
    ASSERT_EQ(second, 1);
    zuSound::SetVolume(first, -20, 1);
    zuSound::SetPan(first, 40, 2);
    zuSound::SetFrequency(first, 30, 0);
    zuSound::PanLeft(second, 0);
    const zuSound::SoundObject before[2] = {zuSound::soundState.objects[0], zuSound::soundState.objects[1]};

    struct Case {
        const char* name;
        uint32_t waitMs;
        int32_t beeps;
    };
    const Case cases[] = {{"SOUND\\DING.WAV", 100, 0}, {"SOUND\\NONE.WAV", 150, 1}, {"SOUND\\DEEP.WAV", 150, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t clock = platform::headless::clock();
        const int32_t beeps = platform::headless::beepCount();
        zuSound::PlaySystemSound((std::string(zuSystem::ModuleDir(0)) + c.name).c_str());
        EXPECT_EQ(platform::headless::clock() - clock, c.waitMs);
        EXPECT_EQ(platform::headless::beepCount() - beeps, c.beeps);
        for (int n = 0; n < 2; ++n) {
            SCOPED_TRACE(n);
            const zuSound::SoundObject& now = zuSound::soundState.objects[n];
            EXPECT_EQ(now.used, 1);
            EXPECT_EQ(std::string(now.name), before[n].name);
            ASSERT_EQ(now.slotCount, before[n].slotCount);
            for (int j = 0; j < now.slotCount; ++j) {
                ASSERT_NE(now.buffers[j], nullptr);
                EXPECT_EQ(platform::volume(now.buffers[j]), before[n].volume[j]);
                EXPECT_EQ(platform::pan(now.buffers[j]), before[n].pan[j]);
                EXPECT_EQ(platform::frequency(now.buffers[j]), before[n].frequency[j]);
                EXPECT_FALSE(platform::isPlaying(now.buffers[j]));
            }
        }
    }
    EXPECT_EQ(zuSound::soundState.objects[0].volume[1], -2000);
    EXPECT_EQ(zuSound::soundState.objects[0].frequency[0], 25050u);
}

}  // namespace
