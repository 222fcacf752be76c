#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// What a figure must meet: nothing, a ratio to its floor, or a time of its own.
enum class TargetKind { None, RatioAtMost, MillisecondsAtMost };

// One row of the closing table: a figure beside the floor measured in the same run. Both are
// benchmark names without the repetition suffixes ("Load/Memo/6000"); value is "time" for
// the real time per iteration in milliseconds, or the name of a counter.
struct Comparison
{
    std::string label;
    std::string figure;
    std::string floor;
    std::string value = "time";
    TargetKind target = TargetKind::None;
    double limit = 0;
};

// The console output as usual, and the median of every benchmark kept for the table (the
// single run's figure when there are no repetitions).
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run> &reports) override;

    std::optional<double> value(const std::string &name, const std::string &value) const;
    // A markdown table: figure, floor and their ratio in real time, the same in CPU time, the
    // target and whether the real time meets it.
    void printSummary(std::ostream &out, const std::vector<Comparison> &rows) const;

private:
    // By benchmark name, then "time", "cpu" or counter name.
    std::map<std::string, std::map<std::string, double>> m_values;
};
