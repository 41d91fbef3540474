// The ratio reporter of zubench. A case names its benchmark and, measured in the same run, an
// anchor; the report prints the ratio, the target and PASS or MISS.
//
//   ZU_RATIO(BM_MyCopy, BM_Memcpy, 0.8, "copy vs memcpy");   // anchor time / case time >= 0.8
//   ZU_BUDGET(BM_MyFrame, 167e-6, "frame within 1% of 16.7 ms"); // case time <= 167 us
//
// The benchmarks themselves are ordinary BENCHMARK(...) registrations. A target of 0 reports the
// ratio without judging it.
#pragma once
#include <string>

namespace zubench {

// speed ratio = anchor seconds per iteration / case seconds per iteration; passes at >= atLeast.
bool addRatio(const std::string& caseName, const std::string& anchorName, double atLeast,
              const std::string& label);
// passes when the case takes at most `seconds` per iteration; reported as a fraction of it.
bool addBudget(const std::string& caseName, double seconds, const std::string& label);
// A time the case measured itself (not its own duration), reported against an upper bound.
void reportMeasured(const std::string& label, double seconds, double atMost);

}  // namespace zubench

#define ZU_BENCH_CONCAT2(a, b) a##b
#define ZU_BENCH_CONCAT(a, b) ZU_BENCH_CONCAT2(a, b)
#define ZU_RATIO(caseFn, anchorFn, atLeast, label)                               \
    static const bool ZU_BENCH_CONCAT(zuRatio_, __LINE__) [[maybe_unused]] = \
        zubench::addRatio(#caseFn, #anchorFn, atLeast, label)
#define ZU_BUDGET(caseFn, seconds, label)                                        \
    static const bool ZU_BENCH_CONCAT(zuBudget_, __LINE__) [[maybe_unused]] = \
        zubench::addBudget(#caseFn, seconds, label)
