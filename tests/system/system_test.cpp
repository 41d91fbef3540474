// The system layer in process: quit and the instance guard, queries, messages and error reports,
// waits, paths and settings files, the input the window procedure keeps, and the frame loop.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "draw/zu_draw.h"
#include "game/game.h"
#include "platform/os/clock.h"
#include "platform/os/files.h"
#include "platform/os/instance.h"
#include "platform/os/system_info.h"
#include "platform/os/window.h"
#include "platform/sjis.h"
#include "platform/win32.h"
#include "support/fresh_program.h"
#include "system/zu_system.h"

namespace {

using namespace zuSystem;
namespace fs = std::filesystem;
namespace headless = platform::headless;

using SystemFrame = FreshProgram;

// The guard keeps a second copy from running and brings this one to the front; quitting gives it
// back, unclips, and queues the one WM_CLOSE that ends the loop.
TEST_F(SystemFrame, SecondCopyIsRefusedUntilQuitRunsOnceAndTheCloseEndsTheLoop) {
    std::string name = "guard-test-" + std::to_string(getpid());
    ASSERT_EQ(CheckInstance(name.c_str()), 1);
    EXPECT_EQ(systemState.mutex, 1);
    auto otherProcess = [&] {  // its exit code, and how often this copy has been asked to the front
        pid_t child = fork();
        if (child == 0) _exit(platform::acquireInstance((name + ":ZuMutex").c_str()) ? 10 : 20);
        int status = 0;
        waitpid(child, &status, 0);
        platform::serviceInstance();
        return std::tuple(WIFEXITED(status) ? WEXITSTATUS(status) : -1, headless::raiseCount());
    };
    const auto clipAndQuit = [] {
        ClipCursor(0, 0, 10, 10);
        const int32_t quit = Quit();
        return std::tuple(quit, IsClipped(), systemState.mutex, systemState.closeState, platform::queuedMessageCount());
    };
    EXPECT_EQ(otherProcess(), std::tuple(20, 1));
    EXPECT_EQ(clipAndQuit(), std::tuple(1, 0, 0, 2, 1u));
    EXPECT_EQ(otherProcess(), std::tuple(10, 1));
    EXPECT_EQ(clipAndQuit(), std::tuple(1, 1, 0, 2, 1u));  // the second quit did nothing
    EXPECT_TRUE(drainMessages());
    EXPECT_EQ(platform::currentWindow(), nullptr);
}

TEST_F(SystemFrame, QueriesOfVersionDateTimeAndFreeMemory) {
    // Platform id, major, minor and the number the game sees.
    const int32_t rows[][4] = {{0, 3, 11, 310}, {1, 4, 0, 950},  {1, 4, 10, 980}, {1, 5, 2, 502},
                               {2, 5, 0, 2000}, {2, 5, 1, 2000}, {2, 4, 0, 4000}, {3, 1, 0, -1}};
    for (const auto& r : rows) EXPECT_EQ(VersionNumber({r[0], r[1], r[2]}), r[3]) << r[0] << " " << r[1] << "." << r[2];
    EXPECT_EQ(VersionNumber(platform::parseKernelRelease("6.1.0-18-amd64")), 6010);
    EXPECT_GT(WindowsVersion(), 2000);

    setenv("TZ", "UTC", 1);  // the date and time of the fixed wall clock
    tzset();
    int32_t year, month, day, hour, minute, second;
    char weekday[4] = {};
    GetDate(&year, &month, &day, weekday);
    GetTime(&hour, &minute, &second);
    unsetenv("TZ");
    tzset();
    EXPECT_EQ(std::tuple(year, month, day, hour, minute, second), std::tuple(2001, 9, 9, 1, 46, 40));
    EXPECT_STREQ(weekday, "日");
    // Bytes free, saturated rather than wrapped (the host's count moves between the readings).
    const uint64_t hostFree = platform::freeMemory();
    if (hostFree > uint64_t(INT32_MAX) + (256u << 20))
        EXPECT_EQ(FreeMemory(), INT32_MAX);
    else
        EXPECT_NEAR(FreeMemory(), double(hostFree), 256 << 20);
}

TEST_F(SystemFrame, MessagesShowCutTextsErrorReportsBeepAndRaiseTheFlagQuitOnErrorObeysAndShiftJisCutsOnCharacters) {
    systemState.cursorShown = 0;
    frameClock.seconds = 2.0f;
    headless::setClock(777);
    Message("%d", 5);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"メッセージ: 5\r\n"));
    EXPECT_EQ(std::tuple(systemState.cursorShown, systemState.messageBoxOpen), std::tuple(1, 0));
    EXPECT_EQ(std::tuple(frameClock.seconds, frameClock.lastTick), std::tuple(0.0f, 777u));
    Message("%s", std::string(400, 'x').c_str());
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"メッセージ: ") + std::string(253, 'x') + "\r\n");

    EXPECT_EQ((std::pair{QuitOnError(), systemState.quitting}), std::pair(0, 0));
    EXPECT_EQ(ReportError("zuDraw::Screen", "DirectDrawが使用できません", 42), 0);
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuDraw::Screen : DirectDrawが使用できません"));
    EXPECT_EQ(std::tuple(headless::beepCount(), HasError(), systemState.messageBoxOpen), std::tuple(1, 1, 0));
    // An over-long message is cut at 255 bytes without splitting a double-byte character.
    std::string message, expected = utf8(u8"エラー発生: zuSound::Play : ");
    for (int i = 0; i < 200; ++i) message += "ソ";
    for (int i = 0; i < (255 - 16) / 2; ++i) expected += utf8(u8"ソ");
    ReportError("zuSound::Play", message.c_str(), 0);
    EXPECT_EQ(headless::lastMessageBox(), expected);
    EXPECT_EQ((std::pair{QuitOnError(), systemState.quitting}), std::pair(1, 1));
    EXPECT_TRUE(drainMessages());  // the posted close ends the loop
    // Shift-JIS: a lone lead byte dropped, what it cannot hold refused, copies cut on character boundaries.
    EXPECT_EQ(platform::sjisToUtf8("ab\x83"), "ab");
    std::string sjis;
    EXPECT_FALSE(platform::utf8ToSjis("\xF0\x9F\x98\x80", sjis));
    char small[4];
    EXPECT_EQ(platform::sjisCopy(small, sizeof small, "aソソ"), 3u);
    EXPECT_STREQ(small, "aソ");
    EXPECT_EQ(platform::sjisCopy(small, sizeof small, "abソ"), 2u);
    EXPECT_STREQ(small, "ab");
}

