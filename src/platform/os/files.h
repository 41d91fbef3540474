// Files as the framework names them: Shift-JIS paths with '\' (or '/'), resolved on the host's
// UTF-8 file system part by part, exactly first, else by an ASCII case-insensitive scan.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

constexpr size_t maxPathBytes = 260;        // a path of this many bytes or more is not found
constexpr size_t maxFolderNameBytes = 128;  // a folder name of this many bytes or more neither

// The executable's path in Shift-JIS with '\', e.g. "\usr\lib\tessora\tessora"; empty when the
// host path has no Shift-JIS form.
std::string moduleFileName();
// Tests stand in another module path (Shift-JIS, '\'); an empty text restores the real one.
void setModuleFileName(const char* sjisPath);

// The per-user settings folder, holding the directory override file and the window choice:
// $XDG_CONFIG_HOME/<program>, by default ~/.config/<program>, where <program> is the name the
// program gave (its window title; the game's is "tessora"), else the executable's file name, in
// lower case. Shift-JIS with '\' and no final '\'; created on first use.
std::string configDirectory();
// The program's name (Shift-JIS); empty returns to the executable's file name.
void setProgramName(const char* sjisName);

// The host (UTF-8, '/') path of a framework path. With forWrite, a missing last part is
// made as given. False when a part is missing, a limit is exceeded or a name does not convert.
bool hostPath(const char* sjisPath, std::string& out, bool forWrite = false);

FILE* openFile(const char* sjisPath, const char* mode);  // C stdio modes; writes may create
bool removeFile(const char* sjisPath);

// File search with '*' and '?' in the last part, case-insensitive; names in upper-case byte
// order, "." and ".." left out.
struct FindData {
    char name[maxPathBytes] = {};  // Shift-JIS
    bool directory = false;
    uint64_t size = 0;
};
struct FindHandle;
FindHandle* findFirst(const char* sjisPattern, FindData& out);  // null when nothing matches
bool findNext(FindHandle* handle, FindData& out);
void findClose(FindHandle* handle);

bool matchesPattern(const char* sjisName, const char* sjisPattern);

}  // namespace platform
