// zuSound::LoadObject: a WAV file beside the program, or a WAV resource, into a sound number
// with one buffer per mix slot; in re-creation mode the stored settings are applied again.
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/audio/audio.h"
#include "platform/os/resources.h"
#include "sound/sound_internal.h"
#include "system/error_detail.h"
#include "system/zu_system.h"

namespace zuSound {
namespace {

using detail::WaveImage;

const char* const caption = "zuSound::LoadObject";

// A WAV resource has the plain 44-byte header: format at 20, data size at 40, samples at 44.
bool waveFromResource(std::span<const uint8_t> image, WaveImage& out) {
    constexpr size_t header = 44;
    if (image.size() < header) return false;
    const uint8_t* p = image.data();
    const uint32_t dataSize = uint32_t(p[40]) | (uint32_t(p[41]) << 8) | (uint32_t(p[42]) << 16) | (uint32_t(p[43]) << 24);
    if (dataSize > image.size() - header) return false;
    out.format.assign(platform::waveFormatHeaderBytes, 0);
    std::memcpy(out.format.data(), p + 20, 16);
    out.data.assign(p + header, p + header + dataSize);
    return true;
}

bool readSound(const char* name, WaveImage& out) {
    const std::string path = std::string(zuSystem::ModuleDir(0)) + name;
    if (ReadWave(path.c_str(), out.format, out.data) == 0) return true;
    const platform::Instance* instance = zuSystem::systemState.instance;
    for (const char* type : {"WAVE", "RCDATA"}) {
        const std::span<const uint8_t> image = platform::findResource(instance, type, name);
        if (!image.empty()) return waveFromResource(image, out);
    }
    zuSystem::NoteTriedPath(path.c_str());
    return false;
}

int32_t refuse(const char* message, int32_t code) {
    zuSystem::ReportError(caption, message, code);
    return -1;
}

platform::SoundBuffer* makeSlotBuffer(const platform::WaveFormat& format, const std::vector<uint8_t>& data) {
    platform::SoundBuffer* buffer = platform::createBuffer(format, uint32_t(data.size()));
    if (!buffer) return nullptr;
    const platform::BufferLock lock = platform::lockBuffer(buffer, 0, 0);
    std::memcpy(lock.first, data.data(), lock.firstBytes);
    if (lock.second) std::memcpy(lock.second, data.data() + lock.firstBytes, lock.secondBytes);
    platform::unlockBuffer(lock);
    return buffer;
}

void takeSettingsFromBuffer(SoundObject& s, int32_t slot) {
    s.frequency[slot] = platform::frequency(s.buffers[slot]);
    s.baseFrequency = s.frequency[slot];
    s.volume[slot] = 0;
    s.pan[slot] = 0;
}

void applyStoredSettings(SoundObject& s, int32_t slot) {
    platform::setVolume(s.buffers[slot], s.volume[slot]);
    platform::setFrequency(s.buffers[slot], s.frequency[slot]);
    platform::setPan(s.buffers[slot], s.pan[slot]);
}

// The buffers of every slot; on a refusal the slots made so far are given up again.
bool makeSlots(SoundObject& s, const WaveImage& wave) {
    platform::WaveFormat format;
    const bool described = platform::waveFormatFromBytes(wave.format.data(), uint32_t(wave.format.size()), format);
    for (int32_t j = 0; j < s.slotCount; ++j) {
        s.buffers[j] = described && wave.data.size() <= UINT32_MAX ? makeSlotBuffer(format, wave.data) : nullptr;
        if (!s.buffers[j]) {
            detail::destroySlots(s);
            return false;
        }
        detail::settleSlot(s, j);
    }
    return true;
}

}  // namespace

namespace detail {

void settleSlot(SoundObject& s, int32_t slot) {
    if (soundState.reloading) applyStoredSettings(s, slot);
    else takeSettingsFromBuffer(s, slot);
}

int32_t lowestFreeNumber() {
    for (int32_t n = 0; n < soundCount; ++n)
        if (!soundState.objects[n].used) return n;
    return -1;
}

bool fillSlots(int32_t number, const WaveImage& wave, int32_t mix, const char* name, int32_t fromPack) {
    SoundObject& s = soundState.objects[number];
    s.slotCount = int32_t(std::llabs(int64_t(mix)));  // a mix of 0: a used number with no slots, which never sounds
    s.echoState = mix > 1 ? 0 : -1;
    if (!soundState.reloading) s.nextSlot = 0;
    if (s.nextSlot >= s.slotCount) s.nextSlot = 0;
    if (makeSlots(s, wave)) {
        s.used = 1;
        s.fromPack = fromPack;
        soundState.streams[number].dataSize = 0;
        if (!soundState.reloading) std::strcpy(s.name, name);
        return true;
    }
    if (!soundState.reloading) {  // a first load leaves the number free
        s.slotCount = 1;
        s.echoState = -1;
    }
    return false;
}

}  // namespace detail

int32_t LoadObject(const char* name, int32_t mix) {
    if (!soundState.enabled || !soundState.device) return -1;
    const int64_t slots = std::llabs(int64_t(mix));
    if (slots > slotLimit) return refuse("ミックス数が多過ぎます", 0);
    const bool reloading = soundState.reloading != 0;
    if (!reloading) {
        // Checked before anything is loaded, so an over-long name never holds a number.
        if (!name || std::strlen(name) > size_t(nameLimit))
            return refuse("ファイル名またはリソース名が長すぎます", 0);
        soundState.current = detail::lowestFreeNumber();
        if (soundState.current < 0)
            return refuse("オブジェクト数が多過ぎます", 0);
    }
    const int32_t number = soundState.current;
    if (number < 0 || number >= soundCount) return -1;
    WaveImage wave;
    if (!readSound(name, wave)) return refuse("WAVEリソースが見つかりません", 0);

    if (!detail::fillSlots(number, wave, mix, name, 0)) return refuse("サウンドバッファが生成できません", detail::bufferRefused);
    return number;
}

}  // namespace zuSound
