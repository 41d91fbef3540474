// The real program run headless through its script: quitting by key and by closing, and the
// refusal of bad scripts with exit status 2.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "support/process.h"

namespace {

struct HeadlessRun {
    std::string dir = test::makeTempDir();
    ~HeadlessRun() { test::removeTree(dir); }

    test::ProcessResult run(const std::string& script, const char* platform = "headless") {
        std::ofstream(dir + "/script.txt") << script;
        test::ProcessSpec spec;
        spec.argv = {test::binaryDir() + "/tessora"};
        spec.env = {{"TESSORA_PLATFORM", platform}, {"TESSORA_SCRIPT", dir + "/script.txt"},
                    {"XDG_CONFIG_HOME", dir + "/config"}, {"HOME", dir}};
        spec.unset = {"TESSORA_AUDIO", "TESSORA_ANSWER", "TESSORA_FRAME_MS", "DISPLAY"};
        spec.workDir = dir;
        spec.timeoutMs = 20000;
        return test::runProcess(spec);
    }
};

int countOf(const std::string& text, const std::string& line) {
    int n = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(HeadlessE2E, EscapeAndClosingEachEndTheProgramOnceAndQuickly) {
    for (const char* script : {"wait 5\nkey escape down\n", "wait 5\nclose\n", ""}) {
        HeadlessRun h;
        test::ProcessResult r = h.run(script);
        EXPECT_FALSE(r.timedOut) << script;
        EXPECT_EQ(r.exitCode, 0) << script << r.err;
        EXPECT_LT(r.seconds, 2.0) << script;
        EXPECT_EQ(countOf(r.err, "headless: window closed"), 1) << script << r.err;
    }
}

TEST(HeadlessE2E, BadScriptsStopTheRunWithStatus2AndNameTheLine) {
    HeadlessRun h;
    test::ProcessResult r = h.run("# start\nwait 2\njump 3 4\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("script:3: unknown command 'jump'"), std::string::npos) << r.err;
    EXPECT_EQ(countOf(r.err, "headless: window closed"), 0) << "nothing ran";

    std::remove((h.dir + "/script.txt").c_str());
    test::ProcessSpec spec;
    spec.argv = {test::binaryDir() + "/tessora"};
    spec.env = {{"TESSORA_PLATFORM", "headless"}, {"TESSORA_SCRIPT", h.dir + "/absent.txt"}};
    r = test::runProcess(spec);
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
    std::ifstream bmp(h.dir + "/frame.bmp", std::ios::binary);
    char magic[2] = {};
    bmp.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");

    r = h.run("wait 3\nshot no/such/folder/frame.bmp\nwait 100\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("script:2: cannot write"), std::string::npos) << r.err;
    EXPECT_EQ(countOf(r.err, "headless: window closed"), 1) << "it still ends in order";
}

TEST(HeadlessE2E, ASecondCopyHandsTheFirstAFrontRequestAndLeaves) {
    HeadlessRun h;
    std::ofstream(h.dir + "/script.txt") << "wait 1000000\n";
    test::ProcessSpec spec;
    spec.argv = {test::binaryDir() + "/tessora"};
    spec.env = {{"TESSORA_PLATFORM", "headless"}, {"TESSORA_SCRIPT", h.dir + "/script.txt"},
                {"TESSORA_INSTANCE", "pair-" + std::to_string(getpid())},
                {"XDG_CONFIG_HOME", h.dir + "/config"}, {"HOME", h.dir}};
    spec.unset = {"TESSORA_AUDIO", "TESSORA_ANSWER", "TESSORA_FRAME_MS", "DISPLAY"};
    test::Process first;
    ASSERT_TRUE(first.start(spec));
    ASSERT_FALSE(first.exitsWithin(300)) << first.err();

    std::ofstream(h.dir + "/second.txt") << "wait 5\n";
    test::ProcessSpec secondSpec = spec;
    secondSpec.env[1].second = h.dir + "/second.txt";
    test::ProcessResult second = test::runProcess(secondSpec);
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(countOf(second.err, "headless: window closed"), 0) << "the second copy never ran";
    EXPECT_TRUE(first.waitForOutput("instance: come to the front", 5000, true)) << first.err();
}
