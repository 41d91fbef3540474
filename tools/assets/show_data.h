// The showcase's data (examples/zushow): pictures, the sources of its draw and sound packs, a
// system sound and a General MIDI tune of our own. Same bytes on every run.
#pragma once
#include <filesystem>

namespace assets {

// Writes ZUSHOW/*.BMP, ZUSHOW/SYSTEM.WAV, ZUSHOW/TUNE.MID and the pack sources
// zushow_src/PICS/*.BMP and zushow_src/SOUNDS/*.WAV under `out`.
bool writeShowData(const std::filesystem::path& out);

}  // namespace assets
