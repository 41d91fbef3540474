// The backends' own services: the stand-in's boxes, and the headless clock, frames, audio and
// boxes.
#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/os/clock.h"
#include "platform/video/surface.h"
#include "platform/win32.h"

using namespace platform;

TEST(HeadlessBackend, BoxesAreCountedAndAnsweredAsToldAndTheStandInSaysYes) {
    installBackend(nullptr);  // the stand-in serving until a backend is installed
    EXPECT_EQ(backend().messageBox("a", "b", MB_YESNO), IDYES);
    EXPECT_EQ(backend().messageBox("a", "b", MB_OK), IDOK);
    useHeadless();
    EXPECT_EQ(backend().messageBox("text", "cap", MB_OK | MB_ICONWARNING), IDOK);
    EXPECT_EQ(backend().messageBox("t", "c", MB_YESNO), IDYES);
    headless::setAnswerNo(true);
    EXPECT_EQ(backend().messageBox("t", "c", MB_YESNO), IDNO);
    EXPECT_EQ(backend().messageBox("t", "c", MB_OK), IDOK);
    EXPECT_EQ(headless::messageBoxCount(), 4);
    EXPECT_EQ(headless::lastMessageBox(), "c: t");
    backend().noteBeep();
    EXPECT_EQ(headless::beepCount(), 1);
}

TEST(HeadlessBackend, ClockMovesWithShownFramesAndSleepsAcrossTheWrap) {
    HeadlessOptions options;
    options.startTicks = 0xFFFFFFF0u, options.wallSeconds = 1234.0, options.frameMs = 10;
    useHeadless(options);
    EXPECT_EQ(ticks(), 0xFFFFFFF0u);
    EXPECT_EQ(wallSeconds(), 1234.0);
    Surface frame;
    backend().showFrame(frame);
    backend().showFrame(frame);
    EXPECT_EQ(ticks(), 4u) << "wrapped";
    sleepUntil(0xFFFFFFF8u);
    EXPECT_EQ(ticks(), 4u) << "a tick in the past does not move the clock back";
    sleepUntil(40);
    EXPECT_EQ(ticks(), 40u);
    headless::setClock(7);
    EXPECT_EQ(ticks(), 7u);
    EXPECT_EQ(headless::framesShown(), 2u);
}

TEST(HeadlessBackend, EachShownFrameRendersItsShareOfAudioWithoutDrift) {
    useHeadless();
    AudioSpec spec;  // 44100 Hz, stereo, 16 bits
    uint32_t filled = 0;
    ASSERT_TRUE(backend().openAudioDevice(spec, [&](uint8_t* out, uint32_t bytes) {
        std::fill(out, out + bytes, uint8_t(1));
        filled += bytes;
    }));
    EXPECT_TRUE(headless::audioDeviceOpen());
    headless::captureAudio(true);
    Surface frame;
    for (int i = 0; i < 5; ++i) backend().showFrame(frame);  // 80 ms
    EXPECT_EQ(filled, 3528u * 4);
    EXPECT_EQ(headless::takeCapturedAudio().size(), 3528u * 4);
    EXPECT_EQ(headless::renderAudio(10).size(), 40u);
    EXPECT_EQ(filled, 3538u * 4);

    backend().closeAudioDevice();
    EXPECT_TRUE(headless::renderAudio(10).empty());
    headless::removeAudioDevice(true);
    EXPECT_FALSE(backend().openAudioDevice(spec, [](uint8_t*, uint32_t) {}));
    HeadlessOptions none;
    none.audio = false;
    useHeadless(none);
    EXPECT_FALSE(backend().openAudioDevice(spec, [](uint8_t*, uint32_t) {}));
}
