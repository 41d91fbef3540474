// The real program, headless, driven only through pointer moves and button presses: whole games,
// the shipped stage-1 script, and what the player sees after wrong drops, undo and early clicks.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "game/board_reader.h"
#include "game/game_run.h"
#include "game/playthrough.h"
#include "game/shapes.h"
#include "game/stages.h"

namespace {

using namespace playthrough;
using boardreader::Board;

std::string wait(int frames) { return "wait " + std::to_string(frames) + "\n"; }
std::string move(platform::Point p) { return "move " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n"; }
std::string shot(const std::string& name) { return "shot " + name + "\n"; }

platform::Image cellSheet() {
    platform::Image sheet;
    boardreader::readImage(test::binaryDir() + "/BMP/RGB.BMP", sheet);
    return sheet;
}

bool sameOutside(const platform::Image& a, const platform::Image& b, platform::Rect hole) {
    if (a.width != b.width || a.height != b.height || a.width == 0) return false;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            bool inHole = x >= hole.left && x < hole.right && y >= hole.top && y < hole.bottom;
            if (!inHole && a.xrgb[size_t(y) * a.width + x] != b.xrgb[size_t(y) * b.width + x]) return false;
        }
    return true;
}

// A drop point for piece 0 of the first stage, in its tray rotation, on free cells of the stage
// where at least one colour differs from the piece's own.
bool findWrongColourDrop(const Board& board, platform::Point& at) {
    const PieceRecord& piece = stagePiece(0, 0);
    const StageArea& area = stageArea(0);
    for (int originColumn = area.firstColumn; originColumn <= area.lastColumn; ++originColumn)
        for (int originRow = area.firstRow; originRow <= area.lastRow; ++originRow) {
            int inside = 0, matching = 0;
            for (int row = 0; row < 4; ++row)
                for (int column = 0; column < 4; ++column) {
                    int8_t v = shapeCell(piece.shape, piece.trayRotation, column, row);
                    if (!isOccupied(v)) continue;
                    int c = originColumn + column, r = originRow + row;
                    if (c > area.lastColumn || r > area.lastRow) continue;
                    ++inside;
                    CellPosition home = piece.cells[v];
                    matching += board.cells[c][r].colour == board.cells[home.column][home.row].colour;
                }
            if (inside == 4 && matching < 4) {
                at = {32 * originColumn + 16, 32 * originRow + 16};
                return true;
            }
        }
    return false;
}

TEST(GameE2E, TwoGamesThroughAllStagesWithWrongDropUndoAndIgnoredClicks) {
    GameRun run;
    const platform::Image sheet = cellSheet();
    ASSERT_EQ(sheet.width, 96) << "the cell sheet is missing from " << test::binaryDir();

    // The fixed wall clock seeds the colours, so a first look at the board holds for the real run.
    test::ProcessResult probe = run.play(startGame() + wait(framesToPlay) + move({620, 460}) + wait(1) + shot("probe.bmp"));
    ASSERT_EQ(probe.exitCode, 0) << probe.err;
    Board first = boardreader::readBoard(run.shot("probe.bmp"), sheet);
    int coloured = 0;
    for (const auto& column : first.cells)
        for (const boardreader::Cell& c : column) coloured += c.colour >= 0;
    ASSERT_EQ(coloured, 20);
    ASSERT_EQ(first.filledCount(), 0);
    platform::Point wrong;
    ASSERT_TRUE(findWrongColourDrop(first, wrong));

    const platform::Point slot0 = trayPoint(0, 0);
    std::string script = wait(3) + shot("title.bmp") + click({320, 400}) + wait(framesToSettle) + shot("intro0.bmp") + wait(framesToPlay - framesToSettle);
    script += move(slot0) + wait(1) + shot("before.bmp");
    script += carry(0, 0, stagePiece(0, 0).trayRotation, wrong) + move(slot0) + wait(1) + shot("returned.bmp");
    script += placePiece(0, 0) + move(slot0) + wait(1) + shot("placed.bmp");
    script += "down right\nup right\n" + wait(1) + shot("undone.bmp");
    for (int stage = 0; stage < stageCount; ++stage) {
        script += solveStage(stage) + wait(framesToSettle);
        script += shot(stage < 3 ? "intro" + std::to_string(stage + 1) + ".bmp" : "ending.bmp");
        if (stage < 3) script += wait(framesToPlay - framesToSettle);
    }
    // Back to the title; a click while the title is still being uncovered is ignored.
    script += click({320, 400}) + wait(5) + "down left\nup left\n" + wait(framesToSettle) + shot("title_again.bmp");
    script += click({320, 400}) + wait(framesToSettle) + shot("intro_again.bmp");
    test::ProcessResult result = run.play(script);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(messageBoxes(result.err).empty()) << result.err;

    platform::Image before = run.shot("before.bmp"), placed = run.shot("placed.bmp");
    EXPECT_TRUE(sameImage(run.shot("returned.bmp"), before)) << "a wrong-colour drop must put the piece back";
    EXPECT_TRUE(sameImage(run.shot("undone.bmp"), before)) << "undo must restore the board and the tray";
    Board afterPlacing = boardreader::readBoard(placed, sheet);
    EXPECT_EQ(afterPlacing.filledCount(), 4);
    for (CellPosition cell : stagePiece(0, 0).cells) EXPECT_EQ(afterPlacing.cells[cell.column][cell.row].filled, 1);

    // Every stage was won: each intro shows another digit, and the ending came after the fourth.
    std::vector<platform::Image> intros;
    for (int stage = 0; stage < 4; ++stage) intros.push_back(run.shot("intro" + std::to_string(stage) + ".bmp"));
    const platform::Rect digit{413, 190, 451, 290};
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) {
            EXPECT_TRUE(sameOutside(intros[a], intros[b], digit)) << a << " " << b;
            EXPECT_FALSE(sameImage(intros[a], intros[b])) << a << " " << b;
        }
    platform::Image ending = run.shot("ending.bmp");
    EXPECT_EQ(ending.width, 640);
    EXPECT_FALSE(sameOutside(ending, intros[3], digit));
    EXPECT_EQ(boardreader::readBoard(ending, sheet).filledCount(), 0);

    // The second game starts on the title and at the first stage again.
    const platform::Rect prompt{194, 330, 446, 370};
    EXPECT_TRUE(sameOutside(run.shot("title_again.bmp"), run.shot("title.bmp"), prompt));
    EXPECT_TRUE(sameImage(run.shot("intro_again.bmp"), intros[0]));
}

TEST(GameE2E, ShippedStageOneScriptIsTheGeneratedOneAndWinsTheStage) {
    std::ifstream file(std::string(ZU_SOURCE_DIR) + "/tests/scripts/stage1.txt");
    std::stringstream shipped;
    shipped << file.rdbuf();
    EXPECT_EQ(shipped.str(), stageOneScript()) << "regenerate tests/scripts/stage1.txt from the tables";

    GameRun run;
    test::ProcessResult result = run.play(shipped.str());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(messageBoxes(result.err).empty()) << result.err;
    ASSERT_EQ(run.play(startGame() + wait(framesToSettle) + shot("stage1_intro.bmp")).exitCode, 0);
    platform::Image second = run.shot("stage2_intro.bmp"), first = run.shot("stage1_intro.bmp");
    EXPECT_TRUE(sameOutside(second, first, {413, 190, 451, 290}));
    EXPECT_FALSE(sameImage(second, first));
}

}  // namespace