// Besides its box (which the headless backend logs), each report writes one line to standard error.
TEST_F(SystemFrame, ErrorReportWritesOneLineToStandardErrorWithThePathTried) {
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"BMP\\NOPE.BMP", utf8(u8"BMPファイルを読み込めません"), " (tried \"" + programFolder.string() + "/BMP/NOPE.BMP\")"},
        {"0123456789012345678901234567890123", utf8(u8"ファイル名またはリソース名が長すぎます"), ""}};
    for (const auto& [name, message, path] : cases) {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(zuDraw::LoadObject(name, 0), 0);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "zuDraw::LoadObject: " + message + path + "\nmessagebox: " +
                                                                utf8(u8"エラー発生: zuDraw::LoadObject : ") + message + "\n");
    }
}

TEST_F(SystemFrame, DepthCheckAsksOnlyInAWindowOnAShallowDesktop) {
    EXPECT_EQ(CheckDisplayDepth("mode.txt"), 1);  // full screen
    const auto inWindow = [](const char* file) { systemState.fullScreen = 0; return CheckDisplayDepth(file); };
    headless::setDesktopBits(32);
    EXPECT_EQ(inWindow("mode.txt"), 1);  // deep enough
    zuDraw::screenState.colorDepth = 12;
    headless::setDesktopBits(8);
    EXPECT_EQ(inWindow("mode.txt"), 1);  // a depth with no index
    EXPECT_EQ(headless::messageBoxCount(), 0);
    zuDraw::screenState.colorDepth = 16;
    EXPECT_EQ(inWindow("*"), 1);  // explained, asked, answered Yes, nothing written
    EXPECT_EQ(headless::messageBoxCount(), 2);
    EXPECT_NE(headless::lastMessageBox().find(utf8(u8"フルスクリーンに切り換えますか？")), std::string::npos);
    EXPECT_EQ(std::pair(systemState.fullScreen, std::filesystem::exists(programFolder / "*")), std::pair(1, false));
    EXPECT_EQ(inWindow("mode.txt"), 1);
    EXPECT_EQ(ReadNumber("mode.txt"), 1);
    // Without a question: the explanation alone, then quit.
    EXPECT_EQ(inWindow(""), 0);
    EXPECT_EQ(std::pair(headless::messageBoxCount(), systemState.quitting), std::pair(5, 1));
    EXPECT_NE(headless::lastMessageBox().find(utf8(u8"画面が256色以下に設定されています。\n正しく動作させるには、65536色以上に設定するか、")),
              std::string::npos);
    systemState.quitting = 0;  // answered No: quits too
    headless::setAnswerNo(true);
    EXPECT_EQ(inWindow("mode.txt"), 0);
    EXPECT_EQ(systemState.quitting, 1);
}

