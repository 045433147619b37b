#include "BenchTable.h"

#include <gtest/gtest.h>
#include <sstream>

namespace vexora::bench {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

TEST(BenchTable, ColumnsAlignWhateverTheWidthsOfTheirCells) {
    const std::string table = formatTable({{"short", "1.0 ms", "", "a note"},
                                           {"a much longer benchmark name", "12345.6 ms", "2.0 ms", ""}});
    const std::vector<std::string> lines = linesOf(table);
    ASSERT_EQ(lines.size(), 4u) << "header, rule, one line a row";
    // The rule's gaps are every line's gaps, and figures end where their column's rule ends.
    const std::string& rule = lines[1];
    const size_t measuredEnd = rule.find("  ", rule.find("  ") + 2);
    for (const std::string& line : lines) {
        for (size_t at = 0; at < rule.size(); ++at)
            if (rule[at] == ' ') {
                EXPECT_EQ(line.at(at), ' ') << "column " << at << " of: " << line;
            }
        EXPECT_NE(line.at(measuredEnd - 1), ' ') << "right-aligned: " << line;
    }
    EXPECT_EQ(lines[2].substr(lines[2].size() - 6), "a note");
}

TEST(BenchTable, MedianOfOddAndEvenCountsAndOfNothing) {
    EXPECT_EQ(median({3, 1, 2}), 2);
    EXPECT_EQ(median({4, 1, 3, 2}), 3);
    EXPECT_EQ(median({}), 0);
}

}  // namespace
}  // namespace vexora::bench
