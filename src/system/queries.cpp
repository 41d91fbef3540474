// Date, time, free disk and memory, and the version number of the operating system.
#include <cstring>

#include "platform/os/system_info.h"
#include "system/zu_system.h"

namespace zuSystem {
namespace {
const char* const weekdayNames[] = {"日", "月", "火", "水", "木", "金", "土"};
}

void GetDate(int32_t* year, int32_t* month, int32_t* day, char* weekday) {
    platform::LocalTime t = platform::localTime();
    *year = t.year;
    *month = t.month;
    *day = t.day;
    std::strcpy(weekday, weekdayNames[t.weekday % 7]);  // one double-byte character
}

void GetTime(int32_t* hour, int32_t* minute, int32_t* second) {
    platform::LocalTime t = platform::localTime();
    *hour = t.hour;
    *minute = t.minute;
    *second = t.second;
}

// The drive letter names nothing on this host: the program's own file system is measured.
// The result keeps its modulo 2^32, as callers expect.
int32_t DiskFree(char drive) {
    (void)drive;
    return int32_t(uint32_t(platform::diskFree()));
}

// Saturates rather than turning negative on a machine with 2 GB or more free.
int32_t FreeMemory() {
    uint64_t bytes = platform::freeMemory();
    return bytes > uint64_t(INT32_MAX) ? INT32_MAX : int32_t(bytes);
}

int32_t VersionNumber(const platform::OsVersion& v) {
    switch (v.platformId) {
    case 0: return 310;
    case 1:
        if (v.major != 4) return v.major * 100 + v.minor;
        return v.minor == 0 ? 950 : 980;
    case 2: return v.major == 5 ? 2000 : v.major * 1000 + v.minor * 10;
    default: return -1;
    }
}

int32_t WindowsVersion() { return VersionNumber(platform::osVersion()); }

}  // namespace zuSystem