TEST_F(SystemFrame, StartUpResetsThemTheyRunOutInitStopsThemBadNumbersChangeNothingAndDelaysSleepPastTheWrap) {
    waitTable.due[4] = 7;
    BeginCapture();
    inputState.keyHeld = 'A';
    SetSystemKeyMode(3);
    zuDraw::screenState.width = 640;
    zuDraw::screenState.height = 480;
    headless::setClock(1000);
    EXPECT_EQ(StartUp(), 1);  // waits, capture, the held key and the system-key mode reset; clipped
    EXPECT_EQ(std::tuple(waitTable.due[4], inputState.captureMode + inputState.keyHeld + systemState.systemKeyMode,
                         IsClipped()), std::tuple(waitNotRunning, 0, 1));

    const auto overAt = [](uint32_t now) { headless::setClock(now); return IsWaitOver(3); };
    EXPECT_EQ(IsWaitOver(3), 0);
    SetWait(3, 500);
    EXPECT_EQ((std::vector{overAt(1499), overAt(1500), overAt(90000)}), (std::vector{0, 1, 1}));
    InitWait(3);
    EXPECT_EQ((std::vector{overAt(90000), overAt(waitNotRunning)}), (std::vector{0, 1}));

    WaitTable before = waitTable;
    EXPECT_EQ((std::vector{SetWait(0, 100), SetWait(11, 100), InitWait(-1)}), (std::vector{0, 0, 0}));
    EXPECT_EQ(std::pair(headless::messageBoxCount(), HasError()), std::pair(3, 1));
    EXPECT_EQ(headless::lastMessageBox(), utf8(u8"エラー発生: zuSystem::InitWait : ウェイトNoが範囲外です"));
    EXPECT_EQ(0, std::memcmp(&before, &waitTable, sizeof before));
    EXPECT_EQ((std::vector{IsWaitOver(11), SetWait(10, 100)}), (std::vector{0, 1}));

    headless::setClock(0xFFFFFF00u);  // a delay's deadline after the wrap; the clock reset
    frameClock.seconds = 3.0f;
    Delay(0x200);
    EXPECT_EQ(std::tuple(platform::ticks(), frameClock.seconds, frameClock.lastTick), std::tuple(0x101u, 0.0f, 0x101u));
}

