// Lookup in the compiled-in resource table.
#include "platform/os/resources.h"

#include <strings.h>

namespace platform {

std::span<const uint8_t> findResource(const Instance* instance, const char* type, const char* name) {
    if (!instance || !type || !name) return {};
    for (const Resource& r : instance->resources)
        if (strcasecmp(r.type, type) == 0 && strcasecmp(r.name, name) == 0) return r.bytes;
    return {};
}

}  // namespace platform
