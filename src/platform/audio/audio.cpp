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
#include "platform/audio/mixer.h"

namespace platform {
namespace {

int32_t openCount = 0;
Backend* openedOn = nullptr;  // a newly installed backend starts without our device
bool formatsRefused = false;

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

}  // namespace

AudioSource::~AudioSource() = default;

bool openAudio() {
    if (openedOn != &backend()) openCount = 0;
    if (openCount > 0) {
        ++openCount;
        return true;
    }
    if (audioSwitchedOff()) return false;
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
    silenceBeep();
}

bool audioOpen() { return openCount > 0 && openedOn == &backend(); }

bool setOutputFormat(int32_t channels, uint32_t rate, int32_t bits) {
    if (!audioOpen() || formatsRefused) return false;
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16)) return false;
    if (rate < 100 || rate > 100000) return false;
    const AudioOutput wanted{channels, rate, bits};
    const AudioOutput before = outputFormat();
    backend().closeAudioDevice();
    auto apply = [](const AudioOutput& o) {
        std::lock_guard<std::mutex> hold(mixerMutex());
        mixerState().output = o;
        retuneVoices(mixerState());
    };
    apply(wanted);
    if (openDevice(wanted)) return true;
    apply(before);
    if (!openDevice(before)) openCount = 0;  // the device went away meanwhile
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

bool playSoundFile(const char* path) {
    (void)path;  // synchronous file playback is not offered yet
    return false;
}

namespace headless {
void refuseOutputFormats(bool refused) { formatsRefused = refused; }
}  // namespace headless

}  // namespace platform
