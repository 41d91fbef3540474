// Host queries behind the framework's date, time, disk, memory and version operations.
#pragma once
#include <cstdint>

namespace platform {

struct LocalTime {
    int32_t year = 0, month = 0, day = 0, weekday = 0;  // month 1-12, weekday 0 = Sunday
    int32_t hour = 0, minute = 0, second = 0;
};

// The version record as the framework's table reads it: the host reports platform 2.
struct OsVersion {
    int32_t platformId = 2;
    int32_t major = 0, minor = 0;
};

LocalTime localTime();            // from the backend's wall clock
uint64_t diskFree();              // free bytes on the file system of the program folder
uint64_t freeMemory();            // MemAvailable in bytes, 0 when unknown
OsVersion osVersion();            // kernel release, "6.1.0-..." gives 6 and 1
OsVersion parseKernelRelease(const char* release);

}  // namespace platform
