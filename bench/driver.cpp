#include "bench/driver.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "bench/measure.h"
#include "bench/tree.h"

namespace bench {

namespace {

const std::wstring kWork = L"D:\\bench";
constexpr double kTreeLimitSeconds = 900;
constexpr double kProgramLimitSeconds = 60;
constexpr int kProgramRuns = 5;
// Project1.exe pauses twice for 500 ms while the control registers.
constexpr double kProgramPauseSeconds = 1.0;

struct TreeCase {
    const wchar_t* name;
    const char* label;
    TreeLayout layout;
    int runs;  // each on fresh copies; the median is reported
};

// The small trees run three times, as they are cheap and their figures are the
// divisors of the ratios; on a shared machine a single run is easily off by half.
const TreeCase kTrees[] = {
    {L"wide10k", "10,000 files in 1,000 folders", {TreeShape::Wide, 10000}, 3},
    {L"wide100k", "100,000 files in 1,000 folders", {TreeShape::Wide, 100000}, 1},
    {L"deep", "10,000 files, 100 levels deep", {TreeShape::Deep, 10000}, 1},
};

struct TreeResults {
    Measurement floor;
    Measurement grant;
    Measurement rerun;
};

void Progress(const std::string& line) {
    std::fprintf(stderr, "bench: %s\n", line.c_str());
    std::fflush(stderr);
}

std::wstring SelfPath() {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

// A case run in a process of its own, so its peak working set is its own.
Measurement RunCase(const std::string& label, const std::wstring& arguments, size_t objects) {
    Progress(label + "...");
    Measurement m;
    m.label = label;
    m.objects = objects;
    ChildRun run;
    try {
        run = RunChild(Quoted(SelfPath()) + L" " + arguments, L"", kTreeLimitSeconds, true);
    } catch (const std::exception& e) {
        m.failure = e.what();
        return m;
    }
    std::istringstream result(run.output);
    std::string status;
    result >> status;
    if (!run.finished) {
        m.failure = "did not end within the time limit";
    } else if (status != "ok" || !(result >> m.seconds >> m.peakWorkingSet) || run.exitCode != 0) {
        m.failure = run.output.empty() ? "exit code " + std::to_string(run.exitCode) : run.output;
        m.failure.erase(std::remove(m.failure.begin(), m.failure.end(), '\n'), m.failure.end());
    }
    Progress(m.failure.empty() ? "  " + std::to_string(m.seconds) + " s" : "  " + m.failure);
    return m;
}

// The run with the median wall time, or the first failure.
Measurement Median(std::vector<Measurement> runs, const std::string& label) {
    for (const Measurement& m : runs) {
        if (!m.failure.empty()) return m;
    }
    std::sort(runs.begin(), runs.end(), [](const Measurement& a, const Measurement& b) { return a.seconds < b.seconds; });
    Measurement m = runs[runs.size() / 2];
    m.label = runs.size() > 1 ? label + ", median of " + std::to_string(runs.size()) : label;
    return m;
}

TreeResults RunTree(const TreeCase& tree) {
    const std::string label = tree.label;
    std::vector<Measurement> floors, grants, reruns;
    for (int run = 1; run <= tree.runs; ++run) {
        const std::wstring base = kWork + L"\\trees\\" + tree.name + L"-" + std::to_wstring(run);
        Progress("creating two copies of " + label);
        const Stopwatch creation;
        const size_t objects = CreateTree(base + L"-floor", tree.layout);
        CreateTree(base + L"-grant", tree.layout);
        Progress("  " + std::to_string(objects) + " objects each, " + std::to_string(creation.Seconds()) + " s");

        const std::wstring logs = kWork + L"\\logs\\" + tree.name + L"-" + std::to_wstring(run);
        floors.push_back(RunCase("Floor, " + label, L"floor " + Quoted(base + L"-floor"), objects));
        grants.push_back(RunCase("Grant, " + label,
                                 L"grant " + Quoted(base + L"-grant") + L" " + Quoted(logs + L"-grant.txt"), objects));
        reruns.push_back(RunCase("Re-run of the grant, " + label,
                                 L"grant " + Quoted(base + L"-grant") + L" " + Quoted(logs + L"-rerun.txt"), objects));
    }
    return {Median(floors, "Floor, " + label), Median(grants, "Grant, " + label),
            Median(reruns, "Re-run of the grant, " + label)};
}

// Median wall time and peak working set of a few runs of a program; the first run
// only warms the caches.
Measurement RunProgram(const std::string& label, const std::wstring& path) {
    Progress(label + "...");
    Measurement m;
    m.label = label + ", median of " + std::to_string(kProgramRuns);
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    std::vector<double> seconds;
    std::vector<size_t> peaks;
    for (int i = 0; i <= kProgramRuns; ++i) {
        ChildRun run;
        try {
            run = RunChild(Quoted(path), folder, kProgramLimitSeconds, false);
        } catch (const std::exception& e) {
            m.failure = e.what();
            return m;
        }
        if (!run.finished || run.exitCode != 0) {
            m.failure = run.finished ? "exit code " + std::to_string(run.exitCode) : "did not end within the time limit";
            return m;
        }
        if (i == 0) continue;
        seconds.push_back(run.seconds);
        peaks.push_back(run.peakWorkingSet);
    }
    std::sort(seconds.begin(), seconds.end());
    std::sort(peaks.begin(), peaks.end());
    m.seconds = seconds[seconds.size() / 2];
    m.peakWorkingSet = peaks[peaks.size() / 2];
    Progress("  " + std::to_string(m.seconds) + " s");
    return m;
}

std::optional<double> Quotient(const Measurement& a, const Measurement& b) {
    if (!a.failure.empty() || !b.failure.empty() || b.seconds <= 0) return std::nullopt;
    return a.seconds / b.seconds;
}

}  // namespace

void RunBenchmark(const Programs& programs, const Machine& machine) {
    ::CreateDirectoryW(kWork.c_str(), nullptr);
    ::CreateDirectoryW((kWork + L"\\trees").c_str(), nullptr);
    ::CreateDirectoryW((kWork + L"\\logs").c_str(), nullptr);

    std::vector<TreeResults> trees;
    for (const TreeCase& tree : kTrees) trees.push_back(RunTree(tree));
    const Measurement program = RunProgram("Project1.exe, normal run", programs.program);
    const Measurement minimal = RunProgram("Minimal windowed program", programs.minimalWindow);

    std::vector<Measurement> measurements;
    for (const TreeResults& t : trees) {
        measurements.push_back(t.floor);
        measurements.push_back(t.grant);
        measurements.push_back(t.rerun);
    }
    measurements.push_back(program);
    measurements.push_back(minimal);

    const TreeResults& small = trees[0];
    const TreeResults& large = trees[1];
    const TreeResults& deep = trees[2];
    std::vector<Ratio> ratios{
        {"Grant / floor, 100,000 files", Quotient(large.grant, large.floor), 1.25, ""},
        {"Re-run / first grant, 100,000 files", Quotient(large.rerun, large.grant), 0.5, ""},
        {"Re-run / first grant, 10,000 files", Quotient(small.rerun, small.grant), 0.5, ""},
        {"Re-run / first grant, 100 levels deep", Quotient(deep.rerun, deep.grant), 0.5, ""},
        {"Grant time, 100,000 / 10,000 files", Quotient(large.grant, small.grant), 11, ""},
        {"Grant peak working set, 100,000 minus 10,000 files", std::nullopt, 5, " MB"},
        {"(Whole run - 1.0 s of pauses) / minimal windowed program", std::nullopt, 1.5, ""},
    };
    if (large.grant.failure.empty() && small.grant.failure.empty() && large.grant.peakWorkingSet &&
        small.grant.peakWorkingSet) {
        ratios[5].value = (static_cast<double>(large.grant.peakWorkingSet) -
                           static_cast<double>(small.grant.peakWorkingSet)) / (1024.0 * 1024.0);
    }
    if (program.failure.empty() && minimal.failure.empty() && minimal.seconds > 0)
        ratios[6].value = (program.seconds - kProgramPauseSeconds) / minimal.seconds;

    const std::string report = MarkdownReport(machine, measurements, ratios);
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
}

}  // namespace bench