class Paths : public FreshProgram {
protected:
    void writeHost(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string readAll(const char* sjisPath) {
        FILE* f = platform::openFile(sjisPath, "rb");
        if (!f) return "<missing>";
        char buffer[64] = {};
        size_t n = std::fread(buffer, 1, sizeof buffer, f);
        std::fclose(f);
        return std::string(buffer, n);
    }
};

TEST_F(Paths, ModuleDirFollowsTheOverrideFileInTheConfigFolder) {
    EXPECT_EQ(LoadDirOverride("zu.ini"), 0);  // missing: the program's own folder
    EXPECT_EQ(ModuleDir(1), frameworkPath(programFolder) + "\\");
    // The file's text and the override read from it; empty: refused.
    const std::pair<std::string, std::string> files[] = {
        {"D:\\ソ\n", "D:\\ソ"},  // a final "ソ" keeps its 0x5C trail byte
        {std::string(255, 'x') + "\n", std::string(255, 'x')}, {std::string(256, 'x') + "\n", ""},
        {"D:\\DATA\\\nsecond line\n", "D:\\DATA"}};
    for (const auto& [text, read] : files) {
        writeHost(configFolder / "tessora" / "zu.ini", text);
        EXPECT_EQ(LoadDirOverride("zu.ini") != 0, !read.empty()) << text;
        EXPECT_EQ(pathState.dirOverride, read);
    }
    platform::setModuleFileName("C:\\GAMES\\PUZZLE\\P.EXE");
    EXPECT_STREQ(ModuleDir(1), "D:\\DATA\\PUZZLE\\");
    EXPECT_STREQ(ModuleDir(0), "C:\\GAMES\\PUZZLE\\");
    // The trail byte 0x5C of "ソ" is no separator when scanning back.
    platform::setModuleFileName("\\GAMES\\ソ\\P.EXE");
    EXPECT_STREQ(ModuleDir(0), "\\GAMES\\ソ\\");
    EXPECT_STREQ(ModuleDir(1), "D:\\DATA\\ソ\\");
    EXPECT_STREQ(pathState.lastDirName, "ソ\\");
    // Over-long module paths are refused, not cut into another folder's name.
    platform::setModuleFileName(("\\" + std::string(300, 'a') + "\\P.EXE").c_str());
    EXPECT_STREQ(ModuleDir(0), "");
}

TEST_F(Paths, SettingsFilesHoldOneNumberAndHostPathsResolveShiftJisNamesAndIgnoreAsciiCase) {
    EXPECT_EQ(ReadNumber("SCORE.TXT"), 0);  // missing
    WriteNumber("SCORE.TXT", -1234);
    EXPECT_EQ(ReadNumber("score.txt"), -1234);  // found whatever the case
    writeHost(programFolder / "EMPTY.TXT", "none");
    EXPECT_EQ(ReadNumber("EMPTY.TXT"), 0);
    EXPECT_EQ(WriteNumber("NOFOLDER\\X.TXT", 1), 0);  // unwritable: skipped silently
    EXPECT_EQ(std::pair(headless::messageBoxCount(), systemState.errorRaised), std::pair(0, 0));
    writeHost(programFolder / u8"ソフト" / "Data.Bin", "one");
    std::string base = frameworkPath(programFolder);
    for (auto [path, text] : {std::pair("\\ソフト\\DATA.BIN", "one"), {"/ソフト/data.bin", "one"},
                              {"\\ソフト\\DATA.BI", "<missing>"}})
        EXPECT_EQ(readAll((base + path).c_str()), text) << path;
    std::string host;
    const std::string tooLong = base + "\\" + std::string(200, 'n') + "\\" + std::string(60, 'f');  // 260 bytes or more
    EXPECT_FALSE(platform::hostPath(tooLong.c_str(), host, true));
    fs::create_directories(programFolder / std::string(128, 'd'));
    EXPECT_FALSE(platform::hostPath((base + "\\" + std::string(128, 'd') + "\\x").c_str(), host, true));
    EXPECT_TRUE(platform::hostPath((base + "\\ソフト\\NEW.TXT").c_str(), host, true));
    EXPECT_EQ(host, (programFolder / u8"ソフト" / "NEW.TXT").string());
}

TEST_F(Paths, SearchMatchesPatternsInUpperCaseOrder) {
    for (const char8_t* name : {u8"b.bmp", u8"A.BMP", u8"c.wav", u8"C.bmp", u8"ソ.BMP"})
        writeHost(programFolder / "BMP" / name, "");
    std::vector<std::string> found;
    platform::FindData data;
    platform::FindHandle* h = platform::findFirst((frameworkPath(programFolder) + "\\bmp\\*.BMP").c_str(), data);
    ASSERT_NE(h, nullptr);
    do found.push_back(data.name);
    while (platform::findNext(h, data));
    platform::findClose(h);
    EXPECT_EQ(found, (std::vector<std::string>{"A.BMP", "b.bmp", "C.bmp", "ソ.BMP"}));
    EXPECT_TRUE(platform::matchesPattern("ソ1.BMP", "?1.bmp"));
    EXPECT_FALSE(platform::matchesPattern("AB.BMP", "?.BMP"));
    EXPECT_EQ(platform::findFirst((frameworkPath(programFolder) + "\\BMP\\*.XM").c_str(), data), nullptr);
}

using K = std::vector<int32_t>;
using Input = FreshProgram;

TEST_F(Input, KeyPollFollowsTheEdgesReadingUpDuringATransitionAndTheTriggerReportsAListedPressOnceReleased) {
    // Held down through a transition: Up while it runs, Pressed on the first poll after it, and
    // Up again while keys are captured.
    auto poll = [state = int32_t(KeyEdge::Up)]() mutable { PollKey(VK_SPACE, state); return state; };
    deliver(WM_KEYDOWN, VK_SPACE);
    zuDraw::transitionState.step = 5;
    EXPECT_EQ((K{poll(), poll(), poll()}), (K{KeyEdge::Up, KeyEdge::Up, KeyEdge::Up}));
    zuDraw::transitionState.step = 0;
    EXPECT_EQ(poll(), KeyEdge::Pressed);
    BeginCapture();
    EXPECT_EQ(poll(), KeyEdge::Up);
    EndCapture();

    // A key pressed and held: nothing until the release, then its code once (armed, candidate
    // and complete in one call), clearing the last key.
    deliver(WM_KEYDOWN, 'A');
    EXPECT_EQ((K{GetTrigger('B', 'A', 0), GetTrigger('B', 'A', 0)}), (K{0, 0}));
    deliver(WM_KEYUP, 'A');
    EXPECT_EQ((K{GetTrigger('B', 'A', 0), inputState.lastKey, GetTrigger('B', 'A', 0)}), (K{'A', 0, 0}));
    deliver(WM_LBUTTONDOWN);
    EXPECT_EQ(GetTrigger(1, 0), 0);  // the button is still held: not armed
    deliver(WM_LBUTTONUP);
    EXPECT_EQ((K{GetTrigger(1, 0), inputState.lastButton, GetTrigger(1, 0)}), (K{1, 0, 0}));
    // A press of another button cancels the candidate; codes not listed never report.
    for (uint32_t message : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDOWN}) deliver(message);
    EXPECT_EQ((K{GetTrigger(2, 0), triggerState.phase}), (K{0, 2}));
    deliver(WM_LBUTTONDOWN);
    EXPECT_EQ((K{GetTrigger(2, 0), triggerState.phase, GetTrigger(3, 0)}), (K{0, 0, 0}));
}

