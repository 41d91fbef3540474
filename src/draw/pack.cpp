// Draw packs: naming the pack, and loading an entry into a free or a given object through a
// staging object that turns its 15-bit pixels into the screen's format. The entry is read
// whole, and checked, before any surface is made.
#include <cstring>
#include <string>
#include <vector>

#include "draw/draw_internal.h"
#include "draw/pack_reader.h"
#include "platform/os/files.h"
#include "platform/sjis.h"
#include "platform/video/surface.h"
#include "system/error_detail.h"
#include "system/zu_system.h"

namespace zuDraw {

PackState packState;

namespace {

constexpr const char* noPack = "パックファイル名が指定されていません";
constexpr const char* cannotReadBmp = "BMPファイルを読み込めません";
constexpr const char* cannotCopy = "サーフェース間で展開できません";
constexpr const char* nameTooLong = "ファイル名またはリソース名が長すぎます";
constexpr int32_t copyAttempts = 10;

struct PackPicture {
    PackEntry entry;
    std::vector<uint8_t> stored;
};

int32_t readPicture(const char* caption, const std::string& upperName, PackPicture& picture) {
    FILE* pack = packState.path[0] ? platform::openFile(packState.path, "rb") : nullptr;
    zuSystem::NoteTriedEntry(packState.path, upperName.c_str());  // named by the report below
    if (!pack) return zuSystem::ReportError(caption, noPack, 0);
    std::setvbuf(pack, nullptr, _IOFBF, 512);  // the search reads a few bytes between long seeks
    bool read = findPackEntry(pack, upperName, picture.entry) &&
                readPackPixels(pack, picture.entry, picture.stored);
    std::fclose(pack);
    if (read) zuSystem::NoteTriedPath(nullptr);
    return read ? 1 : zuSystem::ReportError(caption, cannotReadBmp, 0);
}

bool writeStaging(platform::Surface& staging, const PackPicture& picture) {
    platform::LockedRect locked;
    if (platform::lock(staging, locked) != platform::Status::ok) return false;
    bool wide = locked.format == platform::Format::xrgb8888;
    const size_t storedRow = size_t(picture.entry.width) * 2;
    for (int32_t y = 0; y < picture.entry.height; ++y)
        writePackRow(picture.stored.data() + storedRow * y, picture.entry.width,
                     locked.bits + size_t(locked.pitch) * y, wide, pixelFormat);
    platform::unlock(staging);
    return true;
}

// abandoned: the staging object could not be made (CreateObject reported it) or locked (silent).
enum class Copy { done, abandoned, failed };

// Each attempt fills the staging object again, since a loss met by the copy blanks it.
Copy copyThroughStaging(int32_t target, int32_t staging, const PackPicture& picture) {
    const platform::Rect area{0, 0, picture.entry.width, picture.entry.height};
    for (int32_t attempt = 0; attempt < copyAttempts; ++attempt) {
        if (!writeStaging(*objectTable[staging].surface, picture)) return Copy::abandoned;
        platform::Status status =
            platform::blt(*objectTable[target].surface, area, *objectTable[staging].surface, area, false);
        if (status == platform::Status::ok) return Copy::done;
        restoreIfLost(status);
    }
    return Copy::failed;
}

// number 0: the lowest free object; else that one, whose old picture goes once the entry is read.
int32_t loadEntry(const char* caption, const char* name, int32_t number, int32_t placement) {
    if (!name || std::strlen(name) >= sizeof ObjectRecord::name)
        return zuSystem::ReportError(caption, nameTooLong, 0);
    const std::string upperName = platform::sjisUpper(name);
    PackPicture picture;
    if (!readPicture(caption, upperName, picture)) return 0;
    const int32_t width = picture.entry.width, height = picture.entry.height;
    if (number != 0) {
        ReleaseObject(number);
        objectTable[number] = ObjectRecord{};
    }
    int32_t target = number != 0 ? createObjectAt(number, width, height)
                                 : CreateObject(width, height, placement);
    if (target == 0) return 0;
    int32_t staging = CreateObject(width, height, 2);
    Copy copy = staging != 0 ? copyThroughStaging(target, staging, picture) : Copy::abandoned;
    if (staging != 0) ReleaseObject(staging);
    if (copy != Copy::done) {
        ReleaseObject(target);
        return copy == Copy::failed ? zuSystem::ReportError(caption, cannotCopy, 0) : 0;
    }
    ObjectRecord& record = objectTable[target];
    applyLoadColorKey(record);
    platform::sjisCopy(record.name, sizeof record.name, upperName);
    record.fromPack = 1;
    record.placement = 2;
    return target;
}

}  // namespace

void SetPackFile(const char* name) {
    std::string path = std::string(zuSystem::ModuleDir(0)) + (name ? name : "");
    bool fits = name && *name && path.size() < sizeof packState.path;
    std::strcpy(packState.path, fits ? path.c_str() : "");
}

int32_t LoadPack(const char* name, int32_t placement) {
    return loadEntry("zuDraw::LoadPack", name, 0, placement);
}

int32_t SwapPack(const char* name, int32_t number, int32_t placement) {
    if (number < firstLoadableObject || number >= objectCount) return 0;
    return loadEntry("zuDraw::SwapPack", name, number, placement);
}

}  // namespace zuDraw
