// Framework paths on the host: Shift-JIS parts split only at real separators, each found
// exactly, then by raw bytes, then by an ASCII case-insensitive scan of its folder.
#include "platform/os/files.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/sjis.h"

namespace platform {
namespace {

std::string moduleOverride;

bool isSeparator(char c) { return c == '\\' || c == '/'; }
char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

// Trail bytes of double-byte characters compare exactly: 0x61-0x7A may be one.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (isSjisLeadByte(uint8_t(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (asciiUpper(a[i]) != asciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

std::string upperCase(std::string_view text) {
    std::string upper(text);
    for (size_t i = 0; i < upper.size(); ++i) {
        if (isSjisLeadByte(uint8_t(upper[i]))) ++i;
        else upper[i] = asciiUpper(upper[i]);
    }
    return upper;
}

size_t lastSeparator(std::string_view path) {
    size_t back = sjisFindLast(path, '\\'), slash = sjisFindLast(path, '/');
    if (back == std::string_view::npos) return slash;
    if (slash == std::string_view::npos) return back;
    return std::max(back, slash);
}

struct SplitPath {
    bool absolute = false;
    std::vector<std::string> parts;
};

// Splits at '\' and '/' while stepping over double-byte characters; a drive letter names the
// host's one root.
SplitPath splitPath(std::string_view path) {
    SplitPath split;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(uint8_t(path[0]))) {
        path.remove_prefix(2);
        split.absolute = true;
    }
    if (!path.empty() && isSeparator(path[0])) split.absolute = true;
    std::string part;
    for (size_t i = 0; i < path.size();) {
        if (isSjisLeadByte(uint8_t(path[i])) && i + 1 < path.size()) {
            part.append(path.substr(i, 2));
            i += 2;
            continue;
        }
        if (isSeparator(path[i])) {
            if (!part.empty()) split.parts.push_back(part);
            part.clear();
        } else {
            part += path[i];
        }
        ++i;
    }
    if (!part.empty()) split.parts.push_back(part);
    return split;
}

// The UTF-8 form of a Shift-JIS name, empty when it has none (bytes that are not Shift-JIS).
std::string utf8Name(const std::string& sjis) {
    std::string utf8 = sjisToUtf8(sjis), back;
    return utf8ToSjis(utf8, back) && back == sjis ? utf8 : std::string();
}

bool exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return "/" + name;
    return folder + "/" + name;
}

// The host name of one part inside folder, or empty when absent.
std::string findPart(const std::string& folder, const std::string& sjis) {
    if (sjis == "." || sjis == "..") return sjis;
    std::string utf8 = utf8Name(sjis);
    if (!utf8.empty() && exists(join(folder, utf8))) return utf8;
    if (exists(join(folder, sjis))) return sjis;
    DIR* dir = opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir) return {};
    std::string best;
    while (dirent* entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        bool same = equalsIgnoringAsciiCase(name, sjis) ||
                    (!utf8.empty() && equalsIgnoringAsciiCase(name, utf8));
        if (same && (best.empty() || name < best)) best = name;
    }
    closedir(dir);
    return best;
}

std::string homeDirectory() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "/tmp";
}

void makeDirectories(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/') mkdir(path.substr(0, i).c_str(), 0755);
}

std::string hostToFramework(const std::string& host) {
    std::string slashes = host, sjis;
    std::replace(slashes.begin(), slashes.end(), '/', '\\');
    return utf8ToSjis(slashes, sjis) ? sjis : std::string();
}

// Characters of a Shift-JIS text, one or two bytes each.
std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> chars;
    for (size_t i = 0; i < text.size();) {
        size_t n = isSjisLeadByte(uint8_t(text[i])) && i + 1 < text.size() ? 2 : 1;
        chars.push_back(text.substr(i, n));
        i += n;
    }
    return chars;
}

}  // namespace

std::string moduleFileName() {
    if (!moduleOverride.empty()) return moduleOverride;
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return {};
    return hostToFramework(std::string(exe, size_t(n)));
}

void setModuleFileName(const char* sjisPath) { moduleOverride = sjisPath ? sjisPath : ""; }

namespace {

std::string programName;  // Shift-JIS, as the program named itself

// A folder name for the program: its name (else the executable's) in UTF-8, ASCII letters in
// lower case, path separators replaced.
std::string configFolderName() {
    std::string name = programName;
    if (name.empty()) {
        std::string module = moduleFileName();
        size_t slash = sjisFindLast(module, '\\');
        name = slash == std::string::npos ? module : module.substr(slash + 1);
    }
    std::string folder = sjisToUtf8(name);
    for (char& c : folder) {
        if (c == '/' || c == '\\') c = '_';
        else if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return folder.empty() || folder == "." || folder == ".." ? "zu" : folder;
}

}  // namespace

void setProgramName(const char* sjisName) { programName = sjisName ? sjisName : ""; }

std::string configDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base = xdg && xdg[0] == '/' ? xdg : homeDirectory() + "/.config";
    std::string dir = base + "/" + configFolderName();
    makeDirectories(dir);
    return hostToFramework(dir);
}

