#include "bench/report.h"

#include <windows.h>

#include <cstdio>

namespace bench {

namespace {

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Grouped(size_t value) {
    std::string digits = std::to_string(value);
    for (size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, ",");
    return digits;
}

std::string Megabytes(size_t bytes) {
    return bytes ? Format("%.1f", static_cast<double>(bytes) / (1024.0 * 1024.0)) : "n/a";
}

std::string UtcNow() {
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u UTC", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute);
    return text;
}

std::string Row(const Measurement& m) {
    if (!m.failure.empty()) return "| " + m.label + " | | | | failed: " + m.failure + " |\n";
    const std::string objects = m.objects ? Grouped(*m.objects) : "";
    const std::string rate =
        m.objects && m.seconds > 0 ? Grouped(static_cast<size_t>(static_cast<double>(*m.objects) / m.seconds)) : "";
    return "| " + m.label + " | " + objects + " | " + Format("%.2f", m.seconds) + " | " + rate + " | " +
           Megabytes(m.peakWorkingSet) + " |\n";
}

std::string Row(const Ratio& r) {
    const std::string target = Format("%.2f", r.target) + r.unit;
    if (!r.value) return "| " + r.label + " | n/a | <= " + target + " | |\n";
    return "| " + r.label + " | " + Format("%.2f", *r.value) + r.unit + " | <= " + target + " | " +
           (*r.value <= r.target ? "yes" : "**no**") + " |\n";
}

}  // namespace

std::string MarkdownReport(const Machine& machine, const std::vector<Measurement>& measurements,
                           const std::vector<Ratio>& ratios) {
    std::string text = "Taken " + UtcNow() + " on " + machine.cpus + " x " + machine.cpuModel + ", " +
                       machine.wineVersion + " (32-bit prefix).\n\n";
    text += "| Case | Objects | Wall time (s) | Objects/s | Peak working set (MB) |\n";
    text += "|---|---:|---:|---:|---:|\n";
    for (const Measurement& m : measurements) text += Row(m);
    text += "\n| Ratio | Measured | Target | Met |\n|---|---:|---:|---|\n";
    for (const Ratio& r : ratios) text += Row(r);
    return text;
}

}  // namespace bench
