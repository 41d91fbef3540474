// The real program run headless through its script: quitting by key and by closing, shots, a
// second copy, and the refusal of bad scripts with exit status 2.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "support/process.h"

namespace {

struct HeadlessRun {
    std::string dir = test::makeTempDir();
    ~HeadlessRun() { test::removeTree(dir); }

    // The program on the headless backend, reading `script` from its own folder.
    test::ProcessSpec spec(const std::string& script, const char* platform = "headless") {
        std::ofstream(dir + "/script.txt") << script;
        test::ProcessSpec s;
        s.argv = {test::binaryDir() + "/tessora"};
        s.env = {{"TESSORA_PLATFORM", platform}, {"TESSORA_SCRIPT", dir + "/script.txt"},
                 {"XDG_CONFIG_HOME", dir + "/config"}, {"HOME", dir}};
        s.unset = {"TESSORA_AUDIO", "TESSORA_ANSWER", "TESSORA_FRAME_MS", "DISPLAY"};
        s.workDir = dir;
        return s;
    }
    test::ProcessResult run(const std::string& script, const char* platform = "headless") {
        return test::runProcess(spec(script, platform));
    }
};

int closings(const std::string& text) {
    int n = 0;
    for (size_t at = 0; (at = text.find("headless: window closed", at)) != std::string::npos; ++at) ++n;
    return n;
}

}  // namespace

TEST(HeadlessE2E, EscapeAndClosingEachEndTheProgramOnceAndQuickly) {
    for (const char* script : {"wait 5\nkey escape down\n", "wait 5\nclose\n", ""}) {
        SCOPED_TRACE(script);
        HeadlessRun h;
        test::ProcessResult r = h.run(script);
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_LT(r.seconds, 2.0);
        EXPECT_EQ(closings(r.err), 1) << r.err;
    }
}

TEST(HeadlessE2E, BadScriptsStopTheRunWithStatus2AndNameTheLine) {
    HeadlessRun h;
    test::ProcessResult r = h.run("# start\nwait 2\njump 3 4\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("script:3: unknown command 'jump'"), std::string::npos) << r.err;
    EXPECT_EQ(closings(r.err), 0) << "nothing ran";

    test::ProcessSpec absent = h.spec("");
    absent.env[1].second = h.dir + "/absent.txt";
    r = test::runProcess(absent);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("script:0: cannot read"), std::string::npos) << r.err;

    r = h.run("close\n", "mainframe");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("TESSORA_PLATFORM"), std::string::npos) << r.err;
}

TEST(HeadlessE2E, ShotWritesTheShownFrameAndAFailedShotExitsWith2) {
    HeadlessRun h;
    test::ProcessResult r = h.run("wait 3\nshot frame.bmp\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    char magic[2] = {};
    std::ifstream(h.dir + "/frame.bmp", std::ios::binary).read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");

    r = h.run("wait 3\nshot no/such/folder/frame.bmp\nwait 100\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("script:2: cannot write"), std::string::npos) << r.err;
    EXPECT_EQ(closings(r.err), 1) << "it still ends in order";
}

TEST(HeadlessE2E, ASecondCopyHandsTheFirstAFrontRequestAndLeaves) {
    HeadlessRun h;
    test::ProcessSpec spec = h.spec("wait 1000000\n");
    spec.env.push_back({"TESSORA_INSTANCE", "pair-" + std::to_string(getpid())});
    test::Process first;
    ASSERT_TRUE(first.start(spec));
    ASSERT_FALSE(first.exitsWithin(300)) << first.err();

    std::ofstream(h.dir + "/second.txt") << "wait 5\n";
    spec.env[1].second = h.dir + "/second.txt";
    test::ProcessResult second = test::runProcess(spec);
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(closings(second.err), 0) << "the second copy never ran";
    EXPECT_TRUE(first.waitForOutput("instance: come to the front", 5000, true)) << first.err();
}
