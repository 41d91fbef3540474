/// @file
/// The program's entry. The zu::zumain library supplies main(): it picks the platform (ZU_PLATFORM:
/// unset or "sdl" for a real window and sound, "headless" for tests), builds the instance from the
/// program's compiled-in resources and its command line, calls WinMain and exits with its result.
/// A program defines WinMain; programResources() has an empty default, and a program that embeds
/// pictures, sounds or an icon gets its own from zu_add_resources() in CMake.
#pragma once
#include <cstdint>

#include "../platform/os/resources.h"
#include "../platform/types.h"
#include "../platform/win32.h"

/// @defgroup entry Program entry and resources
/// WinMain, which the program defines, and the compiled-in resources main() hands to it.
/// @{

/// The program's own entry, called once by main() after the platform is chosen.
/// @param instance the program: its resources (bitmaps, waves, icon) and command line
/// @param previous always null
/// @param commandLine the arguments after the program's name, joined by spaces, in Shift-JIS
/// @param showCommand SW_SHOWNORMAL
/// @return the process's exit status (2 when a headless script failed overrides it)
int32_t WinMain(platform::Instance* instance, platform::Instance* previous, const char* commandLine,
                int32_t showCommand);

/// @}
