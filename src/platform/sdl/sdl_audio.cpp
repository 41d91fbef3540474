// SDL2 audio device: the default output, converted by SDL, filled by the mixer's callback.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/environment.h"
#include "platform/sdl/sdl_backend.h"

namespace platform {
namespace {
void fillFromCallback(void* user, Uint8* out, int bytes) {
    (*static_cast<AudioFill*>(user))(out, uint32_t(bytes));
}

std::string describe(const SDL_AudioSpec& s) {
    const char* kind = SDL_AUDIO_ISFLOAT(s.format) ? "float" : SDL_AUDIO_ISSIGNED(s.format) ? "signed" : "unsigned";
    return std::to_string(s.freq) + " Hz, " + std::to_string(int(s.channels)) + " channels, " +
           std::to_string(int(SDL_AUDIO_BITSIZE(s.format))) + "-bit " + kind;
}
}  // namespace

bool SdlBackend::openAudioDevice(AudioSpec& spec, AudioFill fill) {
    closeAudioDevice();
    if (const char* a = environmentSetting("AUDIO"); a && std::strcmp(a, "none") == 0) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "sdl: no audio: %s\n", SDL_GetError());
        return false;
    }
    audioFill = std::move(fill);
    SDL_AudioSpec want{}, have{};
    want.freq = int(spec.rate);
    want.format = spec.bits == 8 ? AUDIO_U8 : AUDIO_S16SYS;
    want.channels = uint8_t(spec.channels);
    want.samples = 512;
    want.callback = fillFromCallback;
    want.userdata = &audioFill;
    audioDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (audioDevice == 0) {
        // Said once while the device stays away: a lost device is retried every second.
        if (!audioMissingSaid) std::fprintf(stderr, "sdl: no audio device: %s\n", SDL_GetError());
        audioMissingSaid = true;
        audioFill = nullptr;
        return false;
    }
    audioMissingSaid = false;
    // The device's own format where SDL can tell it, and the one SDL opened for the mixer
    // (SDL converts between the two).
    SDL_AudioSpec device{};
    char* deviceName = nullptr;
    std::string deviceText = SDL_GetDefaultAudioInfo(&deviceName, &device, 0) == 0
                                 ? std::string(deviceName ? deviceName : "default") + " " + describe(device)
                                 : "format not reported";
    SDL_free(deviceName);
    std::fprintf(stderr, "sdl: audio driver %s, device %s; opened %s, %u-frame buffer\n", SDL_GetCurrentAudioDriver(),
                 deviceText.c_str(), describe(have).c_str(), unsigned(have.samples));
    SDL_PauseAudioDevice(audioDevice, 0);
    return true;
}

void SdlBackend::closeAudioDevice() {
    if (audioDevice) SDL_CloseAudioDevice(audioDevice);
    audioDevice = 0;
    audioFill = nullptr;
}

void SdlBackend::lockAudio() {
    if (audioDevice) SDL_LockAudioDevice(audioDevice);
}

void SdlBackend::unlockAudio() {
    if (audioDevice) SDL_UnlockAudioDevice(audioDevice);
}

}  // namespace platform
