// The title's background music: freed and loaded again on every start of a game.
#pragma once

void startBackgroundMusic();
