// Runs the registered benchmarks and prints how much each one takes beyond a baseline benchmark
// of the same run, by the median of its repetitions.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

inline int runAgainstBaseline(int argc, char** argv, const std::string& baseline)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    struct TimeReporter : benchmark::ConsoleReporter
    {
        std::map<std::string, double> nsPerRun;
        void ReportRuns(const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns(runs);
            // With repetitions, the median stands for the benchmark.
            for (const auto& run : runs)
                if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                    nsPerRun[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double base = reporter.nsPerRun[baseline];
    for (const auto& [name, ns] : reporter.nsPerRun)
        if (name != baseline && base > 0)
            std::printf("%-24s %+6.1f%% against %s\n", name.c_str(), (ns / base - 1.0) * 100.0,
                        baseline.c_str());
    benchmark::Shutdown();
    return 0;
}
