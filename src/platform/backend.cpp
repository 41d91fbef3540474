// Holds the installed backend; a silent stand-in serves until one is installed.
#include "platform/backend.h"

#include <cstdio>
#include <memory>

#include "platform/win32.h"

namespace platform {
namespace {
Backend fallbackBackend;
std::unique_ptr<Backend> installed;
}  // namespace

int32_t Backend::messageBox(const char* textUtf8, const char* captionUtf8, uint32_t type) {
    std::fprintf(stderr, "messagebox: %s: %s\n", captionUtf8, textUtf8);
    return (type & 0xF) == MB_YESNO ? IDYES : IDOK;
}

Backend& backend() { return installed ? *installed : fallbackBackend; }
void installBackend(Backend* b) { installed.reset(b); }

}  // namespace platform
