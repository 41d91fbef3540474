// The program's audio failures, headless: no device at all ends it after its box; music that is
// missing, 8-bit or mono shows its box and the game goes on in silence.
#include <gtest/gtest.h>

#include <filesystem>

#include "game/board_reader.h"
#include "game/game_run.h"
#include "game/playthrough.h"
#include "support/wav_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace playthrough;

const std::string errorCaption = reinterpret_cast<const char*>(u8"エラー");

// A program folder of its own: a copy of the program (its folder is where it finds its data),
// the real pictures and sounds, and whatever music the test puts in MOD.
std::string programWithMusic(const GameRun& run, const std::vector<uint8_t>* music) {
    fs::path folder = fs::path(run.folder) / "program";
    fs::path bin = test::binaryDir();
    fs::create_directories(folder / "MOD");
    fs::copy_file(bin / "tessora", folder / "tessora");
    fs::create_directory_symlink(bin / "BMP", folder / "BMP");
    fs::create_directory_symlink(bin / "SOUND", folder / "SOUND");
    if (music) test::writeBytes((folder / "MOD" / "BGM.XM").string(), *music);
    return (folder / "tessora").string();
}

std::vector<uint8_t> wavMusic(uint16_t channels, uint16_t bits) {
    test::WavSpec spec;
    spec.channels = channels;
    spec.bits = bits;
    std::vector<uint8_t> data(44100 * channels * bits / 8, bits == 8 ? 0x80 : 0);
    return test::wavImage(spec, data);
}

TEST(GameMusicE2E, WithoutAnAudioDeviceTheGameSaysSoAndQuits) {
    GameRun run;
    test::ProcessResult result = run.play("wait 3\nshot after.bmp\n", {{"TESSORA_AUDIO", "none"}});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(messageBoxes(result.err), std::vector<std::string>{errorCaption + ": Can't initialize device"});
}

TEST(GameMusicE2E, UnplayableMusicIsRefusedAndTheGameGoesOnSilently) {
    platform::Image intro;
    ASSERT_TRUE(boardreader::readImage(std::string(ZU_SOURCE_DIR) + "/tests/golden/game_intro.bmp", intro));
    struct Case { const char* what; std::vector<uint8_t> music; bool present; const char* box; };
    const Case cases[] = {
        {"missing", {}, false, "Can't play the file"},
        {"mono", wavMusic(1, 16), true, "16-bit stereo sources only"},
        {"8-bit", wavMusic(2, 8), true, "16-bit stereo sources only"},
        {"16-bit stereo", wavMusic(2, 16), true, nullptr},
    };
    for (const Case& c : cases) {
        GameRun run;
        std::string program = programWithMusic(run, c.present ? &c.music : nullptr);
        test::ProcessResult result =
            run.play(startGame() + "wait " + std::to_string(framesToSettle) + "\nshot intro.bmp\n", {}, program);
        EXPECT_EQ(result.exitCode, 0) << c.what << ": " << result.err;
        std::vector<std::string> expected;
        if (c.box) expected.push_back(errorCaption + ": " + c.box);
        EXPECT_EQ(messageBoxes(result.err), expected) << c.what;
        EXPECT_TRUE(sameImage(run.shot("intro.bmp"), intro)) << c.what << ": the first stage must still begin";
    }
}

}  // namespace
