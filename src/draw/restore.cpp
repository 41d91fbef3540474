// Bringing surfaces back after a loss: the screen's own surfaces are restored blank, every loaded
// object is reloaded from its file, resource or pack, created objects come back blank.
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
    if (record.name[0] == '*') return;
    SetLoadColorKey(COLORREF(record.colorKey));
    std::string name = record.name;
    if (record.fromPack == 1) SwapPack(name.c_str(), number, record.placement);
    else SwapObject(name.c_str(), number, record.placement);
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
