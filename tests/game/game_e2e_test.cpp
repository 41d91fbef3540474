// The real program, headless, driven only through pointer moves and button presses: whole games,
// the shipped stage-1 script, what the player sees after wrong drops, undo and early clicks, the
// golden frames of its scenes, and its audio failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "game/game_run.h"
#include "game/shapes.h"
#include "game/stages.h"
#include "support/golden.h"
#include "support/wav_writer.h"

namespace {

using namespace gamerun;

const platform::Rect stageDigit{413, 190, 451, 290};  // where the intros of the stages differ

// A drop point for piece 0 of the first stage, in its tray rotation, on free cells of the stage
// where at least one colour differs from the piece's own.
std::optional<platform::Point> findWrongColourDrop(const Board& board) {
    const PieceRecord& piece = stagePiece(0, 0);
    const StageArea& area = stageArea(0);
    for (int originColumn = area.firstColumn; originColumn <= area.lastColumn; ++originColumn)
        for (int originRow = area.firstRow; originRow <= area.lastRow; ++originRow) {
            int inside = 0, matching = 0;
            for (int row = 0; row < 4; ++row)
                for (int column = 0; column < 4; ++column) {
                    int8_t v = shapeCell(piece.shape, piece.trayRotation, column, row);
                    int c = originColumn + column, r = originRow + row;
                    if (!isOccupied(v) || c > area.lastColumn || r > area.lastRow) continue;
                    ++inside;
                    CellPosition home = piece.cells[v];
                    matching += board.cells[c][r].colour == board.cells[home.column][home.row].colour;
                }
            if (inside == 4 && matching < 4) return cellCentre(originColumn, originRow);
        }
    return std::nullopt;
}

// Two games through every stage in one run, with a wrong-colour drop, an undo and a click too early
// to count, and the golden frames of the title (prompt shown and hidden), the intro, a held piece
// and the ending.
TEST(GameGolden, TwoGamesThroughAllStagesWithWrongDropUndoAndIgnoredClicks) {
    const platform::Image sheet = readImage(test::binaryDir() + "/BMP/RGB.BMP");
    ASSERT_EQ(sheet.width, 96) << "the cell sheet is missing from " << test::binaryDir();
    // The fixed wall clock seeds the colours, so the golden board of the held piece is this run's.
    Board first = readBoard(goldenImage("game_held"), sheet);
    ASSERT_EQ(first.count(false), 20);
    ASSERT_EQ(first.count(true), 0);
    std::optional<platform::Point> wrong = findWrongColourDrop(first);
    ASSERT_TRUE(wrong);

    const platform::Point slot0 = trayPoint(0, 0);
    // The prompt shows for the first second and hides for the next 200 ms (frames 63 to 75).
    std::string script = wait(3) + shot("title") + wait(64) + shot("title_hidden") + click({320, 400});
    script += wait(framesToSettle) + shot("intro") + wait(framesToPlay - framesToSettle);
    script += move(trayPoint(0, 1)) + "down left\n" + move({300, 390}) + wait(2) + shot("held") + "up left\n";
    script += move(slot0) + wait(1) + shot("before");
    script += carry(0, 0, stagePiece(0, 0).trayRotation, *wrong) + move(slot0) + wait(1) + shot("returned");
    script += placePiece(0, 0) + move(slot0) + wait(1) + shot("placed");
    script += "down right\nup right\n" + wait(1) + shot("undone");
    for (int stage = 0; stage < stageCount; ++stage) {
        script += solveStage(stage) + wait(framesToSettle);
        script += shot(stage < 3 ? "intro" + std::to_string(stage + 1) : "ending");
        if (stage < 3) script += wait(framesToPlay - framesToSettle);
    }
    // Back to the title; a click while the title is still being uncovered is ignored.
    script += click({320, 400}) + wait(5) + "down left\nup left\n" + wait(framesToSettle) + shot("title_again");
    script += click({320, 400}) + wait(framesToSettle) + shot("intro_again");
    GameRun run;
    test::ProcessResult result = run.play(script);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(messageBoxes(result.err).empty()) << result.err;
    for (const char* name : {"title", "title_hidden", "intro", "held", "ending"}) {
        platform::Image image = run.shot(name);
        EXPECT_TRUE(testsupport::matchesGolden(std::string("game_") + name, {image.width, image.height, image.xrgb}));
    }

    platform::Image before = run.shot("before");
    EXPECT_TRUE(sameImage(run.shot("returned"), before)) << "a wrong-colour drop must put the piece back";
    EXPECT_TRUE(sameImage(run.shot("undone"), before)) << "undo must restore the board and the tray";
    Board afterPlacing = readBoard(run.shot("placed"), sheet);
    EXPECT_EQ(afterPlacing.count(true), 4);
    for (CellPosition cell : stagePiece(0, 0).cells) EXPECT_EQ(afterPlacing.cells[cell.column][cell.row].filled, 1);

    // Every stage was won: each intro shows another digit, and the ending came after the fourth.
    std::vector<platform::Image> intros = {run.shot("intro")};
    for (int stage = 1; stage < 4; ++stage) intros.push_back(run.shot("intro" + std::to_string(stage)));
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) {
            EXPECT_TRUE(sameOutside(intros[a], intros[b], stageDigit)) << a << " " << b;
            EXPECT_FALSE(sameImage(intros[a], intros[b])) << a << " " << b;
        }
    EXPECT_EQ(readBoard(run.shot("ending"), sheet).count(true), 0);

