// The game's records and entry: the scene machine's state, the blink timer, the five scene
// functions and the one way a scene hands over to another.
#pragma once
#include <cstdint>

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

// --- the game's play records follow ---
