// SDL2 audio device: the default output, converted by SDL, filled by the mixer's callback.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/environment.h"
#include "platform/sdl/sdl_backend.h"

namespace platform {
namespace {
void fillFromCallback(void* user, Uint8* out, int bytes) {
    (*static_cast<AudioFill*>(user))(out, uint32_t(bytes));
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
        std::fprintf(stderr, "sdl: no audio device: %s\n", SDL_GetError());
        audioFill = nullptr;
        return false;
    }
    std::fprintf(stderr, "sdl: audio driver %s, %u Hz, %d channels, %d bits\n",
                 SDL_GetCurrentAudioDriver(), spec.rate, spec.channels, spec.bits);
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
