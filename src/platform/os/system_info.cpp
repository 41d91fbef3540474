// Host queries: local time from the backend's wall clock, statvfs, /proc/meminfo and uname.
#include "platform/os/system_info.h"

#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/backend.h"

namespace platform {

LocalTime localTime() {
    time_t seconds = time_t(backend().wallSeconds());
    struct tm t = {};
    localtime_r(&seconds, &t);
    LocalTime out;
    out.year = t.tm_year + 1900;
    out.month = t.tm_mon + 1;
    out.day = t.tm_mday;
    out.weekday = t.tm_wday;
    out.hour = t.tm_hour;
    out.minute = t.tm_min;
    out.second = t.tm_sec;
    return out;
}

uint64_t diskFree() {
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string folder = n > 0 ? std::string(exe, size_t(n)) : std::string(".");
    size_t slash = folder.rfind('/');
    if (slash != std::string::npos) folder.resize(slash == 0 ? 1 : slash);
    struct statvfs fs = {};
    if (statvfs(folder.c_str(), &fs) != 0) return 0;
    return uint64_t(fs.f_bavail) * uint64_t(fs.f_frsize);
}

uint64_t freeMemory() {
    FILE* f = std::fopen("/proc/meminfo", "r");
    if (!f) return 0;
    char line[256];
    uint64_t bytes = 0;
    while (std::fgets(line, sizeof line, f)) {
        unsigned long long kb = 0;
        if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
            bytes = uint64_t(kb) * 1024;
            break;
        }
    }
    std::fclose(f);
    return bytes;
}

OsVersion parseKernelRelease(const char* release) {
    OsVersion v;
    char* end = nullptr;
    v.major = int32_t(std::strtol(release, &end, 10));
    if (end && *end == '.') v.minor = int32_t(std::strtol(end + 1, nullptr, 10));
    return v;
}

OsVersion osVersion() {
    struct utsname u = {};
    if (uname(&u) != 0) return {};
    return parseKernelRelease(u.release);
}

}  // namespace platform
