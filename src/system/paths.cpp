// The program directory (with its optional override), the override file and the command line.
// Over-long paths and folder names are refused, never cut: a cut path would name another file.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/os/files.h"
#include "platform/sjis.h"
#include "system/zu_system.h"

namespace zuSystem {
namespace {

constexpr size_t npos = std::string::npos;

bool fits(const std::string& text, size_t capacity) { return text.size() < capacity; }

// The folder of the module path with its trailing '\'; empty when it does not fit.
std::string moduleFolder() {
    std::string path = platform::moduleFileName();
    size_t slash = platform::sjisFindLast(path, '\\');
    if (slash == npos || !fits(path, sizeof pathState.moduleDir)) return {};
    return path.substr(0, slash + 1);
}

// Remembers the last folder name of dir (with its '\') in lastDirName.
void rememberLastFolder(const std::string& dir) {
    size_t slash = platform::sjisFindLast(std::string_view(dir).substr(0, dir.size() - 1), '\\');
    if (slash == npos) return;
    std::string name = dir.substr(slash + 1);
    if (fits(name, sizeof pathState.lastDirName))
        std::memcpy(pathState.lastDirName, name.c_str(), name.size() + 1);
    else
        pathState.lastDirName[0] = '\0';
}

void setModuleDir(const std::string& dir) {
    if (fits(dir, sizeof pathState.moduleDir))
        std::memcpy(pathState.moduleDir, dir.c_str(), dir.size() + 1);
    else
        pathState.moduleDir[0] = '\0';
}

// Drops a final line feed (and the carriage return of a file written elsewhere), then a final
// '\' that is a character of its own.
void trimOverrideLine(std::string& line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && platform::sjisFindLast(line, '\\') == line.size() - 1) line.pop_back();
}

}  // namespace

char* ModuleDir(int32_t useOverride) {
    std::string dir = moduleFolder();
    if (useOverride && pathState.dirOverride[0] != '\0' && !dir.empty()) {
        rememberLastFolder(dir);
        dir = std::string(pathState.dirOverride) + "\\" + pathState.lastDirName;
    }
    setModuleDir(dir);
    return pathState.moduleDir;
}

int32_t LoadDirOverride(const char* name) {
    pathState.dirOverride[0] = '\0';
    std::string folder = platform::configDirectory();
    if (folder.empty()) return 0;
    std::string path = folder + "\\" + name;
    FILE* file = platform::openFile(path.c_str(), "rt");
    if (!file) return 0;
    char buffer[sizeof pathState.dirOverride + 1] = {};
    bool read = std::fgets(buffer, sizeof buffer, file) != nullptr;
    std::fclose(file);
    std::string line = read ? buffer : "";
    bool complete = line.size() < sizeof pathState.dirOverride || line.back() == '\n';
    trimOverrideLine(line);
    if (!read || !complete || !fits(line, sizeof pathState.dirOverride)) return 0;
    std::memcpy(pathState.dirOverride, line.c_str(), line.size() + 1);
    return 1;
}

void SetCommandLine(const char* commandLine) {
    platform::sjisCopy(systemState.commandLine, sizeof systemState.commandLine,
                       commandLine ? commandLine : "");
}

char* CommandLine() { return systemState.commandLine; }

}  // namespace zuSystem
