// Sound packs: naming the current pack, loading an entry into a sound number, and building a
// pack from a folder of WAV files.
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/os/files.h"
#include "platform/sjis.h"
#include "sound/pack_entry.h"
#include "sound/sound_internal.h"
#include "system/error_detail.h"
#include "system/zu_system.h"

namespace zuSound {
namespace {

const char* const caption = "zuSound::LoadPack";

int32_t refuse(const char* message, int32_t code = 0) {
    zuSystem::ReportError(caption, message, code);
    return -1;
}

void putU32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(char(value >> (8 * i)));
}

// The entry's sample format and data, read whole; false when there is no loadable entry. Closes
// the pack.
bool readEntry(FILE* pack, const char* name, detail::WaveImage& wave) {
    detail::PackEntry entry;
    bool found = detail::findPackEntry(pack, name, entry);
    if (found) {
        wave.data.resize(entry.dataSize);  // findPackEntry checked it against the file
        found = std::fread(wave.data.data(), 1, wave.data.size(), pack) == wave.data.size();
        wave.format = std::move(entry.format);
    }
    std::fclose(pack);
    return found;
}

}  // namespace

int32_t SetPackFile(const char* name) {
    const std::string path = std::string(zuSystem::ModuleDir(0)) + (name ? name : "");
    const bool fits = path.size() < size_t(packPathLimit);
    std::memcpy(soundState.packPath, fits ? path.c_str() : "", fits ? path.size() + 1 : 1);
    return fits ? 1 : 0;
}

int32_t LoadPack(const char* name, int32_t mix) {
    if (!soundState.enabled || !soundState.device) return -1;
    if (std::llabs(int64_t(mix)) > slotLimit) return refuse("ミックス数が多過ぎます");
    const bool reloading = soundState.reloading != 0;
    if (!reloading) {
        // Checked before anything is loaded, so an over-long name never holds a number.
        if (!name || std::strlen(name) > size_t(nameLimit)) return refuse("ファイル名が長すぎます");
        soundState.current = detail::lowestFreeNumber();
        if (soundState.current < 0) return refuse("オブジェクト数が多過ぎます");
    }
    const int32_t number = soundState.current;
    if (number < 0 || number >= soundCount) return -1;
    // A first load reads the current pack; a rebuild the pack the sound came from.
    char* packPath = soundState.streams[number].packPath;
    if (!reloading) std::memcpy(packPath, soundState.packPath, sizeof soundState.packPath);
    FILE* pack = packPath[0] ? platform::openFile(packPath, "rb") : nullptr;
    zuSystem::NoteTriedEntry(packPath, name);
    if (!pack) return refuse("パックファイル名が指定されていません");
    detail::WaveImage wave;
    if (!readEntry(pack, name, wave)) return refuse("WAVEファイルを読み込めません");
    zuSystem::NoteTriedPath(nullptr);  // read: what fails now is no file's fault
    if (!detail::fillSlots(number, wave, mix, name, 1)) return refuse("サウンドバッファが生成できません", detail::bufferRefused);
    return number;
}

int32_t AddToPack(const char* packName, const char* path) {
    if (!packName || !path) return 0;
    const std::string dir = zuSystem::ModuleDir(0);
    std::vector<uint8_t> format, data;
    const bool read = ReadWave((dir + path).c_str(), format, data) == 0;
    const std::string_view relative = path;
    const size_t slash = platform::sjisFindLast(relative, '\\');
    const std::string name = platform::sjisUpper(slash == std::string_view::npos ? relative : relative.substr(slash + 1));
    if (name.size() > detail::entryNameLimit) return 0;  // the search stops at such a name
    std::string head;
    putU32(head, uint32_t(data.size()));
    head.append(name).push_back('\0');
    putU32(head, uint32_t(format.size()));
    FILE* pack = platform::openFile((dir + packName).c_str(), "ab");
    if (!pack) return 0;
    head.append(format.begin(), format.end());
    bool written = std::fwrite(head.data(), 1, head.size(), pack) == head.size();
    written = written && (data.empty() || std::fwrite(data.data(), 1, data.size(), pack) == data.size());
    written = std::fclose(pack) == 0 && written;
    return read && written ? 1 : 0;
}

int32_t MakePack(const char* packName, const char* folder, int32_t fresh) {
    return detail::makePack(packName, folder, fresh, nullptr);
}

namespace detail {

int32_t makePack(const char* packName, const char* folder, int32_t fresh, const PackedFile& onFile) {
    if (!packName) return 1;
    const std::string dir = zuSystem::ModuleDir(0);
    const std::string prefix = folder && folder[0] ? std::string(folder) + "\\" : "";
    if (fresh) platform::removeFile((dir + packName).c_str());
    platform::FindData found;
    platform::FindHandle* search = platform::findFirst((dir + prefix + "*.WAV").c_str(), found);
    for (bool more = search != nullptr; more; more = platform::findNext(search, found)) {
        if (found.directory) continue;
        const std::string path = platform::sjisUpper(prefix + found.name);
        const int32_t added = AddToPack(packName, path.c_str());
        if (onFile) onFile(path.c_str(), added);
    }
    if (search) platform::findClose(search);
    return 1;
}

int32_t reloadPackSound(int32_t number) {
    const SoundObject& s = soundState.objects[number];
    const SoundStream& stream = soundState.streams[number];
    if (stream.dataSize != 0) return LoadStream(s.name, stream.loopStart - stream.dataStart);
    return LoadPack(s.name, s.echoState >= 0 ? s.slotCount : -s.slotCount);
}

}  // namespace detail
}  // namespace zuSound
