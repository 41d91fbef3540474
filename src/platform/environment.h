// The framework's environment settings: each is read as ZU_<NAME>, else by the game's older
// name TESSORA_<NAME>, so scripts written for either keep working.
#pragma once
#include <string>

namespace platform {

// The value of ZU_<name>, else TESSORA_<name>; null when neither is set to a non-empty text.
const char* environmentSetting(const char* name);
// The variable that environmentSetting(name) read, for messages; ZU_<name> when neither is set.
std::string environmentSettingName(const char* name);

}  // namespace platform
