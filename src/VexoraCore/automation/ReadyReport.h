#pragma once

namespace vexora {

// Prints "vexora: ready" to stdout once, the first time the event loop has nothing left to do,
// when VEXORA_DEBUG_REPORT_READY is 1: the point a start-up benchmark times. Call it once the
// program's first window or tray icon is shown. QA builds and benchmark programs only.
void reportReadyWhenIdle();

inline constexpr const char* readyReportLine = "vexora: ready";

}  // namespace vexora
