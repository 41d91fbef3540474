// The play scene: draws the board, the tray and the held piece, then applies the buttons.
#include "game/play.h"

#include "draw/zu_draw.h"
#include "game/board.h"
#include "sound/zu_sound.h"
#include "system/zu_system.h"

namespace {

constexpr int32_t cellSize = 32;
constexpr int32_t pieceTileRow = 2;

using zuSystem::inputState;
namespace KeyEdge = zuSystem::KeyEdge;

void playSound(int32_t number) { zuSound::Play(number, -1); }

void drawTile(int32_t x, int32_t y, int32_t colour, int32_t tileRow, bool keyed) {
    int32_t left = colour * cellSize, top = tileRow * cellSize;
    if (keyed)
        zuDraw::Blit(x, y, gameAssets.rgb, left, top, left + cellSize, top + cellSize);
    else
        zuDraw::BlitOpaque(x, y, gameAssets.rgb, left, top, left + cellSize, top + cellSize);
}

void drawBoard() {
    for (int32_t column = 0; column < boardColumns; ++column)
        for (int32_t row = 0; row < boardRows; ++row) {
            const BoardCell& cell = boardCell(column, row);
            if (cell.colour != -1) drawTile(column * cellSize, row * cellSize, cell.colour, cell.filled, false);
        }
}

void drawPiece(int32_t piece, int32_t rotation, int32_t originColumn, int32_t originRow) {
    const PieceRecord& record = stagePiece(gameState.stage, piece);
    for (int32_t column = 0; column < 4; ++column)
        for (int32_t row = 0; row < 4; ++row) {
            int8_t v = shapeCell(record.shape, rotation, column, row);
            if (!isOccupied(v)) continue;
            drawTile((originColumn + column) * cellSize, (originRow + row) * cellSize,
                     pieceCellColour(gameState.stage, piece, v), pieceTileRow, true);
        }
}

void drawPieces() {
    for (int32_t piece = 0; piece < piecesInStage(gameState.stage); ++piece) {
        if (gameState.pieceState[piece] == pieceInTray) {
            TraySlot slot = traySlot(piece);
            drawPiece(piece, stagePiece(gameState.stage, piece).trayRotation, slot.column, slot.row);
        } else if (gameState.pieceState[piece] == pieceHeld) {
            drawPiece(piece, gameState.rotation, inputState.mouseX / cellSize, inputState.mouseY / cellSize);
        }
    }
}

PlayAction pick() {
    gameState.heldPiece = -1;
    // A piece still in the hand from an earlier press (its release was never seen) goes home.
    for (int32_t& state : gameState.pieceState)
        if (state == pieceHeld) state = pieceInTray;
    int32_t slot = pickSlot(inputState.mouseX, inputState.mouseY, piecesInStage(gameState.stage));
    if (slot < 0 || gameState.pieceState[slot] == piecePlaced) return PlayAction::none;
    gameState.heldPiece = int8_t(slot);
    gameState.pieceState[slot] = pieceHeld;
    gameState.rotation = stagePiece(gameState.stage, slot).trayRotation;
    playSound(gameAssets.catchSound);
    return PlayAction::picked;
}

void saveUndoLayer(int32_t layer) {
    for (int32_t column = 0; column < boardColumns; ++column)
        for (int32_t row = 0; row < boardRows; ++row)
            gameState.undoFilled[column][row][layer] = boardCell(column, row).filled;
}

void fillPiece(int32_t piece, int32_t rotation, int32_t originColumn, int32_t originRow) {
    const PieceRecord& record = stagePiece(gameState.stage, piece);
    for (int32_t column = 0; column < 4; ++column)
        for (int32_t row = 0; row < 4; ++row)
            if (isOccupied(shapeCell(record.shape, rotation, column, row)))
                boardCell(originColumn + column, originRow + row).filled = 1;
}

PlayAction drop() {
    int32_t piece = gameState.heldPiece;
    int32_t column = inputState.mouseX / cellSize, row = inputState.mouseY / cellSize;
    if (countDropMatches(piece, gameState.rotation, column, row) != 4) {
        gameState.pieceState[piece] = pieceInTray;
        playSound(gameAssets.catchSound);
        return PlayAction::returned;
    }
    saveUndoLayer(gameState.undoDepth);
    gameState.undoPiece[gameState.undoDepth] = int8_t(piece);
    ++gameState.undoDepth;
    fillPiece(piece, gameState.rotation, column, row);
    gameState.pieceState[piece] = piecePlaced;
    playSound(gameAssets.fillSound);
    return PlayAction::dropped;
}

PlayAction rotate() {
    gameState.rotation = int8_t((gameState.rotation + 1) % 4);
    playSound(gameAssets.catchSound);
    return PlayAction::rotated;
}

PlayAction undo() {
    playSound(gameAssets.catchSound);
    int32_t layer = --gameState.undoDepth;
    for (int32_t column = 0; column < boardColumns; ++column)
        for (int32_t row = 0; row < boardRows; ++row)
            boardCell(column, row).filled = gameState.undoFilled[column][row][layer];
    gameState.pieceState[gameState.undoPiece[layer]] = pieceInTray;
    return PlayAction::undone;
}

bool holdingPiece() {
    return gameState.heldPiece >= 0 && gameState.heldPiece < maxPieces &&
           gameState.pieceState[gameState.heldPiece] == pieceHeld;
}

}  // namespace

int32_t pickSlot(int32_t x, int32_t y, int32_t pieceCount) {
    int32_t slot = -1;
    if (y < 128) {
        if (x < 96 * pieceCount - 32) slot = (x + 32) / 96;
    } else if (y >= 352) {
        if (x < 96 * (pieceCount - 7) - 32) slot = (x + 32) / 96 + 7;
    } else if (x < 64 && pieceCount >= 15) {
        slot = 14;
    }
    return slot >= 0 && slot < pieceCount ? slot : -1;
}

int32_t countDropMatches(int32_t piece, int32_t rotation, int32_t originColumn, int32_t originRow) {
    const PieceRecord& record = stagePiece(gameState.stage, piece);
    int32_t matches = 0;
    for (int32_t column = 0; column < 4; ++column)
        for (int32_t row = 0; row < 4; ++row) {
            int8_t v = shapeCell(record.shape, rotation, column, row);
            int32_t c = originColumn + column, r = originRow + row;
            if (!isOccupied(v) || !onBoard(c, r)) continue;
            const BoardCell& cell = boardCell(c, r);
            if (cell.filled == 0 && cell.colour == pieceCellColour(gameState.stage, piece, v)) ++matches;
        }
    return matches;
}

PlayAction applyPlayInput() {
    int32_t left = gameState.leftButton, right = gameState.rightButton;
    if (left == KeyEdge::Pressed) return pick();
    if (left == KeyEdge::Released && holdingPiece()) return drop();
    if (left == KeyEdge::Held && right == KeyEdge::Pressed) return rotate();
    if (left == KeyEdge::Up && right == KeyEdge::Pressed && gameState.undoDepth >= 1) return undo();
    return PlayAction::none;
}

bool stageComplete() {
    for (const BoardCell& cell : gameState.board)
        if (cell.colour >= 0 && cell.filled == 0) return false;
    return true;
}

void drawPlay() {
    zuDraw::BlitOpaque(0, 0, gameAssets.background, 0, 0, 640, 480);
    drawBoard();
    drawPieces();
    zuDraw::Blit(inputState.mouseX, inputState.mouseY, gameAssets.mouse, 0, 0, 25, 40);
}
