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
namespace {

[[noreturn]] void execChild(const ProcessSpec& spec, int outFd, int errFd) {
    dup2(outFd, 1);
    dup2(errFd, 2);
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

}  // namespace

Process::~Process() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (outFd_ >= 0) close(outFd_);
    if (errFd_ >= 0) close(errFd_);
}

bool Process::start(const ProcessSpec& spec) {
    int out[2], err[2];
    if (spec.argv.empty() || pipe2(out, O_CLOEXEC) != 0) return false;
    if (pipe2(err, O_CLOEXEC) != 0) return false;
    startedAt_ = monotonicSeconds();
    pid_ = fork();
    if (pid_ == 0) execChild(spec, out[1], err[1]);
    close(out[1]);
    close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
    return pid_ > 0;
}

bool Process::readSome(int timeoutMs) {
    pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    if (outFd_ < 0 && errFd_ < 0) return false;
    if (poll(fds, 2, timeoutMs) <= 0) return true;
    int* owners[2] = {&outFd_, &errFd_};
    std::string* sinks[2] = {&result_.out, &result_.err};
    for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        char buffer[4096];
        ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
        if (n > 0) sinks[i]->append(buffer, size_t(n));
        else {
            close(fds[i].fd);
            *owners[i] = -1;
        }
    }
    return true;
}

bool Process::waitForOutput(std::string_view text, int timeoutMs, bool inError) {
    double deadline = monotonicSeconds() + timeoutMs / 1000.0;
    const std::string& sink = inError ? result_.err : result_.out;
    while (sink.find(text) == std::string::npos) {
        double left = deadline - monotonicSeconds();
        if (left <= 0 || !readSome(int(left * 1000) + 1)) return sink.find(text) != std::string::npos;
    }
    return true;
}

bool Process::reaped() {
    int status = 0;
    if (pid_ <= 0) return true;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
    result_.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result_.seconds = monotonicSeconds() - startedAt_;
    pid_ = -1;
    return true;
}

bool Process::exitsWithin(int timeoutMs) {
    double deadline = monotonicSeconds() + timeoutMs / 1000.0;
    while (!reaped()) {
        if (monotonicSeconds() > deadline) return false;
        if (!readSome(20)) usleep(5000);
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
    for (int i = 0; i < 50 && (outFd_ >= 0 || errFd_ >= 0); ++i) readSome(10);
    return result_;
}

ProcessResult runProcess(const ProcessSpec& spec) {
    Process p;
    if (!p.start(spec)) return {};
    return p.finish(spec.timeoutMs);
}

double monotonicSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
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
