#include "summary.h"

#include <cstdio>

namespace {

std::string baseName(const benchmark::BenchmarkReporter::Run &run)
{
    return run.run_name.function_name + '/' + run.run_name.args;
}

std::string format(const char *pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string formatValue(const std::string &value, double figure)
{
    return value == "time" ? format("%.3f ms", figure) : format("%.1f ", figure) + value;
}

std::string formatRatio(double figure, double floor)
{
    return floor > 0 ? format("%.2fx", figure / floor) : "-";
}

std::string describeTarget(const Comparison &row)
{
    switch (row.target) {
    case TargetKind::None:
        return "-";
    case TargetKind::RatioAtMost:
        return format("<= %.2fx", row.limit);
    case TargetKind::MillisecondsAtMost:
        return format("<= %g ms", row.limit);
    }
    return "-";
}

} // namespace

void SummaryReporter::ReportRuns(const std::vector<Run> &reports)
{
    ConsoleReporter::ReportRuns(reports);
    for (const Run &run : reports) {
        if (run.error_occurred)
            continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        // A single run stands for itself; with repetitions the median comes last and wins.
        if (run.run_type != Run::RT_Iteration && !median)
            continue;
        auto &values = m_values[baseName(run)];
        values["time"] = run.GetAdjustedRealTime();
        values["cpu"] = run.GetAdjustedCPUTime();
        for (const auto &[name, counter] : run.counters)
            values[name] = counter.value;
        // A benchmark timed in a child process has that child's CPU time as a counter.
        if (const auto cpu = run.counters.find("cpu_ms"); cpu != run.counters.end())
            values["cpu"] = cpu->second.value;
    }
}

std::optional<double> SummaryReporter::value(const std::string &name, const std::string &value) const
{
    const auto benchmark = m_values.find(name);
    if (benchmark == m_values.end())
        return std::nullopt;
    const auto found = benchmark->second.find(value);
    if (found == benchmark->second.end())
        return std::nullopt;
    return found->second;
}

void SummaryReporter::printSummary(std::ostream &out, const std::vector<Comparison> &rows) const
{
    out << "\n| figure | median | floor | ratio | CPU | CPU floor | CPU ratio | target | met |\n"
        << "|---|---:|---:|---:|---:|---:|---:|---|---|\n";
    for (const Comparison &row : rows) {
        const std::optional<double> figure = value(row.figure, row.value);
        const std::optional<double> floor = value(row.floor, row.value);
        if (!figure || !floor) {
            out << "| " << row.label << " | not run | | | | | | " << describeTarget(row) << " | |\n";
            continue;
        }
        std::string met = "-";
        if (row.target == TargetKind::RatioAtMost)
            met = *figure <= row.limit * *floor ? "yes" : "NO";
        else if (row.target == TargetKind::MillisecondsAtMost)
            met = *figure <= row.limit ? "yes" : "NO";
        out << "| " << row.label << " | " << formatValue(row.value, *figure) << " | "
            << formatValue(row.value, *floor) << " | " << formatRatio(*figure, *floor) << " | ";
        const std::optional<double> cpu = value(row.figure, "cpu");
        const std::optional<double> cpuFloor = value(row.floor, "cpu");
        if (row.value == "time" && cpu && cpuFloor) {
            out << format("%.3f ms", *cpu) << " | " << format("%.3f ms", *cpuFloor) << " | "
                << formatRatio(*cpu, *cpuFloor) << " | ";
        } else {
            out << "- | - | - | ";
        }
        out << describeTarget(row) << " | " << met << " |\n";
    }
    out.flush();
}
