#pragma once

#include <string>
#include <vector>

namespace vexora::bench {

// One line of the benchmark table: what was measured, against what, and how they compare.
struct BenchRow {
    std::string benchmark;
    std::string measured;
    std::string reference;
    std::string notes;
};

// The rows under one header, in aligned columns, a line each.
std::string formatTable(const std::vector<BenchRow>& rows);

std::string milliseconds(double value);
std::string mebibytes(double value);
std::string times(double ratio);  // "2.41x"

double median(std::vector<double> samples);

}  // namespace vexora::bench
