// zubench's main: runs the registered benchmarks, keeps each one's time per iteration, then
// prints every ratio or budget with its target and PASS or MISS. Exit status 0 either way.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ratio.h"

namespace zubench {

namespace {

struct Check {
    std::string caseName, anchorName;  // anchorName empty: a budget
    double target;                     // ratio at least, or seconds at most
    std::string label;
};

std::vector<Check>& checks() {
    static std::vector<Check> all;
    return all;
}

struct Measured {
    std::string label;
    double seconds, atMost;
};

std::vector<Measured>& measured() {
    static std::vector<Measured> all;
    return all;
}

// Console output as usual, and the fastest CPU time per iteration of each benchmark kept by name
// (CPU time, so that other work on a shared machine does not skew the ratios).
class KeepingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> secondsPerIteration;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0 || run.error_occurred) continue;
            double seconds = run.cpu_accumulated_time / double(run.iterations);
            auto [it, fresh] = secondsPerIteration.emplace(run.run_name.function_name, seconds);
            if (!fresh && seconds < it->second) it->second = seconds;
        }
    }
};

const char* verdict(bool pass, double target) { return target <= 0 ? "INFO" : pass ? "PASS" : "MISS"; }

void printReport(const std::map<std::string, double>& times) {
    std::printf("\n%-44s %12s %12s  %s\n", "case", "ratio", "target", "result");
    for (const Check& c : checks()) {
        auto subject = times.find(c.caseName);
        if (subject == times.end()) continue;
        if (c.anchorName.empty()) {
            double fraction = subject->second / c.target;
            std::printf("%-44s %11.3fx %11s   %s  (%.1f us)\n", c.label.c_str(), fraction, "<= 1.000x",
                        verdict(fraction <= 1.0, c.target), subject->second * 1e6);
            continue;
        }
        auto anchor = times.find(c.anchorName);
        if (anchor == times.end()) continue;
        double ratio = anchor->second / subject->second;
        char target[32];
        std::snprintf(target, sizeof target, ">= %.3gx", c.target);
        std::printf("%-44s %11.3gx %11s   %s\n", c.label.c_str(), ratio, c.target > 0 ? target : "-",
                    verdict(ratio >= c.target, c.target));
    }
    for (const Measured& m : measured()) {
        char target[32];
        std::snprintf(target, sizeof target, "<= %.3f ms", m.atMost * 1e3);
        std::printf("%-44s %9.3f ms %11s   %s\n", m.label.c_str(), m.seconds * 1e3, target,
                    verdict(m.seconds <= m.atMost, m.atMost));
    }
}

}  // namespace

bool addRatio(const std::string& caseName, const std::string& anchorName, double atLeast,
              const std::string& label) {
    checks().push_back({caseName, anchorName, atLeast, label});
    return true;
}

bool addBudget(const std::string& caseName, double seconds, const std::string& label) {
    checks().push_back({caseName, "", seconds, label});
    return true;
}

void reportMeasured(const std::string& label, double seconds, double atMost) {
    measured().push_back({label, seconds, atMost});
}

}  // namespace zubench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    zubench::KeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    zubench::printReport(reporter.secondsPerIteration);
    benchmark::Shutdown();
    return 0;
}
