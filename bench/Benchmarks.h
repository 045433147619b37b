#pragma once

#include "BenchTable.h"

#include <vector>

namespace vexora::bench {

// Each measures one thing in its own file and returns its rows of the table.
std::vector<BenchRow> startupRows();
std::vector<BenchRow> clickToVisibleRows();
std::vector<BenchRow> memoryRows();
std::vector<BenchRow> contextLoadRows();
std::vector<BenchRow> pollingRows();
std::vector<BenchRow> avatarCacheRows();
std::vector<BenchRow> panelRefreshRows();
std::vector<BenchRow> cliRows();

}  // namespace vexora::bench
