// The object table: loading bitmaps into free or given slots, blank objects, freeing, clearing.
// A load that fails frees its slot again, so a failed name never blocks a number.
#include <cstring>
#include <string>

#include "draw/bitmap_load.h"
#include "draw/draw_internal.h"
#include "platform/os/files.h"
#include "platform/sjis.h"
#include "platform/video/surface.h"
#include "system/error_detail.h"
#include "system/zu_system.h"

namespace zuDraw {

namespace {

constexpr const char* nameTooLong = "ファイル名またはリソース名が長すぎます";
constexpr const char* tooManyObjects = "オブジェクト数が多過ぎます";
constexpr const char* cannotReadBmp = "BMPファイルを読み込めません";

bool validName(const char* name) {
    return name && std::strlen(name) <= size_t(maxObjectNameLength);
}

bool validNumber(int32_t number) { return number >= 0 && number < objectCount; }

int32_t lowestFreeSlot() {
    for (int32_t n = firstLoadableObject; n < objectCount; ++n)
        if (objectTable[n].name[0] == '\0') return n;
    return -1;
}

void claim(ObjectRecord& record, const char* name) {
    std::strncpy(record.name, name, sizeof record.name - 1);
    record.name[sizeof record.name - 1] = '\0';
    record.fromPack = 0;
    record.placement = 2;
}

void freeRecord(ObjectRecord& record) {
    if (record.surface) platform::destroySurface(record.surface);
    record = ObjectRecord{};
}

// The file beside the program first (after a resource named by that whole path), then a
// resource named exactly as passed. A path the host cannot hold is simply not found.
bool loadPicture(ObjectRecord& record, const char* name) {
    std::string path = std::string(zuSystem::ModuleDir(0)) + name;
    if (path.size() < platform::maxPathBytes &&
        loadBitmapInto(record, path.c_str(), BitmapSource::resourceThenFile))
        return true;
    if (loadBitmapInto(record, name, BitmapSource::resourceOnly)) return true;
    zuSystem::NoteTriedPath(path.c_str());
    return false;
}

int32_t loadIntoSlot(const char* caption, const char* name, int32_t number) {
    ObjectRecord& record = objectTable[number];
    claim(record, name);
    if (!loadPicture(record, name)) {
        freeRecord(record);
        return zuSystem::ReportError(caption, cannotReadBmp, 0);
    }
    applyLoadColorKey(record);
    return 1;
}

}  // namespace

platform::Surface* objectSurface(int32_t number) {
    return validNumber(number) ? objectTable[number].surface : nullptr;
}

void restoreIfLost(platform::Status status) {
    if (status == platform::Status::surfaceLost) Restore();
}

int32_t deviceResult(platform::Status status) {
    switch (status) {
    case platform::Status::ok: return DD_OK;
    case platform::Status::surfaceLost: return DDERR_SURFACELOST;
    default: return DDERR_GENERIC;
    }
}

int32_t LoadObject(const char* name, int32_t placement) {
    (void)placement;
    constexpr const char* caption = "zuDraw::LoadObject";
    if (!validName(name)) return zuSystem::ReportError(caption, nameTooLong, 0);
    int32_t number = lowestFreeSlot();
    if (number < 0) return zuSystem::ReportError(caption, tooManyObjects, 0);
    return loadIntoSlot(caption, name, number) ? number : 0;
}

int32_t SwapObject(const char* name, int32_t number, int32_t placement) {
    (void)placement;
    constexpr const char* caption = "zuDraw::SwapObject";
    if (!validName(name)) return zuSystem::ReportError(caption, nameTooLong, 0);
    if (!validNumber(number)) return 0;
    std::string kept = name;  // the name may be the slot's own, which freeing clears
    freeRecord(objectTable[number]);
    return loadIntoSlot(caption, kept.c_str(), number);
}

int32_t createObjectAt(int32_t number, int32_t width, int32_t height) {
    ObjectRecord& record = objectTable[number];
    bool sizeFits = width > 0 && height > 0 && width <= 0xFFFF && height <= 0xFFFF;
    record.surface = sizeFits ? platform::createSurface(width, height) : nullptr;
    if (!record.surface) return zuSystem::ReportError("zuDraw::CreateObject", "スプライトを作成できません", 0);
    claim(record, "*");
    record.width = uint16_t(width);
    record.height = uint16_t(height);
    applyLoadColorKey(record);
    return number;
}

int32_t CreateObject(int32_t width, int32_t height, int32_t placement) {
    (void)placement;
    int32_t number = lowestFreeSlot();
    if (number < 0) return zuSystem::ReportError("zuDraw::CreateObject", tooManyObjects, 0);
    return createObjectAt(number, width, height);
}

void ReleaseObject(int32_t number) {
    if (!objectSurface(number)) return;
    ObjectRecord& record = objectTable[number];
    platform::destroySurface(record.surface);
    record.surface = nullptr;
    record.name[0] = '\0';
    record.colorKey = 0;
    record.width = record.height = 0;
}

int32_t ClearObject(int32_t number) {
    platform::Surface* surface = objectSurface(number);
    if (!surface) return DDERR_GENERIC;
    const ObjectRecord& record = objectTable[number];
    return deviceResult(platform::fill(*surface, {0, 0, record.width, record.height}, 0));
}

}  // namespace zuDraw
