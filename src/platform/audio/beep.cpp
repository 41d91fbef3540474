// The simple system beep: counted by the backend and, with a device open, a short soft tone
// mixed over whatever plays.
#include <cmath>
#include <mutex>

#include "platform/backend.h"
#include "platform/audio/mixer.h"

namespace platform {
namespace {

class BeepTone : public AudioSource {
public:
    void start(uint32_t rate) { remaining_ = uint32_t(uint64_t(rate) * beepMs / 1000); phase_ = 0; }
    void silence() { remaining_ = 0; }
    void mix(int32_t* accum, uint32_t frames, uint32_t rate) override {
        const double step = 2.0 * M_PI * 880.0 / rate;
        for (uint32_t i = 0; i < frames && remaining_ > 0; ++i, --remaining_) {
            const double fade = std::min(1.0, remaining_ / (rate * 0.01));  // 10 ms fade-out
            const int32_t s = int32_t(6000.0 * fade * std::sin(phase_));
            accum[2 * i] += s;
            accum[2 * i + 1] += s;
            phase_ += step;
        }
    }

private:
    uint32_t remaining_ = 0;
    double phase_ = 0;
};

BeepTone tone;

}  // namespace

void beep() {
    backend().noteBeep();
    if (!audioOpen()) return;
    const uint32_t rate = outputFormat().rate;
    attachSource(&tone);
    std::lock_guard<std::mutex> hold(sourceMutex());
    tone.start(rate);
}

void silenceBeep() {
    std::lock_guard<std::mutex> hold(sourceMutex());
    tone.silence();
}

}  // namespace platform