TEST_F(Input, WindowProcedureKeepsLatchesFlagsAndTheClientPositionAndSwallowsSystemKeysByMode) {
    const InputState& in = inputState;
    deliver(WM_MOUSEMOVE, 0, MAKELPARAM(0xFFF0, 479));
    EXPECT_EQ(std::tuple(in.mouseX, in.mouseY), std::tuple(0xFFF0, 479));  // taken unsigned
    // Left down, click and pressed latches, and which button is held.
    const auto left = [&] { return std::tuple(in.leftDown, in.leftClick, in.leftPressed, in.buttonHeld); };
    for (uint32_t message : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) deliver(message);
    EXPECT_EQ(left(), std::tuple(1, 1, 1, 2));
    deliver(WM_LBUTTONUP);  // the left up leaves the right button's hold alone
    EXPECT_EQ(left(), std::tuple(0, 1, 1, 2));
    deliver(WM_RBUTTONUP);
    EXPECT_EQ(in.buttonHeld, 0);
    deliver(WM_LBUTTONDBLCLK);
    EXPECT_EQ(in.leftDoubleClick, 1);
    WatchKey(VK_SHIFT);
    deliver(WM_KEYDOWN, VK_SHIFT);
    EXPECT_EQ(in.keyHeld, VK_SHIFT);
    for (int i = 0; i < 2; ++i) deliver(WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(std::tuple(in.keyHeld, in.shiftToggle, WatchedKeyCount()), std::tuple(0, 0, 2));
    zuDraw::scrollView.visible = 1;
    deliver(WM_KEYDOWN, 'Z');
    EXPECT_EQ(std::tuple(in.viewKey, in.lastKey), std::tuple('Z', VK_SHIFT));
    zuDraw::scrollView.visible = 0;
    BeginCapture();
    deliver(WM_KEYDOWN, 'Q');
    deliver(WM_LBUTTONDOWN);
    EXPECT_EQ(std::tuple(in.capturedKey, in.capturedClick, in.lastButton), std::tuple('Q', 1, 2));
    deliver(WM_LBUTTONUP);
    EXPECT_EQ(in.capturedClick, 0);
    EndCapture();
    zuDraw::screenState.width = 640;
    zuDraw::screenState.height = 480;
    deliver(WM_MOVE, 0, MAKELPARAM(0xFFF6, 0x8000));
    // Only values above 0x8000 turn negative.
    EXPECT_EQ(std::tuple(systemState.clientX, systemState.clientY), std::tuple(-10, 0x8000));
    const platform::Rect dest = zuDraw::screenState.presentDest;
    EXPECT_EQ(std::tuple(dest.left, dest.right, dest.bottom), std::tuple(-10, 630, 0x8000 + 480));
    deliver(WM_SYSKEYDOWN, VK_F4, intptr_t(1) << 29);  // Alt+F4 in mode 0
    EXPECT_EQ(std::tuple(systemState.quitting, systemState.window != nullptr), std::tuple(0, true));
    SetSystemKeyMode(2);
    deliver(WM_SYSKEYDOWN, VK_MENU);
    EXPECT_EQ(inputState.keyHeld, 0);
    deliver(WM_SYSKEYDOWN, 'X');
    EXPECT_EQ(inputState.keyHeld, 'X');

    systemState.cursorShown = 0;
    deliver(WM_ACTIVATEAPP, 0);
    EXPECT_EQ(std::tuple(systemState.active, systemState.cursorShown), std::tuple(0, 1));
    systemState.clipFollowsWindow = 1;
    ClipToScreen();
    deliver(WM_ACTIVATEAPP, 0);
    EXPECT_EQ(IsClipped(), 0);
    deliver(WM_ACTIVATEAPP, 1);
    EXPECT_EQ(std::tuple(systemState.active, IsClipped()), std::tuple(1, 1));
    deliver(WM_RBUTTONDBLCLK);  // toggles the clip when it follows the window
    EXPECT_EQ(std::tuple(IsClipped(), inputState.rightDoubleClick), std::tuple(0, 1));
}

// A press and its release that both left the queue before a poll read Pressed, then Released on
// the poll after, for buttons and keys alike; during a transition the press is dropped for good.
// Pressed again, the usual rules go on; a held press is not seen again. Rows: the presses ('D') and
// releases ('U') before each poll, whether the first poll falls in a transition, and the edges the
// polls read; each row is played on both buttons and a key.
TEST_F(Input, AQuickPressReadsPressedThenReleasedUnlessInATransition) {
    constexpr int32_t P = KeyEdge::Pressed, H = KeyEdge::Held, R = KeyEdge::Released, U = KeyEdge::Up;
    const struct { std::vector<std::string> steps; bool transition; std::vector<int32_t> seen; } rows[] = {
        {{"DU", "", ""}, false, {P, R, U}}, {{"DU", "", ""}, true, {U, U, U}}, {{"DUD", "", "U"}, false, {P, H, R}},
        {{"D", "", "U", ""}, false, {P, H, R, U}}, {{"", "D", "U", "D"}, false, {U, P, R, H}}};
    for (auto [vk, down, up] : {std::tuple(VK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP),
                                {VK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP}, {VK_SPACE, WM_KEYDOWN, WM_KEYUP}})
        for (const auto& row : rows) {
            SCOPED_TRACE(::testing::Message() << "key " << vk << " row " << &row - rows);
            std::vector<int32_t> seen;
            int32_t state = U;
            for (const std::string& step : row.steps) {
                for (char c : step) deliver(c == 'D' ? down : up, uintptr_t(vk));
                zuDraw::transitionState.step = row.transition && seen.empty() ? 5 : 0;
                PollKey(vk, state);
                seen.push_back(state);
            }
            EXPECT_EQ(seen, row.seen);
        }
}

// A framework message box or a windowed program keeps the arrow; a pointer move from the script
// over the full-screen window hides it again.
TEST_F(Input, EnableImeReturnsWhetherTheSwitchWasOnAndTheSystemCursorIsHiddenOverTheFullScreenWindowOnly) {
    const struct { int32_t flag, result; } steps[] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& step : steps) {
        EXPECT_EQ(EnableIme(step.flag), step.result) << "switching to " << step.flag;
        EXPECT_EQ(systemState.imeEnabled, step.flag);
    }
    const struct { int32_t fullScreen, boxOpen; bool visible; } cases[] = {{1, 0, false}, {1, 1, true}, {0, 0, true}};
    for (const auto& c : cases) {
        systemState.fullScreen = c.fullScreen;
        systemState.messageBoxOpen = c.boxOpen;
        deliver(WM_SETCURSOR);
        EXPECT_EQ(platform::headless::systemCursorVisible(), c.visible) << "row " << &c - cases;
    }
    systemState.fullScreen = 1;
    ASSERT_TRUE(platform::headless::loadScript("move 10 20\n"));
    platform::waitMessage();  // the script's move comes in as WM_SETCURSOR, WM_MOUSEMOVE
    drainMessages();
    EXPECT_EQ(std::pair(platform::headless::systemCursorVisible(), inputState.mouseX), std::pair(false, 10));
}

