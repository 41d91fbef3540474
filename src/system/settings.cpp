// One-number settings files under the program directory (override form).
#include <cstdio>
#include <string>

#include "platform/os/files.h"
#include "system/error_detail.h"
#include "system/zu_system.h"

namespace zuSystem {
namespace {

std::string settingsPath(const char* name) { return std::string(ModuleDir(1)) + name; }

}  // namespace

// A settings file that cannot be written is skipped without a report; the result says so.
int32_t WriteNumber(const char* name, int32_t value) {
    FILE* file = platform::openFile(settingsPath(name).c_str(), "wt");
    if (!file) return 0;
    bool written = std::fprintf(file, "%d", value) > 0;
    if (std::fclose(file) != 0) written = false;
    return written ? 1 : 0;
}

// A missing file, or one holding no number, reads as 0.
int32_t ReadNumber(const char* name) {
    FILE* file = platform::openFile(settingsPath(name).c_str(), "rt");
    if (!file) return 0;
    int value = 0;
    if (std::fscanf(file, "%d", &value) != 1) value = 0;
    std::fclose(file);
    return value;
}

}  // namespace zuSystem
