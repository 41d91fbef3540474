// The title, stage intro, play and ending scenes: each draws its frame, presents it and reads
// the buttons.
#include "draw/zu_draw.h"
#include "game/background_music.h"
#include "game/board.h"
#include "game/game.h"
#include "game/play.h"
#include "platform/win32.h"
#include "sound/zu_sound.h"
#include "system/zu_system.h"

namespace {

constexpr float introLength = 2.0f;
constexpr int32_t lastStage = 3;
constexpr int32_t stageWordWidth = 186, digitWidth = 38;

void drawBackground() { zuDraw::BlitOpaque(0, 0, gameAssets.background, 0, 0, 640, 480); }

bool leftPressed() {
    zuSystem::PollKey(VK_LBUTTON, gameState.leftButton);
    return gameState.leftButton == zuSystem::KeyEdge::Pressed;
}

}  // namespace

void sceneTitle() {
    if (sceneState.firstFrame) gameState.stage = -1;
    drawBackground();
    zuDraw::Blit(120, 80, gameAssets.title, 0, 0, 400, 150);
    if (blinkState.on) zuDraw::Blit(194, 330, gameAssets.click, 0, 0, 252, 40);
    zuDraw::Present();
    bool start = leftPressed();
    zuSystem::PollKey(VK_ESCAPE, gameState.escapeKey);
    if (start) {
        changeScene(3);
        startBackgroundMusic();
    }
}

void sceneStageIntro() {
    if (sceneState.firstFrame) {
        gameState.introSeconds = 0;
        startNextStage();
    }
    drawBackground();
    zuDraw::Blit(189, 190, gameAssets.stageLabel, 0, 0, stageWordWidth, 100);
    int32_t digitLeft = stageWordWidth + digitWidth * gameState.stage;
    zuDraw::Blit(413, 190, gameAssets.stageLabel, digitLeft, 0, digitLeft + digitWidth, 100);
    zuDraw::Present();
    gameState.introSeconds += zuSystem::frameClock.seconds;
    if (gameState.introSeconds >= introLength) changeScene(4);
}

void scenePlay() {
    drawPlay();
    zuDraw::Present();
    zuSystem::PollKey(VK_LBUTTON, gameState.leftButton);
    zuSystem::PollKey(VK_RBUTTON, gameState.rightButton);
    zuSystem::PollKey(VK_RETURN, gameState.enterKey);
    zuSystem::PollKey(VK_SPACE, gameState.spaceKey);
    zuSystem::PollKey(VK_ESCAPE, gameState.escapeKey);
    applyPlayInput();
    if (!stageComplete()) return;
    changeScene(gameState.stage < lastStage ? 3 : 5);
    zuSound::Play(gameAssets.winSound, -1);
}

void sceneEnding() {
    drawBackground();
    zuDraw::Blit(175, 184, gameAssets.theEnd, 0, 0, 290, 112);
    zuDraw::Present();
    if (leftPressed()) changeScene(2);
}
