// The headless backend's clock, frames, audio and boxes.
#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/os/clock.h"
#include "platform/headless.h"
#include "platform/video/surface.h"
#include "platform/win32.h"

TEST(HeadlessBackend, ClockMovesWithShownFramesAndSleepsAcrossTheWrap) {
    platform::HeadlessOptions options;
    options.startTicks = 0xFFFFFFF0u;
    options.frameMs = 10;
    options.wallSeconds = 1234.0;
    platform::useHeadless(options);
    EXPECT_EQ(platform::ticks(), 0xFFFFFFF0u);
    EXPECT_EQ(platform::wallSeconds(), 1234.0);
    platform::Surface frame;
    platform::backend().showFrame(frame);
    platform::backend().showFrame(frame);
    EXPECT_EQ(platform::ticks(), 4u) << "wrapped";
    platform::sleepUntil(0xFFFFFFF8u);
    EXPECT_EQ(platform::ticks(), 4u) << "a tick in the past does not move the clock back";
    platform::sleepUntil(40);
    EXPECT_EQ(platform::ticks(), 40u);
    platform::headless::setClock(7);
    EXPECT_EQ(platform::ticks(), 7u);
    EXPECT_EQ(platform::headless::framesShown(), 2u);
}

TEST(HeadlessBackend, EachShownFrameRendersItsShareOfAudioWithoutDrift) {
    platform::useHeadless();
    platform::AudioSpec spec;  // 44100 Hz, stereo, 16 bits
    uint32_t filled = 0;
    ASSERT_TRUE(platform::backend().openAudioDevice(spec, [&](uint8_t* out, uint32_t bytes) {
        std::fill(out, out + bytes, uint8_t(1));
        filled += bytes;
    }));
    EXPECT_TRUE(platform::headless::audioDeviceOpen());
    platform::headless::captureAudio(true);
    platform::Surface frame;
    for (int i = 0; i < 5; ++i) platform::backend().showFrame(frame);  // 80 ms
    EXPECT_EQ(filled, 3528u * 4);
    EXPECT_EQ(platform::headless::takeCapturedAudio().size(), 3528u * 4);
    EXPECT_EQ(platform::headless::renderAudio(10).size(), 40u);
    EXPECT_EQ(filled, 3538u * 4);

    platform::backend().closeAudioDevice();
    EXPECT_TRUE(platform::headless::renderAudio(10).empty());
    platform::headless::removeAudioDevice(true);
    EXPECT_FALSE(platform::backend().openAudioDevice(spec, [](uint8_t*, uint32_t) {}));
    platform::HeadlessOptions none;
    none.audio = false;
    platform::useHeadless(none);
    EXPECT_FALSE(platform::backend().openAudioDevice(spec, [](uint8_t*, uint32_t) {}));
}

TEST(HeadlessBackend, BoxesAreCountedAndAnsweredAsTold) {
    platform::useHeadless();
    platform::Backend& b = platform::backend();
    EXPECT_EQ(b.messageBox("text", "cap", MB_OK | MB_ICONWARNING), IDOK);
    EXPECT_EQ(b.messageBox("t", "c", MB_YESNO), IDYES);
    platform::headless::setAnswerNo(true);
    EXPECT_EQ(b.messageBox("t", "c", MB_YESNO), IDNO);
    EXPECT_EQ(b.messageBox("t", "c", MB_OK), IDOK);
    EXPECT_EQ(platform::headless::messageBoxCount(), 4);
    EXPECT_EQ(platform::headless::lastMessageBox(), "c: t");
    b.noteBeep();
    EXPECT_EQ(platform::headless::beepCount(), 1);
}
