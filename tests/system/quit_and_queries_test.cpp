// Quit, the instance guard between two processes, the version table, queries and Shift-JIS text.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/headless.h"
#include "platform/os/instance.h"
#include "platform/sjis.h"
#include "platform/os/system_info.h"
#include "platform/win32.h"
#include "platform/os/window.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace zuSystem;
namespace headless = platform::headless;

class SystemFrame : public FreshProgram {};

TEST_F(SystemFrame, QuitRunsOnceThenTheCloseEndsTheLoop) {
    ClipCursor(0, 0, 10, 10);
    systemState.mutex = 1;
    EXPECT_EQ(Quit(), 1);
    EXPECT_EQ(IsClipped(), 0);
    EXPECT_EQ(systemState.mutex, 0);
    EXPECT_EQ(systemState.closeState, 2);
    EXPECT_EQ(platform::queuedMessageCount(), 1u);  // the one WM_CLOSE
    ClipCursor(0, 0, 10, 10);
    EXPECT_EQ(Quit(), 1);
    EXPECT_EQ(IsClipped(), 1);  // the second quit did nothing
    EXPECT_EQ(platform::queuedMessageCount(), 1u);
    EXPECT_TRUE(drainMessages());
    EXPECT_EQ(platform::currentWindow(), nullptr);

    // Closing the window: the quit runs once, with no second close posted.
    TearDown();
    SetUp();
    EXPECT_TRUE(deliver(WM_CLOSE));
    EXPECT_EQ(systemState.quitting, 1);
    EXPECT_EQ(systemState.closeState, 2);
}

TEST_F(SystemFrame, SecondProcessIsRefusedAndBringsTheFirstToTheFront) {
    std::string name = "guard-test-" + std::to_string(getpid());
    ASSERT_EQ(CheckInstance(name.c_str()), 1);
    EXPECT_EQ(systemState.mutex, 1);
    auto otherProcess = [&] {
        pid_t child = fork();
        if (child == 0) _exit(platform::acquireInstance((name + ":ZuMutex").c_str()) ? 10 : 20);
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(otherProcess(), 20);
    platform::serviceInstance();
    EXPECT_EQ(headless::raiseCount(), 1);

    Quit();  // releases the guard: the next copy may run
    EXPECT_EQ(otherProcess(), 10);
    platform::serviceInstance();
    EXPECT_EQ(headless::raiseCount(), 1);
}

TEST_F(SystemFrame, VersionTable) {
    auto version = [](int32_t id, int32_t major, int32_t minor) {
        platform::OsVersion v;
        v.platformId = id;
        v.major = major;
        v.minor = minor;
        return VersionNumber(v);
    };
    EXPECT_EQ(version(0, 3, 11), 310);
    EXPECT_EQ(version(1, 4, 0), 950);
    EXPECT_EQ(version(1, 4, 10), 980);
    EXPECT_EQ(version(1, 5, 2), 502);
    EXPECT_EQ(version(2, 5, 0), 2000);
    EXPECT_EQ(version(2, 5, 1), 2000);
    EXPECT_EQ(version(2, 4, 0), 4000);
    EXPECT_EQ(version(3, 1, 0), -1);
    EXPECT_EQ(VersionNumber(platform::parseKernelRelease("6.1.0-18-amd64")), 6010);
    EXPECT_GT(WindowsVersion(), 2000);
}

TEST_F(SystemFrame, DateAndTimeComeFromTheWallClock) {
    setenv("TZ", "UTC", 1);
    tzset();
    int32_t year, month, day, hour, minute, second;
    char weekday[4] = {};
    GetDate(&year, &month, &day, weekday);
    GetTime(&hour, &minute, &second);
    unsetenv("TZ");
    tzset();
    EXPECT_EQ(year * 10000 + month * 100 + day, 20010909);  // the headless fixed wall clock
    EXPECT_EQ(hour * 10000 + minute * 100 + second, 14640);
    EXPECT_STREQ(weekday, "日");
    EXPECT_GE(FreeMemory(), 0);
}

TEST(ShiftJis, ConvertsScansAndCutsOnCharacterBoundaries) {
    EXPECT_EQ(platform::sjisToUtf8("エラー発生"), utf8(u8"エラー発生"));
    EXPECT_EQ(platform::sjisToUtf8("ab\x83"), "ab");  // a lone final lead byte is dropped
    std::string sjis;
    EXPECT_TRUE(platform::utf8ToSjis(utf8(u8"ソフト"), sjis));
    EXPECT_EQ(sjis, "ソフト");
    EXPECT_FALSE(platform::utf8ToSjis("\xF0\x9F\x98\x80", sjis));

    EXPECT_EQ(platform::sjisFindLast("a\\ソ", '\\'), 1u);
    char small[4];
    EXPECT_EQ(platform::sjisCopy(small, sizeof small, "aソソ"), 3u);
    EXPECT_STREQ(small, "aソ");
    EXPECT_EQ(platform::sjisCopy(small, sizeof small, "abソ"), 2u);
    EXPECT_STREQ(small, "ab");
}

}  // namespace
