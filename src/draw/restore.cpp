// Bringing surfaces back after a loss: the screen's own surfaces are restored blank, every loaded
// object is reloaded from its file or resource, created objects come back blank.
#include <string>

#include "draw/draw_internal.h"
#include "platform/video/surface.h"

namespace zuDraw {

namespace {

void restoreWhenLost(platform::Surface* surface) {
    if (surface && platform::isLost(*surface)) platform::restore(*surface);
}

void reloadPicture(int32_t number) {
    ObjectRecord& record = objectTable[number];
    if (record.name[0] == '*' || record.fromPack == 1) return;  // pack objects: their loader
    SetLoadColorKey(COLORREF(record.colorKey));
    std::string name = record.name;
    SwapObject(name.c_str(), number, record.placement);
}

}  // namespace

void Restore() {
    if (screenState.primary) platform::restore(*screenState.primary);
    restoreWhenLost(screenState.back);
    for (int32_t n = 0; n < firstLoadableObject; ++n) restoreWhenLost(objectTable[n].surface);
    for (int32_t n = firstLoadableObject; n < objectCount; ++n) {
        ObjectRecord& record = objectTable[n];
        if (record.name[0] == '\0' || !record.surface) continue;
        restoreWhenLost(record.surface);
        reloadPicture(n);
    }
}

}  // namespace zuDraw
