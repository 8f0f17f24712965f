// Console reporter that also prints, at the end of the run, the ratio of
// each benchmark's best (least disturbed) real time per iteration to a
// baseline's, both measured in the same run. On a shared machine the minimum
// over repetitions is the steadiest figure; the mean is printed beside it.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // pairs: {measured, baseline} benchmark names.
    explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs)
        : pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &r : runs) {
            if (r.run_type != Run::RT_Iteration || r.error_occurred) continue;
            Times &t = times_[r.run_name.function_name];
            const double v = r.GetAdjustedRealTime();
            t.sum += v;
            t.best = t.n++ == 0 ? v : std::min(t.best, v);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto &[a, b] : pairs_) {
            if (!times_.count(a) || !times_.count(b)) continue;
            const Times &ta = times_[a], &tb = times_[b];
            std::printf("ratio %s / %s = %.3f (best of %d), %.3f (mean)\n", a.c_str(), b.c_str(),
                        ta.best / tb.best, ta.n, (ta.sum / ta.n) / (tb.sum / tb.n));
        }
    }

private:
    std::vector<std::pair<std::string, std::string>> pairs_;
    struct Times {
        double sum = 0, best = 0;
        int n = 0;
    };
    std::map<std::string, Times> times_;
};

#define RATIO_BENCHMARK_MAIN(...)                                                              \
    int main(int argc, char **argv) {                                                          \
        benchmark::Initialize(&argc, argv);                                                    \
        RatioReporter reporter(std::vector<std::pair<std::string, std::string>>{__VA_ARGS__}); \
        benchmark::RunSpecifiedBenchmarks(&reporter);                                          \
        benchmark::Shutdown();                                                                 \
        return 0;                                                                              \
    }
