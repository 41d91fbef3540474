// The framework's settings by environment: ZU_<NAME> first, TESSORA_<NAME> as its alias; and the
// per-user folder named for the program that runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/environment.h"
#include "platform/os/files.h"
#include "platform/os/window.h"
#include "platform/win32.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

struct EnvironmentCase {
    const char* zu;       // ZU_ZZTEST, null: unset
    const char* tessora;  // TESSORA_ZZTEST, null: unset
    const char* value;    // what is read, null: nothing
    const char* name;     // the variable named in messages
};

void setOrUnset(const char* variable, const char* value) {
    if (value) setenv(variable, value, 1);
    else unsetenv(variable);
}

TEST(Environment, ZuNameWinsAndTheTessoraNameStandsInWhenItIsUnsetOrEmpty) {
    const EnvironmentCase cases[] = {
        {nullptr, nullptr, nullptr, "ZU_ZZTEST"},  {"a", nullptr, "a", "ZU_ZZTEST"},
        {nullptr, "b", "b", "TESSORA_ZZTEST"},     {"a", "b", "a", "ZU_ZZTEST"},
        {"", "b", "b", "TESSORA_ZZTEST"},          {"", "", nullptr, "ZU_ZZTEST"},
    };
    for (const EnvironmentCase& c : cases) {
        setOrUnset("ZU_ZZTEST", c.zu);
        setOrUnset("TESSORA_ZZTEST", c.tessora);
        const char* value = platform::environmentSetting("ZZTEST");
        EXPECT_EQ(value ? std::string(value) : "(null)", c.value ? c.value : "(null)") << c.zu << c.tessora;
        EXPECT_EQ(platform::environmentSettingName("ZZTEST"), c.name);
    }
    unsetenv("ZU_ZZTEST");
    unsetenv("TESSORA_ZZTEST");
}

class ProgramSettingsFolder : public FreshProgram {};

TEST_F(ProgramSettingsFolder, IsNamedForTheWindowTitleElseTheExecutable) {
    const std::pair<const char*, const char*> cases[] = {
        {"TESSORA", "tessora"}, {"My Game", "my game"}, {"a/b\\c", "a_b_c"}, {"", "tessora"}, {"..", "zu"},
    };
    for (const auto& [title, folder] : cases) {
        platform::destroyWindow(platform::currentWindow());
        std::snprintf(zuSystem::systemState.title, sizeof zuSystem::systemState.title, "%s", title);
        ASSERT_TRUE(zuSystem::CreateMainWindow(nullptr, SW_SHOWNORMAL)) << title;
        EXPECT_EQ(platform::configDirectory(), frameworkPath(configFolder / folder)) << title;
    }
}

}  // namespace
