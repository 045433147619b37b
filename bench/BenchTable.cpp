#include "BenchTable.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vexora::bench {

namespace {

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::string formatTable(const std::vector<BenchRow>& rows) {
    const BenchRow header{"benchmark", "measured", "reference", "ratio / notes"};
    std::array<size_t, 3> widths{header.benchmark.size(), header.measured.size(), header.reference.size()};
    for (const BenchRow& row : rows) {
        widths[0] = std::max(widths[0], row.benchmark.size());
        widths[1] = std::max(widths[1], row.measured.size());
        widths[2] = std::max(widths[2], row.reference.size());
    }
    // Names to the left, figures to the right, so units and decimals line up.
    auto line = [&](const BenchRow& row) {
        return row.benchmark + std::string(widths[0] - row.benchmark.size(), ' ') + "  " +
               std::string(widths[1] - row.measured.size(), ' ') + row.measured + "  " +
               std::string(widths[2] - row.reference.size(), ' ') + row.reference + "  " + row.notes + "\n";
    };
    std::string table = line(header);
    table += line({std::string(widths[0], '-'), std::string(widths[1], '-'), std::string(widths[2], '-'),
                   std::string(header.notes.size(), '-')});
    for (const BenchRow& row : rows) table += line(row);
    return table;
}

std::string milliseconds(double value) { return formatted(value < 10 ? "%.3f ms" : "%.1f ms", value); }

std::string mebibytes(double value) { return formatted("%.1f MiB", value); }

std::string times(double ratio) { return formatted("%.2fx", ratio); }

double median(std::vector<double> samples) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

}  // namespace vexora::bench