// Each scene writes down the first-frame flag it saw; loading hands over to the title itself,
// and the title to titleHandsOverTo when that is set.
using Seen = std::vector<std::pair<int32_t, int32_t>>;
Seen seen;
int32_t titleHandsOverTo = 0;
void record(int32_t scene) { seen.emplace_back(scene, sceneState.firstFrame); }
using FrameLoop = FreshProgram;

TEST_F(FrameLoop, ScenesSeeOneFirstFrameCoveringOnlyPresentsAndAClipWipeEndsWithTheScene) {
    SceneFunction saved[sceneCount];
    std::copy(std::begin(sceneTable), std::end(sceneTable), saved);
    sceneTable[0] = [] { record(1); sceneState.current = 2; sceneState.previous = 0; };
    sceneTable[1] = [] { record(2); if (titleHandsOverTo) changeScene(titleHandsOverTo); };
    sceneTable[2] = [] { record(3); };
    sceneState.current = 1;
    for (int i = 0; i < 3; ++i) runFrame();
    EXPECT_EQ(seen, (Seen{{1, 1}, {2, 1}, {2, 0}}));
    seen.clear();
    changeScene(3);
    const zuDraw::TransitionState& t = zuDraw::transitionState;
    EXPECT_EQ(std::tuple(t.kind, t.step, t.direction), std::tuple(2, 20, -1));
    for (int i = 0; i < 2; ++i) runFrame();
    EXPECT_EQ(seen, (Seen{{3, 1}, {3, 0}}));
    // A scene number outside 1..5 runs nothing.
    seen.clear();
    sceneState = {9};
    runFrame();
    EXPECT_TRUE(seen.empty());

    // Covering: no scene runs until the run ends, then the pending one begins.
    zuDraw::transitionState = {};
    sceneState = {2, 2, 3};
    zuDraw::BeginCover();
    for (int step = 1; step <= zuDraw::coverSteps; ++step) {
        SCOPED_TRACE(step);
        runFrame();
        EXPECT_EQ(std::pair(zuDraw::transitionState.direction, sceneState.current),
                  step == zuDraw::coverSteps ? std::pair(0, 3) : std::pair(1, 2));
    }
    runFrame();
    EXPECT_EQ(seen, (Seen{{3, 1}}));

    // A clip wipe lasts until a scene change, then gives the clip back.
    sceneState = {2};
    zuDraw::clipWipe.state = 1;
    zuDraw::clipWipe.savedClip = {1, 2, 3, 4};
    runFrame();  // first frame of the scene: current differs from the reset previous
    runFrame();
    EXPECT_EQ(zuDraw::clipWipe.state, 1);  // only a scene change ends it
    titleHandsOverTo = 3;
    runFrame();
    const zuDraw::ScreenState& s = zuDraw::screenState;
    EXPECT_EQ(zuDraw::clipWipe.state, 0);
    EXPECT_EQ(std::tuple(s.clipLeft, s.clipTop, s.clipRight, s.clipBottom), std::tuple(1, 2, 3, 4));
    std::copy(std::begin(saved), std::end(saved), sceneTable);
}