    // The second game starts on the title (its blinking prompt aside) and at the first stage again.
    EXPECT_TRUE(sameOutside(run.shot("title_again"), run.shot("title"), {194, 330, 446, 370}));
    EXPECT_TRUE(sameImage(run.shot("intro_again"), intros[0]));
}

// The shipped stage-1 script, as generated from the tables, played with music that fails in each
// way: without an audio device the program ends after its box; music that is missing, 8-bit or mono
// shows its box and the stage is still won in silence. Each run has a program folder of its own: a
// copy of the program (its folder is where it finds its data), the real pictures and sounds, and the
// music of the case.
TEST(GameE2E, ShippedStageOneScriptWinsTheStageWhateverTheMusicButEndsWithoutAnAudioDevice) {
    const std::string shipped = readFile(std::string(ZU_SOURCE_DIR) + "/tests/scripts/stage1.txt");
    EXPECT_EQ(shipped, "# The first stage played through by placing every piece on its solution.\n" + startGame() +
                           wait(framesToPlay) + solveStage(0) + wait(framesToSettle) + shot("stage2_intro"))
        << "regenerate tests/scripts/stage1.txt from the tables";
    namespace fs = std::filesystem;
    auto wav = [](uint16_t channels, uint16_t bits) {
        test::WavSpec spec;
        spec.channels = channels;
        spec.bits = bits;
        return test::wavImage(spec, std::vector<uint8_t>(44100 * channels * bits / 8, bits == 8 ? 0x80 : 0));
    };
    struct Case { const char* what; bool device; std::optional<std::vector<uint8_t>> music; const char* box; };
    const Case cases[] = {
        {"no device", false, wav(2, 16), "Can't initialize device"},
        {"missing", true, std::nullopt, "Can't play the file"},
        {"mono", true, wav(1, 16), "16-bit stereo sources only"},
        {"8-bit", true, wav(2, 8), "16-bit stereo sources only"},
        {"16-bit stereo", true, wav(2, 16), nullptr},
    };
    const platform::Image intro = goldenImage("game_intro");
    ASSERT_EQ(intro.width, 640);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameRun run;
        fs::path folder = fs::path(run.folder) / "program", bin = test::binaryDir();
        fs::create_directories(folder / "MOD");
        fs::copy_file(bin / "tessora", folder / "tessora");
        fs::create_directory_symlink(bin / "BMP", folder / "BMP");
        fs::create_directory_symlink(bin / "SOUND", folder / "SOUND");
        if (c.music) test::writeBytes((folder / "MOD" / "BGM.XM").string(), *c.music);
        std::vector<std::pair<std::string, std::string>> env;
        if (!c.device) env.push_back({"TESSORA_AUDIO", "none"});
        test::ProcessResult result = run.play(shipped, env, (folder / "tessora").string());
        EXPECT_EQ(result.exitCode, 0) << result.err;
        std::vector<std::string> expected;
        if (c.box) expected.push_back(reinterpret_cast<const char*>(u8"エラー: ") + std::string(c.box));
        EXPECT_EQ(messageBoxes(result.err), expected);
        platform::Image second = run.shot("stage2_intro");
        if (!c.device) {
            EXPECT_EQ(second.width, 0) << "the program must end";
            continue;
        }
        EXPECT_TRUE(sameOutside(second, intro, stageDigit)) << "the second stage must begin";
        EXPECT_FALSE(sameImage(second, intro));
    }
}

}  // namespace
