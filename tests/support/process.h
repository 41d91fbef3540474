// Running a program of the build as a child process: its environment, its standard output and
// error captured, its exit status, and a time limit after which it is killed.
#pragma once
#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace test {

struct ProcessSpec {
    std::vector<std::string> argv;                            // argv[0]: the program's path
    std::vector<std::pair<std::string, std::string>> env;     // set on top of ours
    std::vector<std::string> unset;                           // removed from ours
    std::string workDir;                                      // empty: ours
    int timeoutMs = 20000;
};

struct ProcessResult {
    int exitCode = -1;      // -1 unless it exited by itself
    bool timedOut = false;  // killed at the time limit
    std::string out, err;
    double seconds = 0;     // wall time from start to exit
};

class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();  // kills a child still running

    bool start(const ProcessSpec&);
    // Reads output until the text appears in standard output (or error) or the time runs out.
    bool waitForOutput(std::string_view text, int timeoutMs, bool inError = false);
    bool exitsWithin(int timeoutMs);      // true once the child has exited (finish then reports)
    ProcessResult finish(int timeoutMs);  // waits for the exit; kills it after timeoutMs
    const std::string& out() const { return result_.out; }
    const std::string& err() const { return result_.err; }

private:
    bool readSome(int timeoutMs);  // false when both pipes are closed
    pid_t pid_ = -1;
    int fds_[2] = {-1, -1};  // standard output and error
    double startedAt_ = 0;
    ProcessResult result_;
};

ProcessResult runProcess(const ProcessSpec&);

// Seconds on the monotonic clock (not <chrono>: its unit names defeat the Shift-JIS texts).
double monotonicSeconds();
// Polls until the condition holds or the seconds run out: a guard against hanging on a loaded
// machine, not a measure of time.
bool eventually(const std::function<bool()>& condition, double seconds = 10);
// The build's program directory and a fresh temporary directory (removed by the caller).
std::string binaryDir();
std::string makeTempDir();
void removeTree(const std::string& path);

}  // namespace test
