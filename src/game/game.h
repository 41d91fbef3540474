// The game's records and entry: the scene machine's state, the blink timer, the five scene
// functions and the one way a scene hands over to another.
#pragma once
#include <cstdint>

#include "game/stages.h"
#include "platform/types.h"

// Scenes: 0 none, 1 loading, 2 title, 3 stage intro, 4 play, 5 ending.
struct SceneState {
    int32_t current = 0;
    int32_t previous = 0;  // 0 makes the next frame a scene's first frame
    int32_t pending = 0;   // taken when a covering transition ends
    int32_t firstFrame = 0;
};

// The prompt blinks: on for 1000 ms, off for 200 ms.
struct BlinkState {
    int32_t on = 1;
    uint32_t nextToggle = 0;  // the instance starts at the load-time tick + 1000
};

extern SceneState sceneState;
extern BlinkState blinkState;

constexpr int32_t sceneCount = 5;
using SceneFunction = void (*)();
extern SceneFunction sceneTable[sceneCount];  // scene n runs sceneTable[n - 1]

void sceneLoading();
void sceneTitle();
void sceneStageIntro();
void scenePlay();
void sceneEnding();

void changeScene(int32_t scene);

// One pass of the loop when no message waits and the program is active.
void runFrame();

int32_t WinMain(platform::Instance* instance, platform::Instance* previous, const char* commandLine,
                int32_t showCommand);

// --- the game's play records ---

inline constexpr int boardColumns = 20;
inline constexpr int boardRows = 15;
inline constexpr int boardCellCount = boardColumns * boardRows;

struct BoardCell {
    int8_t colour = 0;  // 0..2 a cell of the puzzle, -1 no cell (never drawn, never counts)
    int8_t filled = 0;   // 1 covered by a placed piece
};

enum PieceState : int32_t { pieceInTray = 0, pieceHeld = 1, piecePlaced = 2 };

struct GameState {
    BoardCell board[boardCellCount];  // column by column: index = column * 15 + row
    int8_t stage = 0;                 // 0..3; -1 after the title screen
    int32_t pieceState[maxPieces] = {};
    int8_t heldPiece = 0;             // -1 for none
    int8_t rotation = 0;
    int8_t undoDepth = 0;
    int8_t undoFilled[boardColumns][boardRows][maxPieces] = {};  // column, row, layer
    int8_t undoPiece[maxPieces] = {};
    int32_t leftButton = 0, rightButton = 0;  // KeyEdge values
    int32_t enterKey = 0, spaceKey = 0, escapeKey = 0;
    float introSeconds = 0;
};

// Object and sound numbers handed out by the loading scene, and the music handle.
struct GameAssets {
    int32_t rgb = 0, background = 0, mouse = 0, title = 0, click = 0, stageLabel = 0, theEnd = 0;
    int32_t catchSound = 0, fillSound = 0, winSound = 0;
    uint32_t music = 0;
};

extern GameState gameState;
extern GameAssets gameAssets;
