// ZU_<NAME> first, TESSORA_<NAME> as its alias.
#include "platform/environment.h"

#include <cstdlib>

namespace platform {
namespace {

const char* lookUp(const std::string& variable) {
    const char* value = std::getenv(variable.c_str());
    return value && *value ? value : nullptr;
}

}  // namespace

const char* environmentSetting(const char* name) {
    if (const char* value = lookUp(std::string("ZU_") + name)) return value;
    return lookUp(std::string("TESSORA_") + name);
}

std::string environmentSettingName(const char* name) {
    const std::string zu = std::string("ZU_") + name, old = std::string("TESSORA_") + name;
    return !lookUp(zu) && lookUp(old) ? old : zu;
}

}  // namespace platform
