// FreshProgram: every process-wide record back at its load-time value, a new headless backend,
// an empty message queue, the window open and a temporary program folder.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/headless.h"

// A UTF-8 literal (u8"...") as a plain string, to compare with what the platform shows.
inline std::string utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class FreshProgram : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Posts a message to the window and drains the queue through the window procedure, as the
    // loop does; returns true when WM_QUIT came out.
    bool deliver(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    bool drainMessages();
    // Framework (Shift-JIS, '\') form of a host path.
    static std::string frameworkPath(const std::filesystem::path& host);

    std::filesystem::path programFolder;  // holds the stand-in executable "tessora"
    std::filesystem::path configFolder;   // $XDG_CONFIG_HOME for the test
};
