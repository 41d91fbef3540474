// Font faces through fontconfig: the framework's face names mapped to installed font files, and
// the list of installed families with their character sets. Lookups are cached.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The framework's standard Japanese face names (gothic and mincho), as Shift-JIS bytes.
inline constexpr char gothicFaceSjis[] = "\x95\x57\x8F\x80\x83\x53\x83\x56\x83\x62\x83\x4E";
inline constexpr char minchoFaceSjis[] = "\x95\x57\x8F\x80\x96\xBE\x92\xA9";

// A font file to open, and what must be synthesised because the file's style lacks it.
struct FaceFile {
    std::string path;  // empty: no font at all is installed
    int32_t index = 0;
    bool synthBold = false;
    bool synthItalic = false;
};

// faceSjis is the LOGFONT face name (Shift-JIS). Unknown faces get the gothic face.
FaceFile findFace(const char* faceSjis, bool bold, bool italic);

// The file standing in for characters the chosen face lacks.
const FaceFile& fallbackFace();

// Installed families (UTF-8) with their character set: 128 Japanese, 2 symbol, 0 otherwise.
struct InstalledFamily {
    std::string nameUtf8;
    uint8_t charSet = 0;
};
const std::vector<InstalledFamily>& installedFamilies();

// "gothic <file>, mincho <file>, Arial <file>" for the start-up log.
std::string standardFaceReport();

}  // namespace platform
