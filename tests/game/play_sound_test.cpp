// Which sound each play action starts, heard on the headless audio device: the catch sound for
// picks, turns, returns and undo, the fill sound for a placement, the win sound for the last one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "game/board.h"
#include "game/game.h"
#include "game/play.h"
#include "game/playthrough.h"
#include "platform/audio/audio.h"
#include "sound/zu_sound.h"
#include "support/fresh_program.h"
#include "support/wav_writer.h"
#include "system/zu_system.h"

namespace {

namespace KeyEdge = zuSystem::KeyEdge;

class PlaySounds : public FreshProgram {
protected:
    void SetUp() override {
        FreshProgram::SetUp();
        std::filesystem::create_directories(programFolder / "SOUND");
        for (const char* name : {"CATCH", "FILL", "WIN"}) {
            test::WavSpec spec;
            auto samples = test::sine(440, 44100, 44100, 8000);
            test::writeBytes((programFolder / "SOUND" / (std::string(name) + ".WAV")).string(),
                             test::wavImage(spec, test::pcm16(samples)));
        }
        ASSERT_EQ(zuSound::Init(), 1);
        gameAssets.catchSound = zuSound::LoadObject("SOUND\\CATCH.WAV", 1);
        gameAssets.fillSound = zuSound::LoadObject("SOUND\\FILL.WAV", 1);
        gameAssets.winSound = zuSound::LoadObject("SOUND\\WIN.WAV", 1);
        ASSERT_GE(gameAssets.winSound, 0);
        gameState = {};
        gameState.stage = -1;
        std::srand(5);
        startNextStage();
    }
    void TearDown() override {
        zuSound::Release();
        zuSound::soundState = {};
        gameState = {};
        gameAssets = {};
        FreshProgram::TearDown();
    }

    // The sounds started since the last call, then silence again.
    std::string heard() {
        std::string names;
        const std::pair<int32_t, const char*> sounds[] = {
            {gameAssets.catchSound, "catch"}, {gameAssets.fillSound, "fill"}, {gameAssets.winSound, "win"}};
        for (auto [number, name] : sounds) {
            platform::SoundBuffer* buffer = zuSound::soundState.objects[number].buffers[0];
            if (!platform::isPlaying(buffer)) continue;
            names += names.empty() ? name : std::string(" ") + name;
            platform::stop(buffer);
            platform::setPosition(buffer, 0);
        }
        return names;
    }
    std::string act(int32_t left, int32_t right, platform::Point at) {
        zuSystem::inputState.mouseX = at.x;
        zuSystem::inputState.mouseY = at.y;
        gameState.leftButton = left;
        gameState.rightButton = right;
        applyPlayInput();
        return heard();
    }
};

TEST_F(PlaySounds, EachActionStartsItsOwnSound) {
    using playthrough::trayPoint;
    EXPECT_EQ(act(KeyEdge::Pressed, KeyEdge::Up, {320, 240}), "");  // nothing under the pointer
    EXPECT_EQ(act(KeyEdge::Pressed, KeyEdge::Up, trayPoint(0, 0)), "catch");
    EXPECT_EQ(act(KeyEdge::Released, KeyEdge::Up, {16, 200}), "catch");  // back to the tray
    EXPECT_EQ(act(KeyEdge::Up, KeyEdge::Pressed, {0, 0}), "");            // nothing to undo
    for (int piece = 0; piece < stagePieceCount[0]; ++piece) {
        EXPECT_EQ(act(KeyEdge::Pressed, KeyEdge::Up, trayPoint(0, piece)), "catch");
        while (gameState.rotation != playthrough::solutionRotation(0, piece))
            EXPECT_EQ(act(KeyEdge::Held, KeyEdge::Pressed, {0, 0}), "catch");
        EXPECT_EQ(act(KeyEdge::Released, KeyEdge::Up, playthrough::solutionPoint(0, piece)), "fill");
    }
    EXPECT_EQ(act(KeyEdge::Up, KeyEdge::Pressed, {0, 0}), "catch");  // the last placement undone
    EXPECT_EQ(act(KeyEdge::Pressed, KeyEdge::Up, trayPoint(0, 4)), "catch");
    while (gameState.rotation != playthrough::solutionRotation(0, 4)) act(KeyEdge::Held, KeyEdge::Pressed, {0, 0});
    EXPECT_EQ(act(KeyEdge::Released, KeyEdge::Up, playthrough::solutionPoint(0, 4)), "fill");

    sceneState.current = sceneState.previous = 4;
    scenePlay();  // the board is complete: on to the next stage's intro, with the win sound
    EXPECT_EQ(heard(), "win");
    EXPECT_EQ(sceneState.current, 3);
}

}  // namespace
