/// @file
/// The compiled-in resource table: bitmaps, waves, raw data and icons, by type and name.
#pragma once
#include <cstdint>
#include <span>

namespace platform {

/// @addtogroup entry
/// @{

/// One compiled-in resource, as zu_add_resources() generates it from a manifest line.
struct Resource {
    const char* type;  ///< "BITMAP", "WAVE", "RCDATA" or "ICON"
    const char* name;  ///< the name it is looked up by; "MAIN" is the window's icon
    std::span<const uint8_t> bytes;  ///< the file's bytes, unchanged
};

/// The program as main() hands it to WinMain.
struct Instance {
    std::span<const Resource> resources;  ///< the program's table (programResources())
    const char* commandLine = "";  ///< the arguments after the program's name, Shift-JIS
};

/// The bytes of a resource. Type and name compare case-insensitively (ASCII).
/// @return an empty span when the instance is null or holds no such resource
std::span<const uint8_t> findResource(const Instance*, const char* type, const char* name);

/// The program's table: empty unless the program defines its own, as the source that zuembed
/// (CMake: zu_add_resources) generates from a manifest does.
std::span<const Resource> programResources();

/// @}

}  // namespace platform
