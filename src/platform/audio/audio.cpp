// The audio device: reference-counted opening through the backend, the output format, attached
// sources, and the system beep.
#include "platform/audio/audio.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/backend.h"
#include "platform/environment.h"
#include "platform/faults.h"
#include "platform/audio/midi_sequencer.h"
#include "platform/audio/mixer.h"

namespace platform {
namespace {

int32_t openCount = 0;
Backend* openedOn = nullptr;  // a newly installed backend starts without our device
bool formatsRefused = false;

// An open device that vanished: the mixer runs against the clock until a device is back.
struct LostDevice {
    bool lost = false;
    uint32_t mixedTo = 0;     // the tick up to which the mixer has run
    uint64_t remainder = 0;   // thousandths of a frame carried to the next run
    uint32_t nextTry = 0;     // the tick of the next attempt to open the default device
};
LostDevice lostDevice;
constexpr uint32_t retryMs = 1000;
// After a longer stall of the main thread the mixer skips ahead only this far, so one late
// service never holds the program up for long.
constexpr uint32_t catchUpLimitMs = 5000;

bool audioSwitchedOff() {
    const char* setting = environmentSetting("AUDIO");
    return setting && std::strcmp(setting, "none") == 0;
}

bool openDevice(const AudioOutput& output) {
    AudioSpec spec{output.channels, output.rate, output.bits};
    return backend().openAudioDevice(spec, fillOutput);
}

void retuneVoices(MixerState& state) {
    for (Voice& v : state.voices)
        if (v.inUse) v.step = resampleStep(v.rate, state.output.rate);
}

void mixAgainstClock(uint32_t now) {
    const uint32_t elapsed = std::min(now - lostDevice.mixedTo, catchUpLimitMs);
    lostDevice.mixedTo = now;
    const AudioOutput output = outputFormat();
    const uint64_t thousandths = lostDevice.remainder + uint64_t(output.rate) * elapsed;
    lostDevice.remainder = thousandths % 1000;
    const uint32_t frameBytes = uint32_t(output.channels * output.bits / 8);
    uint8_t scratch[1024 * 4];
    for (uint64_t frames = thousandths / 1000; frames > 0;) {
        const uint32_t chunk = uint32_t(std::min<uint64_t>(frames, sizeof scratch / frameBytes));
        fillOutput(scratch, chunk * frameBytes);
        frames -= chunk;
    }
}

// At exit a device still open is closed first, so its thread never mixes records that are being
// destroyed (registered once the mixer's records exist, so it runs before they go).
void closeDeviceAtExit() {
    if (openCount > 0 && openedOn == &backend()) backend().closeAudioDevice();
}

bool reopenDevice() {
    if (!openDevice(outputFormat())) return false;
    lostDevice = {};
    return true;
}

}  // namespace

AudioSource::~AudioSource() = default;

bool openAudio() {
    if (openedOn != &backend()) openCount = 0, lostDevice = {};
    if (openCount > 0) {
        ++openCount;
        return true;
    }
    if (audioSwitchedOff()) return false;
    static const int registered = (mixerState(), mixerMutex(), sourceMutex(), std::atexit(closeDeviceAtExit));
    (void)registered;
    {
        std::lock_guard<std::mutex> hold(mixerMutex());
        mixerState().output = {};
        retuneVoices(mixerState());
    }
    if (!openDevice({})) return false;
    openCount = 1;
    openedOn = &backend();
    return true;
}

void closeAudio() {
    if (openCount == 0) return;
    if (--openCount > 0) return;
    if (openedOn == &backend()) backend().closeAudioDevice();
    lostDevice = {};
    silenceBeep();
}

void audioDeviceLost() {
    if (!audioOpen() || lostDevice.lost) return;
    backend().closeAudioDevice();
    const uint32_t now = backend().ticks();
    lostDevice = {true, now, 0, now + retryMs};
    reopenDevice();  // at once onto a new default, when there is one
}

void audioDeviceAdded() {
    if (!audioOpen() || !lostDevice.lost) return;
    lostDevice.nextTry = backend().ticks();
    serviceAudio();
}

void serviceAudio() {
    midi::deliverNotices();
    if (!lostDevice.lost) return;
    if (!audioOpen()) {
        lostDevice = {};
        return;
    }
    const uint32_t now = backend().ticks();
    mixAgainstClock(now);
    if (int32_t(now - lostDevice.nextTry) < 0 || reopenDevice()) return;
    lostDevice.nextTry = now + retryMs;
}

bool audioOpen() { return openCount > 0 && openedOn == &backend(); }

bool setOutputFormat(int32_t channels, uint32_t rate, int32_t bits) {
    if (!audioOpen() || formatsRefused) return false;
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16)) return false;
    if (rate < 100 || rate > 100000) return false;
    const AudioOutput wanted{channels, rate, bits};
    const AudioOutput before = outputFormat();
    auto apply = [](const AudioOutput& o) {
        std::lock_guard<std::mutex> hold(mixerMutex());
        mixerState().output = o;
        retuneVoices(mixerState());
    };
    if (lostDevice.lost) {  // the device comes back in this format
        mixAgainstClock(backend().ticks());  // the time so far at the old rate
        apply(wanted);
        return true;
    }
    backend().closeAudioDevice();
    apply(wanted);
    if (openDevice(wanted)) return true;
    apply(before);
    if (!openDevice(before)) {  // the device went away meanwhile
        const uint32_t now = backend().ticks();
        lostDevice = {true, now, 0, now + retryMs};
    }
    return false;
}

AudioOutput outputFormat() {
    std::lock_guard<std::mutex> hold(mixerMutex());
    return mixerState().output;
}

void attachSource(AudioSource* source) {
    if (!source) return;
    std::lock_guard<std::mutex> hold(sourceMutex());
    auto& sources = mixerState().sources;
    if (std::find(sources.begin(), sources.end(), source) == sources.end()) sources.push_back(source);
}

void detachSource(AudioSource* source) {
    std::lock_guard<std::mutex> hold(sourceMutex());
    auto& sources = mixerState().sources;
    sources.erase(std::remove(sources.begin(), sources.end(), source), sources.end());
}

bool playToEnd(const WaveFormat* format, const uint8_t* samples, uint32_t bytes) {
    const uint32_t start = backend().ticks();
    const bool opened = openAudio();
    SoundBuffer* buffer = nullptr;
    uint32_t lengthMs = beepMs;
    if (opened && format && format->nBlockAlign > 0) {
        const uint32_t whole = bytes - bytes % format->nBlockAlign;
        buffer = createBuffer(*format, whole);
        const BufferLock lock = lockBuffer(buffer, 0, 0);
        if (lock.first) std::memcpy(lock.first, samples, lock.firstBytes);
        unlockBuffer(lock);
        if (buffer) {
            const uint64_t frames = whole / format->nBlockAlign;
            lengthMs = uint32_t((frames * 1000 + format->nSamplesPerSec - 1) / format->nSamplesPerSec);
            play(buffer, false);
        }
    }
    if (!buffer) beep();
    backend().sleepUntil(start + lengthMs);
    destroyBuffer(buffer);
    if (opened) closeAudio();
    return buffer != nullptr;
}

namespace headless {
void refuseOutputFormats(bool refused) { formatsRefused = refused; }
}  // namespace headless

}  // namespace platform
