// Pack conversion: every BMP of a folder loaded as an object, read back through a drawing
// context, reduced to 15 bits and appended to a draw pack. Colours are read from a surface, so
// the desktop must be deeper than 16 bits or they would already be reduced.
#include <string>
#include <string_view>
#include <vector>

#include "draw/draw_internal.h"
#include "platform/os/files.h"
#include "platform/sjis.h"
#include "platform/text/draw_context.h"
#include "system/zu_system.h"

namespace zuDraw {

namespace {

// Only true black becomes 0, so the default black key keys exactly the bitmap's black pixels;
// a colour that would reduce to 0, such as (7, 7, 7), is stored as 0x0001.
uint16_t packValue(COLORREF colour) {
    uint32_t r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    if ((r | g | b) == 0) return 0;
    r >>= 3, g >>= 3, b >>= 3;
    if ((r | g | b) == 0) b = 1;
    return uint16_t(r << 10 | g << 5 | b);
}

void appendUint16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

bool encodeEntry(const ObjectRecord& record, std::string_view name, std::vector<uint8_t>& entry) {
    platform::DrawContext* dc = platform::getDC(*record.surface);
    if (!dc) return false;
    appendUint16(entry, record.width);
    appendUint16(entry, record.height);
    entry.insert(entry.end(), name.begin(), name.end());
    entry.push_back('\0');
    for (int32_t y = 0; y < record.height; ++y)
        for (int32_t x = 0; x < record.width; ++x) appendUint16(entry, packValue(platform::getPixel(dc, x, y)));
    platform::releaseDC(dc);
    return true;
}

}  // namespace

int32_t ConvertFile(const char* pack, const char* path) {
    // A failed load is reported by LoadObject, pictures over 65535 pixels a side included; its
    // 0 is internal object 0, never a picture to pack.
    int32_t number = LoadObject(path, 1);
    if (number == 0) return 0;
    std::string_view fullPath = path;
    size_t separator = platform::sjisFindLast(fullPath, '\\');
    std::string_view name = separator == std::string_view::npos ? fullPath : fullPath.substr(separator + 1);
    std::vector<uint8_t> entry;
    bool written = false;
    if (encodeEntry(objectTable[number], name, entry)) {
        std::string packPath = std::string(zuSystem::ModuleDir(0)) + pack;
        if (FILE* file = platform::openFile(packPath.c_str(), "ab")) {
            written = std::fwrite(entry.data(), 1, entry.size(), file) == entry.size();
            written = std::fclose(file) == 0 && written;
        }
    }
    ReleaseObject(number);
    return written ? 1 : 0;
}

int32_t Convert(const char* pack, const char* folder, int32_t afresh, ConvertReport report) {
    if (zuSystem::DesktopBits() <= 16)
        return zuSystem::ReportError("zuDraw::Convert", "画面をフルカラーにして下さい", 0);
    if (!pack) pack = "";
    const std::string moduleDir = zuSystem::ModuleDir(0);
    if (afresh) platform::removeFile((moduleDir + pack).c_str());
    const std::string prefix = folder && *folder ? std::string(folder) + "\\" : "";
    platform::FindData found;
    platform::FindHandle* search = platform::findFirst((moduleDir + prefix + "*.BMP").c_str(), found);
    if (!search) return 1;
    do {
        if (found.directory) continue;
        const std::string path = platform::sjisUpper(prefix + found.name);
        int32_t written = ConvertFile(pack, path.c_str());
        if (report) report(path.c_str(), written);
    } while (platform::findNext(search, found));
    platform::findClose(search);
    return 1;
}

}  // namespace zuDraw
