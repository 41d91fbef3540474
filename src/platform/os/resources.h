// The compiled-in resource table: bitmaps, waves, raw data and icons, by type and name.
#pragma once
#include <cstdint>
#include <span>

namespace platform {

struct Resource {
    const char* type;  // "BITMAP", "WAVE", "RCDATA", "ICON"
    const char* name;
    std::span<const uint8_t> bytes;
};

struct Instance {
    std::span<const Resource> resources;
    const char* commandLine = "";  // Shift-JIS
};

// Names compare case-insensitively (ASCII); an empty span when absent.
std::span<const uint8_t> findResource(const Instance*, const char* type, const char* name);

// The program's table: empty unless the program defines its own, as the source that zuembed
// (CMake: zu_add_resources) generates from a manifest does.
std::span<const Resource> programResources();

}  // namespace platform
