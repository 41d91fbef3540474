// The device's thread keeps getting output while the main thread writes sound buffers or a
// source decodes: locks publish new samples at unlock, and nothing long holds the mixer.
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <thread>

#include "platform/audio/mixer.h"
#include "sound_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;
// Only a guard against hanging when the device is blocked; the tests never measure time.
constexpr auto stuck = std::chrono::seconds(30);

// Pulls output the way a device callback does, counting the blocks it was given.
class DeviceThread {
public:
    DeviceThread()
        : thread_([this] {
              uint8_t out[platform::mixBlockFrames * 4];
              while (!quit_) {
                  platform::fillOutput(out, sizeof out);
                  ++blocks_;
              }
          }) {}
    ~DeviceThread() {
        quit_ = true;
        thread_.join();
    }
    // True once `more` further blocks were mixed.
    bool flows(int more) const {
        const int64_t target = blocks_ + more;
        for (const auto start = Clock::now(); Clock::now() - start < stuck;)
            if (blocks_ >= target) return true;
        return false;
    }

private:
    std::atomic<bool> quit_{false};
    std::atomic<int64_t> blocks_{0};
    std::thread thread_;
};

class DeviceThreadTest : public SoundFixture {
protected:
    static platform::SoundBuffer* slotBuffer(int32_t sound, int32_t slot = 0) {
        return zuSound::soundState.objects[sound].buffers[slot];
    }
};

TEST_F(DeviceThreadTest, OutputFlowsWhileABufferIsLockedAndASoundLoads) {
    const int32_t playing = loadSamples("A.WAV", test::sine(441, 44100, 4410, 8000), 1);
    zuSound::PlayLoop(playing, 0);
    platform::SoundBuffer* fresh = platform::createBuffer(platform::WaveFormat{}, 1 << 20);
    DeviceThread device;
    for (platform::SoundBuffer* b : {slotBuffer(playing), fresh}) {
        const platform::BufferLock lock = platform::lockBuffer(b, 0, 0);
        ASSERT_NE(lock.first, nullptr);
        EXPECT_TRUE(device.flows(20));
        platform::unlockBuffer(lock);
    }
    EXPECT_GE(loadSamples("BIG.WAV", std::vector<int16_t>(1 << 20, 100), 10), 0);
    EXPECT_TRUE(device.flows(20));
    platform::destroyBuffer(fresh);
}

// A source that stays inside mix() until it is let go.
class StallingSource : public platform::AudioSource {
public:
    void mix(int32_t*, uint32_t, uint32_t) override {
        std::unique_lock<std::mutex> hold(m_);
        inside_ = true;
        changed_.notify_all();
        changed_.wait_for(hold, stuck, [this] { return released_; });
        inside_ = false;
    }
    bool waitUntilInside() {
        std::unique_lock<std::mutex> hold(m_);
        return changed_.wait_for(hold, stuck, [this] { return inside_; });
    }
    bool inside() {
        std::lock_guard<std::mutex> hold(m_);
        return inside_;
    }
    void release() {
        std::lock_guard<std::mutex> hold(m_);
        released_ = true;
        changed_.notify_all();
    }

private:
    std::mutex m_;
    std::condition_variable changed_;
    bool inside_ = false, released_ = false;
};

TEST_F(DeviceThreadTest, ADecodingSourceLeavesTheVoicesReachable) {
    const int32_t sound = loadSamples("A.WAV", constant(4410, 1000), 2);
    StallingSource source;
    platform::attachSource(&source);
    {
        DeviceThread device;
        ASSERT_TRUE(source.waitUntilInside());
        zuSound::Play(sound, -1);  // needs the mixer while the device thread is decoding
        zuSound::SetVolume(sound, -6, -1);
        EXPECT_TRUE(source.inside());
        source.release();
    }
    platform::detachSource(&source);
}

// Written samples reach the output only at unlock: a playing buffer plays its old samples
// meanwhile, and a stopped one started during the lock waits for them.
TEST_F(DeviceThreadTest, LockedSamplesArePublishedAtUnlock) {
    const int32_t sound = loadSamples("A.WAV", constant(4410, 1000), 2);
    platform::SoundBuffer* first = slotBuffer(sound, 0);
    platform::SoundBuffer* second = slotBuffer(sound, 1);
    platform::play(first, true);

    platform::BufferLock lock = platform::lockBuffer(first, 0, 0);
    EXPECT_EQ(platform::lockBuffer(first, 0, 0).first, nullptr);  // one lock at a time
    std::vector<int16_t> twos(lock.firstBytes / 2, 2000);
    std::memcpy(lock.first, twos.data(), lock.firstBytes);
    EXPECT_EQ(render(8)[0], 1000);
    platform::unlockBuffer(lock);
    EXPECT_EQ(render(8)[0], 2000);
    platform::stop(first);

    lock = platform::lockBuffer(second, 0, 0);
    platform::play(second, true);
    EXPECT_EQ(render(8)[0], 0);
    std::memcpy(lock.first, twos.data(), lock.firstBytes);
    platform::unlockBuffer(lock);
    EXPECT_EQ(render(8)[0], 2000);
}

}  // namespace