TEST_F(FrameLoop, BlinkIsOnForASecondAndOffFor200MillisecondsAndTheClockMeasuresFramesFromTheStartTick) {
    headless::setClock(90000);
    frameClock = {};  // starts at the current tick
    headless::setClock(90050);
    UpdateClock();
    EXPECT_FLOAT_EQ(frameClock.seconds, 0.05f);
    headless::setClock(5000);
    blinkState = {1, 5000 + 1000};
    std::vector<std::pair<uint32_t, int32_t>> flips{{5000, blinkState.on}};
    for (uint32_t t = 5000; t <= 7500; t += 10) {
        headless::setClock(t);
        runFrame();
        if (blinkState.on != flips.back().second) flips.emplace_back(t, blinkState.on);
    }
    EXPECT_EQ(flips, (decltype(flips){{5000, 1}, {6000, 0}, {6200, 1}, {7200, 0}, {7400, 1}}));

    // Frames clear the clicks and measure the clock, which starts at zero after reactivation.
    for (uint32_t message : {WM_LBUTTONDOWN, WM_RBUTTONDBLCLK}) deliver(message);
    headless::setClock(0xFFFFFFF0u);  // across the wrap
    zuSystem::ResetClock();
    headless::setClock(0x10);
    runFrame();  // clicks last one frame
    EXPECT_EQ(std::tuple(inputState.leftClick, inputState.rightDoubleClick, inputState.leftDown), std::tuple(0, 0, 1));
    EXPECT_FLOAT_EQ(frameClock.seconds, 0.032f);
    deliver(WM_ACTIVATEAPP, 0);
    headless::setClock(60000);  // a minute in the background
    deliver(WM_ACTIVATEAPP, 1);
    runFrame();
    EXPECT_LT(zuSystem::frameClock.seconds, 0.001f);
}

}  // namespace
