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

TEST(Environment, ZuNameWinsAndTheTessoraNameStandsInWhenItIsUnsetOrEmpty) {
    // ZU_ZZTEST and TESSORA_ZZTEST (null: unset), what is read (null: nothing), the name in messages.
    const struct { const char *zu, *tessora, *value, *name; } cases[] = {
        {nullptr, nullptr, nullptr, "ZU_ZZTEST"}, {"a", nullptr, "a", "ZU_ZZTEST"}, {nullptr, "b", "b", "TESSORA_ZZTEST"},
        {"a", "b", "a", "ZU_ZZTEST"},             {"", "b", "b", "TESSORA_ZZTEST"}, {"", "", nullptr, "ZU_ZZTEST"},
    };
    for (const auto& c : cases) {
        for (auto [variable, value] : {std::pair("ZU_ZZTEST", c.zu), {"TESSORA_ZZTEST", c.tessora}})
            value ? setenv(variable, value, 1) : unsetenv(variable);
        const char* value = platform::environmentSetting("ZZTEST");
        EXPECT_EQ(value ? std::string(value) : "(null)", c.value ? c.value : "(null)") << c.zu << c.tessora;
        EXPECT_EQ(platform::environmentSettingName("ZZTEST"), c.name);
    }
    for (const char* variable : {"ZU_ZZTEST", "TESSORA_ZZTEST"}) unsetenv(variable);
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