bool hostPath(const char* sjisPath, std::string& out, bool forWrite) {
    out.clear();
    if (!sjisPath || std::strlen(sjisPath) >= maxPathBytes) return false;
    SplitPath split = splitPath(sjisPath);
    std::string path = split.absolute ? "" : ".";
    for (size_t i = 0; i < split.parts.size(); ++i) {
        const std::string& part = split.parts[i];
        bool last = i + 1 == split.parts.size();
        if (!last && part.size() >= maxFolderNameBytes) return false;
        std::string name = findPart(path, part);
        if (name.empty() && last && forWrite) name = utf8Name(part);
        if (name.empty()) return false;
        path = join(path, name);
    }
    out = path.empty() ? "/" : path;
    return true;
}

FILE* openFile(const char* sjisPath, const char* mode) {
    bool writes = std::strpbrk(mode, "wa") != nullptr;
    std::string host, hostMode;
    if (!hostPath(sjisPath, host, writes)) return nullptr;
    for (const char* m = mode; *m; ++m)
        if (*m != 't') hostMode += *m;  // text mode is the only mode here
    return std::fopen(host.c_str(), hostMode.c_str());
}

bool removeFile(const char* sjisPath) {
    std::string host;
    return hostPath(sjisPath, host) && unlink(host.c_str()) == 0;
}

bool matchesPattern(const char* sjisName, const char* sjisPattern) {
    if (std::strcmp(sjisPattern, "*.*") == 0) return true;
    std::vector<std::string_view> name = characters(sjisName), pattern = characters(sjisPattern);
    // matched[j]: the first i characters of the name match the first j of the pattern.
    std::vector<char> matched(pattern.size() + 1, 0), next(pattern.size() + 1, 0);
    matched[0] = 1;
    for (size_t j = 1; j <= pattern.size() && pattern[j - 1] == "*"; ++j) matched[j] = 1;
    for (const std::string_view& c : name) {
        next.assign(next.size(), 0);
        for (size_t j = 1; j <= pattern.size(); ++j) {
            const std::string_view& p = pattern[j - 1];
            if (p == "*") next[j] = next[j - 1] || matched[j];
            else if (p == "?" || equalsIgnoringAsciiCase(p, c)) next[j] = matched[j - 1];
        }
        matched.swap(next);
    }
    return matched[pattern.size()] != 0;
}

struct FindHandle {
    std::vector<FindData> items;
    size_t next = 0;
};

FindHandle* findFirst(const char* sjisPattern, FindData& out) {
    std::string_view full = sjisPattern;
    size_t cut = lastSeparator(full);
    std::string folder = cut == std::string_view::npos ? "." : std::string(full.substr(0, cut + 1));
    std::string pattern(cut == std::string_view::npos ? full : full.substr(cut + 1));
    std::string host;
    if (!hostPath(folder.c_str(), host)) return nullptr;
    DIR* dir = opendir(host.c_str());
    if (!dir) return nullptr;
    auto handle = new FindHandle;
    while (dirent* entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        std::string sjis;
        if (name == "." || name == ".." || !utf8ToSjis(name, sjis) || sjis.size() >= maxPathBytes)
            continue;
        if (!matchesPattern(sjis.c_str(), pattern.c_str())) continue;
        FindData data;
        std::memcpy(data.name, sjis.c_str(), sjis.size() + 1);
        struct stat st;
        if (stat((host + "/" + std::string(name)).c_str(), &st) == 0) {
            data.directory = S_ISDIR(st.st_mode);
            data.size = uint64_t(st.st_size);
        }
        handle->items.push_back(data);
    }
    closedir(dir);
    std::sort(handle->items.begin(), handle->items.end(), [](const FindData& a, const FindData& b) {
        return upperCase(a.name) < upperCase(b.name);
    });
    if (!findNext(handle, out)) {
        delete handle;
        return nullptr;
    }
    return handle;
}

bool findNext(FindHandle* handle, FindData& out) {
    if (!handle || handle->next >= handle->items.size()) return false;
    out = handle->items[handle->next++];
    return true;
}

void findClose(FindHandle* handle) { delete handle; }

}  // namespace platform
