// The real program run headless through its script: quitting by key, by closing and at the
// script's end, a second copy, and the refusal of bad scripts and failed shots with exit status 2.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "support/process.h"

namespace {

// The program on the headless backend (or the one named), reading `script` from its folder.
test::ProcessSpec headlessProgram(const std::string& dir, const std::string& script, const char* platform = "headless") {
    test::ProcessSpec s;
    s.argv = {test::binaryDir() + "/tessora"};
    s.env = {{"TESSORA_PLATFORM", platform}, {"TESSORA_SCRIPT", dir + "/" + script},
             {"XDG_CONFIG_HOME", dir + "/config"}, {"HOME", dir}};
    s.unset = {"TESSORA_AUDIO", "TESSORA_ANSWER", "TESSORA_FRAME_MS", "DISPLAY"};
    s.workDir = dir;
    return s;
}

int closings(const std::string& text) {
    int n = 0;
    for (size_t at = 0; (at = text.find("headless: window closed", at)) != std::string::npos; ++at) ++n;
    return n;
}

}  // namespace

TEST(HeadlessE2E, ScriptsEndTheProgramOnceAndBadOnesStopItWithStatus2) {
    struct Row { const char* script; const char* platform; int exitCode; const char* error; int closings; };
    const Row rows[] = {
        {"wait 5\nkey escape down\n", "headless", 0, "", 1},
        {"wait 5\nclose\n", "headless", 0, "", 1},
        {"", "headless", 0, "", 1},
        {"# start\nwait 2\njump 3 4\n", "headless", 2, "script:3: unknown command 'jump'", 0},
        {"wait 3\nshot no/such/folder/frame.bmp\nwait 100\n", "headless", 2, "script:2: cannot write", 1},
        {"close\n", "mainframe", 2, "TESSORA_PLATFORM", 0},
        {nullptr, "headless", 2, "script:0: cannot read", 0},  // no script file
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.script ? row.script : "(none)");
        std::string dir = test::makeTempDir();
        if (row.script) std::ofstream(dir + "/script.txt") << row.script;
        test::ProcessResult r = test::runProcess(headlessProgram(dir, "script.txt", row.platform));
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitCode, row.exitCode) << r.err;
        EXPECT_NE(r.err.find(row.error), std::string::npos) << r.err;
        EXPECT_EQ(closings(r.err), row.closings) << r.err;
        if (row.exitCode == 0) {
            EXPECT_LT(r.seconds, 2.0) << "a quit ends the program at once";
        }
        test::removeTree(dir);
    }
}

TEST(HeadlessE2E, ASecondCopyHandsTheFirstAFrontRequestAndLeaves) {
    std::string dir = test::makeTempDir();
    std::ofstream(dir + "/first.txt") << "wait 1000000\n";
    std::ofstream(dir + "/second.txt") << "wait 5\n";
    test::ProcessSpec spec = headlessProgram(dir, "first.txt");
    spec.env.push_back({"TESSORA_INSTANCE", "pair-" + std::to_string(getpid())});
    test::Process first;
    ASSERT_TRUE(first.start(spec));
    ASSERT_FALSE(first.exitsWithin(300)) << first.err();

    spec.env[1].second = dir + "/second.txt";
    test::ProcessResult second = test::runProcess(spec);
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(closings(second.err), 0) << "the second copy never ran";
    EXPECT_TRUE(first.waitForOutput("instance: come to the front", 5000, true)) << first.err();
    first.finish(0);
    test::removeTree(dir);
}
