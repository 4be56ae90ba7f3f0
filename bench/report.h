#pragma once
// The benchmark's figures as Markdown, ready to paste into the README.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace bench {

struct Machine {
    std::string cpus;
    std::string cpuModel;
    std::string wineVersion;
};

struct Measurement {
    std::string label;
    std::optional<size_t> objects;  // none for the whole-program runs
    double seconds = 0;
    size_t peakWorkingSet = 0;
    std::string failure;  // empty when the case ran through
};

struct Ratio {
    std::string label;
    std::optional<double> value;  // none when a case it needs failed
    double target = 0;            // met when value <= target
    const char* unit = "";
};

std::string MarkdownReport(const Machine& machine, const std::vector<Measurement>& measurements,
                           const std::vector<Ratio>& ratios);

}  // namespace bench
