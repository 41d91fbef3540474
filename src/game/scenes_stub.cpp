// Empty scenes: the scene machine runs them until the game's own scenes take their place.
#include "game/game.h"

void sceneLoading() {}
void sceneTitle() {}
void sceneStageIntro() {}
void scenePlay() {}
void sceneEnding() {}
