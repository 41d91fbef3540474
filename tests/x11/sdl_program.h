// Running a program of the build on a virtual display: its environment, and waiting for output
// that is new since a point, for the X11 tests that repeat the same kind of line.
#pragma once
#include <string>

#include "support/process.h"
#include "x11/virtual_display.h"

namespace test {

// The program (a path, or a name in the build's program folder) on the display, with silent
// audio, its settings and pictures under dir, and none of the headless switches.
ProcessSpec sdlProgram(const VirtualDisplay&, const std::string& program, const std::string& dir);

// Waits until the text appears in the output (or error) at or after `from`.
bool waitForOutputAfter(Process&, size_t from, const std::string& text, int timeoutMs, bool inError = false);

}  // namespace test
