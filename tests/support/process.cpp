// Child processes for end-to-end tests: fork and exec with pipes, poll with a deadline.
#include "support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <cstdlib>
#include <filesystem>

namespace test {

Process::~Process() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    for (int fd : fds_)
        if (fd >= 0) close(fd);
}

bool Process::start(const ProcessSpec& spec) {
    int out[2], err[2];
    if (spec.argv.empty() || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return false;
    startedAt_ = monotonicSeconds();
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (const std::string& name : spec.unset) unsetenv(name.c_str());
        // Each child its own single-instance scope, so parallel tests never refuse one another;
        // a test that wants two copies to meet sets the same scope for both.
        setenv("TESSORA_INSTANCE", ("test-" + std::to_string(getpid())).c_str(), 1);
        for (const auto& [name, value] : spec.env) setenv(name.c_str(), value.c_str(), 1);
        if (!spec.workDir.empty() && chdir(spec.workDir.c_str()) != 0) _exit(126);
        std::vector<char*> args;
        for (const std::string& a : spec.argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    fds_[0] = out[0];
    fds_[1] = err[0];
    return pid_ > 0;
}

bool Process::readSome(int timeoutMs) {
    if (fds_[0] < 0 && fds_[1] < 0) return false;
    pollfd polled[2] = {{fds_[0], POLLIN, 0}, {fds_[1], POLLIN, 0}};
    if (poll(polled, 2, timeoutMs) <= 0) return true;
    for (int i = 0; i < 2; ++i) {
        if (!(polled[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        char buffer[4096];
        const ssize_t n = read(fds_[i], buffer, sizeof buffer);
        if (n > 0) {
            (i ? result_.err : result_.out).append(buffer, size_t(n));
        } else {
            close(fds_[i]);
            fds_[i] = -1;
        }
    }
    return true;
}

bool Process::waitForOutput(std::string_view text, int timeoutMs, bool inError) {
    const double deadline = monotonicSeconds() + timeoutMs / 1000.0;
    const std::string& sink = inError ? result_.err : result_.out;
    while (sink.find(text) == std::string::npos) {
        const double left = deadline - monotonicSeconds();
        if (left <= 0 || !readSome(int(left * 1000) + 1)) return sink.find(text) != std::string::npos;
    }
    return true;
}

bool Process::exitsWithin(int timeoutMs) {
    const double deadline = monotonicSeconds() + timeoutMs / 1000.0;
    int status = 0;
    while (pid_ > 0 && waitpid(pid_, &status, WNOHANG) != pid_) {
        if (monotonicSeconds() > deadline) return false;
        if (!readSome(20)) usleep(5000);
    }
    if (pid_ > 0) {
        result_.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result_.seconds = monotonicSeconds() - startedAt_;
        pid_ = -1;
    }
    return true;
}

ProcessResult Process::finish(int timeoutMs) {
    if (!exitsWithin(timeoutMs)) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        result_.timedOut = true;
        result_.seconds = monotonicSeconds() - startedAt_;
        pid_ = -1;
    }
    // What is left in the pipes; a descendant may hold them open, so only briefly.
    for (int i = 0; i < 50 && (fds_[0] >= 0 || fds_[1] >= 0); ++i) readSome(10);
    return result_;
}

ProcessResult runProcess(const ProcessSpec& spec) {
    Process p;
    return p.start(spec) ? p.finish(spec.timeoutMs) : ProcessResult{};
}

double monotonicSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

bool eventually(const std::function<bool()>& condition, double seconds) {
    for (const double deadline = monotonicSeconds() + seconds; monotonicSeconds() < deadline; usleep(20 * 1000))
        if (condition()) return true;
    return condition();
}

std::string binaryDir() { return ZU_BINARY_DIR; }

std::string makeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zutest-XXXXXX").string();
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

void removeTree(const std::string& path) {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

}  // namespace test
